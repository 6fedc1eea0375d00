#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "controls/ControlTypes.h"
#include "controls/IControl.h"
#include "controls/IGraphicsWindow.h"
#include "controls/IPopupMenu.h"
#include "controls/ModalServices.h"
#include "plugin/IGraphicsContext.h"
#include "render/GraphicsResources.h"
#include "render/OffscreenSurface.h"

namespace iplug {
class IPlugAPIBase;
}

namespace igraphics {

class IPanelControl;
class ICornerResizerControl;
class ITextEntryControl;
class IPopupMenuControl;
class IBubbleControl;

// The graphics context: owns the controls in attach order (the drawing
// order, the last attached on top), keeps their tags and groups, routes
// mouse and keyboard events to them, carries values between controls and
// parameters through the plug-in base, and offers the modal services.
//
// Time comes from the clock it is given (milliseconds), so tests step
// animations deterministically and the window drives them from its loop.
// Everything here runs on the user-interface thread.
class IGraphics : public IGraphicsContext {
public:
  using Clock = std::function<double()>;
  static constexpr float kDefaultMinScale = 0.25f;
  static constexpr float kDefaultMaxScale = 2.f;

  // `delegate` may be null (a surface without parameters); the scale is
  // clamped like every later one.
  IGraphics(iplug::IPlugAPIBase* delegate, int width, int height, float scale = 1.f,
            Clock clock = {}, ResourceLookup resources = {});
  ~IGraphics() override;
  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  // ---- What the plug-in base asks of the surface ----
  void SetControlValuesFromParam(int paramIdx, double normalized) override;
  void ForwardMidiToControls(const iplug::MidiMessage& msg) override;
  int Width() const override { return mWidth; }
  int Height() const override { return mHeight; }
  float GetDrawScale() const override { return mDrawScale; }
  // Sets the logical size and the (clamped) scale. When anything changed,
  // the window is asked for the new size and every control is told.
  void Resize(int width, int height, float scale) override;

  // ---- Attaching ----
  // Takes ownership and attaches. A tag already in use refuses the control:
  // the result is null and `control` still owns it.
  template <class T>
  T* AddControl(std::unique_ptr<T>&& control, int tag = kNoTag, const std::string& group = {}) {
    T* raw = control.get();
    if (raw == nullptr || !ClaimTag(tag, raw)) return nullptr;
    Attach(std::unique_ptr<IControl>(control.release()), group);
    return raw;
  }
  void SetBackgroundColor(const Color& color);
  const Color& BackgroundColor() const { return mBackgroundColor; }
  // The special controls; each replaces an earlier one of its kind.
  IPanelControl* AttachPanelBackground(const Color& color);
  ICornerResizerControl* AddResizeHandle(EUIResizerMode mode, bool layoutOnResize,
                                         const Color& normal, const Color& active, float size);
  ITextEntryControl* AddTextEntryField();
  IPopupMenuControl* AddPopupMenu(const TextStyle& style, const Rect& bounds);
  IBubbleControl* AddValueBubble(const TextStyle& style);
  ICornerResizerControl* Resizer() const { return mResizer.get(); }
  ITextEntryControl* TextEntryField() const { return mTextEntry.get(); }
  IPopupMenuControl* PopupMenuControl() const { return mPopup.get(); }
  IBubbleControl* Bubble() const { return mBubble.get(); }

  // ---- Finding ----
  IControl* FindControlByTag(int tag) const;
  int TagOf(const IControl* control) const;
  int ControlCount() const { return static_cast<int>(mControls.size()); }
  IControl* GetControl(int index) const;
  // Attach order. The functions may attach further controls; those are
  // reached too.
  void ForEachControl(const std::function<void(IControl*)>& fn) const;
  // Exact, case-sensitive group names; controls without a group never match.
  void ForEachInGroup(std::string_view group, const std::function<void(IControl*)>& fn) const;
  // The first slot of each control that is linked to the parameter.
  void ForEachLinkedToParam(int paramIdx, const std::function<void(IControl*, int)>& fn) const;
  void SetParamControlsDisabled(int paramIdx, bool disable);

  // ---- Mouse and keyboard, in logical units ----
  void OnMouseDown(float x, float y, const MouseModifiers& mod);
  void OnMouseUp(float x, float y, const MouseModifiers& mod);
  void OnMouseDrag(float x, float y, float dX, float dY, const MouseModifiers& mod);
  void OnMouseDblClick(float x, float y, const MouseModifiers& mod);
  void OnMouseWheel(float x, float y, const MouseModifiers& mod, float delta);
  void OnMouseOver(float x, float y, const MouseModifiers& mod);
  void OnMouseOut();
  bool OnKeyDown(float x, float y, const IKeyPress& key);
  bool OnKeyUp(float x, float y, const IKeyPress& key);
  // The control a press at (x, y) would reach, capture aside.
  IControl* ControlUnderPointer(float x, float y) const;
  IControl* MouseCapture() const { return mCapture; }
  bool HasCapture(const IControl* control) const { return control && mCapture == control; }
  IControl* MouseOverControl() const { return mMouseOver; }
  void EnableMouseOver(bool enable);
  bool MouseOverEnabled() const { return mMouseOverEnabled; }
  // Tooltips need the pointer's position, so they switch mouse-over on.
  void EnableTooltips(bool enable);
  // The tooltip of the control under the pointer, when tooltips are on.
  std::string CurrentTooltip() const;

  // ---- Drawing ----
  // Runs the animation steps and collects the area that needs drawing;
  // false when nothing does.
  bool IsDirty(Rect& area);
  // The same as separate areas: rectangles that overlap are merged, the
  // others stay apart, so a knob and a display across the surface do not
  // make everything between them dirty; more than kMaxDirtyAreas become
  // one. Draw each with Draw().
  static constexpr size_t kMaxDirtyAreas = 8;
  bool IsDirty(std::vector<Rect>& areas);
  // Draws `area` (empty = all) and clears the changed marks.
  void Draw(DrawContext& g, const Rect& area = {});
  // One whole redraw cycle onto an offscreen surface: animations, then
  // everything.
  void DrawTo(OffscreenSurface& surface);
  void RedrawAll();
  void ShowParamHighlights(bool show) { mShowParamHighlights = show; }

  // ---- Scale ----
  void SetScaleConstraints(float minScale, float maxScale);
  float MinScale() const { return mMinScale; }
  float MaxScale() const { return mMaxScale; }
  // The monitor's scale factor; controls reload pictures for it.
  void SetScreenScale(float scale);
  float ScreenScale() const { return mScreenScale; }
  // Run after a resize when the resizer was attached with layout-on-resize.
  void SetLayoutFunction(std::function<void(IGraphics&)> layout) { mLayout = std::move(layout); }

  // ---- Modal services ----
  void SetModalServices(IControlModalServices* services) { mModal = services; }
  IControlModalServices* ModalServices() const { return mModal; }
  // type 0 = OK, 1 = OK and Cancel; `completion` gets the answer before the
  // call returns. Without services nothing can be shown: the answer is
  // Cancel for a confirmation, so nothing proceeds unconfirmed.
  zorel::MessageBoxResult
  ShowMessageDialog(const std::string& text, const std::string& caption, zorel::MessageBoxType type,
                    const std::function<void(zorel::MessageBoxResult)>& completion = {});
  // `fileName` and `path` go in as the initial name and folder and come out
  // as the chosen path and its folder; on cancel `fileName` is emptied.
  void ChooseFileDialog(std::string& fileName, std::string& path, zorel::FileAction action,
                        const std::string& extensions,
                        const std::function<void(const std::string&)>& completion = {});
  // The parameter prompt of a control's slot: a menu of display texts for
  // enumerations (and booleans with texts), otherwise a text entry over
  // `rect` with the current display text. False when nothing opened.
  bool PromptParameterValue(IControl* control, const Rect& rect, int valueIndex = 0);
  // A text entry whose result goes to the control's TextEntered.
  bool OpenTextEntry(IControl* control, const TextStyle& style, const Rect& rect,
                     const std::string& initialText, int valueIndex = 0);
  // A menu whose result goes to the control's MenuItemChosen.
  bool CreatePopupMenu(IControl* control, const IPopupMenu& menu, const Rect& anchor,
                       int valueIndex = 0);
  // True while a menu or a text entry waits for its answer.
  bool PromptOpen() const { return mPrompt.has_value(); }
  bool IsEditing(const IControl* control) const;
  void ShowBubble(const Rect& anchor, const std::string& text);
  void HideBubble();

  // ---- Resources ----
  GraphicsResources& Resources() { return mResources; }
  Bitmap LoadBitmapResource(std::string_view name, int frames = 1, bool framesAreHorizontal = false,
                            int targetScale = 0);
  SvgImage LoadSvgResource(std::string_view name, std::string_view units = "px", float dpi = 72.f);
  bool RegisterFontResource(const std::string& fontID, std::string_view fileName);
  // Width of a text in a style, 0 when its font is not registered.
  float MeasureText(const TextStyle& style, std::string_view text, Rect& bounds) const;

  // ---- Window, pointer and time ----
  void SetWindow(IGraphicsWindow* window) { mWindow = window; }
  void HideMouseCursor(bool hide);
  bool IsCursorHidden() const { return mCursorHidden; }
  void SetMouseCursor(ECursor cursor);
  ECursor MouseCursor() const { return mCursor; }
  bool OpenURL(const std::string& url);
  double NowMs() const { return mClock ? mClock() : 0.0; }

  // ---- Value flow ----
  iplug::IPlugAPIBase* GetDelegate() const { return mDelegate; }
  // A user change of a control: the parameter is set through the plug-in
  // base (whose change notification runs before this returns), then the
  // other controls linked to it follow.
  void SendParameterValueFromUI(IControl* sender, int paramIdx, double normalized);
  // Sends a keyed message to the control with `tag`; false when no control
  // has the tag or it has no handler for the key.
  bool SendControlMessage(int tag, int key, int size = 0, const void* data = nullptr);

private:
  struct OpenPrompt {
    unsigned serial = 0;
    IControl* control = nullptr;
    int valueIndex = 0;
    bool textEntry = false;
    bool parameterPrompt = false;
  };

  bool ClaimTag(int tag, IControl* control);
  void Attach(std::unique_ptr<IControl> control, const std::string& group);
  void AttachSpecial(IControl& control);
  // The special controls in drawing order, those that exist.
  std::vector<IControl*> Specials() const;
  IControl* PromptControl() const;
  bool BeginTextEntry(IControl* control, const TextStyle& style, const Rect& rect,
                      const std::string& initialText, int valueIndex, bool parameterPrompt);
  void FinishTextEntry(unsigned serial, bool committed, const std::string& text);
  void FinishMenu(unsigned serial, const std::shared_ptr<IPopupMenu>& menu, int chosen);
  void Capture(IControl* c);
  void ReleaseCapture();
  void DrawControl(DrawContext& g, IControl& control, const Rect& area);
  // Runs the animation steps and hands on the bounds of every control
  // that needs drawing.
  void CollectDirty(const std::function<void(const Rect&)>& add);

  iplug::IPlugAPIBase* mDelegate;
  int mWidth;
  int mHeight;
  float mDrawScale = 1.f;
  float mScreenScale = 1.f;
  float mMinScale = kDefaultMinScale;
  float mMaxScale = kDefaultMaxScale;
  Clock mClock;
  GraphicsResources mResources;
  Color mBackgroundColor = COLOR_TRANSPARENT;

  std::vector<std::unique_ptr<IControl>> mControls;
  std::unordered_map<int, IControl*> mTags;
  std::unique_ptr<IPanelControl> mBackground;
  std::unique_ptr<ICornerResizerControl> mResizer;
  std::unique_ptr<ITextEntryControl> mTextEntry;
  std::unique_ptr<IPopupMenuControl> mPopup;
  std::unique_ptr<IBubbleControl> mBubble;

  IControl* mCapture = nullptr;
  IControl* mMouseOver = nullptr;
  bool mMouseOverEnabled = true;
  bool mTooltipsEnabled = false;
  bool mShowParamHighlights = false;
  bool mCursorHidden = false;
  ECursor mCursor = ECursor::Arrow;
  std::function<void(IGraphics&)> mLayout;

  IGraphicsWindow* mWindow = nullptr;
  IControlModalServices* mModal = nullptr;
  std::optional<OpenPrompt> mPrompt;
  unsigned mPromptSerial = 0; // tells a late answer from the answer to the open prompt
  // Completions handed to the modal services hold a weak reference, so an
  // answer arriving after this context is gone is dropped, not followed.
  std::shared_ptr<IGraphics*> mAlive;
};

} // namespace igraphics

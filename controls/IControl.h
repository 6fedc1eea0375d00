#pragma once

#include <map>
#include <string>
#include <vector>

#include "controls/ControlTypes.h"
#include "plugin/IParam.h"
#include "plugin/IPlugStructs.h"
#include "render/DrawContext.h"
#include "render/Rect.h"
#include "render/TextStyle.h"

namespace iplug {
class IPlugAPIBase;
}

namespace igraphics {

class IGraphics;
class IPopupMenu;

// The root of every control: a rectangle, value slots in 0..1 that may be
// linked to parameters, flags, an action and an optional animation. It draws
// itself and reacts to the mouse; the graphics context owns it, keeps its tag
// and group, and routes events to it.
//
// Controls are used on the user-interface thread only. Code on other threads
// that wants to change a control goes through the plug-in base's queue or
// the editor's surface channel, which apply the change on the next tick.
class IControl {
public:
  struct ValueSlot {
    int paramIdx = kNoParameter;
    double value = 0.0;
  };

  explicit IControl(const Rect& bounds, int paramIdx = kNoParameter,
                    IActionFunction action = nullptr);
  IControl(const Rect& bounds, const std::vector<int>& params, IActionFunction action = nullptr);
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // ---- Virtual operations, in the order of the framework's slot table ----
  virtual ~IControl();
  // Right button on a linked slot: the parameter prompt (unless prompts are
  // disabled for this control); then a redraw.
  virtual void MouseDown(float x, float y, const MouseModifiers& mod);
  virtual void MouseUp(float x, float y, const MouseModifiers& mod) {}
  virtual void MouseDrag(float x, float y, float dX, float dY, const MouseModifiers& mod) {}
  virtual void MouseDoubleClick(float x, float y, const MouseModifiers& mod);
  virtual void MouseWheel(float x, float y, const MouseModifiers& mod, float delta) {}
  virtual bool KeyDown(float x, float y, const IKeyPress& key) { return false; }
  virtual bool KeyUp(float x, float y, const IKeyPress& key) { return false; }
  virtual void MouseOver(float x, float y, const MouseModifiers& mod);
  virtual void MouseLeave();
  virtual void Dropped(const std::string& data) {}
  virtual void FileDropped(const std::string& path) {}
  virtual void FilesDropped(const std::vector<std::string>& paths);
  virtual void Initialise() {}
  virtual void BoundsChanged() {}
  virtual void ScaleChanged() {}
  virtual void Attached() {}
  virtual void TouchCancelled(float x, float y) {}
  virtual void Idle() {}
  // Calls the handler registered under `key`; false when there is none.
  virtual bool MessageReceived(int key, int size, const void* data);
  virtual void MidiReceived(const iplug::MidiMessage& msg) {}
  // `menu` is null, or has no chosen item, when the menu was dismissed.
  virtual void MenuItemChosen(IPopupMenu* menu, int valueIndex);
  virtual void ContextMenuChosen(IPopupMenu* menu) {}
  virtual void TextEntered(const std::string& text, int valueIndex) {}
  virtual void GestureReceived(int gesture) {}
  virtual void Draw(DrawContext& g) = 0;
  // A small marker at the top right corner of controls linked to a
  // parameter, drawn when the graphics context shows parameter highlights.
  virtual void DrawParamHighlight(DrawContext& g);
  virtual void LinkParam(int paramIdx, int valueIndex = 0);
  // The slot under the pointer: 0 with one slot, -1 (unknown) with several.
  virtual int ValueSlotAt(float x, float y) const;
  // A value from the parameter side: ignored while this control holds the
  // mouse; otherwise stored and redrawn when it differs. Never runs the action.
  virtual void ApplyParamValue(double value, int valueIndex = 0);
  // A value chosen by the user through a prompt: stored and passed on like
  // any user change when it differs.
  virtual void ApplyUserValue(double value, int valueIndex = 0);
  virtual void ResetToDefault(int valueIndex = 0);
  // Stores the value; no clamping, no redraw (MarkChanged clamps).
  virtual void SetValue(double value, int valueIndex = 0);
  virtual void SetTextStyle(const TextStyle& style) { mTextStyle = style; }
  virtual void MoveTo(float x, float y);
  virtual void ResizeTo(float width, float height);
  virtual void SetHidden(bool hidden);
  virtual void SetDisabledState(bool disabled);
  virtual void SetMouseTransparent(bool ignore) { mMouseTransparent = ignore; }
  virtual bool ContainsPoint(float x, float y) const { return mHitBounds.Contains(x, y); }
  // Clamps the slot (all slots for kAllValues) into 0..1 and marks the
  // control for redrawing; with `triggerAction` the value goes to the linked
  // parameter, to the other controls linked to it, and the action runs.
  virtual void MarkChanged(bool triggerAction = false, int valueIndex = kAllValues);
  virtual void ClearChanged() { mChanged = false; }
  virtual bool NeedsRedraw() const { return IsAnimating() || mChanged; }
  virtual bool IsAnimating() const { return static_cast<bool>(mAnimationStep); }
  // Sets the value from a pointer position inside `bounds` (vertical: bottom
  // 0, top 1; horizontal: left 0, right 1), in steps of 0.001, times
  // `scalar`, limited to minimum..maximum; then passes it on as a user change.
  virtual void ValueFromPointer(float x, float y, EDirection direction, const Rect& bounds,
                                int valueIndex = 0, double scalar = 1.0, double minimum = 0.0,
                                double maximum = 1.0);
  // Clears the animation, redraws and runs the animation-end action.
  virtual void AnimationEnded();

  // ---- Fixed operations ----
  void SetAction(IActionFunction action) { mAction = std::move(action); }
  const IActionFunction& Action() const { return mAction; }
  void SetAnimationEndAction(IActionFunction action) { mAnimationEndAction = std::move(action); }
  // Runs `step` on every redraw until it calls AnimationEnded.
  void StartAnimation(IAnimationFunction step, double durationMs);
  // Elapsed time over duration, 0 without an animation.
  double AnimationProgress() const;
  // One animation step; the graphics context calls it before each redraw.
  void Animate();
  void SetTooltip(std::string text) { mTooltip = std::move(text); }
  const std::string& Tooltip() const { return mTooltip; }
  void SetMessageHandler(int key, std::function<bool(int size, const void* data)> handler);

  int NValues() const { return static_cast<int>(mValueSlots.size()); }
  double Value(int valueIndex = 0) const;
  int LinkedParam(int valueIndex = 0) const;
  // The parameter of a slot, or null when unlinked or without a delegate.
  const iplug::IParam* GetParam(int valueIndex = 0) const;

  const Rect& Bounds() const { return mBounds; }
  const Rect& HitBounds() const { return mHitBounds; }
  void SetBounds(const Rect& bounds);
  void SetHitBounds(const Rect& bounds) { mHitBounds = bounds; }
  const std::string& Group() const { return mGroup; }
  const TextStyle& GetTextStyle() const { return mTextStyle; }
  // Changes the text colour and redraws (the preset number turns from white
  // to its edited colour this way).
  void SetTextColor(const Color& color);
  float Opacity() const { return mOpacity; }
  bool IsHidden() const { return mHidden; }
  bool IsDisabled() const { return mDisabled; }
  bool IsPointerOver() const { return mPointerOver; }
  bool IsMouseTransparent() const { return mMouseTransparent; }
  bool IsPromptDisabled() const { return mPromptDisabled; }
  void SetPromptDisabled(bool disabled) { mPromptDisabled = disabled; }
  // A disabled control normally takes no mouse events; some opt in.
  bool WantsMouseWhenDisabled() const { return mMouseWhenDisabled; }
  void SetWantsMouseWhenDisabled(bool wants) { mMouseWhenDisabled = wants; }
  bool WantsMidi() const { return mWantsMidi; }
  void SetWantsMidi(bool wants) { mWantsMidi = wants; }
  // Marks the control for redrawing, without touching values or actions.
  void Redraw() { mChanged = true; }
  bool IsChanged() const { return mChanged; }

  IGraphics* GetUI() const { return mOwnerGraphics; }
  iplug::IPlugAPIBase* GetDelegate() const { return mOwnerDelegate; }
  // Set by the graphics context while attaching.
  void SetOwners(IGraphics* graphics, iplug::IPlugAPIBase* delegate, std::string group);

protected:
  // The parameter prompt for slot `valueIndex` (the base right-click rule):
  // a box of 40 x 16 centred on the control for parameters without display
  // texts, else the control's rectangle. False when nothing opened.
  bool PromptForSlot(int valueIndex);
  bool HoldsMouse() const;
  double NowMs() const;

  Rect mBounds;
  Rect mHitBounds;
  std::string mGroup;
  TextStyle mTextStyle;
  float mOpacity = 1.f;
  bool mChanged = true; // drawn at least once after attaching
  bool mHidden = false;
  bool mDisabled = false;
  bool mPointerOver = false;
  bool mMouseTransparent = false;
  bool mPromptDisabled = true;
  bool mMouseWhenDisabled = false;
  bool mWantsMidi = false;
  std::string mTooltip;
  iplug::IPlugAPIBase* mOwnerDelegate = nullptr;
  IGraphics* mOwnerGraphics = nullptr;
  IActionFunction mAction;
  IActionFunction mAnimationEndAction;
  IAnimationFunction mAnimationStep;
  double mAnimationStartMs = 0.0;
  double mAnimationDurationMs = 0.0;
  std::vector<ValueSlot> mValueSlots;
  std::map<int, std::function<bool(int, const void*)>> mMessageHandlers;
};

} // namespace igraphics

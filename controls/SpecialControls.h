#pragma once

#include <string>

#include "controls/IControl.h"
#include "controls/IPopupMenu.h"
#include "controls/ModalServices.h"

namespace igraphics {

// The window's resize handle in the bottom right corner. In scale mode a
// drag changes the draw scale so the corner follows the pointer; in size
// mode it changes the logical size.
class ICornerResizerControl : public IControl {
public:
  ICornerResizerControl(const Rect& surface, float size, EUIResizerMode mode, bool layoutOnResize,
                        const Color& normal, const Color& active);

  void SurfaceResized(const Rect& surface);
  bool LayoutOnResize() const { return mLayoutOnResize; }
  EUIResizerMode Mode() const { return mMode; }

  void Draw(DrawContext& g) override;
  void MouseDown(float x, float y, const MouseModifiers& mod) override;
  void MouseUp(float x, float y, const MouseModifiers& mod) override;
  void MouseDrag(float x, float y, float dX, float dY, const MouseModifiers& mod) override;
  void MouseOver(float x, float y, const MouseModifiers& mod) override;
  void MouseLeave() override;

private:
  float mSize;
  EUIResizerMode mMode;
  bool mLayoutOnResize;
  Color mNormal;
  Color mActive;
  bool mDragging = false;
  // At the press: the pointer's distance from the corner in screen units,
  // and the size and scale then.
  float mGrabX = 0.f;
  float mGrabY = 0.f;
  float mScreenX0 = 0.f;
  float mScreenY0 = 0.f;
  int mWidth0 = 0;
  int mHeight0 = 0;
  float mScale0 = 1.f;
};

// A small box with a value text shown next to a control; it never takes the
// mouse.
class IBubbleControl : public IControl {
public:
  explicit IBubbleControl(const TextStyle& style);

  // Above the anchor when there is room, else below; kept inside `surface`.
  void Show(const Rect& anchor, const std::string& text, const Rect& surface);
  void Hide() { SetHidden(true); }
  bool IsShown() const { return !IsHidden(); }
  const std::string& Text() const { return mText; }

  void Draw(DrawContext& g) override;

private:
  std::string mText;
};

// The text entry field drawn on the surface: one line of text with a caret,
// edited with the keyboard. Return or Tab commits, Escape cancels, a click
// outside commits. The whole text is selected when it opens, so typing
// replaces it.
class ITextEntryControl : public IControl {
public:
  static constexpr size_t kMaxBytes = 1024;

  ITextEntryControl();

  void Open(const TextStyle& style, const Rect& bounds, const std::string& text,
            IControlModalServices::TextCompletion done);
  bool IsOpen() const { return static_cast<bool>(mDone); }
  void Commit() { Close(true); }
  void Cancel() { Close(false); }
  const std::string& EditText() const { return mText; }
  size_t Caret() const { return mCaret; }
  bool AllSelected() const { return mAllSelected; }

  void Draw(DrawContext& g) override;
  void MouseDown(float x, float y, const MouseModifiers& mod) override;
  bool KeyDown(float x, float y, const IKeyPress& key) override;

private:
  void Close(bool committed);
  void Insert(const std::string& utf8);
  Rect TextBounds() const;

  std::string mText;
  size_t mCaret = 0; // byte offset, always on a character boundary
  bool mAllSelected = false;
  IControlModalServices::TextCompletion mDone;
};

// The popup menu drawn on the surface: a list of items below (or above) the
// anchor, scrolled when it is taller than the surface. A click on an item
// chooses it, a click elsewhere dismisses the menu; the arrow keys, Return
// and Escape work too.
class IPopupMenuControl : public IControl {
public:
  // Menus stay inside `area` (the whole surface when empty).
  IPopupMenuControl(const TextStyle& style, const Rect& area);

  void Open(const IPopupMenu& menu, const Rect& anchor, IControlModalServices::MenuCompletion done);
  bool IsOpen() const { return static_cast<bool>(mDone); }
  // Closes with the chosen item, -1 to dismiss.
  void Close(int chosen);
  const IPopupMenu& Menu() const { return mMenu; }
  int HighlightedItem() const { return mHighlight; }
  int FirstVisibleItem() const { return mFirstRow; }
  int VisibleRows() const { return mVisibleRows; }
  // The row of item i on the surface (empty when scrolled out of view).
  Rect ItemBounds(int i) const;
  float RowHeight() const { return mTextStyle.size * 1.5f; }

  void Draw(DrawContext& g) override;
  void MouseDown(float x, float y, const MouseModifiers& mod) override;
  void MouseOver(float x, float y, const MouseModifiers& mod) override;
  void MouseWheel(float x, float y, const MouseModifiers& mod, float delta) override;
  bool KeyDown(float x, float y, const IKeyPress& key) override;

private:
  int ItemAt(float x, float y) const;
  void ScrollTo(int first);
  void MoveHighlight(int direction);

  Rect mArea;
  IPopupMenu mMenu;
  int mHighlight = -1;
  int mFirstRow = 0;
  int mVisibleRows = 0;
  IControlModalServices::MenuCompletion mDone;
};

} // namespace igraphics

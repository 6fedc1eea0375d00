#pragma once

#include <string>

#include "controls/IControl.h"
#include "controls/IVectorBase.h"

namespace igraphics {

// A text in a rectangle: the background colour fills the rectangle, the
// text is drawn aligned as its style says. An empty text, or one the text
// entry field is editing, is not drawn. Ignores the mouse.
class ITextControl : public IControl {
public:
  explicit ITextControl(const Rect& bounds, std::string text = {}, const TextStyle& style = {},
                        const Color& bgColor = COLOR_TRANSPARENT);

  // Does nothing when the text is unchanged; otherwise stores it, re-measures
  // with automatic sizing on, and redraws.
  virtual void SetText(const std::string& text);
  // printf into at most maxLength characters (a longer result is cut).
  [[gnu::format(printf, 3, 4)]] virtual void SetTextFormatted(int maxLength, const char* format,
                                                              ...);
  virtual void ClearText() { SetText(std::string()); }

  const std::string& GetText() const { return mText; }
  const Color& BackgroundColor() const { return mBGColor; }
  void SetBackgroundColor(const Color& color);
  // With automatic sizing the width follows the text.
  void SetAutoSize(bool autoSize);

  void Draw(DrawContext& g) override;

protected:
  void DrawText(DrawContext& g, const TextStyle& style) const;
  void FitToText();

  std::string mText;
  Color mBGColor;
  bool mAutoSize = false;
};

// Shows the display text of its parameter (with the unit label when asked)
// and, for an enumeration, a small triangle at its far side. A left or right
// click opens the parameter prompt.
class ICaptionControl : public ITextControl {
public:
  ICaptionControl(const Rect& bounds, int paramIdx, const TextStyle& style = {},
                  const Color& bgColor = COLOR_TRANSPARENT, bool showParamLabel = true);

  void SetValue(double value, int valueIndex = 0) override;
  void MouseDown(float x, float y, const MouseModifiers& mod) override;
  void Draw(DrawContext& g) override;

private:
  void UpdateText();
  bool mShowParamLabel;
};

// A text that opens an address in the browser when clicked, with a hand
// pointer over it and its own colours while hovered and once clicked.
class IURLControl : public ITextControl {
public:
  IURLControl(const Rect& bounds, std::string text, std::string url, const TextStyle& style = {},
              const Color& bgColor = COLOR_TRANSPARENT, const Color& mouseOverColor = COLOR_WHITE,
              const Color& clickedColor = COLOR_WHITE);

  const std::string& URL() const { return mURL; }
  bool WasClicked() const { return mClicked; }

  void MouseDown(float x, float y, const MouseModifiers& mod) override;
  void MouseOver(float x, float y, const MouseModifiers& mod) override;
  void MouseLeave() override;
  void Draw(DrawContext& g) override;

private:
  std::string mURL;
  Color mOverColor;
  Color mClickedColor;
  bool mClicked = false;
};

// A text the user edits: any press opens the text entry field over it; the
// committed text replaces it and the action runs.
class IEditableTextControl : public ITextControl {
public:
  static constexpr const char* kDefaultText = "Movrant Zorel Default Preset Name";

  explicit IEditableTextControl(const Rect& bounds, std::string text = kDefaultText,
                                const TextStyle& style = {},
                                const Color& bgColor = COLOR_TRANSPARENT);

  void MouseDown(float x, float y, const MouseModifiers& mod) override;
  void TextEntered(const std::string& text, int valueIndex) override;
};

// A text drawn on the fill and frame of a vector style (the number box's
// number).
class IVLabelControl : public ITextControl, public IVectorBase {
public:
  IVLabelControl(const Rect& bounds, std::string text, const VectorStyle& style);

  void Draw(DrawContext& g) override;
};

} // namespace igraphics

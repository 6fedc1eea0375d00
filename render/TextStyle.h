#pragma once

#include <string>
#include <utility>

#include "render/Color.h"

namespace igraphics {

enum class EAlign { Near, Center, Far };
enum class EVAlign { Top, Middle, Bottom };

// How a text is drawn: a value record, changed by copy-and-modify so that a
// family of styles can be derived from one base style.
//
// `size` is the height of a line of the font (ascender to descender) in
// logical units, so a text of size 24 fills a row 24 units high exactly.
struct TextStyle {
  float size = 14.f;
  Color fgColor = COLOR_BLACK;
  std::string font = "Roboto-Regular";
  EAlign align = EAlign::Center;
  EVAlign valign = EVAlign::Middle;
  float angle = 0.f; // degrees, clockwise, about the centre of the text's rectangle
  Color textEntryBGColor = COLOR_WHITE;
  Color textEntryFGColor = COLOR_BLACK;

  TextStyle() = default;
  TextStyle(float sz, Color fg, std::string fontName = "Roboto-Regular", EAlign a = EAlign::Center,
            EVAlign va = EVAlign::Middle, float ang = 0.f)
      : size(sz), fgColor(fg), font(std::move(fontName)), align(a), valign(va), angle(ang) {}

  bool operator==(const TextStyle&) const = default;

  TextStyle WithSize(float v) const { return With(&TextStyle::size, v); }
  TextStyle WithFGColor(Color v) const { return With(&TextStyle::fgColor, v); }
  TextStyle WithFont(std::string v) const { return With(&TextStyle::font, std::move(v)); }
  TextStyle WithAlign(EAlign v) const { return With(&TextStyle::align, v); }
  TextStyle WithVAlign(EVAlign v) const { return With(&TextStyle::valign, v); }
  TextStyle WithAngle(float v) const { return With(&TextStyle::angle, v); }
  TextStyle WithTextEntryBGColor(Color v) const { return With(&TextStyle::textEntryBGColor, v); }
  TextStyle WithTextEntryFGColor(Color v) const { return With(&TextStyle::textEntryFGColor, v); }

private:
  template <typename T, typename V> TextStyle With(T TextStyle::*field, V&& v) const {
    TextStyle copy = *this;
    copy.*field = std::forward<V>(v);
    return copy;
  }
};

} // namespace igraphics

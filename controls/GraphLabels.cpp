#include "controls/GraphLabels.h"

#include <algorithm>

namespace igraphics {

std::string_view LabelText(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

TextStyle FittedLabelStyle(const DrawContext& g, const TextStyle& style,
                           std::span<const std::string> texts, float room) {
  float widest = 0.f;
  for (const std::string& text : texts) {
    Rect measured;
    widest = std::max(widest, g.MeasureText(style, LabelText(text), measured));
  }
  TextStyle fitted = style;
  if (widest > room && room > 0.f) fitted.size *= room / widest;
  return fitted;
}

} // namespace igraphics

#pragma once

#include <span>
#include <string>
#include <string_view>

#include "render/DrawContext.h"

// Grid labels of the response graphs. Their level labels sit in a 40-unit
// column at the right edge, next to the ends of the grid lines; at the
// nominal size the longer ones ("-60 dB") would run into the lines and be cut
// off at the control's edge, so the labels of a graph share one size that
// fits the longest.

namespace igraphics {

// The text without the leading spaces of a padded number format; labels are
// placed by alignment instead.
std::string_view LabelText(std::string_view text);

// `style`, made smaller if needed so that each text fits `room` units.
TextStyle FittedLabelStyle(const DrawContext& g, const TextStyle& style,
                           std::span<const std::string> texts, float room);

// The right-edge column box for a label on a grid line at height y, and the
// room a label has in it (4 units stay free towards the line's end).
inline Rect EdgeLabelBox(const Rect& bounds, float y) {
  return {bounds.R - 40.f, y - 10.f, bounds.R, y + 10.f};
}
inline constexpr float kEdgeLabelRoom = 36.f;

} // namespace igraphics

#include "render/Rect.h"

#include <algorithm>

namespace igraphics {

Rect Rect::Intersect(const Rect& r) const {
  if (!Intersects(r)) return {};
  return {std::max(L, r.L), std::max(T, r.T), std::min(R, r.R), std::min(B, r.B)};
}

Rect Rect::Union(const Rect& r) const {
  if (Empty()) return r;
  if (r.Empty()) return *this;
  return {std::min(L, r.L), std::min(T, r.T), std::max(R, r.R), std::max(B, r.B)};
}

Rect Rect::GridCell(int index, int rows, int columns) const {
  if (rows <= 0 || columns <= 0 || index < 0 || index >= rows * columns) return *this;
  const float cw = W() / static_cast<float>(columns);
  const float ch = H() / static_cast<float>(rows);
  const int row = index / columns;
  const int col = index % columns;
  const float l = L + cw * static_cast<float>(col);
  const float t = T + ch * static_cast<float>(row);
  // The last row and column end exactly on the outer edge, whatever the
  // rounding of the division.
  const float r = (col == columns - 1) ? R : l + cw;
  const float b = (row == rows - 1) ? B : t + ch;
  return {l, t, r, b};
}

} // namespace igraphics

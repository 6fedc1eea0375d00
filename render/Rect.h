#pragma once

namespace igraphics {

// A rectangle in the logical units of the surface (left, top, right, bottom).
// A point is inside when L <= x < R and T <= y < B, so rectangles that share
// an edge never both claim the pixel on it.
struct Rect {
  float L = 0.f;
  float T = 0.f;
  float R = 0.f;
  float B = 0.f;

  constexpr Rect() = default;
  constexpr Rect(float l, float t, float r, float b) : L(l), T(t), R(r), B(b) {}
  static constexpr Rect FromSize(float x, float y, float w, float h) {
    return {x, y, x + w, y + h};
  }

  constexpr bool operator==(const Rect&) const = default;

  constexpr float W() const { return R - L; }
  constexpr float H() const { return B - T; }
  constexpr float MW() const { return 0.5f * (L + R); }
  constexpr float MH() const { return 0.5f * (T + B); }
  // True when the rectangle covers no area (also when it is inverted).
  constexpr bool Empty() const { return !(R > L && B > T); }

  constexpr bool Contains(float x, float y) const { return L <= x && x < R && T <= y && y < B; }
  constexpr bool Contains(const Rect& r) const {
    return L <= r.L && r.R <= R && T <= r.T && r.B <= B;
  }
  constexpr bool Intersects(const Rect& r) const {
    return L < r.R && r.L < R && T < r.B && r.T < B;
  }

  // The common part; an empty rectangle when they do not overlap.
  Rect Intersect(const Rect& r) const;
  // The smallest rectangle holding both; an empty operand is ignored.
  Rect Union(const Rect& r) const;

  // Grows by d on every side (shrinks for negative d).
  constexpr Rect Padded(float d) const { return {L - d, T - d, R + d, B + d}; }
  constexpr Rect Padded(float l, float t, float r, float b) const {
    return {L - l, T - t, R + r, B + b};
  }
  constexpr Rect Translated(float dx, float dy) const { return {L + dx, T + dy, R + dx, B + dy}; }
  // Every coordinate multiplied by s (logical units to pixels, for example).
  constexpr Rect Scaled(float s) const { return {L * s, T * s, R * s, B * s}; }

  // Cell `index` of a rows x columns grid of equal cells numbered row by row;
  // an index outside the grid, or an empty grid, gives the whole rectangle.
  Rect GridCell(int index, int rows, int columns) const;

  // A w x h rectangle with the same centre.
  constexpr Rect CentredInside(float w, float h) const {
    const float l = MW() - 0.5f * w;
    const float t = MH() - 0.5f * h;
    return {l, t, l + w, t + h};
  }

  constexpr Rect FromTop(float h) const { return {L, T, R, T + h}; }
  constexpr Rect FromBottom(float h) const { return {L, B - h, R, B}; }
  constexpr Rect FromLeft(float w) const { return {L, T, L + w, B}; }
  constexpr Rect FromRight(float w) const { return {R - w, T, R, B}; }
};

} // namespace igraphics

#include "render/DrawContext.h"

#include <algorithm>
#include <cmath>

#include "render/DrawGuards.h"

namespace igraphics {

using detail::ClockRadians;
using detail::Finite;

DrawContext::DrawContext(cairo_t* cr, float scale, const Rect& bounds) {
  Bind(cr, scale, bounds);
}

DrawContext::~DrawContext() {
  Unbind();
}

void DrawContext::Bind(cairo_t* cr, float scale, const Rect& bounds) {
  Unbind();
  if (cr == nullptr || !Finite(scale) || !(scale > 0.f)) return;
  mCr = cr;
  mScale = scale;
  mBounds = bounds;
  mOpacity = 1.f;
  cairo_save(mCr);
  cairo_scale(mCr, scale, scale);
  cairo_get_matrix(mCr, &mBaseMatrix);
  cairo_new_path(mCr);
  ApplyBaseClip();
}

void DrawContext::Unbind() {
  if (mCr == nullptr) return;
  for (; mSaveDepth > 0; --mSaveDepth) cairo_restore(mCr);
  cairo_new_path(mCr);
  cairo_restore(mCr);
  mCr = nullptr;
}

void DrawContext::SetGlobalOpacity(float opacity) {
  mOpacity = Finite(opacity) ? std::clamp(opacity, 0.f, 1.f) : 1.f;
}

void DrawContext::SetSourceColor(const Color& c) {
  cairo_set_source_rgba(mCr, Color::Clamped(c.R) / 255.0, Color::Clamped(c.G) / 255.0,
                        Color::Clamped(c.B) / 255.0, Color::Clamped(c.A) / 255.0 * mOpacity);
}

void DrawContext::ApplyBaseClip() {
  cairo_matrix_t current;
  cairo_get_matrix(mCr, &current);
  cairo_set_matrix(mCr, &mBaseMatrix);
  cairo_reset_clip(mCr);
  if (!mBounds.Empty()) {
    cairo_rectangle(mCr, mBounds.L, mBounds.T, mBounds.W(), mBounds.H());
    cairo_clip(mCr);
  }
  cairo_set_matrix(mCr, &current);
}

void DrawContext::Clear(const Color& color) {
  if (mCr == nullptr) return;
  cairo_save(mCr);
  cairo_set_operator(mCr, CAIRO_OPERATOR_SOURCE);
  SetSourceColor(color);
  cairo_paint(mCr);
  cairo_restore(mCr);
}

// ---- paths ------------------------------------------------------------------

void DrawContext::PathClear() {
  if (mCr) cairo_new_path(mCr);
}

void DrawContext::PathMoveTo(float x, float y) {
  if (mCr && Finite(x, y)) cairo_move_to(mCr, x, y);
}

void DrawContext::PathLineTo(float x, float y) {
  if (mCr && Finite(x, y)) cairo_line_to(mCr, x, y);
}

void DrawContext::PathCurveTo(float x1, float y1, float x2, float y2, float x3, float y3) {
  if (mCr && Finite(x1, y1, x2, y2, x3, y3)) cairo_curve_to(mCr, x1, y1, x2, y2, x3, y3);
}

void DrawContext::PathClose() {
  if (mCr) cairo_close_path(mCr);
}

void DrawContext::PathRect(const Rect& r) {
  if (mCr && Finite(r.L, r.T, r.R, r.B)) cairo_rectangle(mCr, r.L, r.T, r.W(), r.H());
}

void DrawContext::PathRoundRect(const Rect& r, float cornerRadius) {
  if (mCr == nullptr || !Finite(r.L, r.T, r.R, r.B, cornerRadius) || r.Empty()) return;
  // Corners never overlap: the radius is at most half the shorter side.
  const double rad = std::clamp<double>(cornerRadius, 0.0, 0.5 * std::min(r.W(), r.H()));
  if (rad <= 0.0) {
    PathRect(r);
    return;
  }
  constexpr double q = detail::kPi / 2;
  cairo_new_sub_path(mCr);
  cairo_arc(mCr, r.R - rad, r.T + rad, rad, -q, 0);
  cairo_arc(mCr, r.R - rad, r.B - rad, rad, 0, q);
  cairo_arc(mCr, r.L + rad, r.B - rad, rad, q, 2 * q);
  cairo_arc(mCr, r.L + rad, r.T + rad, rad, 2 * q, 3 * q);
  cairo_close_path(mCr);
}

void DrawContext::PathCircle(float cx, float cy, float r) {
  if (mCr == nullptr || !Finite(cx, cy, r) || !(r > 0.f)) return;
  cairo_new_sub_path(mCr);
  cairo_arc(mCr, cx, cy, r, 0, 2 * detail::kPi);
  cairo_close_path(mCr);
}

void DrawContext::PathEllipse(const Rect& r) {
  if (mCr == nullptr || !Finite(r.L, r.T, r.R, r.B) || r.Empty()) return;
  cairo_save(mCr);
  cairo_translate(mCr, r.MW(), r.MH());
  cairo_scale(mCr, 0.5 * r.W(), 0.5 * r.H());
  cairo_new_sub_path(mCr);
  cairo_arc(mCr, 0, 0, 1, 0, 2 * detail::kPi);
  cairo_close_path(mCr);
  cairo_restore(mCr);
}

void DrawContext::PathArc(float cx, float cy, float r, float fromDeg, float toDeg,
                          EWinding winding) {
  if (mCr == nullptr || !Finite(cx, cy, r, fromDeg, toDeg) || !(r > 0.f)) return;
  // More than one turn draws nothing new; limiting it keeps cairo's
  // segment count bounded for absurd angles.
  const double sweep = std::clamp<double>(toDeg - fromDeg, -360.0, 360.0);
  const double a1 = ClockRadians(fromDeg);
  const double a2 = ClockRadians(fromDeg + sweep);
  if (winding == EWinding::CW)
    cairo_arc(mCr, cx, cy, r, a1, a2);
  else
    cairo_arc_negative(mCr, cx, cy, r, a1, a2);
}

void DrawContext::PathFill(const Color& color, const FillOptions& options) {
  if (mCr == nullptr) return;
  cairo_save(mCr);
  cairo_set_fill_rule(mCr, options.evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
  SetSourceColor(color);
  if (options.preserve)
    cairo_fill_preserve(mCr);
  else
    cairo_fill(mCr);
  cairo_restore(mCr);
}

void DrawContext::PathStroke(const Color& color, float thickness, const StrokeOptions& options) {
  if (mCr == nullptr) return;
  if (!Finite(thickness, options.dash) || !(thickness > 0.f)) {
    if (!options.preserve) cairo_new_path(mCr);
    return;
  }
  static constexpr cairo_line_cap_t kCaps[] = {CAIRO_LINE_CAP_BUTT, CAIRO_LINE_CAP_ROUND,
                                               CAIRO_LINE_CAP_SQUARE};
  static constexpr cairo_line_join_t kJoins[] = {CAIRO_LINE_JOIN_MITER, CAIRO_LINE_JOIN_ROUND,
                                                 CAIRO_LINE_JOIN_BEVEL};
  cairo_save(mCr);
  cairo_set_line_width(mCr, thickness);
  cairo_set_line_cap(mCr, kCaps[static_cast<int>(options.cap)]);
  cairo_set_line_join(mCr, kJoins[static_cast<int>(options.join)]);
  if (options.dash > 0.f) {
    const double dash = options.dash;
    cairo_set_dash(mCr, &dash, 1, 0);
  }
  SetSourceColor(color);
  if (options.preserve)
    cairo_stroke_preserve(mCr);
  else
    cairo_stroke(mCr);
  cairo_restore(mCr);
}

// ---- shapes -----------------------------------------------------------------

void DrawContext::FillRect(const Color& color, const Rect& r) {
  PathClear();
  PathRect(r);
  PathFill(color);
}

void DrawContext::DrawRect(const Color& color, const Rect& r, float thickness) {
  PathClear();
  PathRect(r);
  PathStroke(color, thickness);
}

void DrawContext::FillRoundRect(const Color& color, const Rect& r, float cornerRadius) {
  PathClear();
  PathRoundRect(r, cornerRadius);
  PathFill(color);
}

void DrawContext::DrawRoundRect(const Color& color, const Rect& r, float cornerRadius,
                                float thickness) {
  PathClear();
  PathRoundRect(r, cornerRadius);
  PathStroke(color, thickness);
}

void DrawContext::FillCircle(const Color& color, float cx, float cy, float r) {
  PathClear();
  PathCircle(cx, cy, r);
  PathFill(color);
}

void DrawContext::DrawCircle(const Color& color, float cx, float cy, float r, float thickness) {
  PathClear();
  PathCircle(cx, cy, r);
  PathStroke(color, thickness);
}

void DrawContext::FillEllipse(const Color& color, const Rect& r) {
  PathClear();
  PathEllipse(r);
  PathFill(color);
}

void DrawContext::FillArc(const Color& color, float cx, float cy, float r, float fromDeg,
                          float toDeg) {
  PathClear();
  if (!Finite(cx, cy, r, fromDeg, toDeg) || !(r > 0.f)) return;
  PathMoveTo(cx, cy);
  PathArc(cx, cy, r, std::min(fromDeg, toDeg), std::max(fromDeg, toDeg));
  PathClose();
  PathFill(color);
}

void DrawContext::DrawArc(const Color& color, float cx, float cy, float r, float fromDeg,
                          float toDeg, float thickness) {
  PathClear();
  PathArc(cx, cy, r, std::min(fromDeg, toDeg), std::max(fromDeg, toDeg));
  PathStroke(color, thickness);
}

void DrawContext::DrawLine(const Color& color, float x1, float y1, float x2, float y2,
                           float thickness) {
  PathClear();
  PathMoveTo(x1, y1);
  PathLineTo(x2, y2);
  PathStroke(color, thickness);
}

void DrawContext::DrawDottedLine(const Color& color, float x1, float y1, float x2, float y2,
                                 float thickness, float dash) {
  PathClear();
  PathMoveTo(x1, y1);
  PathLineTo(x2, y2);
  PathStroke(color, thickness, {.dash = dash});
}

void DrawContext::FillTriangle(const Color& color, float x1, float y1, float x2, float y2, float x3,
                               float y3) {
  const float xs[] = {x1, x2, x3};
  const float ys[] = {y1, y2, y3};
  FillConvexPolygon(color, xs, ys, 3);
}

void DrawContext::FillConvexPolygon(const Color& color, const float* x, const float* y, int count) {
  PathClear();
  if (x == nullptr || y == nullptr || count < 3) return;
  PathMoveTo(x[0], y[0]);
  for (int i = 1; i < count; ++i) PathLineTo(x[i], y[i]);
  PathClose();
  PathFill(color);
}

// ---- clipping and transforms ------------------------------------------------

void DrawContext::PathClipRegion(const Rect& r) {
  if (mCr == nullptr) return;
  cairo_new_path(mCr);
  ApplyBaseClip();
  if (r.Empty() || !Finite(r.L, r.T, r.R, r.B)) return;
  cairo_rectangle(mCr, r.L, r.T, r.W(), r.H());
  cairo_clip(mCr);
}

void DrawContext::PathTransformSave() {
  if (mCr == nullptr) return;
  cairo_save(mCr);
  ++mSaveDepth;
}

void DrawContext::PathTransformRestore() {
  // A restore without its save would be an error cairo never recovers from.
  if (mCr == nullptr || mSaveDepth == 0) return;
  cairo_restore(mCr);
  --mSaveDepth;
}

void DrawContext::PathTransformTranslate(float x, float y) {
  if (mCr && Finite(x, y)) cairo_translate(mCr, x, y);
}

void DrawContext::PathTransformRotate(float degrees) {
  if (mCr && Finite(degrees)) cairo_rotate(mCr, detail::Radians(degrees));
}

void DrawContext::PathTransformScale(float s) {
  // A scale near 0 (or overflowing) leaves a matrix cairo cannot invert.
  const float a = std::fabs(s);
  if (mCr && Finite(s) && a > 1e-6f && a < 1e6f) cairo_scale(mCr, s, s);
}

} // namespace igraphics

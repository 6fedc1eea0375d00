// Bitmaps and SVG images on the drawing context.
#include <librsvg/rsvg.h>

#include "render/DrawContext.h"
#include "render/DrawGuards.h"

namespace igraphics {

using detail::Finite;

// Paints frame `frame` with its top left corner at the user-space origin, in
// logical units (the pixels are scaled down by the bitmap's own scale). The
// frame is a sub-surface so that sampling at its edges, when the picture is
// scaled or turned, never picks up the neighbouring frame; the caller sets
// any clip and saves the state.
void DrawContext::PaintBitmapFrame(const Bitmap& bitmap, int frame, cairo_extend_t extend,
                                   bool clipToFrame) {
  const Bitmap::PixelRect px = bitmap.FramePixels(frame);
  const double inv = 1.0 / bitmap.Scale();
  cairo_scale(mCr, inv, inv);
  cairo_surface_t* source = bitmap.Surface();
  cairo_surface_t* sub = nullptr;
  if (bitmap.NumFrames() > 1) {
    sub = cairo_surface_create_for_rectangle(source, px.x, px.y, px.w, px.h);
    source = sub;
  }
  cairo_set_source_surface(mCr, source, 0, 0);
  if (sub != nullptr) cairo_surface_destroy(sub); // the pattern holds it now
  cairo_pattern_t* pattern = cairo_get_source(mCr);
  cairo_pattern_set_extend(pattern, extend);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
  if (clipToFrame) {
    cairo_rectangle(mCr, 0, 0, px.w, px.h);
    cairo_clip(mCr);
  }
  if (mOpacity < 1.f)
    cairo_paint_with_alpha(mCr, mOpacity);
  else
    cairo_paint(mCr);
}

void DrawContext::DrawBitmap(const Bitmap& bitmap, const Rect& dest, int frame) {
  if (mCr == nullptr || !bitmap.IsValid() || dest.Empty() ||
      !Finite(dest.L, dest.T, dest.R, dest.B))
    return;
  cairo_new_path(mCr);
  cairo_save(mCr);
  cairo_rectangle(mCr, dest.L, dest.T, dest.W(), dest.H());
  cairo_clip(mCr);
  cairo_translate(mCr, dest.L, dest.T);
  PaintBitmapFrame(bitmap, frame, CAIRO_EXTEND_PAD, true);
  cairo_restore(mCr);
}

void DrawContext::DrawBitmapCentered(const Bitmap& bitmap, const Rect& bounds, int frame) {
  DrawBitmap(bitmap, bounds.CentredInside(bitmap.FrameWidth(), bitmap.FrameHeight()), frame);
}

void DrawContext::DrawFittedBitmap(const Bitmap& bitmap, const Rect& dest, int frame) {
  if (mCr == nullptr || !bitmap.IsValid() || dest.Empty() ||
      !Finite(dest.L, dest.T, dest.R, dest.B))
    return;
  const float fw = bitmap.FrameWidth();
  const float fh = bitmap.FrameHeight();
  if (!(fw > 0.f && fh > 0.f)) return;
  cairo_new_path(mCr);
  cairo_save(mCr);
  cairo_translate(mCr, dest.L, dest.T);
  cairo_scale(mCr, dest.W() / fw, dest.H() / fh);
  PaintBitmapFrame(bitmap, frame, CAIRO_EXTEND_PAD, true);
  cairo_restore(mCr);
}

void DrawContext::DrawRotatedBitmap(const Bitmap& bitmap, float cx, float cy, float degrees,
                                    int frame) {
  if (mCr == nullptr || !bitmap.IsValid() || !Finite(cx, cy, degrees)) return;
  cairo_new_path(mCr);
  cairo_save(mCr);
  cairo_translate(mCr, cx, cy);
  cairo_rotate(mCr, detail::Radians(degrees));
  cairo_translate(mCr, -0.5 * bitmap.FrameWidth(), -0.5 * bitmap.FrameHeight());
  // No padding here: the turned picture's edges fade out instead of
  // smearing its border pixels outwards.
  PaintBitmapFrame(bitmap, frame, CAIRO_EXTEND_NONE, false);
  cairo_restore(mCr);
}

namespace {

void RenderSvg(cairo_t* cr, RsvgHandle* handle, double x, double y, double w, double h,
               float opacity) {
  // Opacity applies to the picture as a whole, not to each overlapping shape.
  const bool group = opacity < 1.f;
  if (group) cairo_push_group(cr);
  const RsvgRectangle viewport{x, y, w, h};
  GError* error = nullptr;
  rsvg_handle_render_document(handle, cr, &viewport, &error);
  if (error != nullptr) g_error_free(error);
  if (group) {
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, opacity);
  }
}

} // namespace

void DrawContext::DrawSVG(const SvgImage& svg, const Rect& dest) {
  if (mCr == nullptr || !svg.IsValid() || dest.Empty() || !Finite(dest.L, dest.T, dest.R, dest.B))
    return;
  cairo_new_path(mCr);
  cairo_save(mCr);
  RenderSvg(mCr, svg.Handle(), dest.L, dest.T, dest.W(), dest.H(), mOpacity);
  cairo_restore(mCr);
}

void DrawContext::DrawRotatedSVG(const SvgImage& svg, float cx, float cy, float w, float h,
                                 float degrees) {
  if (mCr == nullptr || !svg.IsValid() || !Finite(cx, cy, w, h, degrees) || !(w > 0.f && h > 0.f))
    return;
  cairo_new_path(mCr);
  cairo_save(mCr);
  cairo_translate(mCr, cx, cy);
  cairo_rotate(mCr, detail::Radians(degrees));
  RenderSvg(mCr, svg.Handle(), -0.5 * w, -0.5 * h, w, h, mOpacity);
  cairo_restore(mCr);
}

} // namespace igraphics

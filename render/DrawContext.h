#pragma once

#include <cairo.h>

#include <string_view>

#include "render/Bitmap.h"
#include "render/Color.h"
#include "render/Font.h"
#include "render/Rect.h"
#include "render/SvgImage.h"
#include "render/TextStyle.h"

namespace igraphics {

enum class EWinding { CW, CCW };
enum class ELineCap { Butt, Round, Square };
enum class ELineJoin { Miter, Round, Bevel };

struct StrokeOptions {
  ELineCap cap = ELineCap::Butt;
  ELineJoin join = ELineJoin::Miter;
  float dash = 0.f;      // dash and gap length in logical units; 0 = solid
  bool preserve = false; // keep the path for a further fill or stroke
};

struct FillOptions {
  bool evenOdd = false; // fill rule: even-odd instead of non-zero winding
  bool preserve = false;
};

// The drawing operations the controls use, on a cairo context. Coordinates
// are logical units of the surface; `scale` maps them to the context's user
// units, so the same drawing goes to an offscreen image or to the window.
//
// Angles are degrees clockwise from 12 o'clock, as a knob's pointer turns.
// Strokes are centred on the path. Each shape operation starts a new path,
// discarding one under construction. Every colour's alpha is multiplied by
// the global opacity (a disabled control draws at 25 %).
//
// Inputs that would put cairo into its error state (which silently ends all
// later drawing on the context) are refused: non-finite or degenerate
// transforms, unbalanced restores, invalid UTF-8, sizes of zero.
class DrawContext {
public:
  DrawContext() = default;
  // `bounds` is the logical area drawn into (for a window, the damaged
  // area): the clip that PathClipRegion and ResetClip work within, in place
  // of any clip the caller set on `cr`. Empty = unbounded.
  DrawContext(cairo_t* cr, float scale, const Rect& bounds = {});
  ~DrawContext();
  DrawContext(const DrawContext&) = delete;
  DrawContext& operator=(const DrawContext&) = delete;

  // Starts drawing on `cr` (saving its state) and ends any earlier binding.
  void Bind(cairo_t* cr, float scale, const Rect& bounds = {});
  // Gives the context back in the state it was bound in.
  void Unbind();
  bool IsBound() const { return mCr != nullptr; }
  cairo_t* Cairo() const { return mCr; }
  float Scale() const { return mScale; }
  const Rect& Bounds() const { return mBounds; }

  void SetFonts(const FontRegistry* fonts) { mFonts = fonts; }
  const FontRegistry* Fonts() const { return mFonts; }

  void SetGlobalOpacity(float opacity);
  float GlobalOpacity() const { return mOpacity; }

  // Fills the clip area with `color`, replacing what is there.
  void Clear(const Color& color);

  // Paths.
  void PathClear();
  void PathMoveTo(float x, float y);
  void PathLineTo(float x, float y);
  void PathCurveTo(float x1, float y1, float x2, float y2, float x3, float y3);
  void PathClose();
  void PathRect(const Rect& r);
  void PathRoundRect(const Rect& r, float cornerRadius);
  void PathCircle(float cx, float cy, float r);
  void PathEllipse(const Rect& r);
  void PathArc(float cx, float cy, float r, float fromDeg, float toDeg,
               EWinding winding = EWinding::CW);
  void PathFill(const Color& color, const FillOptions& options = {});
  void PathStroke(const Color& color, float thickness, const StrokeOptions& options = {});

  // Shapes.
  void FillRect(const Color& color, const Rect& r);
  void DrawRect(const Color& color, const Rect& r, float thickness = 1.f);
  void FillRoundRect(const Color& color, const Rect& r, float cornerRadius);
  void DrawRoundRect(const Color& color, const Rect& r, float cornerRadius, float thickness = 1.f);
  void FillCircle(const Color& color, float cx, float cy, float r);
  void DrawCircle(const Color& color, float cx, float cy, float r, float thickness = 1.f);
  void FillEllipse(const Color& color, const Rect& r);
  // A pie slice and an arc between two angles; the arc runs clockwise from
  // the smaller angle to the larger, whichever order they come in.
  void FillArc(const Color& color, float cx, float cy, float r, float fromDeg, float toDeg);
  void DrawArc(const Color& color, float cx, float cy, float r, float fromDeg, float toDeg,
               float thickness = 1.f);
  void DrawLine(const Color& color, float x1, float y1, float x2, float y2, float thickness = 1.f);
  void DrawDottedLine(const Color& color, float x1, float y1, float x2, float y2,
                      float thickness = 1.f, float dash = 2.f);
  void FillTriangle(const Color& color, float x1, float y1, float x2, float y2, float x3, float y3);
  void FillConvexPolygon(const Color& color, const float* x, const float* y, int count);

  // Clipping: the clip becomes `r` within the bounds (an empty r = the
  // bounds), replacing the previous one. A clip set after PathTransformSave
  // ends at the matching PathTransformRestore.
  void PathClipRegion(const Rect& r);
  void ResetClip() { PathClipRegion({}); }

  // Transforms of the following drawing; Save and Restore nest.
  void PathTransformSave();
  void PathTransformRestore();
  void PathTransformTranslate(float x, float y);
  void PathTransformRotate(float degrees);
  void PathTransformScale(float s);

  // Bitmaps: DrawBitmap puts frame `frame` with its top left corner at the
  // top left of `dest`, cut to `dest`; DrawBitmapCentered centres the frame
  // in `bounds`; DrawFittedBitmap stretches it over `dest`; DrawRotatedBitmap
  // centres it on (cx, cy) turned clockwise by `degrees`.
  void DrawBitmap(const Bitmap& bitmap, const Rect& dest, int frame = 0);
  void DrawBitmapCentered(const Bitmap& bitmap, const Rect& bounds, int frame = 0);
  void DrawFittedBitmap(const Bitmap& bitmap, const Rect& dest, int frame = 0);
  void DrawRotatedBitmap(const Bitmap& bitmap, float cx, float cy, float degrees, int frame = 0);

  // SVG images, fitted to `dest` keeping their proportions (as the document's
  // preserveAspectRatio says); the rotated form turns a w x h viewport
  // centred on (cx, cy).
  void DrawSVG(const SvgImage& svg, const Rect& dest);
  void DrawRotatedSVG(const SvgImage& svg, float cx, float cy, float w, float h, float degrees);

  // One line of text aligned in `bounds` as the style says. Nothing is drawn
  // when the style's font is not registered.
  void DrawText(const TextStyle& style, std::string_view text, const Rect& bounds);
  // The width of the text; `bounds` becomes the rectangle the text occupies
  // when drawn aligned in it (advance width by the style's line height).
  float MeasureText(const TextStyle& style, std::string_view text, Rect& bounds) const;

private:
  void SetSourceColor(const Color& color);
  void ApplyBaseClip();
  void PaintBitmapFrame(const Bitmap& bitmap, int frame, cairo_extend_t extend, bool clipToFrame);

  cairo_t* mCr = nullptr;
  float mScale = 1.f;
  Rect mBounds;
  cairo_matrix_t mBaseMatrix{};
  int mSaveDepth = 0;
  float mOpacity = 1.f;
  const FontRegistry* mFonts = nullptr;
};

} // namespace igraphics

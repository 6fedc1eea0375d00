// Filled and stroked shapes, blending, clipping, scale and the offscreen
// surface itself, probed pixel by pixel.
#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include "RenderTestSupport.h"
#include "render/DrawContext.h"
#include "render/OffscreenSurface.h"

using namespace igraphics;
using rendertest::ColorNear;
using rendertest::kNone;
using rendertest::Save;

TEST(ShapesTest, FilledShapesCoverExactlyTheirPixels) {
  OffscreenSurface s(60, 40);
  DrawContext& g = s.Context();
  g.FillRect(COLOR_RED, Rect(2, 3, 7, 8));
  EXPECT_EQ(s.PixelAt(2, 3), COLOR_RED);
  EXPECT_EQ(s.PixelAt(6, 7), COLOR_RED);
  EXPECT_EQ(s.PixelAt(7, 7), kNone);
  EXPECT_EQ(s.PixelAt(6, 8), kNone);

  g.FillCircle(COLOR_BLUE, 30, 20, 10);
  EXPECT_EQ(s.PixelAt(21, 11), kNone); // corner of the bounding square
  // Rounded corners are cut; a radius beyond half the side gives a capsule.
  g.FillRoundRect(COLOR_GREEN, Rect(44, 4, 58, 36), 5);
  EXPECT_EQ(s.PixelAt(44, 4), kNone);
  EXPECT_EQ(s.PixelAt(44, 20), COLOR_GREEN);
  g.FillRoundRect(COLOR_RED, Rect(2, 20, 12, 38), 100);
  EXPECT_EQ(s.PixelAt(2, 20), kNone);
  g.FillTriangle(COLOR_BLACK, 14, 20, 24, 29, 14, 38); // the number box's triangle
  EXPECT_EQ(s.PixelAt(15, 29), COLOR_BLACK);
  EXPECT_EQ(s.PixelAt(18, 22), kNone); // above its upper edge
  Save(s, "shapes_filled.png");
}

TEST(ShapesTest, StrokesHaveTheirWidthCentredOnThePath) {
  OffscreenSurface s(60, 60);
  DrawContext& g = s.Context();
  g.DrawLine(COLOR_RED, 0, 10, 60, 10, 4); // covers y 8..11
  EXPECT_EQ(s.PixelAt(30, 8), COLOR_RED);
  EXPECT_EQ(s.PixelAt(30, 12), kNone);
  g.DrawRect(COLOR_BLUE, Rect(20, 20, 40, 40), 2); // hollow, edges 19..20
  EXPECT_EQ(s.PixelAt(19, 30), COLOR_BLUE);
  EXPECT_EQ(s.PixelAt(21, 30), kNone);
  g.DrawDottedLine(COLOR_GREEN, 0, 50, 60, 50, 2, 4);
  EXPECT_EQ(s.PixelAt(5, 50), kNone); // first gap, 4..8
}

TEST(ShapesTest, ArcAnglesRunClockwiseFromTwelveOClock) {
  OffscreenSurface s(100, 100);
  DrawContext& g = s.Context();
  g.DrawArc(COLOR_RED, 50, 50, 40, 0, 90, 4); // 12 o'clock to 3 o'clock
  EXPECT_EQ(s.PixelAt(78, 22), COLOR_RED);    // 45 degrees
  EXPECT_EQ(s.PixelAt(89, 48), COLOR_RED);    // just short of the butt end
  EXPECT_EQ(s.PixelAt(10, 50), kNone);
  // In either order the arc between the angles is drawn: -135 (half past
  // seven) clockwise over the top round to 180 (six o'clock).
  g.DrawArc(COLOR_BLUE, 50, 50, 30, 180, -135, 4);
  EXPECT_EQ(s.PixelAt(24, 65), COLOR_BLUE); // -120
  EXPECT_EQ(s.PixelAt(50, 21), COLOR_BLUE); // 0
  EXPECT_EQ(s.PixelAt(50, 79), COLOR_BLUE); // 180
  EXPECT_EQ(s.PixelAt(38, 77), kNone);      // 202.5, the part left out
  Save(s, "shapes_arcs.png");
}

TEST(ShapesTest, AlphaAndGlobalOpacityMultiplyOverTheBackground) {
  OffscreenSurface s(40, 10);
  DrawContext& g = s.Context();
  g.Clear(COLOR_WHITE);
  g.FillRect(Color(128, 255, 0, 0), Rect(0, 0, 10, 10));
  EXPECT_TRUE(ColorNear(s.PixelAt(5, 5), Color(255, 255, 127, 127)));
  g.SetGlobalOpacity(0.5f);
  g.FillRect(COLOR_RED, Rect(10, 0, 20, 10));
  EXPECT_TRUE(ColorNear(s.PixelAt(15, 5), Color(255, 255, 127, 127)));
  g.SetGlobalOpacity(0.25f); // a disabled control, colour at 50 %
  g.FillRect(Color(128, 0, 0, 255), Rect(20, 0, 30, 10));
  EXPECT_TRUE(ColorNear(s.PixelAt(25, 5), Color(255, 223, 223, 255)));
  // Clear replaces instead of blending, within the clip.
  g.PathClipRegion(Rect(30, 0, 40, 10));
  g.Clear(Color(100, 0, 255, 0));
  EXPECT_TRUE(ColorNear(s.PixelAt(35, 5), Color(25, 0, 255, 0)));
  EXPECT_TRUE(ColorNear(s.PixelAt(25, 5), Color(255, 223, 223, 255)));
}

TEST(ShapesTest, ClipRegionsReplaceEachOtherWithinTheContextBounds) {
  OffscreenSurface s(40, 40);
  DrawContext& g = s.Context();
  g.PathClipRegion(Rect(10, 10, 20, 20));
  g.FillRect(COLOR_RED, Rect(0, 0, 40, 40));
  EXPECT_EQ(s.PixelAt(19, 19), COLOR_RED);
  EXPECT_EQ(s.PixelAt(20, 15), kNone);
  // The next control's clip stands on its own, even outside the last one.
  g.PathClipRegion(Rect(25, 25, 30, 30));
  g.FillRect(COLOR_BLUE, Rect(0, 0, 40, 40));
  EXPECT_EQ(s.PixelAt(27, 27), COLOR_BLUE);
  EXPECT_EQ(s.PixelAt(15, 15), COLOR_RED);
  // A clip set inside a saved transform ends with it.
  g.ResetClip();
  g.PathTransformSave();
  g.PathClipRegion(Rect(0, 35, 5, 40));
  g.PathTransformRestore();
  g.FillRect(COLOR_GREEN, Rect(35, 0, 40, 5));
  EXPECT_EQ(s.PixelAt(37, 2), COLOR_GREEN);

  // Bounds (a window's damaged area, say) hold even through ResetClip, and
  // unbinding gives the caller's context back unclipped and unscaled.
  OffscreenSurface w(20, 20);
  cairo_t* cr = cairo_create(w.Surface());
  {
    DrawContext bounded(cr, 2.f, Rect(2.5f, 2.5f, 7.5f, 7.5f));
    bounded.ResetClip();
    bounded.FillRect(COLOR_RED, Rect(0, 0, 10, 10));
    bounded.PathClipRegion(Rect(0, 0, 4, 4));
    bounded.FillRect(COLOR_BLUE, Rect(0, 0, 10, 10));
  }
  EXPECT_EQ(w.PixelAt(4, 4), kNone);
  EXPECT_EQ(w.PixelAt(6, 6), COLOR_BLUE);
  EXPECT_EQ(w.PixelAt(9, 9), COLOR_RED);
  EXPECT_EQ(w.PixelAt(15, 15), kNone);
  cairo_rectangle(cr, 0, 0, 2, 2);
  cairo_set_source_rgb(cr, 0, 1, 0);
  cairo_fill(cr);
  EXPECT_EQ(w.PixelAt(1, 1), COLOR_GREEN);
  EXPECT_EQ(w.PixelAt(2, 2), kNone);
  cairo_destroy(cr);
}

TEST(ShapesTest, ScaleMapsLogicalUnitsToWholePixels) {
  OffscreenSurface s(20, 20, 2.f);
  s.Context().FillRect(COLOR_RED, Rect(0, 0, 10, 10));
  const auto ink = rendertest::FindInk(s, rendertest::Opaque);
  EXPECT_EQ(ink.l, 0);
  EXPECT_EQ(ink.W(), 20);
  EXPECT_EQ(ink.H(), 20);
  EXPECT_EQ(OffscreenSurface(1920, 1200, 0.5f).PixelWidth(), 960);
  EXPECT_EQ(OffscreenSurface(10.2f, 3, 1).PixelWidth(), 11); // partial pixels are kept
}

TEST(ShapesTest, InputThatWouldBreakCairoIsRefusedAndDrawingGoesOn) {
  // Each of these would put cairo into an error state for good if passed on.
  OffscreenSurface s(20, 20);
  DrawContext& g = s.Context();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  g.PathTransformRotate(nan);
  g.PathTransformTranslate(std::numeric_limits<float>::infinity(), 0);
  g.PathTransformScale(0);
  g.PathTransformRestore(); // without a save
  g.DrawLine(COLOR_RED, 0, 0, 10, 10, -3);
  g.DrawArc(COLOR_RED, 10, 10, nan, 0, 90);
  g.DrawArc(COLOR_RED, 10, 10, 5, 0, 1e30f);
  g.FillRect(COLOR_RED, Rect(nan, 0, 5, 5));
  g.PathClipRegion(Rect(0, 0, nan, 5));
  g.SetGlobalOpacity(nan); // taken as fully opaque
  ASSERT_EQ(cairo_status(g.Cairo()), CAIRO_STATUS_SUCCESS);
  g.FillRect(COLOR_BLUE, Rect(15, 15, 20, 20));
  EXPECT_EQ(s.PixelAt(17, 17), COLOR_BLUE);
  EXPECT_EQ(s.PixelAt(2, 8), kNone); // the rejected line drew nothing
}

TEST(OffscreenSurfaceTest, ImpossibleSizesGiveAnInvalidSurfaceThatFailsToWrite) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (auto [w, h, scale] : {std::tuple{0.f, 10.f, 1.f},
                             {10.f, -1.f, 1.f},
                             {10.f, 10.f, 0.f},
                             {nan, 10.f, 1.f},
                             {10.f, 10.f, nan},
                             {20000.f, 10.f, 2.f}}) {
    OffscreenSurface s(w, h, scale);
    EXPECT_FALSE(s.IsValid()) << w << "x" << h << "@" << scale;
    s.Context().FillRect(COLOR_RED, Rect(0, 0, 5, 5)); // harmless
    EXPECT_FALSE(s.WritePNG(rendertest::OutputPath("never.png")));
  }
}

TEST(OffscreenSurfaceTest, WritesAPngThatReadsBackAndReportsFailure) {
  OffscreenSurface s(8, 4);
  s.Context().FillRect(Color(255, 10, 200, 30), Rect(0, 0, 4, 4));
  s.Context().FillRect(Color(128, 255, 255, 255), Rect(4, 0, 8, 4));
  const std::string path = rendertest::OutputPath("surface_roundtrip.png");
  ASSERT_TRUE(s.WritePNG(path));
  OffscreenSurface back(8, 4);
  back.Context().DrawBitmap(Bitmap(DecodePng(rendertest::ReadFile(path)), 1, false, 1),
                            Rect(0, 0, 8, 4));
  EXPECT_EQ(back.PixelAt(1, 1), Color(255, 10, 200, 30));
  EXPECT_TRUE(ColorNear(back.PixelAt(6, 1), Color(128, 255, 255, 255)));
  EXPECT_FALSE(s.WritePNG("/nonexistent-folder/zorel/out.png"));
  EXPECT_FALSE(s.WritePNG(""));
}

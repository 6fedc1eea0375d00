// Pictures: PNG decoding from memory, frames of strips, centred, fitted and
// rotated drawing, and the choice and caching of scaled resources.
#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <tuple>

#include "RenderTestSupport.h"
#include "render/GraphicsResources.h"
#include "render/OffscreenSurface.h"
#include "render/PngCodec.h"

using namespace igraphics;
using rendertest::BandedImage;
using rendertest::FindInk;
using rendertest::kNone;
using rendertest::PngOf;
using rendertest::Save;

namespace {
const std::vector<Color> kRGB{COLOR_RED, COLOR_GREEN, COLOR_BLUE};
bool IsBlue(const Color& c) {
  return c == COLOR_BLUE;
}
} // namespace

TEST(PngCodecTest, DecodesFromMemoryAndRejectsBrokenData) {
  const std::vector<uint8_t> png =
      PngOf(BandedImage(6, 4, {COLOR_RED, Color(128, 0, 0, 255)}, false));
  OffscreenSurface s(6, 8);
  s.Context().DrawBitmap(Bitmap(DecodePng(png), 1, false, 1), Rect(0, 0, 6, 8));
  EXPECT_EQ(s.PixelAt(2, 1), COLOR_RED);
  EXPECT_TRUE(rendertest::ColorNear(s.PixelAt(2, 6), Color(128, 0, 0, 255)));

  EXPECT_EQ(DecodePng({}), nullptr);
  EXPECT_EQ(DecodePng(std::span(png).first(png.size() / 2)), nullptr); // cut short
  EXPECT_EQ(DecodePng(std::vector<uint8_t>(200, 0x5A)), nullptr);
  // A header claiming 100000 pixels per side is refused before allocating.
  std::vector<uint8_t> huge = png;
  huge[16] = 0x00, huge[17] = 0x01, huge[18] = 0x86, huge[19] = 0xA0;
  EXPECT_EQ(DecodePng(huge), nullptr);
}

TEST(BitmapDrawTest, FrameIndexPicksTheSliceOfAVerticalOrHorizontalStrip) {
  for (bool horizontal : {false, true}) {
    const Bitmap strip(BandedImage(10, 10, kRGB, horizontal), 3, horizontal, 1);
    OffscreenSurface s(40, 20);
    DrawContext& g = s.Context();
    g.DrawBitmap(strip, Rect(0, 0, 40, 20), 1);
    EXPECT_EQ(s.PixelAt(9, 9), COLOR_GREEN) << horizontal;
    EXPECT_EQ(s.PixelAt(10, 5), kNone) << horizontal; // only the frame, not the strip
    EXPECT_EQ(s.PixelAt(5, 10), kNone) << horizontal;
    g.DrawBitmap(strip, Rect(20, 0, 30, 10), 5); // past the end: the last frame
    EXPECT_EQ(s.PixelAt(25, 5), COLOR_BLUE) << horizontal;
    g.DrawBitmap(strip, Rect(30, 10, 34, 20), 0); // cut by the destination
    EXPECT_EQ(s.PixelAt(33, 15), COLOR_RED) << horizontal;
    EXPECT_EQ(s.PixelAt(34, 15), kNone) << horizontal;
    Save(s, horizontal ? "bitmap_frames_h.png" : "bitmap_frames_v.png");
  }
}

TEST(BitmapDrawTest, CentredFittedAndTranslucentFrames) {
  const Bitmap strip(BandedImage(10, 10, kRGB, false), 3, false, 1);
  OffscreenSurface s(60, 30);
  DrawContext& g = s.Context();
  g.DrawBitmapCentered(strip, Rect(0, 0, 30, 30), 2);
  const auto blue = FindInk(s, IsBlue);
  EXPECT_EQ(std::tuple(blue.l, blue.t, blue.W(), blue.H()), std::tuple(10, 10, 10, 10));
  // Stretched 2.5 times, the middle frame must not pick up its red or blue
  // neighbours at its edges.
  g.DrawFittedBitmap(strip, Rect(30, 0, 55, 25), 1);
  for (int y = 0; y < 25; ++y)
    for (int x = 30; x < 55; ++x) ASSERT_EQ(s.PixelAt(x, y), COLOR_GREEN) << x << "," << y;
  g.SetGlobalOpacity(0.5f);
  g.DrawBitmap(strip, Rect(0, 0, 5, 5), 0);
  EXPECT_TRUE(rendertest::ColorNear(s.PixelAt(2, 2), Color(128, 255, 0, 0)));
}

TEST(BitmapDrawTest, RotatedBitmapTurnsClockwiseAboutTheGivenPoint) {
  // A 21 x 21 grey knob face with a red pointer at 12 o'clock, 9 pixels
  // above the centre.
  auto face = AdoptSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 21, 21));
  cairo_t* cr = cairo_create(face.get());
  cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
  cairo_arc(cr, 10.5, 10.5, 10.5, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_set_source_rgb(cr, 1, 0, 0);
  cairo_rectangle(cr, 9.5, 0, 2, 3);
  cairo_fill(cr);
  cairo_destroy(cr);
  const Bitmap knob(face, 1, false, 1);
  const auto reddish = [](const Color& c) { return c.A > 100 && c.R > 180 && c.G < 90; };

  const double cx = 40, cy = 40, r = 9;
  for (float degrees : {0.f, -150.f, 150.f, 90.f}) {
    OffscreenSurface s(80, 80);
    s.Context().DrawRotatedBitmap(knob, cx, cy, degrees);
    const auto pointer = FindInk(s, reddish);
    ASSERT_TRUE(pointer.Found()) << degrees;
    const double a = degrees * M_PI / 180; // pixel centres lie half a pixel on
    EXPECT_NEAR(pointer.cx + 0.5, cx + r * std::sin(a), 1.0) << degrees;
    EXPECT_NEAR(pointer.cy + 0.5, cy - r * std::cos(a), 1.0) << degrees;
    const auto disc = FindInk(s, rendertest::Opaque); // stays centred on the point
    EXPECT_NEAR(disc.l + disc.r + 1, 2 * cx, 1.5) << degrees;
    EXPECT_NEAR(disc.t + disc.b + 1, 2 * cy, 1.5) << degrees;
    if (degrees == -150.f) Save(s, "bitmap_rotated_minus150.png");
  }
}

TEST(BitmapResourceTest, ScaleTwoPrefersTheAt2xPictureAndKeepsLogicalSize) {
  rendertest::FakeBundle bundle;
  bundle.files["knob.png"] = PngOf(BandedImage(10, 10, {COLOR_RED}, false));
  bundle.files["knob@2x.png"] = PngOf(BandedImage(20, 20, {COLOR_BLUE}, false));
  bundle.files["led.png"] = PngOf(BandedImage(10, 10, {COLOR_GREEN}, false));
  bundle.files["save.png"] = PngOf(BandedImage(38, 76, {COLOR_RED, COLOR_GREEN}, false));
  bundle.files["save@2x.png"] = {0x89, 'P', 'N', 'G', 1, 2, 3};
  GraphicsResources res(bundle.Lookup());

  const Bitmap at1 = res.LoadBitmapResource("knob.png", 1, false, 1);
  const Bitmap at2 = res.LoadBitmapResource("knob.png", 1, false, 2);
  EXPECT_EQ(at1.Scale(), 1);
  EXPECT_EQ(at2.Scale(), 2);
  EXPECT_FLOAT_EQ(at2.Width(), 10);
  EXPECT_EQ(at2.Name(), "knob.png");
  EXPECT_EQ(ScaledResourceName("img.v2/knob", 2), "img.v2/knob@2x"); // a dot in a folder
  // On a surface at scale 2 the 2x picture covers 20 x 20 pixels, and the 1x
  // one is scaled up to the same size.
  OffscreenSurface s(30, 10, 2);
  s.Context().DrawBitmap(at2, Rect(0, 0, 10, 10));
  s.Context().DrawBitmap(at1, Rect(10, 0, 20, 10));
  const auto blue = FindInk(s, IsBlue);
  EXPECT_EQ(blue.W(), 20);
  EXPECT_EQ(blue.H(), 20);
  EXPECT_EQ(s.PixelAt(39, 19), COLOR_RED);
  Save(s, "bitmap_at2x.png");

  // Target 0 follows the screen scale, rounded up.
  res.SetScreenScale(1.5f);
  EXPECT_EQ(res.LoadBitmapResource("knob.png").Scale(), 2);
  res.SetScreenScale(1.f);
  EXPECT_EQ(res.LoadBitmapResource("knob.png").Scale(), 1);
  // Without a usable 2x picture the 1x one serves, at its own scale.
  EXPECT_EQ(res.LoadBitmapResource("led.png", 1, false, 2).Scale(), 1);
  const Bitmap save = res.LoadBitmapResource("save.png", 2, false, 2);
  EXPECT_EQ(save.Scale(), 1);
  EXPECT_FLOAT_EQ(save.FrameHeight(), 76);
  EXPECT_FALSE(res.LoadBitmapResource("missing.png", 1, false, 2).IsValid());
}

TEST(BitmapResourceTest, CacheKeepsOneDecodePerNameAndScaleAcrossThreads) {
  rendertest::FakeBundle bundle;
  bundle.files["fswitch.png"] = PngOf(BandedImage(75, 85, {COLOR_RED, COLOR_GREEN}, false));
  bundle.files["fswitch@2x.png"] = PngOf(BandedImage(150, 170, {COLOR_RED, COLOR_GREEN}, false));
  GraphicsResources res(bundle.Lookup());

  std::vector<Bitmap> loaded(8);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < loaded.size(); ++i)
    threads.emplace_back(
        [&, i] { loaded[i] = res.LoadBitmapResource("fswitch.png", 2, false, 2); });
  for (auto& t : threads) t.join();
  for (const Bitmap& b : loaded) EXPECT_EQ(b.Surface(), loaded[0].Surface());
  EXPECT_EQ(bundle.lookups["fswitch@2x.png"], 1);
  // Same pixels, a different frame layout per request; other scales apart.
  const Bitmap single = res.LoadBitmapResource("fswitch.png", 1, false, 2);
  EXPECT_EQ(single.Surface(), loaded[0].Surface());
  EXPECT_FLOAT_EQ(single.FrameHeight(), 170);
  EXPECT_NE(res.LoadBitmapResource("fswitch.png", 2, false, 1).Surface(), loaded[0].Surface());
  EXPECT_EQ(res.CachedBitmapCount(), 2u);
  // A bitmap handed out before outlives the cache.
  res.ClearBitmapCache();
  OffscreenSurface s(75, 85, 2);
  s.Context().DrawBitmap(loaded[3], Rect(0, 0, 75, 85), 1);
  EXPECT_EQ(s.PixelAt(70, 80), COLOR_GREEN);
}

// Value types of the drawing API: rectangles, frame arithmetic of bitmaps,
// text cleaning.
#include <gtest/gtest.h>

#include <cmath>

#include "RenderTestSupport.h"
#include "render/Bitmap.h"
#include "render/Rect.h"
#include "render/Utf8.h"

using namespace igraphics;
using rendertest::BandedImage;

TEST(RectTest, HalfOpenContainmentPaddingAndIntersection) {
  const Rect a(10, 20, 30, 40);
  EXPECT_TRUE(a.Contains(10, 20));
  EXPECT_FALSE(a.Contains(30, 25)); // the right edge belongs to the neighbour
  EXPECT_FALSE(a.Contains(15, 40));
  EXPECT_EQ(a.Padded(2), Rect(8, 18, 32, 42));
  EXPECT_TRUE(a.Padded(-10).Empty());
  EXPECT_TRUE(a.Intersect(Rect(30, 20, 50, 40)).Empty()); // touching edges share nothing
  EXPECT_EQ(a.Intersect(Rect(25, 0, 50, 30)), Rect(25, 20, 30, 30));
  // A 75 x 85 frame centred in a 75 x 170 rectangle.
  EXPECT_EQ(Rect(1460, 510, 1535, 680).CentredInside(75, 85), Rect(1460, 552.5f, 1535, 637.5f));
}

TEST(RectTest, GridCellNumbersRowByRowAndOutOfGridGivesWhole) {
  const Rect r(0, 0, 100, 60);
  EXPECT_EQ(r.GridCell(5, 3, 4), Rect(25, 20, 50, 40)); // row 1, column 1
  EXPECT_EQ(r.GridCell(11, 3, 4), Rect(75, 40, 100, 60));
  EXPECT_EQ(r.GridCell(12, 3, 4), r);
  EXPECT_EQ(r.GridCell(-1, 3, 4), r);
  EXPECT_EQ(r.GridCell(0, 0, 4), r);
  EXPECT_EQ(Rect(0, 0, 10, 10).GridCell(2, 1, 3).R, 10.f); // ends on the edge despite rounding
}

TEST(BitmapFramesTest, FramesAreEqualSlicesInLogicalUnitsAndIndicesAreClamped) {
  // "fswitch.png" at 2x: 2 frames of 75 x 85 units stacked.
  const Bitmap vertical(BandedImage(150, 170, {COLOR_RED, COLOR_GREEN}, false), 2, false, 2);
  EXPECT_FLOAT_EQ(vertical.Width(), 75);
  EXPECT_FLOAT_EQ(vertical.Height(), 170);
  EXPECT_FLOAT_EQ(vertical.FrameHeight(), 85);
  EXPECT_EQ(vertical.FramePixels(1).y, 170);

  const Bitmap horizontal(BandedImage(10, 8, {COLOR_RED, COLOR_GREEN, COLOR_BLUE}, true), 3, true,
                          1);
  EXPECT_FLOAT_EQ(horizontal.FrameWidth(), 10);
  EXPECT_EQ(horizontal.FramePixels(-3).x, 0);
  // More frames than pixels would leave empty frames.
  EXPECT_EQ(Bitmap(BandedImage(4, 1, {COLOR_RED}, false), 10, false, 1).NumFrames(), 1);

  // trunc(value x (frames - 1) + 0.5), limited to the strip.
  const Bitmap five(BandedImage(4, 4, std::vector<Color>(5, COLOR_RED), false), 5, false, 1);
  EXPECT_EQ(five.FrameForValue(0.124), 0);
  EXPECT_EQ(five.FrameForValue(0.125), 1);
  EXPECT_EQ(five.FrameForValue(1.0), 4);
  EXPECT_EQ(five.FrameForValue(1.3), 4); // control values are not clamped before drawing
  EXPECT_EQ(five.FrameForValue(-0.4), 0);
  EXPECT_EQ(five.FrameForValue(std::nan("")), 0);
}

TEST(Utf8Test, ValidTextPassesAndBrokenBytesBecomeReplacementCharacters) {
  const std::string valid = "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xB8";
  EXPECT_EQ(SanitizeUtf8(valid), valid);
  const std::string fffd = "\xEF\xBF\xBD";
  EXPECT_EQ(SanitizeUtf8("a\xE9z"), "a" + fffd + "z");            // Latin-1 byte
  EXPECT_EQ(SanitizeUtf8("\xC0\xAF"), fffd + fffd);               // overlong '/'
  EXPECT_EQ(SanitizeUtf8("\xED\xA0\x80"), fffd + fffd + fffd);    // surrogate
  EXPECT_EQ(SanitizeUtf8("\xF4\x90\x80\x80").substr(0, 3), fffd); // above U+10FFFF
  EXPECT_EQ(SanitizeUtf8("ok\xE2\x82"), "ok" + fffd + fffd);      // cut short at the end
  EXPECT_EQ(SanitizeUtf8(std::string_view("name\0\0pad", 9)), "name");
}

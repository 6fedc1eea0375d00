// TrueType text from memory: alignment in a rectangle, measuring, scale,
// and text that must not break the context.
#include <gtest/gtest.h>

#include <cmath>

#include "RenderTestSupport.h"
#include "render/DrawContext.h"
#include "render/Font.h"
#include "render/GraphicsResources.h"
#include "render/OffscreenSurface.h"
#include "render/TextLayout.h"

using namespace igraphics;
using rendertest::FindInk;
using rendertest::InkBox;

namespace {

bool Ink(const Color& c) {
  return c.A > 100;
}

class TextTest : public ::testing::Test {
protected:
  void SetUp() override {
    // Registered from a buffer that is wiped afterwards: the font keeps a copy.
    std::vector<uint8_t> ttf = rendertest::ReadFile(rendertest::kTestFontPath);
    ASSERT_FALSE(ttf.empty()) << "fonts-dejavu-core is needed: " << rendertest::kTestFontPath;
    ASSERT_TRUE(mFonts.Register("Sans", ttf));
    std::fill(ttf.begin(), ttf.end(), 0);
  }

  InkBox Draw(const TextStyle& style, std::string_view text, const Rect& r, float scale = 1.f,
              const char* png = nullptr) {
    OffscreenSurface s(400, 120, scale);
    s.Context().SetFonts(&mFonts);
    s.Context().DrawText(style, text, r);
    if (png != nullptr) rendertest::Save(s, png);
    return FindInk(s, Ink);
  }

  FontRegistry mFonts;
  TextStyle mStyle{40.f, COLOR_BLACK, "Sans", EAlign::Near, EVAlign::Top};
};

} // namespace

TEST_F(TextTest, HorizontalAlignmentPutsTheInkNearCentredOrFar) {
  const Rect r(20, 10, 380, 110);
  const InkBox nearInk = Draw(mStyle, "HHH", r, 1.f, "text_near.png");
  const InkBox centre = Draw(mStyle.WithAlign(EAlign::Center), "HHH", r, 1.f, "text_centre.png");
  const InkBox farInk = Draw(mStyle.WithAlign(EAlign::Far), "HHH", r, 1.f, "text_far.png");
  ASSERT_TRUE(nearInk.Found() && centre.Found() && farInk.Found());
  // The side bearing of "H" is a few percent of the size.
  EXPECT_GE(nearInk.l, 20);
  EXPECT_LE(nearInk.l, 20 + 6);
  EXPECT_LE(farInk.r + 1, 380);
  EXPECT_GE(farInk.r + 1, 380 - 6);
  EXPECT_NEAR((centre.l + centre.r + 1) / 2.0, r.MW(), 1.0);
  EXPECT_EQ(nearInk.W(), farInk.W()); // the same ink, only moved
  // The measured box starts where near alignment starts and holds the ink.
  Rect box = r;
  EXPECT_GT(MeasureText(mFonts, mStyle, "HHH", box), 60.f);
  EXPECT_FLOAT_EQ(box.L, 20);
  EXPECT_LE(nearInk.r + 1, box.R);
}

TEST_F(TextTest, VerticalAlignmentMovesTheLineBoxTopMiddleBottom) {
  const Rect r(0, 10, 400, 110); // 100 high, line 40 high
  const InkBox top = Draw(mStyle, "Hx", r);
  const InkBox middle = Draw(mStyle.WithVAlign(EVAlign::Middle), "Hx", r);
  const InkBox bottom = Draw(mStyle.WithVAlign(EVAlign::Bottom), "Hx", r, 1.f, "text_bottom.png");
  EXPECT_NEAR(middle.t - top.t, 30, 1);
  EXPECT_NEAR(bottom.t - middle.t, 30, 1);
  EXPECT_GE(top.t, 10); // a capital stays inside its 40-unit line
  EXPECT_LE(top.b, 10 + 40);
  Rect box = r;
  MeasureText(mFonts, mStyle.WithVAlign(EVAlign::Bottom), "Hx", box);
  EXPECT_FLOAT_EQ(box.H(), 40);
  EXPECT_FLOAT_EQ(box.B, 110);
}

TEST_F(TextTest, MeasuresScaleLinearlyWithSizeAndDrawingScale) {
  Rect a(0, 0, 400, 100), b = a;
  const float w1 = MeasureText(mFonts, mStyle.WithSize(20), "Movrant Zorel 01", a);
  const float w2 = MeasureText(mFonts, mStyle.WithSize(40), "Movrant Zorel 01", b);
  EXPECT_NEAR(w2, 2 * w1, 0.01 * w1);
  // Twice the ink at scale 2, in the same logical place (within the
  // antialiased edge pixel of each side).
  const InkBox at1 = Draw(mStyle, "HHH", Rect(20, 10, 200, 60));
  const InkBox at2 = Draw(mStyle, "HHH", Rect(20, 10, 200, 60), 2.f, "text_scale2.png");
  EXPECT_NEAR(at2.l, 2 * at1.l, 2);
  EXPECT_NEAR(at2.W(), 2 * at1.W(), 4);
  EXPECT_NEAR(at2.t, 2 * at1.t, 2);
  EXPECT_NEAR(at2.H(), 2 * at1.H(), 4);
}

TEST_F(TextTest, BrokenTextAndUnusableSizesLeaveTheContextWorking) {
  OffscreenSurface s(400, 120);
  DrawContext& g = s.Context();
  g.SetFonts(&mFonts);
  // A preset name in Latin-1 from the pedal, then absurd sizes and angles.
  g.DrawText(mStyle, "Caf\xE9 \xFF\xFE", Rect(0, 0, 400, 60));
  g.DrawText(mStyle.WithSize(0), "zero", Rect(0, 0, 400, 60));
  g.DrawText(mStyle.WithSize(NAN), "nan", Rect(0, 0, 400, 60));
  g.DrawText(mStyle.WithSize(1e9f), "huge", Rect(0, 0, 400, 60));
  g.DrawText(mStyle.WithAngle(INFINITY), "spin", Rect(0, 0, 400, 60));
  ASSERT_EQ(cairo_status(g.Cairo()), CAIRO_STATUS_SUCCESS);
  const InkBox first = FindInk(s, Ink);
  EXPECT_TRUE(first.Found());                         // the Latin-1 text, with replacement marks
  EXPECT_LT(first.b, 60);                             // and nothing of the huge one
  g.DrawText(mStyle, "After", Rect(0, 60, 400, 120)); // the font still works
  EXPECT_GT(FindInk(s, Ink).b, 60);
  rendertest::Save(s, "text_broken_input.png");
}

TEST_F(TextTest, FontsComeFromTheBundleAndUnknownOrBadOnesDrawNothing) {
  rendertest::FakeBundle bundle;
  bundle.files["Roboto-Regular.ttf"] = rendertest::ReadFile(rendertest::kTestFontPath);
  bundle.files["fontaudio.ttf"] = std::vector<uint8_t>(4096, 0x42);
  GraphicsResources res(bundle.Lookup());
  EXPECT_TRUE(res.RegisterFontResource("Roboto-Regular", "Roboto-Regular.ttf"));
  EXPECT_FALSE(res.RegisterFontResource("Fontaudio", "fontaudio.ttf"));
  EXPECT_FALSE(res.RegisterFontResource("FontLCD", "ni7seg.ttf"));
  EXPECT_EQ(res.Fonts().Count(), 1u);
  bundle.files.clear(); // the bundle's bytes are not needed any more

  OffscreenSurface s(200, 40);
  s.Context().SetFonts(&res.Fonts());
  s.Context().DrawText(TextStyle(24, COLOR_BLACK).WithFont("Fontaudio"), "x", Rect(0, 0, 200, 40));
  EXPECT_FALSE(FindInk(s, Ink).Found());
  Rect box(0, 0, 100, 50);
  EXPECT_FLOAT_EQ(s.Context().MeasureText(TextStyle().WithFont("nope"), "text", box), 0);
  s.Context().DrawText(TextStyle(24, COLOR_BLACK), "Connecting", Rect(0, 0, 200, 40));
  EXPECT_TRUE(FindInk(s, Ink).Found());
}

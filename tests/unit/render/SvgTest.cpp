// SVG pictures from memory: size, fitting into a rectangle, rotation.
#include <gtest/gtest.h>

#include <string>

#include "RenderTestSupport.h"
#include "render/GraphicsResources.h"
#include "render/OffscreenSurface.h"
#include "render/SvgImage.h"

using namespace igraphics;
using rendertest::kNone;

namespace {

std::span<const uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

// Red left half, blue right half.
const std::string kHalves = R"(<svg xmlns="http://www.w3.org/2000/svg" width="20" height="10">
  <rect x="0" y="0" width="10" height="10" fill="#ff0000"/>
  <rect x="10" y="0" width="10" height="10" fill="#0000ff"/>
</svg>)";

} // namespace

TEST(SvgTest, SizeComesFromTheDocumentInTheRequestedUnits) {
  const SvgImage svg = SvgImage::FromMemory(Bytes(kHalves));
  ASSERT_TRUE(svg.IsValid());
  EXPECT_FLOAT_EQ(svg.Width(), 20);
  EXPECT_FLOAT_EQ(svg.Height(), 10);
  const SvgImage viewBoxOnly = SvgImage::FromMemory(
      Bytes(R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 64 32"/>)"));
  EXPECT_FLOAT_EQ(viewBoxOnly.Width(), 64);
  const std::string inches =
      R"(<svg xmlns="http://www.w3.org/2000/svg" width="1in" height="1in"/>)";
  EXPECT_FLOAT_EQ(SvgImage::FromMemory(Bytes(inches), "px", 72).Width(), 72);
  EXPECT_NEAR(SvgImage::FromMemory(Bytes(inches), "mm", 96).Width(), 25.4, 1e-3);
  EXPECT_FALSE(SvgImage::FromMemory(Bytes(inches), "furlong", 72).IsValid());
  EXPECT_FALSE(SvgImage::FromMemory(Bytes("<svg><rect")).IsValid());
  EXPECT_FALSE(SvgImage::FromMemory(Bytes("not xml at all")).IsValid());
}

TEST(SvgTest, DrawnFromTheBundleFittedAndRotatedAboutItsCentre) {
  rendertest::FakeBundle bundle;
  bundle.files["vector-knob.svg"].assign(kHalves.begin(), kHalves.end());
  GraphicsResources res(bundle.Lookup());
  const SvgImage svg = res.LoadSvgResource("vector-knob.svg", "px", 72);
  const SvgImage missing = res.LoadSvgResource("micbg.svg", "px", 72);
  EXPECT_FALSE(missing.IsValid());
  OffscreenSurface s(100, 60, 2);
  DrawContext& g = s.Context();
  g.DrawSVG(svg, Rect(0, 0, 40, 20));       // twice its size
  EXPECT_EQ(s.PixelAt(10, 20), COLOR_RED);  // logical (5, 10)
  EXPECT_EQ(s.PixelAt(70, 20), COLOR_BLUE); // logical (35, 10)
  EXPECT_EQ(s.PixelAt(10, 45), kNone);
  g.DrawSVG(missing, Rect(0, 20, 20, 30)); // draws nothing
  EXPECT_EQ(s.PixelAt(10, 50), kNone);
  g.DrawRotatedSVG(svg, 70, 40, 40, 20, 180); // half round: the halves swap
  EXPECT_EQ(s.PixelAt(110, 80), COLOR_BLUE);
  EXPECT_EQ(s.PixelAt(170, 80), COLOR_RED);
  g.SetGlobalOpacity(0.5f);
  g.DrawSVG(svg, Rect(0, 40, 20, 50));
  EXPECT_TRUE(rendertest::ColorNear(s.PixelAt(10, 90), Color(128, 255, 0, 0)));
  rendertest::Save(s, "svg_drawn.png");
}

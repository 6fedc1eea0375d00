// The pictures, SVGs and fonts of the resource bundle: every name the
// surface loads is there, decodes, has the size and frame layout the
// layout relies on, and the generator draws the same bytes every time.

#include <gtest/gtest.h>

#include <cairo.h>

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "render/GraphicsResources.h"
#include "render/PngCodec.h"
#include "render/SvgImage.h"
#include "resources/ResourceBundle.h"

namespace {

using igraphics::DecodePng;
using igraphics::ScaledResourceName;

// What the pictures must hold. `topOnly`: the frame's content must end
// above that height (the model and type button rows are 35 units apart,
// so the rest of each 71-unit frame must stay transparent).
struct Expected {
  const char* name;
  int width, height, frames;
  bool opaque;
  int topOnly;
};

constexpr Expected kPictures[] = {
    {"background.png", 1920, 1200, 1, true, 0},
    {"backgroundred.png", 1920, 1200, 1, true, 0},
    {"knobrotate.png", 106, 106, 1, false, 0},
    {"knobrotatebig.png", 136, 136, 1, false, 0},
    {"fswitch.png", 75, 170, 2, false, 0},
    {"led.png", 25, 25, 1, false, 0},
    {"save.png", 38, 152, 2, false, 0},
    {"mic.png", 50, 30, 1, false, 0},
    {"micbg.png", 50, 432, 1, false, 0},
    {"irbg.png", 630, 460, 1, false, 0},
    {"radio-room.png", 163, 142, 2, false, 35},
    {"radio-hall.png", 140, 142, 2, false, 35},
    {"radio-spring.png", 141, 142, 2, false, 35},
    {"radio-plate.png", 140, 142, 2, false, 35},
    {"radio-chorus.png", 162, 142, 2, false, 35},
    {"radio-echo.png", 163, 142, 2, false, 35},
    {"radio-echoverb.png", 140, 142, 2, false, 35},
    {"amp-lowdriver.png", 163, 142, 2, false, 35},
    {"amp-qsbass.png", 140, 142, 2, false, 35},
    {"amp-duodriver.png", 141, 142, 2, false, 35},
    {"amp-vintage.png", 140, 142, 2, false, 35},
    {"amp-modern.png", 162, 142, 2, false, 35},
    {"amp-lid.png", 163, 142, 2, false, 35},
    {"amp-qsstack.png", 140, 142, 2, false, 35},
    {"amp-darkface.png", 141, 142, 2, false, 35},
    {"amp-isle.png", 140, 142, 2, false, 35},
    {"amp-razor.png", 162, 142, 2, false, 35},
    {"fwbg.png", 1920, 1080, 1, false, 0},
    {"globalbg.png", 1920, 1080, 1, false, 0},
    {"midibrakwell.png", 512, 120, 1, false, 0},
    {"about.png", 1920, 1200, 1, true, 0},
};

constexpr const char* kFonts[] = {"Roboto-Regular.ttf", "forkawesome-webfont.ttf",
                                  "fontaudio.ttf",      "ni7seg.ttf",
                                  "MyBlueRoom.ttf",     "Knowledge-Bold.ttf"};

uint8_t Alpha(cairo_surface_t* s, int x, int y) {
  if (cairo_image_surface_get_format(s) == CAIRO_FORMAT_RGB24) return 255;
  const uint8_t* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
  return static_cast<uint8_t>(reinterpret_cast<const uint32_t*>(row)[x] >> 24);
}

// Rows [y0, y1) of a frame: how many pixels are not fully transparent.
int CoveredPixels(cairo_surface_t* s, int y0, int y1) {
  int count = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = 0; x < cairo_image_surface_get_width(s); ++x) count += Alpha(s, x, y) != 0;
  return count;
}

bool FramesDiffer(cairo_surface_t* s, int frameH) {
  const int stride = cairo_image_surface_get_stride(s);
  const uint8_t* data = cairo_image_surface_get_data(s);
  return !std::equal(data, data + frameH * stride, data + frameH * stride);
}

class ArtworkBundle : public testing::TestWithParam<Expected> {};

TEST_P(ArtworkBundle, PictureHasItsSizeAndFramesAtBothScales) {
  const Expected& e = GetParam();
  for (int scale : {1, 2}) {
    const std::string name = scale == 1 ? e.name : ScaledResourceName(e.name, scale);
    SCOPED_TRACE(name);
    const auto bytes = zorel::FindResource(name);
    ASSERT_FALSE(bytes.empty()) << "missing from the bundle";
    const igraphics::SurfaceRef image = DecodePng(bytes);
    ASSERT_NE(image, nullptr) << "does not decode";
    cairo_surface_t* s = image.get();
    ASSERT_EQ(cairo_image_surface_get_width(s), e.width * scale);
    ASSERT_EQ(cairo_image_surface_get_height(s), e.height * scale);
    const int frameH = e.height * scale / e.frames;
    for (int f = 0; f < e.frames; ++f) {
      EXPECT_GT(CoveredPixels(s, f * frameH, (f + 1) * frameH), 0) << "frame " << f << " is empty";
      if (e.topOnly > 0) {
        EXPECT_EQ(CoveredPixels(s, f * frameH + e.topOnly * scale, (f + 1) * frameH), 0)
            << "frame " << f << " draws below its face";
      }
    }
    if (e.frames > 1) {
      EXPECT_TRUE(FramesDiffer(s, frameH)) << "the frames are the same";
    }
    if (e.opaque) {
      EXPECT_EQ(cairo_image_surface_get_format(s), CAIRO_FORMAT_RGB24);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Pictures, ArtworkBundle, testing::ValuesIn(kPictures),
                         [](const testing::TestParamInfo<Expected>& param) {
                           std::string name = param.param.name;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

// Rotated pictures turn about their centre: anything in the corners would
// sweep visibly over the pedal as the value changes.
TEST(ArtworkBundleShapes, RotatedKnobsAndLampAreRoundWithClearCorners) {
  for (const char* name : {"knobrotate.png", "knobrotatebig.png", "led.png"}) {
    SCOPED_TRACE(name);
    const igraphics::SurfaceRef image = DecodePng(zorel::FindResource(name));
    ASSERT_NE(image, nullptr);
    const int w = cairo_image_surface_get_width(image.get());
    for (int x : {0, w - 1})
      for (int y : {0, w - 1}) EXPECT_EQ(Alpha(image.get(), x, y), 0) << x << "," << y;
    EXPECT_EQ(Alpha(image.get(), w / 2, w / 2), 255);
  }
}

TEST(ArtworkBundleFonts, EveryFontIsAScalableFaceTheRendererLoads) {
  igraphics::GraphicsResources resources([](std::string_view name) {
    const auto bytes = zorel::FindResource(name);
    return bytes.empty() ? std::nullopt : std::optional(bytes);
  });
  for (const char* name : kFonts) {
    SCOPED_TRACE(name);
    const auto bytes = zorel::FindResource(name);
    ASSERT_GE(bytes.size(), 12u);
    const std::string tag(bytes.begin(), bytes.begin() + 4);
    EXPECT_TRUE(tag == std::string("\0\1\0\0", 4) || tag == "OTTO" || tag == "true")
        << "not a TrueType or OpenType file";
    EXPECT_TRUE(resources.RegisterFontResource(name, name));
  }
}

TEST(ArtworkBundleSvg, BothSvgDocumentsLoadAtTheirSizes) {
  struct {
    const char* name;
    float w, h;
  } const svgs[] = {{"vector-knob.svg", 30, 30}, {"micbg.svg", 50, 432}};
  for (const auto& svg : svgs) {
    SCOPED_TRACE(svg.name);
    const igraphics::SvgImage image =
        igraphics::SvgImage::FromMemory(zorel::FindResource(svg.name), "px", 72);
    ASSERT_TRUE(image.IsValid());
    EXPECT_FLOAT_EQ(image.Width(), svg.w);
    EXPECT_FLOAT_EQ(image.Height(), svg.h);
  }
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh run of the generator, in another process, must give the bytes the
// build bundled: pictures with text in every face it draws with, a shadow
// and a two-frame picture.
TEST(ArtworkGenerator, RedrawsTheBundledBytesExactly) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("zorel-artwork-" + std::to_string(getpid()));
  const std::vector<std::string> names = {"about.png", "irbg.png", "fswitch.png", "amp-isle.png"};
  std::string list;
  for (const auto& n : names) list += (list.empty() ? "" : ",") + n;
  const std::string command = std::string("'") + ZOREL_GEN_ARTWORK + "' '" + ZOREL_ARTWORK_FONTS +
                              "' '" + dir.string() + "' --only " + list;
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  std::vector<std::string> files = {"vector-knob.svg", "micbg.svg"};
  for (const auto& n : names) files.insert(files.end(), {n, ScaledResourceName(n, 2)});
  for (const auto& file : files) {
    SCOPED_TRACE(file);
    const auto bundled = zorel::FindResource(file);
    const std::string fresh = ReadFile(dir / file);
    ASSERT_FALSE(fresh.empty());
    EXPECT_TRUE(fresh.size() == bundled.size() &&
                std::memcmp(fresh.data(), bundled.data(), fresh.size()) == 0);
  }
  std::filesystem::remove_all(dir);
}

} // namespace

// Drawing on a 1920 x 1200 offscreen surface, the size of the editor's
// control surface, at scale 1 and 2: fills, text and pictures, and a mix
// standing in for one full redraw.
#include <benchmark/benchmark.h>

#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "render/Bitmap.h"
#include "render/DrawContext.h"
#include "render/Font.h"
#include "render/OffscreenSurface.h"
#include "render/PngCodec.h"

using namespace igraphics;

namespace {

constexpr float kW = 1920.f;
constexpr float kH = 1200.f;

std::vector<uint8_t> ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const FontRegistry& Fonts() {
  static const FontRegistry fonts = [] {
    FontRegistry r;
    for (const char* path :
         {"/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF/Roboto-Regular.ttf",
          "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"}) {
      if (r.Register("Roboto-Regular", ReadFile(path))) break;
    }
    return r;
  }();
  return fonts;
}

// A picture of w x h logical units at `scale` with a gradient and some
// structure, so that the compositing is not of a flat colour.
Bitmap MakePicture(int w, int h, int scale, int frames = 1) {
  auto s = AdoptSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w * scale, h * scale));
  cairo_t* cr = cairo_create(s.get());
  cairo_scale(cr, scale, scale);
  cairo_pattern_t* grad = cairo_pattern_create_linear(0, 0, w, h);
  cairo_pattern_add_color_stop_rgba(grad, 0, 0.2, 0.2, 0.25, 1);
  cairo_pattern_add_color_stop_rgba(grad, 1, 0.6, 0.5, 0.4, 0.9);
  cairo_set_source(cr, grad);
  cairo_paint(cr);
  cairo_pattern_destroy(grad);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.5);
  for (int i = 0; i < 20; ++i) cairo_arc(cr, w * (i % 5) / 5.0, h * (i / 5) / 4.0, 3, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_destroy(cr);
  return Bitmap(s, frames, false, scale);
}

void FillShapes(DrawContext& g) {
  for (int i = 0; i < 128; ++i) {
    const float y = 228 + 50.f * (i % 20);
    g.FillRect(Color(255, 38, 38, 38), Rect(1, y, 261, y + 48));
  }
  for (int i = 0; i < 60; ++i) {
    const float x = 320 + 25.f * i;
    g.FillRoundRect(Color(200, 94, 94, 94), Rect(x, 700, x + 20, 760), 4);
    g.FillCircle(Color(255, 51, 255, 255), x + 10, 800, 9);
    g.DrawArc(Color(255, 70, 70, 70), x + 10, 850, 9, -135, 135, 2);
  }
  g.PathMoveTo(1200, 1135);
  for (int i = 0; i <= 672; ++i) g.PathLineTo(1200.f + i, 900 + 150 * std::sin(i * 0.03f));
  g.PathStroke(Color(255, 100, 255, 255), 2);
}

void DrawTexts(DrawContext& g) {
  static const TextStyle row(27, Color(150, 100, 255, 255), "Roboto-Regular", EAlign::Near,
                             EVAlign::Middle);
  static const TextStyle value(28, Color(255, 204, 204, 204), "Roboto-Regular", EAlign::Center,
                               EVAlign::Top);
  char text[48];
  for (int i = 0; i < 20; ++i) {
    std::snprintf(text, sizeof text, " %02d Movrant Zorel Preset %d", i + 1, i);
    const float y = 228 + 50.f * i;
    g.DrawText(row, text, Rect(1, y, 261, y + 48));
  }
  for (int i = 0; i < 40; ++i) {
    std::snprintf(text, sizeof text, "%.1f dB", i * 0.7 - 12);
    const float x = 320 + 40.f * i;
    g.DrawText(value, text, Rect(x, 1000, x + 40, 1030));
  }
}

struct Pictures {
  Bitmap background, knob, fswitch;
  explicit Pictures(int scale)
      : background(MakePicture(1920, 1200, scale)), knob(MakePicture(106, 106, scale)),
        fswitch(MakePicture(75, 170, scale, 2)) {}
};

void DrawPictures(DrawContext& g, const Pictures& p) {
  g.DrawBitmap(p.background, Rect(0, 0, kW, kH));
  for (int i = 0; i < 7; ++i)
    g.DrawRotatedBitmap(p.knob, 769.5f + 144.5f * (i % 5), 189 + 158.5f * (i / 5), -150 + 43 * i);
  for (int i = 0; i < 4; ++i)
    g.DrawBitmap(p.fswitch, Rect::FromSize(733 + 363.f * i, 510, 75, 85), i % 2);
}

template <typename Body> void RunOnSurface(benchmark::State& state, Body body) {
  const float scale = static_cast<float>(state.range(0));
  OffscreenSurface s(kW, kH, scale);
  DrawContext& g = s.Context();
  g.SetFonts(&Fonts());
  for (auto _ : state) {
    body(g);
    cairo_surface_flush(s.Surface());
    benchmark::ClobberMemory();
  }
  state.SetLabel("scale " + std::to_string(static_cast<int>(scale)));
}

void BM_Fills(benchmark::State& state) {
  RunOnSurface(state, FillShapes);
}

void BM_Text(benchmark::State& state) {
  RunOnSurface(state, DrawTexts);
}

void BM_Bitmaps(benchmark::State& state) {
  const Pictures p(static_cast<int>(state.range(0)));
  RunOnSurface(state, [&](DrawContext& g) { DrawPictures(g, p); });
}

// One full redraw: background, pictures, the vector shapes and the texts.
void BM_FullSurface(benchmark::State& state) {
  const Pictures p(static_cast<int>(state.range(0)));
  RunOnSurface(state, [&](DrawContext& g) {
    g.Clear(Color(255, 127, 127, 127));
    DrawPictures(g, p);
    FillShapes(g);
    DrawTexts(g);
  });
}

void BM_DecodeBackgroundPng(benchmark::State& state) {
  const Bitmap b = MakePicture(1920, 1200, static_cast<int>(state.range(0)));
  std::vector<uint8_t> png;
  EncodePng(b.Surface(), png);
  for (auto _ : state) benchmark::DoNotOptimize(DecodePng(png));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(png.size()));
}

BENCHMARK(BM_Fills)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Text)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bitmaps)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullSurface)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeBackgroundPng)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace

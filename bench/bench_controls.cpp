// The control surface's drawing cost: a full redraw of a 1920 x 1200
// surface holding 1000 mixed controls at scale 1 and 2, and the redraw of
// the area one changed knob dirties.
#include <benchmark/benchmark.h>

#include <cairo.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchSurface.h"
#include "controls/Controls.h"

using namespace igraphics;

namespace {

Bitmap Picture(int w, int h, int frames) {
  auto s = AdoptSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h * frames));
  cairo_t* cr = cairo_create(s.get());
  for (int k = 0; k < frames; ++k) {
    cairo_arc(cr, w / 2.0, h * k + h / 2.0, w / 2.0 - 1, 0, 6.283);
    cairo_set_source_rgb(cr, 0.2 + 0.6 * k / frames, 0.3, 0.4);
    cairo_fill(cr);
  }
  cairo_destroy(cr);
  return Bitmap(s, frames, false, 1);
}

// 1000 controls in a 40 x 25 grid of 48 x 48 cells, ten kinds in turn.
struct Surface {
  std::vector<uint8_t> font = bench::ReadFont();
  std::unique_ptr<IGraphics> ui;
  IControl* knob = nullptr;

  Surface() {
    ui = bench::MakeSurface(font, Color(255, 40, 40, 40));
    const Bitmap strip = Picture(40, 40, 11);
    const Bitmap single = Picture(40, 40, 1);
    const VectorStyle style = kDefaultVectorStyle.WithShowLabel(false).WithShowValue(false);
    const TextStyle text(14, COLOR_WHITE);
    int made = 0;
    for (int i = 0; made < 1000; ++i) {
      const Rect cell = Rect(0, 0, 1920, 1200).GridCell(i, 25, 40).Padded(-2);
      const double v = (i % 17) / 16.0;
      std::unique_ptr<IControl> c;
      switch (i % 10) {
      case 0:
        c = std::make_unique<ITextControl>(cell, "Row " + std::to_string(i), text,
                                           Color(255, 38, 38, 38));
        break;
      case 1:
        c = std::make_unique<IVKnobControl>(cell, kNoParameter, "", style, false, false, -135.f,
                                            135.f, -135.f, EDirection::Vertical, 4.0, 4.f);
        break;
      case 2:
        c = std::make_unique<IVButtonControl>(
            cell, nullptr, "OK",
            style.WithShowLabel(true).WithLabelText(text.WithVAlign(EVAlign::Middle)));
        break;
      case 3:
        c = std::make_unique<IVSliderControl>(cell, kNoParameter, "", style, false,
                                              EDirection::Vertical, 1.0, 6.f, 2.f);
        break;
      case 4:
        c = std::make_unique<IVSlideSwitchControl>(cell, kNoParameter, "", style);
        break;
      case 5:
        c = std::make_unique<IBitmapControl>(cell, strip);
        break;
      case 6:
        c = std::make_unique<IBKnobRotaterControl>(cell, single);
        break;
      case 7:
        c = std::make_unique<IPanelControl>(cell, Color(200, 16, 16, 16), true, COLOR_WHITE);
        break;
      case 8:
        c = std::make_unique<IVLabelControl>(cell, std::to_string(i), style);
        break;
      default:
        c = std::make_unique<IBKnobControl>(cell, strip);
        break;
      }
      c->SetValue(v);
      IControl* added = ui->AddControl(std::move(c));
      if (i % 10 == 1 && knob == nullptr) knob = added;
      ++made;
    }
  }
};

void BM_FullRedraw1000Controls(benchmark::State& state) {
  const float scale = static_cast<float>(state.range(0));
  Surface surface;
  OffscreenSurface target(1920, 1200, scale);
  for (auto _ : state) {
    surface.ui->RedrawAll();
    surface.ui->DrawTo(target);
    benchmark::DoNotOptimize(target.Surface());
  }
  state.counters["controls"] = surface.ui->ControlCount();
}
BENCHMARK(BM_FullRedraw1000Controls)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_RedrawOneChangedKnob(benchmark::State& state) {
  const float scale = static_cast<float>(state.range(0));
  Surface surface;
  OffscreenSurface target(1920, 1200, scale);
  surface.ui->DrawTo(target);
  double v = 0.0;
  for (auto _ : state) {
    v = v > 0.99 ? 0.0 : v + 0.01;
    surface.knob->SetValue(v);
    surface.knob->MarkChanged(false);
    Rect area;
    surface.ui->IsDirty(area);
    surface.ui->Draw(target.Context(), area);
  }
}
BENCHMARK(BM_RedrawOneChangedKnob)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace

// The real control surface: building it (pictures and fonts loaded from the
// bundle, the library's start-up work), a full redraw at the window's
// scales, the redraw one step of a knob drag causes, and the memory the
// loaded pictures hold.
#include <benchmark/benchmark.h>

#include <cairo.h>

#include <set>
#include <string>

#include "controls/Controls.h"
#include "protocol/codec/ParamIds.h"
#include "render/OffscreenSurface.h"
#include "tests/ui/SurfaceHarness.h"
#include "ui/LayoutRows.h"
#include "ui/LayoutTables.h"

using namespace zorel;
using namespace zorel::test;

namespace {

void BM_BuildUserInterface(benchmark::State& state) {
  HeadlessEditor headless;
  for (auto _ : state) {
    igraphics::IGraphics graphics(
        &headless.Editor(), kUIWidth, kUIHeight, 1.f, [] { return 0.0; }, SurfaceResources());
    headless.Editor().AttachGraphics(&graphics);
    std::unique_ptr<ZorelSurface> surface = BuildUserInterface(graphics, headless.Editor());
    benchmark::DoNotOptimize(surface.get());
    state.PauseTiming();
    headless.Editor().AttachSurface(nullptr);
    headless.Editor().DetachGraphics();
    surface.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_BuildUserInterface)->Unit(benchmark::kMillisecond);

void BM_FullRedraw(benchmark::State& state) {
  const float scale = static_cast<float>(state.range(0)) / 100.f;
  SurfaceHarness h;
  h.PretendConnected();
  h.graphics.SetScreenScale(scale > 1.f ? 2.f : 1.f); // the @2x pictures at scale 2
  igraphics::OffscreenSurface image(kUIWidth, kUIHeight, scale);
  h.graphics.DrawTo(image);
  for (auto _ : state) {
    h.graphics.RedrawAll();
    h.graphics.DrawTo(image);
    benchmark::DoNotOptimize(image.Surface());
  }
}
BENCHMARK(BM_FullRedraw)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

// One step of a drag on a panel knob (PRE-AMP of the AMPLIFIER panel): the
// dispatcher sends the value, writes the readout and the display, and the
// areas they dirty are drawn (the knob and the display apart, as a window
// does with the separate dirty areas).
void BM_RedrawAfterKnobDrag(benchmark::State& state) {
  const float scale = static_cast<float>(state.range(0)) / 100.f;
  SurfaceHarness h;
  h.PretendConnected();
  h.Editor().SetParameterValue(kParamGain, 0.5);
  igraphics::OffscreenSurface image(kUIWidth, kUIHeight, scale);
  h.graphics.DrawTo(image);
  const float x = 480, y = 990;
  h.graphics.OnMouseDown(x, y, {.L = true});
  float dy = -1.f;
  double area = 0.0;
  for (auto _ : state) {
    // Up and down in turn, so the knob never runs into its end.
    h.graphics.OnMouseDrag(x, y, 0.f, dy * 8.f, {.L = true});
    dy = -dy;
    std::vector<igraphics::Rect> dirty;
    h.graphics.IsDirty(dirty);
    area = 0.0;
    for (const igraphics::Rect& r : dirty) {
      h.graphics.Draw(image.Context(), r);
      area += r.W() * r.H();
    }
    state.PauseTiming();
    h.headless.TakeSent();
    state.ResumeTiming();
  }
  h.graphics.OnMouseUp(x, y, {.L = true});
  state.counters["dirty_area_units2"] = area;
}
BENCHMARK(BM_RedrawAfterKnobDrag)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

// The pixels of the pictures the surface holds once built (the red
// background waits for the FILTER switch), at 1x and with the @2x files.
void BM_PictureMemory(benchmark::State& state) {
  const int pictureScale = static_cast<int>(state.range(0));
  double atStart = 0.0, all = 0.0;
  for (auto _ : state) {
    HeadlessEditor headless;
    igraphics::IGraphics graphics(
        &headless.Editor(), kUIWidth, kUIHeight, 1.f, [] { return 0.0; }, SurfaceResources());
    graphics.SetScreenScale(static_cast<float>(pictureScale));
    headless.Editor().AttachGraphics(&graphics);
    std::unique_ptr<ZorelSurface> surface = BuildUserInterface(graphics, headless.Editor());
    atStart = all = 0.0;
    std::set<std::string> counted;
    for (const ui::layout::NamedTable& t : ui::layout::AllTables())
      for (const ui::PlacedControl& p : ui::Expand(t.table, t.group)) {
        for (const char* name : {p.spec.picture, p.spec.track}) {
          if (name == nullptr || !std::string(name).ends_with(".png")) continue;
          if (!counted.insert(name).second) continue;
          const int frames = name == p.spec.picture ? p.spec.frames : 1;
          const igraphics::Bitmap b = graphics.LoadBitmapResource(name, frames, false, 0);
          const double bytes = 4.0 * b.PixelWidth() * b.PixelHeight();
          all += bytes;
          if (!(p.spec.kind == ui::Kind::kBackgroundPicture && p.spec.hidden)) atStart += bytes;
        }
      }
    headless.Editor().AttachSurface(nullptr);
    headless.Editor().DetachGraphics();
  }
  state.counters["at_start_MiB"] = atStart / (1024.0 * 1024.0);
  state.counters["all_MiB"] = all / (1024.0 * 1024.0);
}
BENCHMARK(BM_PictureMemory)->Arg(1)->Arg(2)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

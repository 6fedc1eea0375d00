// The response graphs' cost: the 4096-point transform alone, everything a new
// impulse response costs the frequency graph (transform, log resampling,
// columns), and one redraw of each graph at its place on the 1920 x 1200
// surface, at scale 1 and 2.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "bench/BenchSurface.h"
#include "controls/DynamicsResponseGraph.h"
#include "controls/FreqResponseGraph.h"
#include "controls/IGraphics.h"
#include "render/OffscreenSurface.h"

using namespace igraphics;

namespace {

const Color kCurve(255, 100, 255, 255);

// A decaying noise burst, like a cabinet's impulse response.
std::vector<double> ImpulseResponse() {
  std::mt19937 rng(3);
  std::normal_distribution<double> noise;
  std::vector<double> x(4096);
  for (size_t j = 0; j < x.size(); ++j)
    x[j] = noise(rng) * std::exp(-static_cast<double>(j) / 300.0);
  return x;
}

void BM_Fft4096(benchmark::State& state) {
  const RadixTwoFft fft(4096);
  const std::vector<double> input = ImpulseResponse();
  std::vector<double> re(4096), im(4096);
  for (auto _ : state) {
    re = input;
    std::fill(im.begin(), im.end(), 0.0);
    fft.Transform(re, im);
    benchmark::DoNotOptimize(re.data());
  }
}
BENCHMARK(BM_Fft4096)->Unit(benchmark::kMicrosecond);

// SetSamples as the editor calls it: 4096 samples to 672 columns.
void BM_FreqGraphSetSamples(benchmark::State& state) {
  IFreqResponseGraph graph(Rect(1200, 685, 1872, 1135), kCurve);
  graph.SetRange(20, 20480, 100, 30);
  graph.SetNoBallistics(true);
  const std::vector<double> ir = ImpulseResponse();
  for (auto _ : state) {
    graph.SetSamples(ir);
    benchmark::DoNotOptimize(graph.Columns().data());
  }
}
BENCHMARK(BM_FreqGraphSetSamples)->Unit(benchmark::kMicrosecond);

struct Surface {
  std::vector<uint8_t> font = bench::ReadFont();
  std::unique_ptr<IGraphics> ui;
  IControl* graph = nullptr;

  explicit Surface(std::unique_ptr<IControl> control) {
    ui = bench::MakeSurface(font, Color(255, 28, 30, 34));
    graph = ui->AddControl(std::move(control));
  }
};

void RedrawGraph(benchmark::State& state, Surface& surface) {
  OffscreenSurface target(1920, 1200, static_cast<float>(state.range(0)));
  surface.ui->DrawTo(target);
  for (auto _ : state) {
    surface.graph->Redraw();
    Rect area;
    surface.ui->IsDirty(area);
    surface.ui->Draw(target.Context(), area);
  }
}

// A damped resonance at 2 kHz: a smooth curve, as most cabinets give.
std::vector<double> SmoothResponse() {
  std::vector<double> x(4096);
  for (size_t j = 0; j < x.size(); ++j) {
    const double t = static_cast<double>(j);
    x[j] = std::exp(-t / 20.0) * std::sin(2.0 * 3.14159265358979 * 2000.0 * t / 44100.0);
  }
  return x;
}

// Arguments: scale, and 1 for the jagged response of the noise burst.
void BM_FreqGraphRedraw(benchmark::State& state) {
  auto graph = std::make_unique<IFreqResponseGraph>(Rect(1200, 685, 1872, 1135), kCurve);
  graph->SetRange(20, 20480, 100, 30);
  graph->SetNoBallistics(true);
  graph->SetSamples(state.range(1) ? ImpulseResponse() : SmoothResponse());
  Surface surface(std::move(graph));
  RedrawGraph(state, surface);
}
BENCHMARK(BM_FreqGraphRedraw)->ArgsProduct({{1, 2}, {0, 1}})->Unit(benchmark::kMicrosecond);

void BM_DynamicsGraphRedraw(benchmark::State& state) {
  auto graph = std::make_unique<IDynamicsResponseGraph>(Rect(1200, 700, 1865, 1130), kCurve);
  graph->SetLowerThreshold(-70);
  graph->SetLowerSlope(0.25f);
  graph->SetUpperThreshold(-30);
  graph->SetUpperSlope(6);
  Surface surface(std::move(graph));
  RedrawGraph(state, surface);
}
BENCHMARK(BM_DynamicsGraphRedraw)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace

// The two response graphs as the editor sets them up: the curve they compute
// from their inputs, where it lands on the surface, and the pictures (with
// ZOREL_GRAPHS_DIR set to a folder the PNGs go there, as docs/graphs/ holds).
#include <cmath>
#include <filesystem>
#include <numbers>

#include "ControlsTestSupport.h"
#include "controls/DynamicsResponseGraph.h"
#include "controls/FreqResponseGraph.h"

using namespace controlstest;

namespace {

constexpr const char* kRobotoPath =
    "/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF/Roboto-Regular.ttf";
const Color kCurve(255, 100, 255, 255);
const Color kPanel(255, 28, 30, 34);
const Rect kGraphArea(20, 20, 692, 470); // the editor's 672 x 450

std::string GraphPath(const std::string& name) {
  const char* dir = std::getenv("ZOREL_GRAPHS_DIR");
  if (dir == nullptr) return OutputPath(name);
  std::filesystem::create_directories(dir);
  return (std::filesystem::path(dir) / name).string();
}

bool CurveInk(const Color& c) {
  return c.A > 200 && c.R < 160 && c.G > 200 && c.B > 200;
}

// One second-order section (the usual audio-cookbook forms), run over x.
enum class Shape { HighPass, LowPass, Peak };
void Biquad(std::vector<double>& x, Shape shape, double freq, double q, double gainDb = 0.0) {
  const double w = 2.0 * std::numbers::pi * freq / 44100.0;
  const double alpha = std::sin(w) / (2.0 * q), cw = std::cos(w);
  const double a = std::pow(10.0, gainDb / 40.0);
  double b0, b1, b2, a0, a1, a2;
  switch (shape) {
  case Shape::HighPass:
    b0 = (1 + cw) / 2, b1 = -(1 + cw), b2 = b0, a0 = 1 + alpha, a1 = -2 * cw, a2 = 1 - alpha;
    break;
  case Shape::LowPass:
    b0 = (1 - cw) / 2, b1 = 1 - cw, b2 = b0, a0 = 1 + alpha, a1 = -2 * cw, a2 = 1 - alpha;
    break;
  default:
    b0 = 1 + alpha * a, b1 = -2 * cw, b2 = 1 - alpha * a;
    a0 = 1 + alpha / a, a1 = -2 * cw, a2 = 1 - alpha / a;
  }
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  for (double& s : x) {
    const double y = (b0 * s + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2) / a0;
    x2 = x1, x1 = s, y2 = y1, y1 = y, s = y;
  }
}

// Something shaped like a guitar cabinet: low cut, a bump at 120 Hz, a dip
// in the low mids, presence at 2.5 kHz and a steep fall above 5 kHz.
std::vector<double> CabinetLikeResponse() {
  std::vector<double> x(4096, 0.0);
  x[0] = 1.0;
  Biquad(x, Shape::HighPass, 70, 0.8);
  Biquad(x, Shape::Peak, 120, 1.2, 6);
  Biquad(x, Shape::Peak, 600, 0.9, -7);
  Biquad(x, Shape::Peak, 2500, 1.4, 8);
  Biquad(x, Shape::LowPass, 5000, 0.9);
  Biquad(x, Shape::LowPass, 5500, 0.7);
  return x;
}

std::vector<double> Impulse() {
  std::vector<double> x(4096, 0.0);
  x[0] = 1.0;
  return x;
}

class ResponseGraphTest : public SurfaceTest {
protected:
  ResponseGraphTest() {
    if (std::filesystem::exists(kRobotoPath)) {
      bundle.files["Roboto-Regular.ttf"] = ReadFile(kRobotoPath);
      ui->RegisterFontResource("Roboto-Regular", "Roboto-Regular.ttf");
    }
    ui->Resize(712, 490, 1.f);
    ui->SetBackgroundColor(kPanel);
  }

  // The editor's set-up of the IR panel's graph.
  IFreqResponseGraph* AddFreqGraph() {
    auto* graph =
        Add(std::make_unique<IFreqResponseGraph>(kGraphArea, kCurve), kNoTag, "irdisplay");
    graph->SetRange(20, 20480, 100, 30);
    graph->SetNoBallistics(true);
    return graph;
  }

  OffscreenSurface& Render(float scale = 1.f) {
    surface = std::make_unique<OffscreenSurface>(712.f, 490.f, scale);
    ui->RedrawAll();
    ui->DrawTo(*surface);
    return *surface;
  }

  std::unique_ptr<OffscreenSurface> surface;
};

TEST_F(ResponseGraphTest, AFlatCabinetIsAHorizontalLineAtZeroDecibels) {
  IFreqResponseGraph* graph = AddFreqGraph();
  graph->SetSamples(Impulse());
  ASSERT_EQ(graph->Columns().size(), 672u);
  for (size_t i = 0; i < 2048; ++i) ASSERT_NEAR(graph->Magnitude()[i], 1.0, 1e-12) << i;
  EXPECT_NEAR(graph->MaxMagnitude(), 1.0, 1e-12);
  for (float v : graph->Columns()) ASSERT_NEAR(v, 135.f, 1e-3); // 30 % of 450

  const Ink ink = FindInk(Render(), CurveInk, kGraphArea);
  ASSERT_GT(ink.count, 600);
  EXPECT_NEAR(ink.cy, 20 + 135, 1.0);
  EXPECT_LE(ink.l, 22);
  EXPECT_GE(ink.r, 688);
  surface->WritePNG(GraphPath("freq_response_flat.png"));
}

TEST_F(ResponseGraphTest, SilenceFallsBelowTheBottomAndDrawsNoCurve) {
  IFreqResponseGraph* graph = AddFreqGraph();
  graph->SetSamples(Impulse());
  graph->SetSamples(std::vector<double>(4096, 0.0));
  for (float v : graph->Columns()) ASSERT_EQ(v, 450.f);
  EXPECT_EQ(FindInk(Render(), CurveInk, kGraphArea).count, 0);
}

TEST_F(ResponseGraphTest, ShortOrDamagedInputCountsAsZeros) {
  IFreqResponseGraph* graph = AddFreqGraph();
  graph->SetSamples(std::vector<double>{1.0}); // one sample: still the impulse
  for (float v : graph->Columns()) ASSERT_NEAR(v, 135.f, 1e-3);
  std::vector<double> damaged = Impulse();
  damaged[5] = std::nan("");
  damaged[9] = INFINITY;
  graph->SetSamples(damaged);
  for (float v : graph->Columns()) ASSERT_NEAR(v, 135.f, 1e-3);
}

TEST_F(ResponseGraphTest, SettersRefuseValuesThatWouldBreakTheAxes) {
  IFreqResponseGraph* graph = AddFreqGraph();
  for (int n : {0, 1, 3, 1000, -4096, 1 << 20}) {
    graph->SetFftSize(n);
    EXPECT_EQ(graph->FftSize(), 4096) << n;
  }
  graph->SetSampleRate(0.0);
  graph->SetSampleRate(std::nan(""));
  EXPECT_EQ(graph->SampleRate(), 44100.0);
  const std::vector<double> before(graph->FreqGridPositions().begin(),
                                   graph->FreqGridPositions().end());
  graph->SetRange(0, 20480, 100, 30);
  graph->SetRange(20, 20, 100, 30);
  graph->SetRange(20, 20480, 0, 30);
  graph->SetRange(20, 20480, 100, INFINITY);
  EXPECT_TRUE(std::equal(before.begin(), before.end(), graph->FreqGridPositions().begin()));

  // A smaller transform of the same impulse gives the same flat curve.
  graph->SetFftSize(1024);
  EXPECT_EQ(graph->FftSize(), 1024);
  for (float v : graph->Columns()) ASSERT_EQ(v, 450.f); // zeroed: no curve until new samples
  graph->SetSamples(Impulse());
  for (float v : graph->Columns()) ASSERT_NEAR(v, 135.f, 1e-3);
}

TEST_F(ResponseGraphTest, GridPositionsFollowTheRange) {
  IFreqResponseGraph* graph = AddFreqGraph();
  // 100 Hz is log2(5) / 10 along; 1 kHz log2(50) / 10.
  EXPECT_NEAR(graph->FreqGridPositions()[3], std::log2(5.0) / 10.0, 1e-12);
  EXPECT_NEAR(graph->FreqGridPositions()[8], std::log2(50.0) / 10.0, 1e-12);
  const double levels[] = {0.9, 0.7, 0.5, 0.42, 0.36, 0.3, 0.24, 0.18, 0.1};
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(graph->LevelGridPositions()[i], levels[i], 1e-12) << i;
  // The kept spectrum follows a new range at once: 0 dB now 20 % down.
  graph->SetSamples(Impulse());
  graph->SetRange(20, 20480, 50, 10); // +12 and +20 dB lie above the top
  for (float v : graph->Columns()) ASSERT_NEAR(v, 90.f, 1e-3);
  EXPECT_EQ(graph->LevelGridPositions()[7], 0.0);
  EXPECT_EQ(graph->LevelGridPositions()[8], 0.0);
  EXPECT_NEAR(graph->LevelGridPositions()[5], 0.2, 1e-12);
}

TEST_F(ResponseGraphTest, WithBallisticsTheCurveRisesFastAndFallsSlowly) {
  auto* graph = Add(std::make_unique<IFreqResponseGraph>(kGraphArea, kCurve));
  graph->SetRange(20, 20480, 100, 30);
  // Before any samples the curve lies at -100 dB, 585 units down; an
  // impulse (0 dB, 135 down) pulls it up with the fast constant, 0.03 x 450.
  const float fast = std::exp(-1.f / 13.5f), slow = std::exp(-1.f / 135.f);
  float expected = 585.f;
  for (int i = 1; i <= 10; ++i) {
    graph->SetSamples(Impulse());
    expected = 135.f + (expected - 135.f) * fast;
    ASSERT_NEAR(graph->Columns()[100], std::min(expected, 450.f), 1e-2) << i;
  }
  for (int i = 0; i < 200; ++i) graph->SetSamples(Impulse());
  EXPECT_NEAR(graph->Columns()[100], 135.f, 0.01f);
  // Silence lets it sink with the slow constant, 0.3 x 450.
  graph->SetSamples(std::vector<double>(4096, 0.0));
  EXPECT_NEAR(graph->Columns()[100], 585.f - 450.f * slow, 1e-2);
}

TEST_F(ResponseGraphTest, CabinetCurveAndPointerReadout) {
  IFreqResponseGraph* graph = AddFreqGraph();
  graph->SetSamples(CabinetLikeResponse());
  // Presence peak above the low-mid dip; the top end falls away.
  const auto column = [&](double hz) {
    return graph->Columns()[static_cast<size_t>(672 * std::log2(hz / 20.0) / 10.0)];
  };
  EXPECT_LT(column(2500), column(600) - 20.f);
  EXPECT_GT(column(15000), column(2500) + 100.f);

  const Ink plain = FindInk(Render(), CurveInk, kGraphArea);
  ASSERT_GT(plain.count, 1000);
  surface->WritePNG(GraphPath("freq_response_cabinet.png"));

  // At 60 % of the width: 1280 Hz, the box to the right of the pointer.
  const float x = 20 + 0.6f * 672, y = 20 + 0.3f * 450;
  ui->OnMouseOver(x, y, MouseModifiers());
  const Ink box = FindInk(
      Render(), [](const Color& c) { return c == kCurve; }, Rect(x + 12, y + 12, x + 98, y + 36));
  EXPECT_GT(box.count, 500);
  surface->WritePNG(GraphPath("freq_response_readout.png"));
  // Within 100 units of the right edge it moves to the left side.
  ui->OnMouseOver(20 + 640, y, MouseModifiers());
  const Ink left = FindInk(
      Render(), [](const Color& c) { return c == kCurve; },
      Rect(660 - 88, y + 12, 660 - 2, y + 36));
  EXPECT_GT(left.count, 500);
  surface->WritePNG(GraphPath("freq_response_readout_left.png"));
  ui->OnMouseOut();
  const Rect leftBox(660 - 88, y + 12, 660 - 2, y + 36);
  const auto exact = [](const Color& c) { return c == kCurve; };
  EXPECT_LT(FindInk(Render(), exact, leftBox).count, 100); // only the curve crossing it
}

// ---- dynamics ------------------------------------------------------------------

const Rect kDynArea(20, 20, 685, 450); // the editor's 665 x 430

IDynamicsResponseGraph* AddDynamicsGraph(ResponseGraphTest* t, IGraphics& ui) {
  auto* graph = ui.AddControl(std::make_unique<IDynamicsResponseGraph>(kDynArea, kCurve), kNoTag,
                              "maincontrols");
  graph->SetLowerThreshold(-60);
  graph->SetLowerSlope(1);
  graph->SetUpperThreshold(-51);
  graph->SetUpperSlope(1);
  return graph;
}

using DynamicsGraphTest = ResponseGraphTest;

TEST_F(DynamicsGraphTest, KneesFollowTheThresholdsAndDragEachOther) {
  IDynamicsResponseGraph* graph = AddDynamicsGraph(this, *ui);
  EXPECT_FLOAT_EQ(graph->LowerKnee(), 0.4f);
  EXPECT_FLOAT_EQ(graph->UpperKnee(), 0.49f);
  const struct {
    bool lower;
    float db;
    float lowerKnee, upperKnee;
  } steps[] = {
      {false, 0.f, 0.4f, 1.0f},           // dynamics at 0: the upper knee in the corner
      {true, -30.f, 0.7f, 1.0f},          // gate at 127
      {false, -60.f, 0.4f, 0.4f},         // dynamics at 127 pulls the lower knee down
      {true, -30.f, 0.7f, 0.7f},          // and the gate pushes the upper one up again
      {true, -140.f, 0.0f, 0.7f},         // below -100 dB: the corner
      {false, std::nanf(""), 0.0f, 0.7f}, // ignored
  };
  for (const auto& s : steps) {
    if (s.lower)
      graph->SetLowerThreshold(s.db);
    else
      graph->SetUpperThreshold(s.db);
    EXPECT_FLOAT_EQ(graph->LowerKnee(), s.lowerKnee) << s.db;
    EXPECT_FLOAT_EQ(graph->UpperKnee(), s.upperKnee) << s.db;
  }
}

TEST_F(DynamicsGraphTest, ParameterValuesAsTheGraphTakesThem) {
  EXPECT_FLOAT_EQ(GateThresholdLevel(0), -100.f);
  EXPECT_FLOAT_EQ(GateThresholdLevel(127), -30.f);
  EXPECT_FLOAT_EQ(CompressorThresholdLevel(0), 0.f);
  EXPECT_FLOAT_EQ(CompressorThresholdLevel(127), -60.f);
  EXPECT_FLOAT_EQ(GateSlope(0), 1.f);
  EXPECT_FLOAT_EQ(GateSlope(127), 0.1f);
  EXPECT_FLOAT_EQ(CompressorSlope(0), 1.f);
  EXPECT_FLOAT_EQ(CompressorSlope(127), 20.f);
  EXPECT_FLOAT_EQ(KneeFromLevel(GateThresholdLevel(127)), 0.7f);
}

TEST_F(DynamicsGraphTest, SegmentsEndWhereTheSlopesSay) {
  const Rect r(0, 0, 100, 100);
  const struct {
    float lowerKnee, upperKnee, lowerSlope, upperSlope;
    Point start, end;
  } cases[] = {
      // All 1:1: the diagonal from the bottom left to the top right.
      {0.4f, 0.49f, 1.f, 1.f, {0, 100}, {100, 0}},
      // Compressor 20:1 above 0.4: the right edge 1/20 of the 40 units above C.
      {0.2f, 0.6f, 1.f, 20.f, {0, 100}, {100, 40.f - 40.f / 20.f}},
      // Expander 1:12: the top edge after 1/12 of the remaining width.
      {0.2f, 0.6f, 1.f, 1.f / 12.f, {0, 100}, {60.f + 40.f / 12.f, 0}},
      // Gate 10:1 below 0.7: the lower segment starts 1/10 of the way left of A.
      {0.7f, 1.f, 0.1f, 1.f, {70.f - 7.f, 100}, {100, 0}},
      // The knee in the top right corner: the upper segment is a point.
      {0.7f, 1.f, 1.f, 20.f, {0, 100}, {100, 0}},
  };
  for (const auto& c : cases) {
    const DynamicsCurve d =
        ComputeDynamicsCurve(r, c.lowerKnee, c.upperKnee, c.lowerSlope, c.upperSlope);
    EXPECT_NEAR(d.start.x, c.start.x, 1e-4) << c.upperSlope;
    EXPECT_NEAR(d.start.y, c.start.y, 1e-4);
    EXPECT_NEAR(d.lowerKnee.x, 100 * c.lowerKnee, 1e-4);
    EXPECT_NEAR(d.lowerKnee.y, 100 - 100 * c.lowerKnee, 1e-4);
    EXPECT_NEAR(d.upperKnee.x, 100 * c.upperKnee, 1e-4);
    EXPECT_NEAR(d.end.x, c.end.x, 1e-4) << c.upperSlope;
    EXPECT_NEAR(d.end.y, c.end.y, 1e-4) << c.upperSlope;
  }
}

TEST_F(DynamicsGraphTest, RendersGridCurveAndKneeRings) {
  IDynamicsResponseGraph* graph = AddDynamicsGraph(this, *ui);
  // A typical setting: gate at -70 dB with 4:1, compressor at -30 dB with 6:1.
  graph->SetLowerThreshold(-70);
  graph->SetLowerSlope(0.25f);
  graph->SetUpperThreshold(-30);
  graph->SetUpperSlope(6);
  const OffscreenSurface& s = Render();
  const DynamicsCurve c = graph->Curve();
  for (const Point& knee : {c.lowerKnee, c.upperKnee}) {
    // The ring of radius 20 around each knee.
    const Ink ring = FindInk(s, CurveInk, Rect(knee.x - 24, knee.y - 24, knee.x + 24, knee.y + 24));
    EXPECT_NEAR(ring.cx, knee.x, 2.0);
    EXPECT_NEAR(ring.cy, knee.y, 2.0);
    EXPECT_GT(ring.count, 600);
  }
  // Halfway along the middle segment the curve is on the 1:1 line.
  const float mx = (c.lowerKnee.x + c.upperKnee.x) / 2, my = (c.lowerKnee.y + c.upperKnee.y) / 2;
  EXPECT_GT(FindInk(s, CurveInk, Rect(mx - 3, my - 3, mx + 3, my + 3)).count, 8);
  surface->WritePNG(GraphPath("dynamics_response.png"));
  graph->SetUpperSlope(1.f / 12.f); // an expander above the knee
  Render();
  surface->WritePNG(GraphPath("dynamics_response_expander.png"));
}

} // namespace

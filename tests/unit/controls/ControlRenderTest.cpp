// Controls rendered offscreen and probed pixel by pixel: turned knobs, text
// alignment, frames chosen by value, the SVG knob and disabled opacity.
#include <cmath>

#include "ControlsTestSupport.h"

using namespace controlstest;

namespace {

constexpr double kPi = 3.14159265358979323846;

// A transparent square picture with a red bar from its top edge towards the
// centre: the direction the knob points.
SurfaceRef PointerPicture(int side) {
  auto s = AdoptSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, side, side));
  cairo_t* cr = cairo_create(s.get());
  cairo_set_source_rgb(cr, 1, 0, 0);
  cairo_rectangle(cr, side * 0.45, 0, side * 0.1, side * 0.35);
  cairo_fill(cr);
  cairo_destroy(cr);
  return s;
}

bool Red(const Color& c) {
  return c.A > 127 && c.R > 200 && c.G < 60 && c.B < 60;
}
bool Blue(const Color& c) {
  return c.A > 127 && c.B > 200 && c.R < 60 && c.G < 60;
}

// Clockwise degrees from 12 o'clock of the ink's centroid seen from (cx, cy).
double PointingAngle(const Ink& ink, double cx, double cy) {
  return std::atan2(ink.cx - cx, cy - ink.cy) * 180.0 / kPi;
}

using RenderTest = SurfaceTest;

TEST_F(RenderTest, TheRotaterKnobIsUprightAtHalfAndTurnedLeftAtZero) {
  const Bitmap picture(PointerPicture(40), 1, false, 1);
  auto* knob = Add(std::make_unique<IBKnobRotaterControl>(Rect(0, 0, 100, 100), picture, kGain));
  for (const auto& [value, degrees] : std::vector<std::pair<double, double>>{
           {0.5, 0.0}, {0.0, -150.0}, {1.0, 150.0}, {0.75, 75.0}}) {
    knob->SetValue(value);
    knob->Redraw();
    OffscreenSurface s(100, 100, 2);
    ui->DrawTo(s);
    const Ink ink = FindInk(s, Red);
    ASSERT_GT(ink.count, 50) << value;
    EXPECT_NEAR(PointingAngle(ink, 100, 100), degrees, 2.0) << value;
    if (value == 0.0) s.WritePNG(OutputPath("rotater_at_0.png"));
    if (value == 0.5) s.WritePNG(OutputPath("rotater_at_half.png"));
  }
}

TEST_F(RenderTest, TheSvgKnobTurnsFromMinus135ToPlus135) {
  const std::string svgText = R"(<svg xmlns="http://www.w3.org/2000/svg" width="20" height="20">
    <circle cx="10" cy="10" r="9" fill="#404040"/>
    <rect x="9" y="1" width="2" height="6" fill="#0000ff"/></svg>)";
  bundle.files["vector-knob.svg"].assign(svgText.begin(), svgText.end());
  const SvgImage svg = ui->LoadSvgResource("vector-knob.svg", "px", 72);
  ASSERT_TRUE(svg.IsValid());
  auto* knob = Add(std::make_unique<ISVGKnobControl>(Rect(0, 0, 60, 60), svg, kGain));
  for (const auto& [value, degrees] :
       std::vector<std::pair<double, double>>{{0.0, -135.0}, {0.5, 0.0}, {1.0, 135.0}}) {
    knob->SetValue(value);
    OffscreenSurface s(60, 60, 2);
    ui->DrawTo(s);
    const Ink ink = FindInk(s, Blue);
    ASSERT_GT(ink.count, 20) << value;
    EXPECT_NEAR(PointingAngle(ink, 60, 60), degrees, 3.0) << value;
    if (value == 0.0) s.WritePNG(OutputPath("svg_knob_at_0.png"));
  }
  // Dragging: vertical, gearing 4.
  Drag(30, 30, 0, -30);
  EXPECT_DOUBLE_EQ(knob->Value(), 1.0); // up from the top stays there
  knob->SetValue(0.0);
  Drag(30, 30, 0, -60);
  EXPECT_NEAR(knob->Value(), 0.25, 1e-9);
}

TEST_F(RenderTest, TextIsAlignedNearCentreAndFar) {
  const Rect row(20, 20, 380, 60);
  auto* text = Add(std::make_unique<ITextControl>(
      row, "Zorel", TextStyle(30, COLOR_WHITE, "Roboto-Regular", EAlign::Near, EVAlign::Middle),
      Color(255, 0, 0, 80)));
  auto white = [](const Color& c) { return c.A > 127 && c.R > 200 && c.G > 200; };
  std::vector<Ink> boxes;
  for (EAlign align : {EAlign::Near, EAlign::Center, EAlign::Far}) {
    text->SetTextStyle(text->GetTextStyle().WithAlign(align));
    text->Redraw();
    OffscreenSurface s(400, 80);
    ui->DrawTo(s);
    boxes.push_back(FindInk(s, white));
    ASSERT_GT(boxes.back().count, 30);
    EXPECT_EQ(s.PixelAt(5, 40).A, 0);                   // outside the control: nothing
    EXPECT_EQ(s.PixelAt(22, 22), Color(255, 0, 0, 80)); // the background fill
    s.WritePNG(OutputPath(align == EAlign::Near     ? "text_near.png"
                          : align == EAlign::Center ? "text_centre.png"
                                                    : "text_far.png"));
  }
  EXPECT_NEAR(boxes[0].l, row.L, 4);
  EXPECT_NEAR(0.5 * (boxes[1].l + boxes[1].r), row.MW(), 3);
  EXPECT_NEAR(boxes[2].r, row.R, 4);
  EXPECT_NEAR(0.5 * (boxes[0].t + boxes[0].b), row.MH(), 6); // middle
  // An empty text draws only the background; a hidden control nothing.
  text->SetText("");
  OffscreenSurface empty(400, 80);
  ui->DrawTo(empty);
  EXPECT_EQ(FindInk(empty, white).count, 0);
  text->SetHidden(true);
  ui->DrawTo(empty);
  EXPECT_EQ(empty.PixelAt(22, 22).A, 0);
}

TEST_F(RenderTest, TheBitmapFrameIsChosenByValue) {
  const Bitmap strip(Bands(20, 20, {COLOR_RED, COLOR_GREEN, COLOR_BLUE}), 3, false, 1);
  auto* picture = Add(std::make_unique<IBitmapControl>(Rect(0, 0, 40, 40), strip));
  for (const auto& [value, colour] : std::vector<std::pair<double, Color>>{{0.0, COLOR_RED},
                                                                           {0.24, COLOR_RED},
                                                                           {0.26, COLOR_GREEN},
                                                                           {0.74, COLOR_GREEN},
                                                                           {0.76, COLOR_BLUE},
                                                                           {1.0, COLOR_BLUE}}) {
    picture->SetValue(value);
    OffscreenSurface s(40, 40);
    ui->DrawTo(s);
    EXPECT_EQ(s.PixelAt(20, 20), colour) << value;
    EXPECT_EQ(s.PixelAt(5, 5).A, 0) << value; // centred: the 20 x 20 frame leaves a margin
    if (value == 0.26) s.WritePNG(OutputPath("bitmap_frame_1.png"));
  }
}

TEST_F(RenderTest, ADisabledControlDrawsAtAQuarterOpacity) {
  auto* panel = Add(std::make_unique<IPanelControl>(Rect(0, 0, 50, 50), COLOR_RED));
  auto* button = Add(std::make_unique<IVButtonControl>(Rect(60, 0, 110, 50), nullptr, ""));
  OffscreenSurface s(120, 60);
  panel->SetDisabledState(true);
  button->SetDisabledState(true);
  EXPECT_EQ(panel->Opacity(), 0.25f);
  ui->DrawTo(s);
  EXPECT_NEAR(s.PixelAt(25, 25).A, 64, 1);
  EXPECT_EQ(s.PixelAt(25, 25).R, 255);
  Click(80, 20);
  EXPECT_FALSE(button->IsAnimating()); // no click reached it
  panel->SetDisabledState(false);
  ui->DrawTo(s);
  EXPECT_EQ(s.PixelAt(25, 25), COLOR_RED);
  s.WritePNG(OutputPath("disabled_then_enabled.png"));
}

TEST_F(RenderTest, OnlyWhatChangedIsDirtyAndItsAreaCoversIt) {
  auto* a = Add(std::make_unique<IPanelControl>(Rect(0, 0, 50, 50), COLOR_RED));
  Add(std::make_unique<IPanelControl>(Rect(100, 100, 150, 150), COLOR_BLUE));
  Redraw();
  Rect area;
  EXPECT_FALSE(ui->IsDirty(area));
  a->SetHidden(true); // what was there must be drawn over
  ASSERT_TRUE(ui->IsDirty(area));
  EXPECT_EQ(area, Rect(0, 0, 50, 50));
  // Drawing only that area leaves the rest of a window's pixels alone.
  OffscreenSurface s(200, 200);
  s.Context().FillRect(COLOR_GREEN, Rect(0, 0, 200, 200));
  ui->Draw(s.Context(), area);
  EXPECT_EQ(s.PixelAt(25, 25).A, 0);
  EXPECT_EQ(s.PixelAt(125, 125), COLOR_GREEN);
  EXPECT_FALSE(ui->IsDirty(area));
}

TEST_F(RenderTest, DirtyAreasStayApartUnlessTheyOverlap) {
  auto* a = Add(std::make_unique<IPanelControl>(Rect(0, 0, 50, 50), COLOR_RED));
  auto* b = Add(std::make_unique<IPanelControl>(Rect(100, 100, 150, 150), COLOR_BLUE));
  auto* c = Add(std::make_unique<IPanelControl>(Rect(140, 140, 190, 190), COLOR_GREEN));
  Redraw();
  std::vector<Rect> areas;
  EXPECT_FALSE(ui->IsDirty(areas));
  a->Redraw();
  c->Redraw();
  ASSERT_TRUE(ui->IsDirty(areas));
  EXPECT_EQ(areas, (std::vector<Rect>{Rect(0, 0, 50, 50), Rect(140, 140, 190, 190)}));
  // b overlaps c: one area for both.
  a->Redraw(), b->Redraw(), c->Redraw();
  ASSERT_TRUE(ui->IsDirty(areas));
  EXPECT_EQ(areas, (std::vector<Rect>{Rect(0, 0, 50, 50), Rect(100, 100, 190, 190)}));
  // Many small areas become one.
  for (int i = 0; i < 12; ++i)
    Add(std::make_unique<IPanelControl>(Rect(10.f * i, 195, 10.f * i + 5, 199), COLOR_RED));
  ASSERT_TRUE(ui->IsDirty(areas));
  EXPECT_EQ(areas.size(), 1u);
  EXPECT_EQ(areas[0], Rect(0, 0, 190, 199));
}

} // namespace

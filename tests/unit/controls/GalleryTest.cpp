// One example of every control kind side by side on one surface. The test
// checks that each draws something in its cell; with ZOREL_CONTROLS_GALLERY
// set to a path it also writes the picture there (docs/controls.png).
#include <cmath>
#include <filesystem>

#include "ControlsTestSupport.h"

using namespace controlstest;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr const char* kRobotoPath =
    "/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF/Roboto-Regular.ttf";

// A picture of `frames` frames of w x h, stacked vertically, each painted by
// `paint` with the frame's origin at (0, 0).
Bitmap Paint(int w, int h, int frames, const std::function<void(cairo_t*, int)>& paint) {
  auto s = AdoptSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h * frames));
  cairo_t* cr = cairo_create(s.get());
  for (int k = 0; k < frames; ++k) {
    cairo_save(cr);
    cairo_translate(cr, 0, h * k);
    paint(cr, k);
    cairo_restore(cr);
  }
  cairo_destroy(cr);
  return Bitmap(s, frames, false, 1);
}

void Disc(cairo_t* cr, double cx, double cy, double r, double grey) {
  cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
  cairo_set_source_rgb(cr, grey, grey, grey);
  cairo_fill(cr);
}

const VectorStyle kStyle = kDefaultVectorStyle.WithColor(kFG, Color(255, 94, 94, 94))
                               .WithColor(kPR, Color(255, 169, 169, 169))
                               .WithColor(kFR, COLOR_WHITE)
                               .WithColor(kX1, Color(255, 51, 255, 255))
                               .WithColor(kX2, Color(255, 70, 70, 70))
                               .WithLabelText(TextStyle(16, COLOR_WHITE))
                               .WithValueText(TextStyle(16, COLOR_WHITE));

using GalleryTest = SurfaceTest;

TEST_F(GalleryTest, EveryControlKindDrawsInItsCell) {
  if (std::filesystem::exists(kRobotoPath)) {
    bundle.files["Roboto-Regular.ttf"] = ReadFile(kRobotoPath);
    ui->RegisterFontResource("Roboto-Regular", "Roboto-Regular.ttf");
  }
  ui->Resize(1200, 640, 1.f);
  ui->SetBackgroundColor(Color(255, 40, 40, 40));
  ui->AddPopupMenu(TextStyle(15, COLOR_WHITE), Rect());
  ui->AddValueBubble(TextStyle(15, COLOR_BLACK));
  ui->AddResizeHandle(EUIResizerMode::Scale, false, Color(120, 255, 255, 255), COLOR_WHITE, 20);
  plugin.ParamAt(kMode)->Store(1);
  plugin.ParamAt(kGain)->Store(70);
  plugin.ParamAt(kLevel)->Store(3);

  const Rect surface(0, 0, 1200, 640);
  std::vector<std::pair<std::string, Rect>> cells; // name, area the control draws in
  auto cell = [&](const std::string& name) {
    const int i = static_cast<int>(cells.size());
    const Rect c = surface.GridCell(i, 4, 6).Padded(-6);
    Add(std::make_unique<ITextControl>(c.FromBottom(20), name,
                                       TextStyle(14, Color(255, 200, 200, 200))));
    const Rect area = c.Padded(0, 0, 0, -22);
    cells.emplace_back(name, area);
    return area;
  };
  const TextStyle white(22, COLOR_WHITE);

  Rect a = cell("ITextControl");
  Add(std::make_unique<ITextControl>(a.CentredInside(170, 40), "Zorel", white,
                                     Color(255, 38, 38, 38)));
  a = cell("ICaptionControl");
  Add(std::make_unique<ICaptionControl>(a.CentredInside(150, 34), kMode, white,
                                        Color(255, 70, 70, 70)));
  a = cell("IEditableTextControl");
  Add(std::make_unique<IEditableTextControl>(
      a.CentredInside(180, 28), "Preset name",
      TextStyle(20, Color(255, 100, 255, 255), "Roboto-Regular", EAlign::Near)));
  a = cell("IVLabelControl");
  Add(std::make_unique<IVLabelControl>(a.CentredInside(150, 40), "Label",
                                       kStyle.WithColor(kBG, Color(255, 60, 60, 60))));
  a = cell("IURLControl");
  auto* link = Add(std::make_unique<IURLControl>(a.CentredInside(180, 30), "dravix.example",
                                                 "https://dravix.example",
                                                 TextStyle(20, Color(255, 116, 160, 255))));
  a = cell("IPanelControl");
  Add(std::make_unique<IPanelControl>(a.CentredInside(150, 80), Color(223, 16, 16, 16), true,
                                      COLOR_WHITE));
  a = cell("IBitmapControl");
  const Bitmap led = Paint(25, 25, 1, [](cairo_t* cr, int) {
    cairo_arc(cr, 12.5, 12.5, 11, 0, 2 * kPi);
    cairo_set_source_rgb(cr, 0.2, 1.0, 0.3);
    cairo_fill(cr);
  });
  Add(std::make_unique<IBitmapControl>(a.CentredInside(25, 25), led));
  a = cell("IBButtonControl");
  const Bitmap fswitch = Paint(60, 70, 2, [](cairo_t* cr, int k) {
    Disc(cr, 30, 35, 28, 0.25);
    Disc(cr, 30, 35, 22, k == 0 ? 0.8 : 0.55);
  });
  Add(std::make_unique<IBButtonControl>(a.CentredInside(60, 70), fswitch));
  a = cell("IVButtonControl");
  Add(std::make_unique<IVButtonControl>(
      a.CentredInside(120, 46), nullptr, "IMPORT",
      kStyle.WithRoundness(1).WithEmboss(true).WithLabelText(TextStyle(18, COLOR_BLACK))));
  a = cell("IVSwitchControl");
  Add(std::make_unique<IVSwitchControl>(a.CentredInside(100, 60), kToggle, "SWITCH", kStyle));
  a = cell("IVSlideSwitchControl");
  Add(std::make_unique<IVSlideSwitchControl>(a.CentredInside(140, 60), kMode, "MODE",
                                             kStyle.WithRoundness(1)));
  a = cell("IVKnobControl");
  Add(std::make_unique<IVKnobControl>(a.CentredInside(110, 110), kGain, "GAIN", kStyle, false,
                                      false, -135.f, 135.f, -135.f, EDirection::Vertical, 4.0,
                                      8.f));
  a = cell("ISVGKnobControl");
  const std::string svg = R"(<svg xmlns="http://www.w3.org/2000/svg" width="40" height="40">
    <circle cx="20" cy="20" r="18" fill="#505050" stroke="#33ffff" stroke-width="2"/>
    <rect x="18.5" y="4" width="3" height="12" fill="#ffffff"/></svg>)";
  bundle.files["vector-knob.svg"].assign(svg.begin(), svg.end());
  Add(std::make_unique<ISVGKnobControl>(a.CentredInside(70, 70),
                                        ui->LoadSvgResource("vector-knob.svg"), kGain));
  a = cell("IBKnobControl");
  const Bitmap strip = Paint(70, 70, 11, [](cairo_t* cr, int k) {
    Disc(cr, 35, 35, 26, 0.3);
    cairo_set_line_width(cr, 6);
    cairo_set_source_rgb(cr, 1.0, 0.6, 0.1);
    const double a0 = (-135.0 - 90.0) * kPi / 180.0;
    cairo_arc(cr, 35, 35, 31, a0, a0 + (270.0 * k / 10.0 + 0.5) * kPi / 180.0);
    cairo_stroke(cr);
  });
  Add(std::make_unique<IBKnobControl>(a.CentredInside(70, 70), strip, kLevel));
  a = cell("IBKnobRotaterControl");
  const Bitmap knob = Paint(80, 80, 1, [](cairo_t* cr, int) {
    Disc(cr, 40, 40, 38, 0.12);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_rectangle(cr, 38, 6, 4, 24);
    cairo_fill(cr);
  });
  Add(std::make_unique<IBKnobRotaterControl>(a, knob, kGain));
  a = cell("IVSliderControl");
  Add(std::make_unique<IVSliderControl>(a.CentredInside(60, 110), kGain, "",
                                        kStyle.WithShowLabel(false), true, EDirection::Vertical,
                                        1.0, 12.f, 4.f, true));
  a = cell("IBSliderControl");
  const Bitmap track = Paint(30, 110, 1, [](cairo_t* cr, int) {
    cairo_set_source_rgb(cr, 0.15, 0.15, 0.15);
    cairo_rectangle(cr, 12, 0, 6, 110);
    cairo_fill(cr);
  });
  const Bitmap handle = Paint(30, 16, 1, [](cairo_t* cr, int) {
    cairo_set_source_rgb(cr, 0.85, 0.85, 0.85);
    cairo_rectangle(cr, 0, 2, 30, 12);
    cairo_fill(cr);
  });
  Add(std::make_unique<IBSliderControl>(a.CentredInside(30, 110), kGain, handle, track));
  a = cell("IVNumberBoxControl");
  Add(std::make_unique<IVNumberBoxControl>(a.CentredInside(140, 44), kCount, nullptr, "", kStyle,
                                           true));
  a = cell("IInvisibleSelectControl3");
  for (int row = 0; row < 3; ++row)
    Add(std::make_unique<ITextControl>(
        Rect(a.L + 20, a.T + 20 + 30 * row, a.R - 20, a.T + 48 + 30 * row),
        " 0" + std::to_string(row + 1) + " Preset",
        TextStyle(18, Color(255, 100, 255, 255), "Roboto-Regular", EAlign::Near),
        Color(255, 38, 38, 38)));
  Add(std::make_unique<IInvisibleSelectControl3>(Rect(a.L + 20, a.T + 20, a.R - 20, a.T + 108),
                                                 kRow));
  a = cell("IPopupMenuControl");
  auto* menuOwner =
      Add(std::make_unique<ICaptionControl>(Rect(a.L + 20, a.T, a.R - 20, a.T + 30), kMode,
                                            TextStyle(18, COLOR_WHITE), Color(255, 70, 70, 70)));
  a = cell("ITextEntryControl");
  const Rect entryRect = a.CentredInside(170, 30);
  a = cell("IBubbleControl");
  Add(std::make_unique<IPanelControl>(Rect(a.L + 30, a.B - 30, a.R - 30, a.B - 20),
                                      Color(255, 90, 90, 90)));
  ui->ShowBubble(Rect(a.MW() - 10, a.B - 30, a.MW() + 10, a.B - 20), "-6.0 dB");
  a = cell("ICornerResizerControl");

  ui->OnMouseOver(link->Bounds().MW(), link->Bounds().MH(), {});
  ASSERT_TRUE(ui->PromptParameterValue(menuOwner, menuOwner->Bounds()));
  ui->OnMouseOver(menuOwner->Bounds().MW(), menuOwner->Bounds().B + 35, {});

  OffscreenSurface s(1200, 640);
  ui->DrawTo(s);
  // The text field on its own: only one prompt can be open on a surface.
  ITextEntryControl entry;
  entry.Open(TextStyle(18, COLOR_BLACK), entryRect, "Fat Bass", [](bool, const std::string&) {});
  entry.Draw(s.Context());

  const Color bg(255, 40, 40, 40);
  for (const auto& [name, area] : cells) {
    if (name == "ICornerResizerControl") continue; // at the surface's corner, checked below
    const Ink ink = FindInk(
        s, [&](const Color& c) { return c != bg && c.A > 0; }, area);
    EXPECT_GT(ink.count, 40) << name;
  }
  EXPECT_NE(s.PixelAt(1197, 637), bg); // the resizer's triangle
  s.WritePNG(OutputPath("controls_gallery.png"));
  if (const char* path = std::getenv("ZOREL_CONTROLS_GALLERY")) {
    EXPECT_TRUE(s.WritePNG(path));
  }
}

} // namespace

#pragma once

#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "controls/Controls.h"
#include "plugin/IPlugAPIBase.h"
#include "render/PngCodec.h"
#include "tests/support/ScriptedModalServices.h"

namespace controlstest {

using namespace igraphics;
using zorel::test::ScriptedModalServices;

// Parameters of the test plug-in.
enum {
  kGain = 0,   // continuous 0..100, step 0.1, default 50
  kMode = 1,   // enumeration "Off", "Slow", "Fast"
  kCount = 2,  // integer 1..100, default 50, no display texts
  kLevel = 3,  // integer 0..4 (five steps)
  kRow = 4,    // integer 0..19
  kToggle = 5, // enumeration "OFF", "ON"
  kNumParams
};

// A plug-in base with a handful of parameters that records every change
// notification with the value the parameter held at that moment.
class TestPlugin : public iplug::IPlugAPIBase {
public:
  struct Change {
    int idx;
    iplug::EParamSource source;
    double value;
  };

  TestPlugin() : iplug::IPlugAPIBase(Config()) {
    ParamAt(kGain)->DefineContinuous("Gain", 50, 0, 100, 0.1, "dB");
    ParamAt(kMode)->DefineChoice("Mode", 0, 3, "", 0, "", "Off", "Slow", "Fast");
    ParamAt(kCount)->DefineInteger("Count", 50, 1, 100);
    ParamAt(kLevel)->DefineInteger("Level", 0, 0, 4);
    ParamAt(kRow)->DefineInteger("Row", 0, 0, 19);
    ParamAt(kToggle)->DefineChoice("Toggle", 0, 2, "", 0, "", "OFF", "ON");
  }

  static iplug::PluginConfig Config() {
    iplug::PluginConfig c;
    c.nParams = kNumParams;
    c.plugHasUI = true;
    c.plugWidth = 400;
    c.plugHeight = 300;
    return c;
  }

  void OnParamChange(int idx, iplug::EParamSource source, int offset) override {
    changes.push_back({idx, source, ParamAt(idx)->Current()});
    iplug::IPlugAPIBase::OnParamChange(idx, source, offset);
  }
  void SendSysExFromUI(const iplug::SysExMessage&) override {}

  double Value(int idx) { return ParamAt(idx)->Current(); }

  std::vector<Change> changes;
};

inline constexpr const char* kFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

inline std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A resource bundle in a map.
struct Bundle {
  std::map<std::string, std::vector<uint8_t>, std::less<>> files;
  ResourceLookup Lookup() {
    return [this](std::string_view name) -> std::optional<std::span<const uint8_t>> {
      const auto it = files.find(name);
      if (it == files.end()) return std::nullopt;
      return std::span<const uint8_t>(it->second);
    };
  }
};

// A window stand-in that records what the surface asks of it.
struct RecordingWindow : IGraphicsWindow {
  std::vector<std::pair<float, float>> resizes;
  std::vector<std::string> urls;
  bool cursorHidden = false;
  ECursor cursor = ECursor::Arrow;
  void ResizeWindow(float w, float h) override { resizes.emplace_back(w, h); }
  void SetCursor(ECursor c) override { cursor = c; }
  void HideCursor(bool hide) override { cursorHidden = hide; }
  bool OpenURL(const std::string& url) override {
    urls.push_back(url);
    return true;
  }
};

// A 400 x 300 surface on the test plug-in, with a clock the test steps, the
// DejaVu face registered as "Roboto-Regular", and scripted modal services.
class SurfaceTest : public ::testing::Test {
protected:
  SurfaceTest() {
    bundle.files["Roboto-Regular.ttf"] = ReadFile(kFontPath);
    ui = std::make_unique<IGraphics>(
        &plugin, 400, 300, 1.f, [this] { return now; }, bundle.Lookup());
    ui->RegisterFontResource("Roboto-Regular", "Roboto-Regular.ttf");
    ui->SetModalServices(&modal);
    ui->SetWindow(&window);
    plugin.AttachGraphics(ui.get());
  }
  ~SurfaceTest() override { plugin.DetachGraphics(); }

  template <class T> T* Add(std::unique_ptr<T> c, int tag = kNoTag, const std::string& group = {}) {
    return ui->AddControl(std::move(c), tag, group);
  }

  static MouseModifiers Left(bool shift = false) {
    MouseModifiers m;
    m.L = true;
    m.S = shift;
    return m;
  }
  static MouseModifiers Right() {
    MouseModifiers m;
    m.R = true;
    return m;
  }

  void Click(float x, float y, MouseModifiers mod = Left()) {
    ui->OnMouseDown(x, y, mod);
    ui->OnMouseUp(x, y, mod);
  }
  // Press at (x, y), drag by (dx, dy) in `steps` equal moves, release.
  void Drag(float x, float y, float dx, float dy, MouseModifiers mod = Left(), int steps = 1) {
    ui->OnMouseDown(x, y, mod);
    for (int i = 1; i <= steps; ++i)
      ui->OnMouseDrag(x + dx * i / steps, y + dy * i / steps, dx / steps, dy / steps, mod);
    ui->OnMouseUp(x + dx, y + dy, mod);
  }
  // Draws everything and returns whether anything asked to be redrawn.
  bool Dirty() {
    Rect area;
    return ui->IsDirty(area);
  }
  void Redraw() {
    OffscreenSurface s(static_cast<float>(ui->Width()), static_cast<float>(ui->Height()));
    ui->DrawTo(s);
  }

  TestPlugin plugin;
  Bundle bundle;
  double now = 0.0;
  ScriptedModalServices modal;
  RecordingWindow window;
  std::unique_ptr<IGraphics> ui;
};

// ---- pixels -------------------------------------------------------------------

inline std::string OutputPath(const std::string& name) {
  const char* env = std::getenv("ZOREL_RENDER_PNG_DIR");
  const std::filesystem::path dir =
      env != nullptr ? std::filesystem::path(env)
                     : std::filesystem::path(testing::TempDir()) / "zorel-controls";
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}

struct Ink {
  int count = 0;
  double cx = 0, cy = 0;
  int l = 1 << 30, t = 1 << 30, r = -1, b = -1;
};

inline Ink FindInk(const OffscreenSurface& s, const std::function<bool(const Color&)>& pick,
                   Rect area = {}) {
  Ink ink;
  const int x0 = area.Empty() ? 0 : static_cast<int>(area.L * s.Scale());
  const int y0 = area.Empty() ? 0 : static_cast<int>(area.T * s.Scale());
  const int x1 = area.Empty() ? s.PixelWidth() : static_cast<int>(area.R * s.Scale());
  const int y1 = area.Empty() ? s.PixelHeight() : static_cast<int>(area.B * s.Scale());
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      if (!pick(s.PixelAt(x, y))) continue;
      ++ink.count, ink.cx += x, ink.cy += y;
      ink.l = std::min(ink.l, x), ink.r = std::max(ink.r, x);
      ink.t = std::min(ink.t, y), ink.b = std::max(ink.b, y);
    }
  if (ink.count > 0) ink.cx /= ink.count, ink.cy /= ink.count;
  return ink;
}

inline bool Visible(const Color& c) {
  return c.A > 40;
}

// A picture of equal bands of solid colour, one per frame, stacked vertically.
inline SurfaceRef Bands(int w, int h, const std::vector<Color>& bands) {
  auto s = AdoptSurface(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h * static_cast<int>(bands.size())));
  cairo_t* cr = cairo_create(s.get());
  for (size_t k = 0; k < bands.size(); ++k) {
    const Color& c = bands[k];
    cairo_set_source_rgba(cr, c.R / 255.0, c.G / 255.0, c.B / 255.0, c.A / 255.0);
    cairo_rectangle(cr, 0, static_cast<double>(h * k), w, h);
    cairo_fill(cr);
  }
  cairo_destroy(cr);
  return s;
}

} // namespace controlstest

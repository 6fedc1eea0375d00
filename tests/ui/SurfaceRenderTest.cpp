// Offscreen pictures of the whole surface: every section, the FILTER switch
// on, before and after a connection to the virtual pedal. With
// ZOREL_SURFACE_DIR set they are written there (docs/surface keeps them);
// otherwise they are drawn and probed only.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "protocol/codec/ParamIds.h"
#include "tests/ui/PedalSurface.h"

using namespace zorel;
using namespace zorel::test;

namespace {

std::string OutputDir() {
  const char* dir = std::getenv("ZOREL_SURFACE_DIR");
  return dir ? dir : "";
}

void Write(SurfaceHarness& h, const std::string& name, std::initializer_list<float> scales) {
  const std::string dir = OutputDir();
  for (float scale : scales) {
    igraphics::OffscreenSurface image(kUIWidth, kUIHeight, scale);
    h.graphics.DrawTo(image);
    ASSERT_TRUE(image.IsValid());
    if (dir.empty()) continue;
    std::filesystem::create_directories(dir);
    char file[256];
    std::snprintf(file, sizeof file, "%s/%s-%g.png", dir.c_str(), name.c_str(), scale);
    ASSERT_TRUE(image.WritePNG(file)) << file;
  }
}

// A part of the surface at `scale`, for a close look.
void WriteDetail(SurfaceHarness& h, const std::string& name, const igraphics::Rect& part,
                 float scale) {
  const std::string dir = OutputDir();
  if (dir.empty()) return;
  igraphics::OffscreenSurface image(kUIWidth, kUIHeight, scale);
  h.graphics.DrawTo(image);
  const int w = static_cast<int>(part.W() * scale), ht = static_cast<int>(part.H() * scale);
  cairo_surface_t* crop = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, ht);
  cairo_t* cr = cairo_create(crop);
  cairo_set_source_surface(cr, image.Surface(), -part.L * scale, -part.T * scale);
  cairo_paint(cr);
  cairo_destroy(cr);
  const std::string file = dir + "/detail-" + name + ".png";
  EXPECT_EQ(cairo_surface_write_to_png(crop, file.c_str()), CAIRO_STATUS_SUCCESS) << file;
  cairo_surface_destroy(crop);
}

} // namespace

// Before any pedal: the IR panel, the pedal greyed, "Connecting...".
TEST(SurfaceRender, BeforeAConnection) {
  SurfaceHarness h;
  Write(h, "start", {0.5f, 1.f});
}

// After the virtual pedal has been read: its presets, its current preset
// with the identified model and ambience lit, then every section in turn.
TEST(SurfaceRender, AfterAConnectionEverySection) {
  PedalSurface c;
  SurfaceHarness& h = c.h;
  ASSERT_TRUE(h.Editor().State().mConnected);
  Write(h, "connected", {0.5f, 1.f});
  const struct {
    int section;
    const char* name;
  } sections[] = {
      {kSectionAmplifier, "amplifier"},    {kSectionAmbience, "ambience"},
      {kSectionCompressor, "compressor"},  {kSectionLevel, "gate-level"},
      {kSectionAnalogSim, "analog-sim"},   {kSectionPunchFilter, "punch-filter"},
      {kSectionLowFilter, "low-filter"},   {kSectionMidFilter, "mid-filter"},
      {kSectionHighFilter, "high-filter"}, {kSectionAutoFilter, "auto-filter"},
      {kSectionChorus, "chorus"},          {kSectionImpulseResponse, "impulse-response"},
  };
  for (const auto& s : sections) {
    h.surface->ShowSection(s.section);
    Write(h, std::string("section-") + s.name, {0.5f, 1.f});
  }
}

// The FILTER switch on: red labels lit, the lamp on, layer B knobs.
TEST(SurfaceRender, FilterSwitchOn) {
  PedalSurface c;
  SurfaceHarness& h = c.h;
  const bool wasOn = h.Editor().View().mFilterSwitchOn;
  h.Click(1459 + 37, 322 + 42);
  if (wasOn) h.Click(1459 + 37, 322 + 42);
  ASSERT_TRUE(h.Editor().View().mFilterSwitchOn);
  ASSERT_FALSE(h.Tag(kTagRedBackground)->IsHidden());
  h.Drag(913, 189, -40); // the FILTER knob of layer B brings the auto filter panel
  c.link.Pump();
  ASSERT_EQ(h.Editor().View().mActiveSection, kSectionAutoFilter);
  Write(h, "filter-on", {0.5f, 1.f});
  WriteDetail(h, "pedal-filter-on", {648, 84, 1592, 630}, 1.f);
  WriteDetail(h, "display", {1190, 290, 1410, 430}, 2.f);
}

// Every page over the surface as the user meets it, with the pedal's own
// settings, names and numbers read in.
TEST(SurfaceRender, Pages) {
  PedalSurface c;
  SurfaceHarness& h = c.h;
  ZorelControl& e = h.Editor();
  auto hideAll = [&] {
    for (const char* g :
         {group::kGlobalSettings, group::kMidiCC, group::kMidiProgram, group::kMidiProgramOffset0,
          group::kMidiProgramOffset1, group::kFirmwareBackground, group::kFirmwareUpdate,
          group::kFirmwareProgress, group::kAbout, group::kProgress, group::kCustomIR})
      h.surface->SetGroupHidden(g, true);
  };

  e.OpenGlobalSettings();
  c.link.Pump();
  Write(h, "page-settings", {0.5f, 1.f});
  e.OpenMidiCCPage();
  c.link.Pump();
  Write(h, "page-midi-cc", {0.5f});
  e.CloseMidiCCPage();
  e.OpenProgramMapPage();
  c.link.Pump();
  Write(h, "page-program-map", {0.5f});
  e.CloseProgramMapPage();
  e.CloseGlobalSettings();
  c.link.Pump();
  ASSERT_TRUE(h.GroupHidden(group::kGlobalSettings));

  // The custom IR list of IR 7, opened from its LIST button.
  e.SetParameterValue(kParamUserIR7Mode, 1.0);
  h.ClickButton(916, 690);
  c.link.Pump();
  ASSERT_TRUE(h.GroupShown(group::kCustomIR));
  Write(h, "page-custom-ir-list", {0.5f});
  hideAll();
  WriteDetail(h, "ir-panel", {340, 630, 1110, 1180}, 1.f);

  // A factory cabinet chosen in the list: its response in the graph.
  h.Click(600, 713 + 3 * 50 + 20); // QS 8x10
  c.link.Pump();
  ASSERT_EQ(e.ParamAt(kParamIR)->Int() * 8 / 127, 3);
  WriteDetail(h, "ir-panel-factory-cabinet", {340, 630, 1890, 1180}, 1.f);

  // Closing the firmware page starts a new connection: it comes last.
  e.OpenFirmwarePage();
  Write(h, "page-firmware", {0.5f});
  // As the update runs: the loader has accepted it.
  h.surface->SetGroupHidden(group::kFirmwareProgress, false);
  h.surface->SetGroupDisabled(group::kFirmwareUpdate, true);
  h.surface->SetTagValue(kTagFirmwareProgressKnob, 0.42);
  h.surface->SetTagText(kTagFirmwareProgressText, "42 %");
  Write(h, "page-firmware-progress", {0.5f});
  hideAll();
  e.CloseFirmwarePage();

  ASSERT_TRUE(e.OnAboutRequested());
  Write(h, "page-about", {0.5f});
  hideAll();

  h.surface->SetGroupHidden(group::kProgress, false);
  h.surface->ShowProgress(0.6, "60 %");
  Write(h, "page-transfer-progress", {0.5f});
  hideAll();
}

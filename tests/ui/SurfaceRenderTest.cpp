// Offscreen pictures of the whole surface: every section, the FILTER switch
// on, before and after a connection to the virtual pedal. With
// ZOREL_SURFACE_DIR set they are written there (docs/surface keeps them);
// otherwise they are drawn and probed only.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "protocol/codec/ParamIds.h"
#include "tests/ui/SurfaceHarness.h"

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

} // namespace

TEST(SurfaceRender, StartUp) {
  SurfaceHarness h;
  Write(h, "start", {0.5f, 1.f});
}

TEST(SurfaceRender, EverySection) {
  SurfaceHarness h;
  h.PretendConnected();
  const struct {
    int section;
    const char* name;
  } sections[] = {
      {kSectionCompressor, "compressor"},
      {kSectionAmbience, "ambience"},
      {kSectionImpulseResponse, "impulse-response"},
      {kSectionAnalogSim, "analog-sim"},
      {kSectionPunchFilter, "punch-filter"},
      {kSectionLowFilter, "low-filter"},
      {kSectionMidFilter, "mid-filter"},
      {kSectionHighFilter, "high-filter"},
      {kSectionAmplifier, "amplifier"},
      {kSectionLevel, "gate-level"},
      {kSectionAutoFilter, "auto-filter"},
      {kSectionChorus, "chorus"},
  };
  for (const auto& s : sections) {
    h.surface->ShowSection(s.section);
    Write(h, std::string("section-") + s.name, {0.5f, 1.f});
  }
}

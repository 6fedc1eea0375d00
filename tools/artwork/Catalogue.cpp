// The pictures of the resource bundle with their sizes and frame counts.
// resources/CMakeLists.txt lists the same file names as build outputs.

#include <array>

#include "tools/artwork/Layout.h"
#include "tools/artwork/Pictures.h"

namespace art {

namespace {

struct Choice {
  const char* file;
  const char* label;
};

// Model 0..9 and type 0..6 in the order of their buttons: columns 0..4 of
// the first row, then of the second.
constexpr std::array<Choice, 10> kAmpModels = {{{"amp-lowdriver.png", "LOW DRIVER"},
                                                {"amp-qsbass.png", "QS BASS"},
                                                {"amp-duodriver.png", "DUO DRIVER"},
                                                {"amp-vintage.png", "VINTAGE"},
                                                {"amp-modern.png", "MODERN"},
                                                {"amp-lid.png", "LID"},
                                                {"amp-qsstack.png", "QS STACK"},
                                                {"amp-darkface.png", "DARKFACE"},
                                                {"amp-isle.png", "ISLE"},
                                                {"amp-razor.png", "RAZOR"}}};
constexpr std::array<Choice, 7> kAmbienceTypes = {{{"radio-room.png", "ROOM"},
                                                   {"radio-hall.png", "HALL"},
                                                   {"radio-spring.png", "SPRING"},
                                                   {"radio-plate.png", "PLATE"},
                                                   {"radio-chorus.png", "CHORUS"},
                                                   {"radio-echo.png", "ECHO"},
                                                   {"radio-echoverb.png", "ECHO VERB"}}};

void AddChoices(std::vector<Picture>& out, const Choice* choices, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const double w = kButtonW[i % kButtonW.size()];
    const std::string label = choices[i].label;
    out.push_back({choices[i].file, w, 2 * kButtonFrameH, 2,
                   [w, label](cairo_t* cr) { DrawChoiceButton(cr, w, label); }});
  }
}

// Draws a two-frame picture: `frame(cr, false)` on top, `frame(cr, true)` below.
template <typename F> std::function<void(cairo_t*)> TwoFrames(double frameH, F frame) {
  return [frameH, frame](cairo_t* cr) {
    frame(cr, false);
    cairo_save(cr);
    cairo_translate(cr, 0, frameH);
    frame(cr, true);
    cairo_restore(cr);
  };
}

} // namespace

std::vector<Picture> AllPictures() {
  std::vector<Picture> out = {
      {"background.png", kSurfaceW, kSurfaceH, 1, [](cairo_t* cr) { DrawBackground(cr, false); }},
      {"backgroundred.png", kSurfaceW, kSurfaceH, 1, [](cairo_t* cr) { DrawBackground(cr, true); }},
      {"knobrotate.png", kSmallKnob, kSmallKnob, 1, [](cairo_t* cr) { DrawKnob(cr, kSmallKnob); }},
      {"knobrotatebig.png", kBigKnob, kBigKnob, 1, [](cairo_t* cr) { DrawKnob(cr, kBigKnob); }},
      {"fswitch.png", kFootW, 2 * kFootH, 2, TwoFrames(kFootH, DrawFootSwitch)},
      {"led.png", kLampSize, kLampSize, 1, DrawLamp},
      {"save.png", kSaveW, 2 * kSaveH, 2, TwoFrames(kSaveH, DrawSaveButton)},
      {"mic.png", kMicW, kMicH, 1, DrawMic},
      {"micbg.png", kMicSlider.w, kMicSlider.h, 1, DrawMicTrack},
      {"irbg.png", kIrPanelW, kIrPanelH, 1, DrawIrPanel},
  };
  AddChoices(out, kAmbienceTypes.data(), kAmbienceTypes.size());
  AddChoices(out, kAmpModels.data(), kAmpModels.size());
  out.push_back({"fwbg.png", kSurfaceW, 1080, 1, DrawFirmwarePage});
  out.push_back({"globalbg.png", kSurfaceW, 1080, 1, DrawSettingsPage});
  out.push_back({"midibrakwell.png", 512, 120, 1, DrawFootController});
  out.push_back({"about.png", kSurfaceW, kSurfaceH, 1, DrawAboutPage});
  return out;
}

} // namespace art

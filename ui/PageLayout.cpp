// The pages over the main surface: firmware update, global settings with
// its two sub-pages (MIDI controller numbers, program-change map), about,
// and the preset transfer progress overlay. Each page is its own groups;
// the editor shows and hides them (DeviceActions.cpp), and a page's
// full-window backdrop takes the clicks no control above it takes.
#include "protocol/codec/ParamIds.h"
#include "ui/LayoutTables.h"

namespace zorel::ui::layout {

namespace {

using enum Kind;

constexpr Rect kWholeSurface{0, 0, kUIWidth, kUIHeight};
constexpr Color kPageText{255, 240, 240, 240};

constexpr ControlSpec Button(Rect rect, const char* group, const char* label, float size,
                             Action action) {
  return {.kind = kButton,
          .rect = rect,
          .group = group,
          .look = {.style = StyleId::kButton, .size = size},
          .text = label,
          .action = action};
}

constexpr ControlSpec Backdrop(const char* group, Action action) {
  return {.kind = kButton,
          .rect = kWholeSurface,
          .group = group,
          .look = {.style = StyleId::kBackdrop},
          .text = "",
          .action = action};
}

constexpr ControlSpec PagePicture(const char* group, const char* picture, float x = 0, float y = 0,
                                  int tag = kTagNone) {
  return {.kind = kPicture, .rect = At(x, y), .tag = tag, .group = group, .picture = picture};
}

// A knob that shows how far a transfer has got: panel knob settings, no
// parameter, its label hidden by the style.
constexpr ControlSpec ProgressKnob(Rect rect, int tag, const char* group, const char* label) {
  return {.kind = kProgressKnob,
          .rect = rect,
          .tag = tag,
          .group = group,
          .look = {.style = StyleId::kKnob},
          .text = label};
}

constexpr ControlSpec LightText(Rect rect, int tag, const char* group, float size,
                                const char* text) {
  return {.kind = kText,
          .rect = rect,
          .tag = tag,
          .group = group,
          .look = {.text = TextId::kLightBase, .size = size, .valign = igraphics::EVAlign::Middle},
          .text = text};
}

// ---- Firmware update ----------------------------------------------------------

constexpr const char* kFwBackground = group::kFirmwareBackground;
constexpr const char* kFwUpdate = group::kFirmwareUpdate;
constexpr const char* kFwProgress = group::kFirmwareProgress;

// The address is the maker's; a reserved example domain stands in for it.
constexpr const char* kDownloadText = "dravix.example";
constexpr const char* kDownloadUrl = "https://dravix.example/zorel/firmware";

const ControlSpec kFirmwarePageSpecs[] = {
    PagePicture(kFwBackground, "fwbg.png", 0, 0, kTagFirmwareBackground),
    Button({1000, 650, 1200, 715}, kFwUpdate, "UPDATE FIRMWARE", 18, Action::kChooseFirmwareFile),
    {.kind = kLink,
     .rect = {748, 346, 948, 376},
     .group = kFwUpdate,
     .look = {.text = TextId::kLightBase, .size = 25},
     .url = kDownloadUrl,
     .text = kDownloadText},
    Button({1508, 310, 1563, 350}, kFwUpdate, "X", 30, Action::kCloseFirmwarePage),
    ProgressKnob({1010, 710, 1185, 885}, kTagFirmwareProgressKnob, kFwProgress, "PERCENT"),
    LightText({1010, 705, 1185, 880}, kTagFirmwareProgressText, kFwProgress, 50, "0 %"),
};

// ---- Global settings ------------------------------------------------------------

constexpr const char* kSettings = group::kGlobalSettings;

// A setting: its caption, and under it the value, which opens the
// parameter's menu when clicked.
// The captions reach 20 units past their value on either side: "PRESET
// PROTECTION WRITER" is wider than the value's 200 units.
constexpr float kCaptionOverhang = 20;
constexpr ControlSpec SettingCaption(float x, float y, const char* caption) {
  return {.kind = kText,
          .rect = {x - kCaptionOverhang, y, x + 200 + kCaptionOverhang, y + 30},
          .group = kSettings,
          .look = {.text = TextId::kLightBase, .size = 19},
          .text = caption};
}
constexpr ControlSpec SettingValue(float x, float y, int param) {
  return {.kind = kCaption,
          .rect = {x, y + 30, x + 200, y + 70},
          .param = param,
          .group = kSettings,
          .look = {.size = 24,
                   .colour = kPageText,
                   .align = igraphics::EAlign::Center,
                   .valign = igraphics::EVAlign::Middle},
          .background = {255, 70, 70, 70}};
}

const ControlSpec kGlobalSettingsSpecs[] = {
    // Under the picture: only a click below it (or beside its dialog,
    // where the picture is clear) reaches the backdrop.
    Backdrop(kSettings, Action::kCloseGlobalSettings),
    PagePicture(kSettings, "globalbg.png"),
    Button({1444, 220, 1499, 260}, kSettings, "X", 30, Action::kCloseGlobalSettings),
    SettingCaption(760, 250, "PATCH OFFSET"),
    SettingValue(760, 250, kParamPatchOffset),
    SettingCaption(760, 350, "SAFE LEVEL MODE"),
    SettingValue(760, 350, kParamSafeLevel),
    SettingCaption(760, 450, "DISENGAGE ALL POTS"),
    SettingValue(760, 450, kParamDisengageAllPots),
    SettingCaption(760, 550, "PRESET PROTECTION WRITER"),
    SettingValue(760, 550, kParamPresetProtectionWriter),
    SettingCaption(760, 650, "TUNER FREQUENCY"),
    SettingValue(760, 650, kParamTunerFrequency),
    SettingCaption(980, 250, "MIDI MAPPING"),
    SettingValue(980, 250, kParamDefineMidiMapping),
    SettingCaption(980, 350, "MIDI THRU FUNCTION"),
    SettingValue(980, 350, kParamMidiThruMode),
    SettingCaption(980, 450, "MIDI CC MODE"),
    SettingValue(980, 450, kParamMidiCCMode),
    SettingCaption(980, 550, "MIDI CHANNEL SELECT"),
    SettingValue(980, 550, kParamMidiCCChannel),
    SettingCaption(980, 650, "TUNER DETUNE"),
    SettingValue(980, 650, kParamTunerDetune),
    Button({1200, 283, 1300, 323}, kSettings, "SETUP", 20, Action::kOpenProgramMapPage),
    Button({1200, 483, 1300, 523}, kSettings, "SETUP", 20, Action::kOpenMidiCCPage),
    SettingCaption(1200, 650, "CABINET BYPASS"),
    SettingValue(1200, 650, kParamCabinetBypass),
    // Centred where the dialog's centre is, wide enough for the whole line.
    {.kind = kText,
     .rect = {800, 750, 1400, 780},
     .group = kSettings,
     .look = {.text = TextId::kDark, .colour = kPageText, .align = igraphics::EAlign::Center},
     .text = "RESET TO FACTORY DEFAULT SETTINGS"},
    Button({760, 800, 960, 850}, kSettings, "ALL", 20, Action::kFactoryResetAll),
    Button({980, 800, 1180, 850}, kSettings, "PRESETS", 20, Action::kFactoryResetPresets),
    Button({1200, 800, 1400, 850}, kSettings, "SETTINGS", 20, Action::kFactoryResetSettings),
};

// ---- MIDI controller numbers --------------------------------------------------

constexpr const char* kMidiCC = group::kMidiCC;

// Row i of the rectangles (1100, 350, 1220, 750) and (860, 350, 1080, 750)
// cut into eight rows and shrunk by 3 on every side.
constexpr Rect CCRow(float left, float right, int i) {
  const float top = 350.f + 50.f * static_cast<float>(i);
  return {left + 3, top + 3, right - 3, top + 47};
}
constexpr ControlSpec CCNumber(int i) {
  return {.kind = kNumberBox,
          .rect = CCRow(1100, 1220, i),
          .param = kParamMidiCCDrive + i,
          .group = kMidiCC,
          .look = {.style = StyleId::kBase},
          .text = ""};
}
constexpr ControlSpec CCName(int i, const char* name) {
  return {.kind = kText,
          .rect = CCRow(860, 1080, i),
          .group = kMidiCC,
          .look = {.text = TextId::kLightBase,
                   .size = 30,
                   .align = igraphics::EAlign::Far,
                   .valign = igraphics::EVAlign::Middle},
          .text = name};
}

const ControlSpec kMidiCCPageSpecs[] = {
    PagePicture(kMidiCC, "globalbg.png"),
    CCNumber(0),
    CCNumber(1),
    CCNumber(2),
    CCNumber(3),
    CCNumber(4),
    CCNumber(5),
    CCNumber(6),
    CCNumber(7),
    CCName(0, "DRIVE"),
    CCName(1, "LOW"),
    CCName(2, "MID"),
    CCName(3, "HIGH"),
    CCName(4, "REVERB"),
    CCName(5, "GATE"),
    CCName(6, "FILTER"),
    CCName(7, "LEVEL"),
    Button({1040, 250, 1160, 300}, kMidiCC, "BACK", 20, Action::kCloseMidiCCPage),
};

// ---- Program-change map -------------------------------------------------------

constexpr const char* kProgram = group::kMidiProgram;

// With patch offset 0 the numbers run 0-127, with 1 they run 1-128: each
// offset has its own pair of boxes in the same place.
constexpr ControlSpec ProgramBox(Rect rect, int param, const char* group, const char* label) {
  return {.kind = kNumberBox,
          .rect = rect,
          .param = param,
          .group = group,
          .look = {.style = StyleId::kBase},
          .text = label};
}
// 200 units wide about the centres 975 and 1225, so that the labels
// ("Zorel Program (1-128)") fit above the numbers.
constexpr Rect kControllerBox{875, 500, 1075, 550};
constexpr Rect kPedalBox{1125, 500, 1325, 550};

const ControlSpec kProgramMapPageSpecs[] = {
    PagePicture(kProgram, "globalbg.png"),
    Button({1040, 250, 1160, 300}, kProgram, "BACK", 20, Action::kCloseProgramMapPage),
    PagePicture(kProgram, "midibrakwell.png", 850, 330),
    ProgramBox(kControllerBox, kParamMapControllerProgram, group::kMidiProgramOffset0,
               "Ctrl. Program (0-127)"),
    ProgramBox(kControllerBox, kParamMapControllerProgram1, group::kMidiProgramOffset1,
               "Ctrl. Program (1-128)"),
    ProgramBox(kPedalBox, kParamMapDeviceProgram, group::kMidiProgramOffset0,
               "Zorel Program (0-127)"),
    ProgramBox(kPedalBox, kParamMapDeviceProgram1, group::kMidiProgramOffset1,
               "Zorel Program (1-128)"),
};

// ---- About ------------------------------------------------------------------------

constexpr const char* kAbout = group::kAbout;

const ControlSpec kAboutPageSpecs[] = {
    PagePicture(kAbout, "about.png"),
    LightText({1275, 310, 1375, 360}, kTagNone, kAbout, 45, "v1.1.0"),
    // Last, so that it takes every click: any click closes the page.
    Backdrop(kAbout, Action::kCloseAbout),
};

// ---- Transfer progress --------------------------------------------------------------

constexpr const char* kProgress = group::kProgress;

const ControlSpec kProgressOverlaySpecs[] = {
    {.kind = kPanel,
     .rect = {850, 400, 1250, 800},
     .group = kProgress,
     .background = {208, 32, 32, 32}},
    LightText({850, 400, 1250, 470}, kTagProgressTitle, kProgress, 40, "Loading Presets..."),
    ProgressKnob({950, 500, 1150, 700}, kTagProgressKnob, kProgress, "PRESET"),
    LightText({850, 400, 1250, 800}, kTagProgressText, kProgress, 60, "0 %"),
};

} // namespace

const LayoutTable kFirmwarePage = kFirmwarePageSpecs;
const LayoutTable kGlobalSettingsPage = kGlobalSettingsSpecs;
const LayoutTable kMidiCCPage = kMidiCCPageSpecs;
const LayoutTable kProgramMapPage = kProgramMapPageSpecs;
const LayoutTable kAboutPage = kAboutPageSpecs;
const LayoutTable kProgressOverlay = kProgressOverlaySpecs;

} // namespace zorel::ui::layout

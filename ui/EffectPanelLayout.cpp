// The effect panels below the pedal, one at a time on screen, and the
// custom IR list page. Knobs bring their caption, readout and unit
// (KnobTexts); entries without a group belong to their panel's group.
#include <array>
#include <vector>

#include "library/LibraryTables.h"
#include "protocol/codec/ParamIds.h"
#include "ui/LayoutTables.h"

namespace zorel::ui::layout {

namespace {

using enum Kind;

constexpr ControlSpec Knob(Kind kind, float left, float top, int param, const char* label, int tag,
                           const char* readout, const char* unit) {
  const float side = kind == kLargeKnob ? 200.f : 120.f;
  return {.kind = kind,
          .rect = {left, top, left + side, top + side},
          .param = param,
          .look = {.style = StyleId::kKnob},
          .text = label,
          .knob = {.readout = readout, .unit = unit, .readoutTag = tag}};
}
constexpr ControlSpec LargeKnob(float left, float top, int param, const char* label, int tag,
                                const char* readout, const char* unit) {
  return Knob(kLargeKnob, left, top, param, label, tag, readout, unit);
}
constexpr ControlSpec SmallKnob(float left, float top, int param, const char* label, int tag,
                                const char* readout, const char* unit) {
  return Knob(kSmallKnob, left, top, param, label, tag, readout, unit);
}
constexpr ControlSpec WithGroups(ControlSpec spec, const char* group, const char* companion) {
  spec.group = group;
  spec.knob.companionGroup = companion;
  return spec;
}
constexpr ControlSpec WithCaption(ControlSpec spec, const char* caption) {
  spec.knob.caption = caption;
  return spec;
}

// The two long titles reach to the panel's right edge: the bundled display
// face sets them wider than 400 units.
constexpr ControlSpec Title(const char* text, int tag = kTagNone, bool wide = false) {
  return {.kind = kText,
          .rect = {400, 664, wide ? 1080.f : 700.f, 734},
          .tag = tag,
          .look = {.text = TextId::kSectionTitle},
          .text = text};
}

constexpr ControlSpec SmallCaption(Rect rect, const char* text) {
  return {.kind = kText, .rect = rect, .look = {.text = TextId::kSmallCaption}, .text = text};
}

// The two rows of model and type buttons share their columns; the rows are
// 35 units apart, the pictures' faces fill the top of their frames.
constexpr std::array<float, 5> kChoiceColumns = {354, 517, 657, 798, 938};
constexpr const char* kAmpModelPictures[kAmpModelButtons] = {
    "amp-lowdriver.png", "amp-qsbass.png", "amp-duodriver.png", "amp-vintage.png",
    "amp-modern.png",    "amp-lid.png",    "amp-qsstack.png",   "amp-darkface.png",
    "amp-isle.png",      "amp-razor.png"};
constexpr const char* kAmbiencePictures[kAmbienceButtons] = {
    "radio-room.png",   "radio-hall.png", "radio-spring.png",  "radio-plate.png",
    "radio-chorus.png", "radio-echo.png", "radio-echoverb.png"};

constexpr ControlSpec ChoiceButtons(int firstTag, int count, std::span<const char* const> pictures,
                                    Action action) {
  return {.kind = kPictureButton,
          .rect = At(kChoiceColumns[0], 730),
          .tag = firstTag,
          .frames = 2,
          .action = action,
          .rows = {.count = count,
                   .perLine = 5,
                   .lineStepY = 35,
                   .lineXs = kChoiceColumns,
                   .pictures = pictures}};
}

const ControlSpec kAmbienceSpecs[] = {
    ChoiceButtons(kTagAmbienceButtonFirst, kAmbienceButtons, kAmbiencePictures,
                  Action::kAmbienceType),
    LargeKnob(380, 890, kParamReverb, "LEVEL", kTagAmbienceLevel, "50.00", "%"),
    LargeKnob(630, 890, kParamReverbDecayTime, "DECAY", kTagAmbienceDecay, "0.00", "%"),
    WithGroups(LargeKnob(880, 890, kParamReverbRoomSize, "TIME", kTagAmbienceTime, "0.00", "ms"),
               group::kAmbienceTime, nullptr),
};

// The tagged caption above the FILTER knob names the smoothing direction;
// it takes the place of the knob's own caption.
const ControlSpec kAnalogSimSpecs[] = {
    {.kind = kText,
     .rect = {630, 780, 830, 810},
     .tag = kTagAnalogSimCaption,
     .look = {.text = TextId::kCaption},
     .text = "SMOOTHING"},
    WithCaption(LargeKnob(630, 820, kParamAnalogSim, "FILTER", kTagAnalogSimValue, "Bypass", "%"),
                ""),
};

const ControlSpec kLevelSpecs[] = {
    LargeKnob(380, 820, kParamGate, "THRESHOLD", kTagGateThreshold, "0.00", "dB"),
    LargeKnob(630, 820, kParamGateRatio, "RATIO", kTagGateRatio, "1:1", " "),
    LargeKnob(880, 820, kParamGateRelease, "RELEASE", kTagGateRelease, "50", "ms"),
    {.kind = kText,
     .rect = {605, 1040, 855, 1100},
     .tag = kTagMainLevel,
     .look = {.text = TextId::kBigValue},
     .text = "0%"},
    SmallCaption({605, 1100, 855, 1130}, "MAIN LEVEL"),
};

const ControlSpec kAmplifierSpecs[] = {
    ChoiceButtons(kTagAmpModelButtonFirst, kAmpModelButtons, kAmpModelPictures, Action::kAmpModel),
    LargeKnob(380, 890, kParamGain, "PRE-AMP", kTagPreAmp, "50.00", "%"),
    LargeKnob(630, 890, kParamDrive, "DRIVE", kTagDrive, "0.00", "%"),
    LargeKnob(880, 890, kParamCrunch, "PRESENCE", kTagPresence, "0.00", "%"),
};

// Knobs and readouts in "compcontrols", their captions, units and the rest
// in the panel's "dynamicscontrols". The threshold is the pedal's COMP knob.
constexpr ControlSpec CompressorKnob(ControlSpec knob) {
  return WithGroups(knob, group::kCompressor, group::kDynamics);
}
const ControlSpec kCompressorSpecs[] = {
    CompressorKnob(
        SmallKnob(395, 750, kParamCompressorRatio, "RATIO", kTagCompressorRatio, "1:1", nullptr)),
    CompressorKnob(SmallKnob(575, 750, kParamCompressorOutputGain, "OUTPUT GAIN",
                             kTagCompressorOutputGain, "0.00", "dB")),
    CompressorKnob(
        SmallKnob(755, 750, kParamCompressorAttack, "ATTACK", kTagCompressorAttack, "5", "ms")),
    CompressorKnob(
        SmallKnob(935, 750, kParamCompressorRelease, "RELEASE", kTagCompressorRelease, "50", "ms")),
    {.kind = kSlideSwitch,
     .rect = {495, 940, 575, 980},
     .param = kParamAutoGain,
     .look = {.style = StyleId::kSwitch},
     .text = "AUTO GAIN"},
    SmallCaption({475, 990, 595, 1020}, "AUTO GAIN"),
    {.kind = kSlideSwitch,
     .rect = {855, 940, 935, 980},
     .param = kParamLookahead,
     .look = {.style = StyleId::kSwitch},
     .text = "LOOKAHEAD"},
    SmallCaption({815, 990, 975, 1020}, "LOOKAHEAD"), // wider than the switch, like the font
    {.kind = kText,
     .rect = {595, 930, 845, 990},
     .tag = kTagCompressorThreshold,
     .group = group::kCompressor,
     .look = {.text = TextId::kBigValue},
     .text = "Bypass"},
    SmallCaption({595, 990, 845, 1020}, "THRESHOLD"),
};

// The four equaliser bands share one layout.
constexpr std::array<ControlSpec, 3> BandKnobs(int gain, int gainTag, int frequency,
                                               int frequencyTag, int quality, int qualityTag) {
  return {LargeKnob(380, 820, gain, "GAIN", gainTag, "0.00", "dB"),
          LargeKnob(630, 820, frequency, "FREQUENCY", frequencyTag, "0.00", "Hz"),
          LargeKnob(880, 820, quality, "QUALITY", qualityTag, "0.00", "Level")};
}
const auto kPunchFilterSpecs = BandKnobs(kParamPunch, kTagPunchFilterGain, kParamPunchFreq,
                                         kTagPunchFilterFreq, kParamPunchQ, kTagPunchFilterQ);
const auto kLowFilterSpecs = BandKnobs(kParamLow, kTagLowFilterGain, kParamLowFreq,
                                       kTagLowFilterFreq, kParamLowQ, kTagLowFilterQ);
const auto kMidFilterSpecs = BandKnobs(kParamMid, kTagMidFilterGain, kParamMidShift,
                                       kTagMidFilterFreq, kParamMidQ, kTagMidFilterQ);
const auto kHighFilterSpecs = BandKnobs(kParamHigh, kTagHighFilterGain, kParamHighFreq,
                                        kTagHighFilterFreq, kParamHighQ, kTagHighFilterQ);

const ControlSpec kAutoFilterSpecs[] = {
    LargeKnob(380, 820, kParamAutoFilterLevel, "LEVEL", kTagAutoFilterLevel, "0.00", "%"),
    LargeKnob(630, 820, kParamAutoFilterAttack, "ATTACK", kTagAutoFilterAttack, "0.00", "%"),
    LargeKnob(880, 820, kParamAutoFilterRelease, "RELEASE", kTagAutoFilterRelease, "0.00", "%"),
};

const ControlSpec kChorusSpecs[] = {
    WithCaption(
        SmallKnob(395, 750, kParamChorusModFreq, "FREQUENCY", kTagChorusModFreq, "0.00", "Hz"),
        "MOD. FREQ"),
    SmallKnob(575, 750, kParamChorusModDepth, "MOD. DEPTH", kTagChorusModDepth, "0.00", "%"),
    SmallKnob(755, 750, kParamChorusDelaySize, "DELAY SIZE", kTagChorusDelaySize, "0.00", "%"),
    SmallKnob(935, 750, kParamChorusFeedback, "FEEDBACK", kTagChorusFeedback, "0", "%"),
    LargeKnob(630, 960, kParamChorusLevel, "LEVEL", kTagChorusLevel, "Bypass", "%"),
};

const PanelSpec kPanels[] = {
    {group::kAmbience, kAmbienceSpecs, Title("AMBIENCE")},
    {group::kAnalogSim, kAnalogSimSpecs, Title("ANALOG SIM.")},
    {group::kLevel, kLevelSpecs, Title("GATE & MASTER LEVEL", kTagNone, true)},
    {group::kDrive, kAmplifierSpecs, Title("AMPLIFIER")},
    {group::kDynamics, kCompressorSpecs, Title("COMPRESSOR", kTagCompressorTitle)},
    {group::kPunchFilter, kPunchFilterSpecs, Title("MID FILTER")},
    {group::kLowFilter, kLowFilterSpecs, Title("LOW FILTER")},
    {group::kMidFilter, kMidFilterSpecs, Title("MID FILTER")},
    {group::kHighFilter, kHighFilterSpecs, Title("HIGH FILTER")},
    {group::kAutoFilter, kAutoFilterSpecs, Title("AUTO FILTER")},
    {group::kChorus, kChorusSpecs, Title("CHORUS")},
};

// The IMPULSE RESPONSE panel: the cabinet position slider, the panel picture
// with the row marks and the GAIN boxes of IR 7 and 8, and their controls.
constexpr const char* kIR = group::kImpulseResponse;
constexpr Look kImportLook{.style = StyleId::kButton, .size = 18};
const ControlSpec kImpulseResponseSpecs[] = {
    {.kind = kText,
     .rect = {400, 664, 1080, 734},
     .group = kIR,
     .look = {.text = TextId::kSectionTitle},
     .text = "IMPULSE RESPONSE"},
    {.kind = kPicture, .rect = At(429, 705), .group = kIR, .picture = "irbg.png"},
    {.kind = kButton,
     .rect = {984, 1068, 1054, 1106},
     .tag = kTagIR7Import,
     .group = kIR,
     .look = kImportLook,
     .text = "IMPORT",
     .action = Action::kImportIR7,
     .disabled = true},
    {.kind = kButton,
     .rect = {984, 1118, 1054, 1156},
     .tag = kTagIR8Import,
     .group = kIR,
     .look = kImportLook,
     .text = "IMPORT",
     .action = Action::kImportIR8,
     .disabled = true},
    // The custom IR list for IR 7 / IR 8, usable while that IR is on.
    {.kind = kButton,
     .rect = {864, 672, 968, 708},
     .tag = kTagIR7List,
     .group = kIR,
     .look = {.style = StyleId::kButton, .size = 16},
     .text = "IR 7 LIST",
     .action = Action::kOpenIR7List,
     .disabled = true},
    {.kind = kButton,
     .rect = {976, 672, 1080, 708},
     .tag = kTagIR8List,
     .group = kIR,
     .look = {.style = StyleId::kButton, .size = 16},
     .text = "IR 8 LIST",
     .action = Action::kOpenIR8List,
     .disabled = true},
    {.kind = kSlideSwitch,
     .rect = {740, 1072, 800, 1100},
     .param = kParamUserIR7Mode,
     .tag = kTagIR7ModeSwitch,
     .group = kIR,
     .look = {.style = StyleId::kSwitch},
     .text = "MODE"},
    {.kind = kSlideSwitch,
     .rect = {740, 1122, 800, 1150},
     .param = kParamUserIR8Mode,
     .tag = kTagIR8ModeSwitch,
     .group = kIR,
     .look = {.style = StyleId::kSwitch},
     .text = "MODE"},
    {.kind = kSvgKnob,
     .rect = {815, 1070, 845, 1100},
     .param = kParamUserIR7Gain,
     .tag = kTagIR7GainKnob,
     .group = kIR,
     .picture = "vector-knob.svg",
     .disabled = true},
    {.kind = kSvgKnob,
     .rect = {815, 1120, 845, 1150},
     .param = kParamUserIR8Gain,
     .tag = kTagIR8GainKnob,
     .group = kIR,
     .picture = "vector-knob.svg",
     .disabled = true},
    {.kind = kText,
     .rect = {905, 1077, 955, 1127},
     .tag = kTagIR7Gain,
     .group = kIR,
     .look = {.text = TextId::kIRGain},
     .text = "0.00"},
    {.kind = kText,
     .rect = {905, 1127, 955, 1161},
     .tag = kTagIR8Gain,
     .group = kIR,
     .look = {.text = TextId::kIRGain},
     .text = "0.00"},
    {.kind = kPictureSlider,
     .rect = {380, 717, 430, 1149},
     .param = kParamIR2,
     .tag = kTagCabinetSlider,
     .group = kIR,
     .picture = "mic.png",
     .track = "micbg.png"},
};

// Row 0 is "no cabinet"; rows 7 and 8 name the preset's user IRs when on.
const ControlSpec kCabinetListSpecs[] = {
    {.kind = kText,
     .rect = {495, 713, 725, 756},
     .tag = kTagCabinetRowFirst,
     .group = kIR,
     .look = {.text = TextId::kCabinetRow},
     .background = {0, 38, 38, 38},
     .keep = Keep::kCabinetRow,
     .rows = {.count = lib::kCabinetCount,
              .stepY = 50,
              .text = RowText::kCabinetName,
              .firstTaggedRow = 1}},
    {.kind = kListSelect,
     .rect = {445, 713, 695, 1163},
     .param = kParamIRListRow,
     .group = kIR,
     .keep = Keep::kCabinetListSelect},
};

// 32 names of one bank in two columns of 16, each column with its selector.
constexpr const char* kCustom = group::kCustomIR;
const ControlSpec kCustomIRPageSpecs[] = {
    {.kind = kPanel,
     .rect = {314, 470, 1164, 1070},
     .group = kCustom,
     .background = {223, 16, 16, 16}},
    {.kind = kButton,
     .rect = {0, 0, 1920, 1200},
     .group = kCustom,
     .look = {.style = StyleId::kBackdrop},
     .text = "",
     .action = Action::kCloseCustomIRPage},
    // Wide enough for "Custom Bank 8" and "Factory Bank" with the menu mark.
    {.kind = kCaption,
     .rect = {654, 490, 874, 520},
     .param = kParamCustomIRBank,
     .group = kCustom,
     .look = {.size = 24, .colour = igraphics::COLOR_BLACK},
     .background = {255, 200, 200, 200}},
    {.kind = kText,
     .rect = {460, 550, 760, 578},
     .group = kCustom,
     .look = {.text = TextId::kCabinetRow},
     .text = "Empty Slot %d",
     .background = {255, 38, 38, 38},
     .keep = Keep::kIRNameRow,
     .rows = {.count = kIRNameRows,
              .perLine = kIRNameRows / 2,
              .stepY = 30,
              .lineStepX = 310,
              .text = RowText::kIndexFormat,
              .textBase = 1}},
    {.kind = kText,
     .rect = {314, 1036, 1164, 1064},
     .group = kCustom,
     .look = {.text = TextId::kLightBase, .size = 20, .colour = Color{255, 170, 170, 170}},
     .text = "Click a name to use it - double-click to import a WAV file into that slot"},
    {.kind = kListSelect,
     .rect = {460, 550, 760, 1030},
     .param = kParamCustomIRListLeft,
     .group = kCustom},
    {.kind = kListSelect,
     .rect = {770, 550, 1070, 1030},
     .param = kParamCustomIRListRight,
     .group = kCustom},
};

} // namespace

const std::span<const PanelSpec> kEffectPanels = kPanels;
const LayoutTable kImpulseResponsePanel = kImpulseResponseSpecs;
const LayoutTable kCabinetList = kCabinetListSpecs;
const LayoutTable kCustomIRPage = kCustomIRPageSpecs;

namespace {

// The titles with their panels' groups, as one more table.
std::vector<ControlSpec> Titles() {
  std::vector<ControlSpec> titles;
  for (const PanelSpec& panel : kEffectPanels) {
    titles.push_back(panel.title);
    titles.back().group = panel.group;
  }
  return titles;
}

} // namespace

std::span<const NamedTable> AllTables() {
  static const std::vector<ControlSpec> titles = Titles();
  static const std::vector<NamedTable> all = [] {
    std::vector<NamedTable> tables = {
        {"backgrounds", kBackgrounds},
        {"pedal knobs", kPedalKnobs},
        {"preset display", kPresetDisplay},
        {"preset list", kPresetList},
        {"pedal buttons", kPedalButtons},
        {"graph area", kGraphArea},
        {"preset name and device", kPresetNameAndDevice},
    };
    for (const PanelSpec& panel : kEffectPanels)
      tables.push_back({panel.group, panel.controls, panel.group});
    tables.push_back({"section titles", titles});
    tables.push_back({"impulse response", kImpulseResponsePanel});
    tables.push_back({"cabinet list", kCabinetList});
    tables.push_back({"custom IR page", kCustomIRPage});
    tables.push_back({"firmware page", kFirmwarePage});
    tables.push_back({"global settings page", kGlobalSettingsPage});
    tables.push_back({"MIDI CC page", kMidiCCPage});
    tables.push_back({"program map page", kProgramMapPage});
    tables.push_back({"about page", kAboutPage});
    tables.push_back({"progress overlay", kProgressOverlay});
    return tables;
  }();
  return all;
}

} // namespace zorel::ui::layout

// The main surface: backgrounds, the pedal with its knobs, display and
// switches, the preset list, the graph area, the preset name and the device
// status. Positions match the artwork (tools/artwork/Layout.h), which draws
// the knob markings and labels under them.
#include "formats/DataFormats.h"
#include "protocol/codec/ParamIds.h"
#include "ui/LayoutTables.h"

namespace zorel::ui::layout {

namespace {

using enum Kind;
constexpr Color kCyan{255, 100, 255, 255};

// A pedal knob: its picture turns with the value.
constexpr ControlSpec PedalKnob(Rect rect, int param, const char* group) {
  return {.kind = kPedalKnob,
          .rect = rect,
          .param = param,
          .group = group,
          .picture = "knobrotate.png"};
}

constexpr Rect kDrivePreamp{716.5f, 136, 822.5f, 242};
constexpr Rect kLowFilter{860.5f, 136, 966.5f, 242};
constexpr Rect kMidFreq{1005, 136, 1111, 242};
constexpr Rect kHighQ{1150, 136, 1256, 242};
constexpr Rect kPresenceAmbiance{1295, 136, 1401, 242};
constexpr Rect kCompRatio{933.5f, 294.5f, 1039.5f, 400.5f};
constexpr Rect kBlendChorus{1077.5f, 294.5f, 1183.5f, 400.5f};

const ControlSpec kBackgroundSpecs[] = {
    {.kind = kBackgroundPicture, .group = group::kBackground, .picture = "background.png"},
    {.kind = kBackgroundPicture,
     .tag = kTagRedBackground,
     .group = group::kBackground,
     .picture = "backgroundred.png",
     .hidden = true},
};

// Layer A: FILTER switch off; layer B: on. The MID, FREQ and Q positions
// depend on the amp model's mid variant (pre: punch filter, post: mid filter).
const ControlSpec kPedalKnobSpecs[] = {
    PedalKnob(kDrivePreamp, kParamDrive, group::kPedalLayerA),
    PedalKnob(kDrivePreamp, kParamGain, group::kPedalLayerB),
    PedalKnob(kLowFilter, kParamLow, group::kPedalLayerA),
    PedalKnob(kLowFilter, kParamAutoFilterLevel, group::kPedalLayerB),
    PedalKnob(kMidFreq, kParamMid, group::kPedalPostA),
    PedalKnob(kMidFreq, kParamPunch, group::kPedalPreA),
    PedalKnob(kMidFreq, kParamMidShift, group::kPedalPostB),
    PedalKnob(kMidFreq, kParamPunchFreq, group::kPedalPreB),
    PedalKnob(kHighQ, kParamHigh, group::kPedalLayerA),
    PedalKnob(kHighQ, kParamMidQ, group::kPedalPostB),
    PedalKnob(kHighQ, kParamPunchQ, group::kPedalPreB),
    PedalKnob(kPresenceAmbiance, kParamCrunch, group::kPedalLayerA),
    PedalKnob(kPresenceAmbiance, kParamReverb, group::kPedalLayerB),
    PedalKnob(kCompRatio, kParamDynamics, group::kPedalLayerA),
    PedalKnob(kCompRatio, kParamCompressorRatio, group::kPedalLayerB),
    PedalKnob(kBlendChorus, kParamBlendLevel, group::kPedalLayerA),
    PedalKnob(kBlendChorus, kParamChorusModDepth, group::kPedalLayerB),
    {.kind = kPedalKnob,
     .rect = {701.5f, 279, 837.5f, 415},
     .param = kParamLevel,
     .group = group::kPedalFixed,
     .picture = "knobrotatebig.png"},
};

// Two and a half digits: preset numbers and values reach 127 (128 with the
// patch offset). The bundled seven-segment face gives "1" a whole digit's
// width, so the three digits take the display's full glass at a slightly
// smaller size.
constexpr Rect kDisplay{1212, 319, 1390, 399};
constexpr float kDisplayDigits = 80;
const ControlSpec kPresetDisplaySpecs[] = {
    {.kind = kText,
     .rect = kDisplay,
     .group = group::kPedalFixed,
     .look = {.text = TextId::kDisplayGhost, .size = kDisplayDigits},
     .text = "188"},
    {.kind = kText,
     .rect = kDisplay,
     .tag = kTagPresetDisplay,
     .group = group::kPedalFixed,
     .look = {.text = TextId::kDisplay, .size = kDisplayDigits},
     .text = "00"},
};

const ControlSpec kPresetListSpecs[] = {
    {.kind = kText,
     .rect = {1, 228, 261, 276},
     .look = {.text = TextId::kListRow},
     .text = " %02d",
     .background = {255, 38, 38, 38},
     .keep = Keep::kPresetRow,
     .rows = {.count = kPresetSlotCount,
              .stepY = presetlist::kRowHeight,
              .text = RowText::kIndexFormat,
              .textBase = 1}},
    {.kind = kListSelect,
     .rect = {1, 228, 261, 1178},
     .param = kParamPresetListRow,
     .keep = Keep::kPresetListSelect},
    {.kind = kScrollBar,
     .rect = {260, 230, 300, 1170},
     .param = kParamScroll,
     .group = group::kMain,
     .look = {.style = StyleId::kScrollBar},
     .text = "IVSliderControl"},
};

const ControlSpec kPedalButtonSpecs[] = {
    {.kind = kButton,
     .rect = {15, 170, 130, 215},
     .group = group::kMain,
     .look = {.style = StyleId::kButton, .size = 18},
     .text = "IMPORT",
     .action = Action::kLoadPresetFile},
    {.kind = kButton,
     .rect = {135, 170, 250, 215},
     .group = group::kMain,
     .look = {.style = StyleId::kButton, .size = 18},
     .text = "EXPORT",
     .action = Action::kSavePresetFile},
    {.kind = kPictureButton,
     .rect = At(1460, 510),
     .tag = kTagFootUp,
     .group = group::kPedalFixed,
     .picture = "fswitch.png",
     .frames = 2,
     .action = Action::kFootUp},
    {.kind = kPictureButton,
     .rect = At(1100, 510),
     .tag = kTagFootCentre,
     .group = group::kPedalFixed,
     .picture = "fswitch.png",
     .frames = 2,
     .action = Action::kFootCentre},
    {.kind = kPictureButton,
     .rect = At(733, 510),
     .tag = kTagFootDown,
     .group = group::kPedalFixed,
     .picture = "fswitch.png",
     .frames = 2,
     .action = Action::kFootDown},
    {.kind = kPictureButton,
     .rect = At(1459, 322),
     .tag = kTagFilterSwitch,
     .group = group::kPedalFixed,
     .picture = "fswitch.png",
     .frames = 2,
     .action = Action::kFilterSwitch},
    {.kind = kPicture,
     .rect = At(1170, 256),
     .tag = kTagFilterLamp,
     .group = group::kFilterLed,
     .picture = "led.png",
     .hidden = true},
    {.kind = kPictureButton,
     .rect = At(869, 314),
     .tag = kTagSave,
     .group = group::kPedalFixed,
     .picture = "save.png",
     .frames = 2,
     .action = Action::kSave},
};

const ControlSpec kGraphAreaSpecs[] = {
    {.kind = kResponseGraph,
     .rect = {1200, 685, 1872, 1135},
     .group = group::kIRDisplay,
     .look = {.colour = kCyan},
     .keep = Keep::kResponseGraph},
    {.kind = kDynamicsGraph,
     .rect = {1200, 700, 1865, 1130},
     .group = group::kMain,
     .look = {.colour = kCyan},
     .keep = Keep::kDynamicsGraph,
     .hidden = true},
    {.kind = kText,
     .rect = {1350, 658, 1817, 678},
     .tag = kTagClickToEditHint,
     .group = group::kMain,
     .look = {.text = TextId::kDark, .size = 24, .colour = kCyan},
     .text = "CLICK HERE TO EDIT IMPULSE RESPONSE",
     .hidden = true},
    {.kind = kSelect, .rect = {1180, 650, 1880, 1160}, .param = kParamReserved83},
};

constexpr Look kStatusLook{.text = TextId::kDark, .size = 22, .valign = igraphics::EVAlign::Middle};
constexpr Look kNoteLook{.text = TextId::kDark,
                         .size = 20,
                         .colour = kCyan,
                         .align = igraphics::EAlign::Near,
                         .valign = igraphics::EVAlign::Middle};
const ControlSpec kPresetNameAndDeviceSpecs[] = {
    {.kind = kEditableText,
     .rect = {20, 120, 260, 144},
     .tag = kTagPresetName,
     .group = group::kMain,
     .look = {.text = TextId::kDark,
              .size = 24,
              .colour = kCyan,
              .align = igraphics::EAlign::Near,
              .valign = igraphics::EVAlign::Middle},
     .text = "Movrant Zorel Default Preset Name",
     .action = Action::kRenamePreset},
    {.kind = kText,
     .rect = {660, 5, 1060, 29},
     .tag = kTagDeviceName,
     .group = group::kDevice,
     .look = kStatusLook,
     .text = ""},
    {.kind = kText,
     .rect = {660, 27, 1060, 51},
     .tag = kTagDeviceVersion,
     .group = group::kDevice,
     .look = kStatusLook,
     .text = "Connecting to the device..."},
    {.kind = kText,
     .rect = {660, 49, 1060, 73},
     .tag = kTagDeviceSerial,
     .group = group::kDevice,
     .look = kStatusLook,
     .text = ""},
    {.kind = kText,
     .rect = {1080, 5, 1900, 29},
     .tag = kTagStatusNote,
     .group = group::kDevice,
     .look = kNoteLook,
     .text = ""},
    {.kind = kText,
     .rect = {1080, 27, 1900, 51},
     .tag = kTagStatusNote2,
     .group = group::kDevice,
     .look = kNoteLook,
     .text = ""},
    {.kind = kText,
     .rect = {1080, 49, 1900, 73},
     .tag = kTagStatusNote3,
     .group = group::kDevice,
     .look = kNoteLook,
     .text = ""},
    {.kind = kButton,
     .rect = {540, 18, 655, 63},
     .group = group::kDevice,
     .look = {.style = StyleId::kButton, .size = 18},
     .text = "RECONNECT",
     .action = Action::kReconnect},
};

} // namespace

const LayoutTable kBackgrounds = kBackgroundSpecs;
const LayoutTable kPedalKnobs = kPedalKnobSpecs;
const LayoutTable kPresetDisplay = kPresetDisplaySpecs;
const LayoutTable kPresetList = kPresetListSpecs;
const LayoutTable kPedalButtons = kPedalButtonSpecs;
const LayoutTable kGraphArea = kGraphAreaSpecs;
const LayoutTable kPresetNameAndDevice = kPresetNameAndDeviceSpecs;

} // namespace zorel::ui::layout

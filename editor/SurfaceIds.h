#pragma once

// The names of the control surface: tags of single controls, groups of
// controls shown and hidden together, the effect sections, the colours the
// core gives to controls and the geometry of the preset list. The core and
// the surface both name controls only through this header, which knows
// nothing of any window or drawing.

#include <array>

namespace zorel {

// The surface's size in logical units; the window shows it at a draw scale.
inline constexpr int kUIWidth = 1920;
inline constexpr int kUIHeight = 1200;

// A colour of the control surface, each channel 0..255.
struct SurfaceColor {
  int a = 255;
  int r = 255;
  int g = 255;
  int b = 255;
  friend bool operator==(const SurfaceColor&, const SurfaceColor&) = default;
};

// Effect sections shown in the section panel; the numbers are the pedal
// editor's own and are compared as such.
enum ESection {
  kSectionNone = 0,
  kSectionCompressor = 2,
  kSectionAmbience = 3,
  kSectionImpulseResponse = 4,
  kSectionAnalogSim = 5,
  kSectionPunchFilter = 8,
  kSectionLowFilter = 10,
  kSectionMidFilter = 11,
  kSectionHighFilter = 12,
  kSectionAmplifier = 13,
  kSectionLevel = 15,
  kSectionAutoFilter = 16,
  kSectionChorus = 17,
};

// Tags of single controls. Numbers are fixed: every tag is unique and the
// surface attaches each control under exactly one of them.
enum ETag : int {
  kTagNone = -1,
  kTagPresetDisplay = 1,
  kTagCompressorTitle = 6,
  kTagCompressorThreshold = 8,
  kTagCompressorRatio = 9,
  kTagCompressorOutputGain = 10,
  kTagCompressorAttack = 11,
  kTagCompressorRelease = 12,
  kTagGateRatio = 17,
  kTagGateRelease = 19,
  kTagGateThreshold = 20,
  kTagAnalogSimValue = 21,
  kTagAnalogSimCaption = 22,
  kTagIR7ModeSwitch = 23,
  kTagIR8ModeSwitch = 24,
  kTagIR7GainKnob = 25,
  kTagIR8GainKnob = 26,
  kTagIR7Gain = 27,
  kTagIR8Gain = 28,
  kTagPunchFilterGain = 31,
  kTagPunchFilterQ = 32,
  kTagPunchFilterFreq = 33,
  kTagPresence = 34,
  kTagLowFilterGain = 36,
  kTagLowFilterQ = 37,
  kTagLowFilterFreq = 38,
  kTagMidFilterGain = 39,
  kTagMidFilterQ = 40,
  kTagMidFilterFreq = 41,
  kTagHighFilterGain = 42,
  kTagHighFilterQ = 43,
  kTagHighFilterFreq = 44,
  kTagAmbienceLevel = 45,
  kTagAmbienceDecay = 46,
  kTagAmbienceTime = 47,
  kTagDrive = 48,
  kTagPreAmp = 49,
  kTagMainLevel = 50,
  kTagAutoFilterLevel = 51,
  kTagAutoFilterAttack = 52,
  kTagAutoFilterRelease = 53,
  kTagProgressTitle = 56,
  kTagProgressKnob = 57,
  kTagProgressText = 58,
  kTagFootUp = 59,
  kTagFootDown = 60,
  kTagSave = 61,
  kTagFootCentre = 62,
  kTagFilterSwitch = 63,
  kTagFilterLamp = 64,
  kTagCabinetSlider = 65,
  kTagIR7Import = 66,
  kTagIR8Import = 67,
  kTagCabinetRowFirst = 68, // rows 1..8: 68..75
  // The cabinet list's rows 7 and 8 are the ones that name the user IRs.
  kTagIR7Name = kTagCabinetRowFirst + 6,
  kTagIR8Name = kTagCabinetRowFirst + 7,
  kTagIR7List = 76, // the buttons that open the custom IR list for IR 7 / IR 8
  kTagIR8List = 77,
  kTagAmbienceButtonFirst = 79, // types 0..6: 79..85
  kTagEchoButton = 84,
  kTagEchoverbButton = 85,
  kTagAmpModelButtonFirst = 86, // models 0..9: 86..95
  kTagChorusLevel = 97,
  kTagChorusModFreq = 98,
  kTagChorusModDepth = 99,
  kTagChorusDelaySize = 100,
  kTagChorusFeedback = 101,
  kTagClickToEditHint = 102,
  kTagRedBackground = 103,
  kTagPresetName = 148,
  kTagFirmwareProgressText = 149,
  kTagFirmwareProgressKnob = 150,
  kTagDeviceName = 151,
  kTagDeviceVersion = 152,
  kTagDeviceSerial = 153,
  // What the editor just did to the pedal, for a few seconds: three lines
  // beside the device lines.
  kTagStatusNote = 154,
  kTagFirmwareBackground = 155,
  kTagStatusNote2 = 156,
  kTagStatusNote3 = 157,
};

inline constexpr int kAmpModelButtons = 10;
inline constexpr int kAmbienceButtons = 7;

// Group names; a group is compared exactly, case included.
namespace group {
inline constexpr const char* kBackground = "background";
inline constexpr const char* kPedalFixed = "bcontrols";
inline constexpr const char* kPedalLayerA = "bcontrolsa";
inline constexpr const char* kPedalLayerB = "bcontrolsb";
inline constexpr const char* kPedalPreA = "prebcontrolsa";
inline constexpr const char* kPedalPostA = "postbcontrolsa";
inline constexpr const char* kPedalPreB = "prebcontrolsb";
inline constexpr const char* kPedalPostB = "postbcontrolsb";
inline constexpr const char* kFilterLed = "filterled";
inline constexpr const char* kMain = "maincontrols";
inline constexpr const char* kDevice = "devicecontrols";
inline constexpr const char* kIRDisplay = "irdisplay";
inline constexpr const char* kDrive = "drivecontrols";
inline constexpr const char* kDynamics = "dynamicscontrols";
inline constexpr const char* kCompressor = "compcontrols";
inline constexpr const char* kAmbience = "ambiencecontrols";
inline constexpr const char* kAmbienceTime = "ambiencecontrols2";
inline constexpr const char* kAnalogSim = "analogsimcontrols";
inline constexpr const char* kImpulseResponse = "ircontrols";
inline constexpr const char* kPunchFilter = "punchfiltercontrols";
inline constexpr const char* kLowFilter = "lowfiltercontrols";
inline constexpr const char* kMidFilter = "midfiltercontrols";
inline constexpr const char* kHighFilter = "highfiltercontrols";
inline constexpr const char* kLevel = "levelcontrols";
inline constexpr const char* kAutoFilter = "autofiltercontrols";
inline constexpr const char* kChorus = "choruscontrols";
inline constexpr const char* kGlobalSettings = "globalsettingscontrols";
inline constexpr const char* kMidiCC = "midicccontrols";
inline constexpr const char* kMidiProgram = "midiprogramcontrols";
inline constexpr const char* kMidiProgramOffset0 = "midiprogramcontrolsofs0";
inline constexpr const char* kMidiProgramOffset1 = "midiprogramcontrolsofs1";
inline constexpr const char* kCustomIR = "customircontrols";
inline constexpr const char* kFirmwareBackground = "fwbgcontrols";
inline constexpr const char* kFirmwareUpdate = "fwupdatecontrols";
inline constexpr const char* kFirmwareProgress = "firmwarecontrols";
inline constexpr const char* kAbout = "aboutcontrols";
inline constexpr const char* kProgress = "progresscontrols";
inline constexpr const char* kJack1Switch = "jack1switchcontrols";
inline constexpr const char* kJack1Pedal = "jack1pedalcontrols";
inline constexpr const char* kJack2Switch = "jack2switchcontrols";
inline constexpr const char* kJack2Pedal = "jack2pedalcontrols";

// The seven pedal-knob groups, disabled together while no pedal is connected.
inline constexpr std::array<const char*, 7> kPedalKnobGroups = {
    kPedalFixed, kPedalLayerA, kPedalLayerB, kPedalPreA, kPedalPreB, kPedalPostA, kPedalPostB};
} // namespace group

// Colours the core gives to controls.
namespace color {
inline constexpr SurfaceColor kDisplayPlain{255, 255, 255, 255};
inline constexpr SurfaceColor kDisplayModified{100, 255, 255, 255};
inline constexpr SurfaceColor kPresetRow{150, 100, 255, 255};
inline constexpr SurfaceColor kPresetRowSelected{255, 100, 255, 255};
inline constexpr SurfaceColor kIRRow{255, 120, 120, 120};
inline constexpr SurfaceColor kIRRowSelected{255, 200, 200, 200};
} // namespace color

// The preset list: 128 rows of 50 units from y = 228; the first visible row
// runs from slot 0 to slot 109, so the last 19 rows fill the list at the end.
namespace presetlist {
inline constexpr float kTop = 228.f;
inline constexpr float kRowHeight = 50.f;
} // namespace presetlist

} // namespace zorel

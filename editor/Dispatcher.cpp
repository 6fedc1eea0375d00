// The parameter-change dispatcher: every change of a parameter, whoever made
// it, passes through OnParamChange and turns into messages to the pedal,
// editor state and surface updates.
#include <algorithm>
#include <cstdio>
#include <string>

#include "editor/ZorelControl.h"
#include "protocol/codec/EditorMessages.h"
#include "protocol/codec/ParamIds.h"

namespace zorel {

namespace {

constexpr int kTagPresetDisplay = 1;
constexpr SurfaceColor kModifiedColor{100, 255, 255, 255};
constexpr SurfaceColor kUnmodifiedColor{255, 255, 255, 255};
constexpr SurfaceColor kListRowColor{150, 100, 255, 255};
constexpr SurfaceColor kListRowSelectedColor{255, 100, 255, 255};
constexpr SurfaceColor kIRRowColor{255, 120, 120, 120};
constexpr SurfaceColor kIRRowSelectedColor{255, 200, 200, 200};
constexpr int kListRows = 109;    // highest first visible row of the preset list
constexpr float kListTop = 228.f; // top of the preset list
constexpr float kListRowHeight = 50.f;

std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

bool IsChangeShownOnDisplay(int index) {
  return index != kParamIR && index != kParamUserIR7Mode && index != kParamUserIR8Mode &&
         index != kParamReverbMode && index != kParamAutoFilterOn;
}

} // namespace

int ZorelControl::ParamInt(int index) const {
  const iplug::IParam* param = ParamAt(index);
  return param ? static_cast<int>(param->Current()) : 0;
}

void ZorelControl::SetAndQueue(int paramIdx, double normalized) {
  SetParameterValue(paramIdx, normalized);
  QueueUIParameterUpdate(paramIdx, normalized, true);
}

void ZorelControl::ShowSectionIfNeeded(int section) {
  if (!mSurface.IsOpen() || mState.mActiveSection == section || mState.mSendSuppressed) return;
  mState.mActiveSection = section;
  mSurface.Post([section](IControlSurface& s) { s.ShowSection(section); });
}

void ZorelControl::Readout(int tag, int paramIdx) {
  if (!mSurface.IsOpen()) return;
  mSurface.Post([tag, paramIdx](IControlSurface& s) { s.ShowReadout(tag, paramIdx); });
}

void ZorelControl::ShowCabinetResponse(int irValue) {
  mLibrary->ShowCabinetResponse(irValue);
}

void ZorelControl::OnParamChange(int index) {
  std::lock_guard<std::recursive_mutex> lock(mEditorLock);
  const iplug::IParam* param = ParamAt(index);
  if (param == nullptr) return;
  SessionState& s = mState;
  const int u = static_cast<int>(param->Current());
  const bool open = mSurface.IsOpen();

  if (index < kNumPresetParams) {
    if (open && IsChangeShownOnDisplay(index)) {
      mSurface.Post([u](IControlSurface& c) { c.SetTagText(kTagPresetDisplay, TwoDigits(u)); });
    }
    if (s.mConnected) {
      const int number = mPedalParamNumbers[static_cast<size_t>(index)];
      if (u == s.mLiveValues[static_cast<size_t>(index)]) {
        // The user IR number parameters go out even unchanged: selecting
        // the same bank again must still reach the pedal.
        if (index >= kParamUserIR7PresetMSB && index <= kParamUserIR8Preset && !s.mSendSuppressed) {
          mSender.SendParameter(number, u);
        }
      } else {
        s.mLiveValues[static_cast<size_t>(index)] = u;
        if (!s.mSendSuppressed) {
          // The pedal ignores a modulation depth while the chorus level is
          // 0: raise the level first and hold further sends for this tick.
          if (index == kParamChorusModDepth && s.mLiveValues[kParamChorusLevel] == 0) {
            SetAndQueue(kParamChorusLevel, 64.0 / 127.0);
            s.mSendHeldThisTick = true;
          }
          if (!s.mSendHeldThisTick) mSender.SendParameter(number, u);
        }
      }
    }
    s.mDisplayShowsValue = true;
    s.mDisplayRevertTicks = 0;
  }

  // The modified indicator follows the live values against the loaded ones.
  bool modified = false;
  for (int i = 0; i < kNumPresetParams; ++i) {
    if (s.mLiveValues[static_cast<size_t>(i)] != s.mLoadedValues[static_cast<size_t>(i)])
      modified = true;
  }
  s.mPresetModified = modified;
  if (open) {
    mSurface.Post([modified](IControlSurface& c) {
      c.SetTagHidden(kTagPresetDisplay, false);
      c.SetTagTextColor(kTagPresetDisplay, modified ? kModifiedColor : kUnmodifiedColor);
    });
  }

  if (index < kNumPresetParams) {
    ReactToSoundParam(index, u);
  } else if (index <= kParamMapDeviceProgram1) {
    ReactToEditorParam(index, u);
  } else {
    ReactToJackParam(index);
  }

  if (open) mSurface.Post([](IControlSurface& c) { c.MarkAllDirty(); });
  if (s.mTrackEdits && index < kParamGateAttack) s.mPresetModified = true;
}

void ZorelControl::ReactToSoundParam(int index, int u) {
  SessionState& s = mState;
  const bool open = mSurface.IsOpen();
  switch (index) {
  case kParamLevel:
    ShowSectionIfNeeded(kSectionLevel);
    Readout(50, index);
    break;
  case kParamGain:
    ShowSectionIfNeeded(kSectionAmplifier);
    Readout(49, index);
    break;
  case kParamPunch:
  case kParamPunchFreq:
  case kParamPunchQ:
    if (open && s.mMidPre) {
      ShowSectionIfNeeded(kSectionPunchFilter);
      mSurface.Post([](IControlSurface& c) { c.ShowPunchFilterReadouts(); });
    }
    break;
  case kParamCrunch:
    ShowSectionIfNeeded(kSectionAmplifier);
    Readout(34, index);
    break;
  case kParamDrive:
    ShowSectionIfNeeded(kSectionAmplifier);
    Readout(48, index);
    break;
  case kParamLow:
    ShowSectionIfNeeded(kSectionLowFilter);
    Readout(36, index);
    break;
  case kParamHigh:
  case kParamHighQ:
  case kParamHighFreq:
    ShowSectionIfNeeded(kSectionHighFilter);
    if (open) mSurface.Post([](IControlSurface& c) { c.ShowHighFilterReadouts(); });
    break;
  case kParamReverb:
    ShowSectionIfNeeded(kSectionAmbience);
    Readout(45, index);
    if (open && s.mActiveSection == kSectionAmbience) {
      mSurface.Post([](IControlSurface& c) {
        const bool shown = c.TagValue(84) > 0 || c.TagValue(85) > 0;
        c.SetGroupHidden("ambiencecontrols2", !shown);
      });
    }
    break;
  case kParamGate:
    if (open) {
      const double db = (u / 127.0 - 1.0) * 70.0 - 30.0;
      mSurface.Post([db](IControlSurface& c) { c.SetGateThreshold(db); });
    }
    Readout(20, index);
    break;
  case kParamDynamics:
    if (open) {
      ShowSectionIfNeeded(kSectionCompressor);
      Readout(8, index);
      const double db = u / 127.0 * -60.0;
      mSurface.Post([db](IControlSurface& c) { c.SetCompressorThreshold(db); });
    }
    break;
  case kParamMid:
    if (open && !s.mMidPre) {
      ShowSectionIfNeeded(kSectionMidFilter);
      mSurface.Post([](IControlSurface& c) { c.ShowMidFilterReadouts(); });
    }
    break;
  case kParamMidShift:
    if (open) mSurface.Post([](IControlSurface& c) { c.ShowMidFilterReadouts(); });
    ShowSectionIfNeeded(kSectionMidFilter);
    break;
  case kParamMidQ:
    ShowSectionIfNeeded(kSectionMidFilter);
    if (open) mSurface.Post([](IControlSurface& c) { c.ShowMidFilterReadouts(); });
    break;
  case kParamIR:
    if (open) {
      const int shown = static_cast<int>(u / 127.0 * 80.5);
      const double mic = 1.0 - u / 127.0;
      mSurface.Post([shown, mic](IControlSurface& c) {
        c.SetTagText(kTagPresetDisplay, TwoDigits(shown));
        c.SetTagValue(65, mic);
        c.RedrawTag(65);
      });
    }
    ShowCabinetResponse(u);
    break;
  case kParamAnalogSim:
    Readout(21, index);
    Readout(22, index);
    ShowSectionIfNeeded(kSectionAnalogSim);
    break;
  case kParamReverbRoomSize:
    Readout(47, index);
    break;
  case kParamReverbDecayTime:
    Readout(46, index);
    break;
  case kParamCompressorRatio:
    ShowSectionIfNeeded(kSectionCompressor);
    Readout(9, index);
    if (open) {
      const double ratio = u / 127.0 * 19.0 + 1.0;
      mSurface.Post([ratio](IControlSurface& c) {
        if (!c.IsTagHidden(9)) c.SetCompressorRatio(ratio);
      });
    }
    break;
  case kParamCompressorOutputGain:
    Readout(10, index);
    break;
  case kParamCompressorAttack:
    Readout(11, index);
    break;
  case kParamCompressorRelease:
    Readout(12, index);
    break;
  case kParamGateRatio:
    Readout(17, index);
    if (open) {
      const double ratio = 1.0 / (u / 127.0 * 9.0 + 1.0);
      mSurface.Post([ratio](IControlSurface& c) { c.SetGateRatio(ratio); });
    }
    break;
  case kParamGateRelease:
    Readout(19, index);
    break;
  case kParamUserIR7Mode:
  case kParamUserIR8Mode: {
    const bool ir7 = index == kParamUserIR7Mode;
    const std::string name =
        u != 0 ? (ir7 ? s.mCurrentIR7Name : s.mCurrentIR8Name) : mLibrary->CabinetName(ir7 ? 7 : 8);
    (ir7 ? s.mIR7DisplayName : s.mIR8DisplayName) = name;
    if (open) {
      const bool disabled = u == 0;
      mSurface.Post([ir7, disabled, name](IControlSurface& c) {
        c.SetTagDisabled(ir7 ? 25 : 26, disabled);
        c.SetTagDisabled(ir7 ? 66 : 67, disabled);
        c.SetTagText(ir7 ? 74 : 75, name);
      });
    }
    const int ir = ParamInt(kParamIR);
    if (ir / 127.0 * 8.0 > 6.0) ShowCabinetResponse(ir);
    break;
  }
  case kParamUserIR7Gain:
    Readout(27, index);
    break;
  case kParamUserIR8Gain:
    Readout(28, index);
    break;
  case kParamLowQ:
    Readout(37, index);
    break;
  case kParamUserIR7Preset:
  case kParamUserIR8Preset:
    UpdateUserIRNumber(index, u);
    break;
  case kParamAutoFilterOn:
    s.mLiveValues[kParamAutoFilterOn] = u >= 1 ? 1 : 0;
    break;
  case kParamAutoFilterLevel:
    ShowSectionIfNeeded(kSectionAutoFilter);
    Readout(51, index);
    break;
  case kParamAutoFilterAttack:
    ShowSectionIfNeeded(kSectionAutoFilter);
    Readout(52, index);
    break;
  case kParamAutoFilterRelease:
    ShowSectionIfNeeded(kSectionAutoFilter);
    Readout(53, index);
    break;
  case kParamChorusOn:
    if (open) s.mLiveValues[kParamChorusOn] = u >= 1 ? 1 : 0;
    break;
  case kParamChorusLevel:
    Readout(97, index);
    break;
  case kParamChorusModFreq:
    Readout(98, index);
    break;
  case kParamChorusDelaySize:
    Readout(100, index);
    break;
  case kParamChorusFeedback:
    Readout(101, index);
    break;
  case kParamChorusModDepth:
    ShowSectionIfNeeded(kSectionChorus);
    Readout(99, index);
    break;
  case kParamLowFreq:
    Readout(38, index);
    ShowSectionIfNeeded(kSectionLowFilter);
    break;
  default:
    break;
  }
}

void ZorelControl::UpdateUserIRNumber(int index, int u) {
  SessionState& s = mState;
  const bool ir7 = index == kParamUserIR7Preset;
  const int number = ParamInt(ir7 ? kParamUserIR7PresetMSB : kParamUserIR8PresetMSB) * 128 + u;
  (ir7 ? s.mUserIR7Number : s.mUserIR8Number) = number;
  const bool pageActive = ir7 ? s.mIR7PageActive : s.mIR8PageActive;
  if (!pageActive || ParamInt(ir7 ? kParamUserIR7Mode : kParamUserIR8Mode) == 0) return;
  mLibrary->ReadUserIRName(number);
  char empty[32];
  std::snprintf(empty, sizeof empty, "Empty Slot %d", number % 32 + 1);
  const std::string& row = s.mIRNameRows[static_cast<size_t>(number % 32)];
  const std::string& cached = mLibrary->UserIRName(number % 256);
  // The pedal holds another IR in that slot than the cache: fetch it again.
  if (row != empty && row != cached && !s.mWavImportBusy) s.mIRRefetchPending = true;
}

void ZorelControl::SelectIRRow(int n) {
  SessionState& s = mState;
  const int previousRow = s.mUploadIRNumber % 32;
  s.mUploadIRNumber = n;
  if (!mSurface.IsOpen()) return;
  const int row = n % 32;
  mSurface.Post([previousRow, row](IControlSurface& c) {
    c.SetIRNameRowColor(previousRow, kIRRowColor);
    c.SetIRNameRowColor(row, kIRRowSelectedColor);
  });
}

void ZorelControl::OnPresetListEvent(int u) {
  SessionState& s = mState;
  const ListEvent event = mListEvent;
  mListEvent = {};
  if (event.kind == ListEvent::kClick) {
    const int previous = s.mHighlightedRow;
    const int slot = s.mListTopRow + u;
    s.mHighlightedRow = slot;
    mSurface.Post([previous, slot](IControlSurface& c) {
      c.SetPresetRowColor(previous, kListRowColor, true);
      c.SetPresetRowColor(slot, kListRowSelectedColor, true);
    });
    if (s.mConnected) {
      if (s.mStoreArmed) {
        mSurface.Post([](IControlSurface& c) { c.SetTagHidden(kTagPresetDisplay, false); });
        mSender.SendParameter(kDeviceNumberStore, slot);
        s.mStoreConfirming = true;
        s.mStoreConfirmTicks = 0;
      } else {
        mSender.SendSelectPreset(slot);
      }
    }
  } else if (event.kind == ListEvent::kWheel) {
    const int step = (event.modifiers == 1 || event.modifiers == 2) ? 1 : 3;
    s.mListTopRow = std::clamp(s.mListTopRow + (event.wheelUp ? step : -step), 0, kListRows);
    SetAndQueue(kParamScroll, (kListRows - s.mListTopRow) / static_cast<double>(kListRows));
  }
}

void ZorelControl::OnCustomIRListEvent(int index, int u) {
  SessionState& s = mState;
  const ListEvent event = mListEvent;
  mListEvent = {};
  const int n = 32 * s.mCurrentIRBank + u + (index == kParamCustomIRListRight ? 16 : 0);
  if (event.kind == ListEvent::kClick) {
    SelectIRRow(n);
    if (s.mIR7PageActive) {
      s.mUserIR7Number = n;
      s.mIRSelectStep = kParamUserIR7PresetMSB;
      SetAndQueue(kParamUserIR7PresetMSB, ((n >> 7) & 0x7F) / 127.0);
    } else if (s.mIR8PageActive) {
      s.mUserIR8Number = n;
      s.mIRSelectStep = kParamUserIR8PresetMSB;
      SetAndQueue(kParamUserIR8PresetMSB, ((n >> 7) & 0x7F) / 127.0);
    }
    ShowCabinetResponse(ParamInt(kParamIR));
    const int tag = s.mIR7PageActive ? 74 : 75;
    const std::string name = mLibrary->UserIRName(s.mUploadIRNumber % 256);
    mSurface.Post([tag, name](IControlSurface& c) { c.SetTagText(tag, name); });
  } else if (event.kind == ListEvent::kDoubleClick) {
    // Importing a WAV file into the slot comes with the library.
  }
}

void ZorelControl::ReactToEditorParam(int index, int u) {
  SessionState& s = mState;
  const bool open = mSurface.IsOpen();
  switch (index) {
  case kParamCompression:
    SetAndQueue(kParamDynamics, u / 127.0);
    break;
  case kParamScroll:
    s.mListTopRow = kListRows - u;
    if (open) {
      const int top = s.mListTopRow;
      mSurface.Post([top](IControlSurface& c) {
        for (int slot = 0; slot < SessionState::kPresetSlots; ++slot) {
          const float y = kListTop + kListRowHeight * static_cast<float>(slot - top);
          c.PlacePresetRow(slot, y, y < kListTop);
        }
      });
    }
    break;
  case kParamPresetListRow:
    if (open) OnPresetListEvent(u);
    break;
  case kParamIRListRow:
    if (open && mListEvent.kind == ListEvent::kClick) {
      mListEvent = {};
      SetAndQueue(kParamIR, std::min(u, 8) * 0.125 + 0.004);
    }
    break;
  case kParamIR2:
    SetAndQueue(kParamIR, (127 - u) / 127.0);
    break;
  case kParamReserved83:
    ShowSectionIfNeeded(kSectionImpulseResponse);
    break;
  case kParamCustomIRBank: {
    s.mCurrentIRBank = u;
    if (open) {
      const int previousRow = s.mUploadIRNumber % 32;
      const bool selectedInBank = u == s.mUploadIRNumber / 32;
      std::array<std::string, 32> names;
      for (int i = 0; i < 32; ++i)
        names[static_cast<size_t>(i)] = mLibrary->UserIRName((32 * u + i) % 256);
      mSurface.Post([previousRow, selectedInBank, names](IControlSurface& c) {
        c.SetIRNameRowColor(previousRow, kIRRowColor);
        for (int i = 0; i < 32; ++i) c.SetIRNameRowText(i, names[static_cast<size_t>(i)]);
        if (selectedInBank) c.SetIRNameRowColor(previousRow, kIRRowSelectedColor);
      });
      for (int i = 0; i < 32; ++i)
        s.mIRNameRows[static_cast<size_t>(i)] = names[static_cast<size_t>(i)];
    }
    // Asking for names makes sense only with a pedal to answer; without the
    // check the start-up reset would already send a request.
    if (s.mConnected) mSender.SendRequestIRNames(4 * u);
    break;
  }
  case kParamCustomIRListLeft:
  case kParamCustomIRListRight:
    if (open) OnCustomIRListEvent(index, u);
    break;
  case kParamPatchOffset:
    if (open) {
      const int shown = u + s.mCurrentPresetSlot;
      mSurface.Post(
          [shown](IControlSurface& c) { c.SetTagText(kTagPresetDisplay, TwoDigits(shown)); });
      mLibrary->ScanPresetFolder();
    }
    [[fallthrough]];
  case kParamDefineMidiMapping:
  case kParamMidiThruMode:
  case kParamMidiCCMode:
  case kParamMidiCCChannel:
  case kParamDisengageAllPots:
  case kParamTunerFrequency:
  case kParamPresetProtectionWriter:
  case kParamTunerDetune:
  case kParamCabinetBypass:
  case kParamSafeLevel:
    // Sent whether or not a window is open, so the command-line tool can
    // change the pedal's settings too; values from the pedal itself arrive
    // with sending suppressed and are not echoed.
    if (!s.mSendSuppressed) mSender.SendSettingsBlock(0);
    break;
  case kParamEditPotDisplayMode:
    break; // the pedal is always told 2
  case kParamMapControllerProgram:
    SetAndQueue(kParamMapDeviceProgram,
                s.mProgramMap[static_cast<size_t>(std::clamp(u, 0, 127))] / 127.0);
    break;
  case kParamMapDeviceProgram:
    s.mProgramMap[static_cast<size_t>(std::clamp(ParamInt(kParamMapControllerProgram), 0, 127))] =
        u;
    break;
  case kParamMapControllerProgram1:
    SetAndQueue(kParamMapDeviceProgram1,
                s.mProgramMap[static_cast<size_t>(std::clamp(u - 1, 0, 127))] / 127.0);
    break;
  case kParamMapDeviceProgram1:
    s.mProgramMap[static_cast<size_t>(
        std::clamp(ParamInt(kParamMapControllerProgram1) - 1, 0, 127))] = u - 1;
    break;
  default:
    break;
  }
}

// Jack and foot-controller set-up: only the groups of their page follow.
void ZorelControl::ReactToJackParam(int index) {
  if (!mSurface.IsOpen()) return;
  struct Jack {
    int mode, polarity;
    const char* switchGroup;
    const char* pedalGroup;
  };
  static constexpr Jack kJacks[] = {
      {kParamJack1Mode, kParamJack1Polarity, "jack1switchcontrols", "jack1pedalcontrols"},
      {kParamJack2Mode, kParamJack2Polarity, "jack2switchcontrols", "jack2pedalcontrols"},
  };
  for (const Jack& jack : kJacks) {
    if (index != jack.mode) continue;
    const bool switches = ParamInt(jack.mode) >= 1;
    mSurface.Post([jack, switches](IControlSurface& c) {
      c.SetGroupHidden(jack.switchGroup, !switches);
      c.SetGroupHidden(jack.pedalGroup, switches);
      c.SetParamControlsDisabled(jack.polarity, switches);
    });
  }
  struct Switch {
    int function, channel, controller, lower, upper;
  };
  static constexpr Switch kSwitches[] = {
      {kParamSwitchA1FunctionMode, kParamSwitchA1MidiChannel, kParamSwitchA1Controller,
       kParamSwitch1SpecialCtrlLower, kParamSwitch1SpecialCtrlUpper},
      {kParamSwitchB1FunctionMode, kParamSwitchB1MidiChannel, kParamSwitchB1Controller,
       kParamSwitch1SpecialCtrlLower, kParamSwitch1SpecialCtrlUpper},
      {kParamSwitchA2FunctionMode, kParamSwitchA2MidiChannel, kParamSwitchA2Controller,
       kParamSwitch2SpecialCtrlLower, kParamSwitch2SpecialCtrlUpper},
      {kParamSwitchB2FunctionMode, kParamSwitchB2MidiChannel, kParamSwitchB2Controller,
       kParamSwitch2SpecialCtrlLower, kParamSwitch2SpecialCtrlUpper},
  };
  constexpr int kFunctionStart = 2, kFunctionStop = 3, kFunctionSpecial = 5;
  for (const Switch& sw : kSwitches) {
    if (index != sw.function) continue;
    const int mode = ParamInt(sw.function);
    const bool noChannel = mode == kFunctionStart || mode == kFunctionStop;
    const bool special = mode == kFunctionSpecial;
    mSurface.Post([sw, noChannel, special](IControlSurface& c) {
      c.SetParamControlsDisabled(sw.channel, noChannel);
      c.SetParamControlsDisabled(sw.controller, noChannel);
      c.SetParamControlsDisabled(sw.lower, !special);
      c.SetParamControlsDisabled(sw.upper, !special);
    });
  }
}

} // namespace zorel

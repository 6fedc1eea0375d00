// The parameter-change dispatcher: every change of a parameter, whoever made
// it, passes through OnParamChange and turns into messages to the pedal,
// editor state and surface updates.
#include <algorithm>
#include <cstdio>
#include <string>

#include "editor/DisplayText.h"
#include "editor/ZorelControl.h"
#include "protocol/codec/EditorMessages.h"
#include "protocol/codec/ParamIds.h"

namespace zorel {

namespace {

bool IsChangeShownOnDisplay(int index) {
  return index != kParamIR && index != kParamUserIR7Mode && index != kParamUserIR8Mode &&
         index != kParamReverbMode && index != kParamAutoFilterOn;
}

// How a sound parameter shows on the surface: the section panel an edit of
// it brings forward, and the readouts that show its value. Behaviour beyond
// this (graphs, IR names, the TIME knob) is in ReactToSoundParam.
enum class Band { kNone, kPunch, kMid, kHigh };
enum class Layer { kAny, kPreOnly, kPostOnly }; // which mid variant it needs
struct SoundParamView {
  int param;
  int section = kSectionNone;
  ETag readout = kTagNone;
  ETag readout2 = kTagNone;
  Band band = Band::kNone;
  Layer layer = Layer::kAny;
  bool readoutFirst = false; // readouts before the section switch
};

constexpr SoundParamView kSoundParamViews[] = {
    {kParamLevel, kSectionLevel, kTagMainLevel},
    {kParamGain, kSectionAmplifier, kTagPreAmp},
    {kParamPunch, kSectionPunchFilter, kTagNone, kTagNone, Band::kPunch, Layer::kPreOnly},
    {kParamPunchFreq, kSectionPunchFilter, kTagNone, kTagNone, Band::kPunch, Layer::kPreOnly},
    {kParamPunchQ, kSectionPunchFilter, kTagNone, kTagNone, Band::kPunch, Layer::kPreOnly},
    {kParamCrunch, kSectionAmplifier, kTagPresence},
    {kParamDrive, kSectionAmplifier, kTagDrive},
    {kParamLow, kSectionLowFilter, kTagLowFilterGain},
    {kParamHigh, kSectionHighFilter, kTagNone, kTagNone, Band::kHigh},
    {kParamHighQ, kSectionHighFilter, kTagNone, kTagNone, Band::kHigh},
    {kParamHighFreq, kSectionHighFilter, kTagNone, kTagNone, Band::kHigh},
    {kParamReverb, kSectionAmbience, kTagAmbienceLevel},
    {kParamGate, kSectionNone, kTagGateThreshold},
    {kParamDynamics, kSectionCompressor, kTagCompressorThreshold},
    {kParamMid, kSectionMidFilter, kTagNone, kTagNone, Band::kMid, Layer::kPostOnly},
    {kParamMidShift, kSectionMidFilter, kTagNone, kTagNone, Band::kMid, Layer::kAny, true},
    {kParamMidQ, kSectionMidFilter, kTagNone, kTagNone, Band::kMid},
    {kParamAnalogSim, kSectionAnalogSim, kTagAnalogSimValue, kTagAnalogSimCaption, Band::kNone,
     Layer::kAny, true},
    {kParamReverbRoomSize, kSectionNone, kTagAmbienceTime},
    {kParamReverbDecayTime, kSectionNone, kTagAmbienceDecay},
    {kParamCompressorRatio, kSectionCompressor, kTagCompressorRatio},
    {kParamCompressorOutputGain, kSectionNone, kTagCompressorOutputGain},
    {kParamCompressorAttack, kSectionNone, kTagCompressorAttack},
    {kParamCompressorRelease, kSectionNone, kTagCompressorRelease},
    {kParamGateRatio, kSectionNone, kTagGateRatio},
    {kParamGateRelease, kSectionNone, kTagGateRelease},
    {kParamUserIR7Gain, kSectionNone, kTagIR7Gain},
    {kParamUserIR8Gain, kSectionNone, kTagIR8Gain},
    {kParamLowQ, kSectionNone, kTagLowFilterQ},
    {kParamAutoFilterLevel, kSectionAutoFilter, kTagAutoFilterLevel},
    {kParamAutoFilterAttack, kSectionAutoFilter, kTagAutoFilterAttack},
    {kParamAutoFilterRelease, kSectionAutoFilter, kTagAutoFilterRelease},
    {kParamChorusLevel, kSectionNone, kTagChorusLevel},
    {kParamChorusModFreq, kSectionNone, kTagChorusModFreq},
    {kParamChorusModDepth, kSectionChorus, kTagChorusModDepth},
    {kParamChorusDelaySize, kSectionNone, kTagChorusDelaySize},
    {kParamChorusFeedback, kSectionNone, kTagChorusFeedback},
    {kParamLowFreq, kSectionLowFilter, kTagLowFilterFreq, kTagNone, Band::kNone, Layer::kAny, true},
};

// The table by parameter index, built once.
const SoundParamView* ViewOf(int index) {
  static const auto byIndex = [] {
    std::array<const SoundParamView*, kNumPresetParams> table{};
    for (const SoundParamView& view : kSoundParamViews)
      table[static_cast<size_t>(view.param)] = &view;
    return table;
  }();
  return index >= 0 && index < kNumPresetParams ? byIndex[static_cast<size_t>(index)] : nullptr;
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
  if (!mSurface.IsOpen() || mView.mActiveSection == section || mState.mSendSuppressed) return;
  SelectSection(section);
}

void ZorelControl::Readout(int tag, int paramIdx) {
  if (!mSurface.IsOpen()) return;
  mSurface.Post([tag, paramIdx](IControlSurface& s) { s.ShowReadout(tag, paramIdx); });
}

void ZorelControl::OnParamChange(int index) {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  const iplug::IParam* param = ParamAt(index);
  if (param == nullptr) return;
  SessionState& s = mState;
  const int u = static_cast<int>(param->Current());
  const bool open = mSurface.IsOpen();

  // A change of the preset made by the user, not one from the pedal, a
  // file or the history itself. Outside a gesture (the shell, a prompt's
  // answer) it is a step of its own.
  const bool presetParam = index < kNumPresetParams;
  const bool userEdit = presetParam && !mReplaying &&
                        u != mShownValues[static_cast<size_t>(index)] &&
                        (mHistory.InGesture() || !s.mSendSuppressed);
  if (userEdit && mComparing) LeaveCompareInPlace();
  const bool ownStep = userEdit && !mHistory.InGesture();
  if (ownStep) mHistory.Begin(CurrentSnapshot());

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
    mView.mDisplayShowsValue = true;
    mView.mDisplayRevertTicks = 0;
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
      c.SetTagTextColor(kTagPresetDisplay,
                        modified ? color::kDisplayModified : color::kDisplayPlain);
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
  if (presetParam) mShownValues[static_cast<size_t>(index)] = u;
  if (ownStep) mHistory.End(CurrentSnapshot());
}

void ZorelControl::ShowBandReadouts(int band) {
  if (!mSurface.IsOpen()) return;
  mSurface.Post([band](IControlSurface& c) {
    switch (static_cast<Band>(band)) {
    case Band::kPunch:
      c.ShowPunchFilterReadouts();
      break;
    case Band::kMid:
      c.ShowMidFilterReadouts();
      break;
    case Band::kHigh:
      c.ShowHighFilterReadouts();
      break;
    case Band::kNone:
      break;
    }
  });
}

void ZorelControl::ReactToSoundParam(int index, int u) {
  SessionState& s = mState;
  const bool open = mSurface.IsOpen();
  if (const SoundParamView* view = ViewOf(index)) {
    // The punch and mid controls share the pedal's MID position: only the
    // variant the amp model uses switches its panel.
    const bool layerMatches =
        view->layer == Layer::kAny || (open && (view->layer == Layer::kPreOnly) == mView.mMidPre);
    if (layerMatches) {
      auto readouts = [&] {
        if (view->readout != kTagNone) Readout(view->readout, index);
        if (view->readout2 != kTagNone) Readout(view->readout2, index);
        ShowBandReadouts(static_cast<int>(view->band));
      };
      if (view->readoutFirst) readouts();
      if (view->section != kSectionNone) ShowSectionIfNeeded(view->section);
      if (!view->readoutFirst) readouts();
    }
  }

  switch (index) {
  case kParamReverb:
    // The TIME knob belongs to the echo types only.
    if (open && mView.mActiveSection == kSectionAmbience)
      ShowAmbienceTimeKnob(mView.mAmbienceType == 5 || mView.mAmbienceType == 6);
    break;
  case kParamGate:
    if (open) {
      const double db = (u / 127.0 - 1.0) * 70.0 - 30.0;
      mSurface.Post([db](IControlSurface& c) { c.SetGateThreshold(db); });
    }
    break;
  case kParamDynamics:
    if (open) {
      const double db = u / 127.0 * -60.0;
      mSurface.Post([db](IControlSurface& c) { c.SetCompressorThreshold(db); });
    }
    break;
  case kParamIR:
    if (open) {
      const std::string shown = TwoDigits(static_cast<int>(u / 127.0 * 80.5));
      const double mic = 1.0 - u / 127.0;
      mSurface.Post([shown, mic](IControlSurface& c) {
        c.SetTagText(kTagPresetDisplay, shown);
        c.SetTagValue(kTagCabinetSlider, mic);
        c.RedrawTag(kTagCabinetSlider);
      });
    }
    ShowCabinetResponse(u);
    break;
  case kParamCompressorRatio:
    // The compressor's readouts are on screen exactly while its panel is.
    if (open && mView.mActiveSection == kSectionCompressor) {
      const double ratio = u / 127.0 * 19.0 + 1.0;
      mSurface.Post([ratio](IControlSurface& c) { c.SetCompressorRatio(ratio); });
    }
    break;
  case kParamGateRatio:
    if (open) {
      const double ratio = 1.0 / (u / 127.0 * 9.0 + 1.0);
      mSurface.Post([ratio](IControlSurface& c) { c.SetGateRatio(ratio); });
    }
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
        c.SetTagDisabled(ir7 ? kTagIR7GainKnob : kTagIR8GainKnob, disabled);
        c.SetTagDisabled(ir7 ? kTagIR7Import : kTagIR8Import, disabled);
        c.SetTagDisabled(ir7 ? kTagIR7List : kTagIR8List, disabled);
        c.SetTagText(ir7 ? kTagIR7Name : kTagIR8Name, name);
      });
    }
    const int ir = ParamInt(kParamIR);
    if (ir / 127.0 * 8.0 > 6.0) ShowCabinetResponse(ir);
    break;
  }
  case kParamUserIR7Preset:
  case kParamUserIR8Preset:
    UpdateUserIRNumber(index, u);
    break;
  case kParamAutoFilterOn:
    s.mLiveValues[kParamAutoFilterOn] = u >= 1 ? 1 : 0;
    break;
  case kParamChorusOn:
    if (open) s.mLiveValues[kParamChorusOn] = u >= 1 ? 1 : 0;
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
  std::snprintf(empty, sizeof empty, "Empty Slot %d", number % kIRNameRows + 1);
  const std::string& row = s.mIRNameRows[static_cast<size_t>(number % kIRNameRows)];
  const std::string& cached = mLibrary->UserIRName(number);
  // The pedal holds another IR in that slot than the cache: fetch it again.
  if (row != empty && row != cached && !s.mWavImportBusy) s.mIRRefetchPending = true;
}

void ZorelControl::SelectIRRow(int n) {
  SessionState& s = mState;
  const int previousRow = s.mUploadIRNumber % kIRNameRows;
  s.mUploadIRNumber = n;
  if (!mSurface.IsOpen()) return;
  const int row = n % kIRNameRows;
  mSurface.Post([previousRow, row](IControlSurface& c) {
    c.SetIRNameRowColor(previousRow, color::kIRRow);
    c.SetIRNameRowColor(row, color::kIRRowSelected);
  });
}

// The user IR list opens at the bank of the IR the preset gives IR 7 (or
// IR 8) now, with that IR's row lit; a click on a name then gives that IR
// to the same position, and the rows show the names the pedal reports.
void ZorelControl::OpenUserIRList(bool ir7) {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  SessionState& s = mState;
  if (!mSurface.IsOpen()) return;
  s.mIR7PageActive = ir7;
  s.mIR8PageActive = !ir7;
  const int number =
      std::clamp(ir7 ? s.mUserIR7Number : s.mUserIR8Number, 0, lib::kUserIRNameCount - 1);
  SelectIRRow(number);
  // Setting the bank fills the rows from the library and asks the pedal
  // for its names of that bank.
  if (const iplug::IParam* bank = ParamAt(kParamCustomIRBank))
    SetAndQueue(kParamCustomIRBank, bank->Normalize(number / kIRNameRows));
  mSurface.Post([](IControlSurface& c) { c.SetGroupHidden(group::kCustomIR, false); });
}

void ZorelControl::OnPresetListEvent(int u) {
  SessionState& s = mState;
  const ListEvent event = mListEvent;
  mListEvent = {};
  if (event.kind == ListEvent::kClick) {
    const int previous = s.mHighlightedRow;
    const int slot = mView.mListTopRow + u;
    s.mHighlightedRow = slot;
    mSurface.Post([previous, slot](IControlSurface& c) {
      c.SetPresetRowColor(previous, color::kPresetRow, true);
      c.SetPresetRowColor(slot, color::kPresetRowSelected, true);
    });
    if (s.mConnected) {
      if (s.mStoreArmed) {
        mSurface.Post([](IControlSurface& c) { c.SetTagHidden(kTagPresetDisplay, false); });
        // The preset in the clicked slot is kept as a snapshot first.
        if (!GuardOverwrite(Overwrite::kStore, slot, [this, slot] {
              mState.mStoreCheck = PresetSelection::StoreCheck::kNone;
              mSender.SendParameter(kDeviceNumberStore, slot);
              mState.mStoreConfirming = true;
              mConfirmTicks = 0;
            }))
          s.mStoreArmed = false;
      } else {
        mSender.SendSelectPreset(slot);
      }
    }
  } else if (event.kind == ListEvent::kWheel) {
    const int step = (event.modifiers == 1 || event.modifiers == 2) ? 1 : 3;
    mView.mListTopRow =
        std::clamp(mView.mListTopRow + (event.wheelUp ? step : -step), 0, kPresetListLastTopRow);
    SetAndQueue(kParamScroll, (kPresetListLastTopRow - mView.mListTopRow) /
                                  static_cast<double>(kPresetListLastTopRow));
  }
}

void ZorelControl::OnCustomIRListEvent(int index, int u) {
  SessionState& s = mState;
  const ListEvent event = mListEvent;
  mListEvent = {};
  const int n = kIRNameRows * s.mCurrentIRBank + u + (index == kParamCustomIRListRight ? 16 : 0);
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
    const std::string name = mLibrary->UserIRName(s.mUploadIRNumber);
    mSurface.Post([tag, name](IControlSurface& c) { c.SetTagText(tag, name); });
  } else if (event.kind == ListEvent::kDoubleClick) {
    // Only user IRs can be imported; the factory bank's rows are the pedal's.
    if (n < 256) {
      SelectIRRow(n);
      ImportWavIntoListSlot(n);
    }
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
    mView.mListTopRow = kPresetListLastTopRow - u;
    if (open) {
      const int top = mView.mListTopRow;
      mSurface.Post([top](IControlSurface& c) {
        for (int slot = 0; slot < kPresetSlotCount; ++slot) {
          const float y =
              presetlist::kTop + presetlist::kRowHeight * static_cast<float>(slot - top);
          c.PlacePresetRow(slot, y, y < presetlist::kTop);
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
      const int previousRow = s.mUploadIRNumber % kIRNameRows;
      const bool selectedInBank = u == s.mUploadIRNumber / kIRNameRows;
      std::array<std::string, kIRNameRows> names;
      for (int i = 0; i < kIRNameRows; ++i)
        names[static_cast<size_t>(i)] = mLibrary->UserIRName(kIRNameRows * u + i);
      mSurface.Post([previousRow, selectedInBank, names](IControlSurface& c) {
        c.SetIRNameRowColor(previousRow, color::kIRRow);
        for (int i = 0; i < kIRNameRows; ++i) c.SetIRNameRowText(i, names[static_cast<size_t>(i)]);
        if (selectedInBank) c.SetIRNameRowColor(previousRow, color::kIRRowSelected);
      });
      for (int i = 0; i < kIRNameRows; ++i)
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
      {kParamJack1Mode, kParamJack1Polarity, group::kJack1Switch, group::kJack1Pedal},
      {kParamJack2Mode, kParamJack2Polarity, group::kJack2Switch, group::kJack2Pedal},
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

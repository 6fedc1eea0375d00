// What the user does with the pedal over time: selecting, storing and
// recalling presets with the footswitch buttons, reconnecting, the firmware
// page and the global-settings page. Everything here runs on the
// user-interface thread under the editor lock.
#include <cstdio>
#include <string>

#include "editor/DisplayText.h"
#include "editor/ZorelControl.h"
#include "library/FileReader.h"
#include "library/Sha256.h"
#include "protocol/codec/EditorMessages.h"
#include "protocol/codec/FirmwareImageCheck.h"
#include "protocol/codec/Frame.h"
#include "protocol/codec/ParamIds.h"

namespace zorel {

namespace {

constexpr int kRepeatStartTicks = -20;
constexpr size_t kMaxFirmwareFileSize = 65536;

} // namespace

bool ZorelControl::Confirm(const std::string& text) {
  if (mModal == nullptr) return false; // nobody to ask: nothing is overwritten
  return mModal->ShowMessageDialog(text, "", MessageBoxType::kOKCancel) == MessageBoxResult::kOK;
}

void ZorelControl::ShowPresetNumber() {
  const std::string text = TwoDigits(ParamInt(kParamPatchOffset) + mState.mCurrentPresetSlot);
  mSurface.Post([text](IControlSurface& c) {
    c.SetTagText(kTagPresetDisplay, text);
    c.SetTagTextColor(kTagPresetDisplay, color::kDisplayPlain);
    c.SetTagHidden(kTagPresetDisplay, false);
  });
}

void ZorelControl::ShowNotConnected(const std::string& versionLine) {
  mSurface.Post([versionLine](IControlSurface& c) {
    c.SetTagText(kTagDeviceName, "");
    c.SetTagText(kTagDeviceVersion, versionLine);
    c.SetTagText(kTagDeviceSerial, "");
    for (const char* g : group::kPedalKnobGroups) c.SetGroupDisabled(g, true);
    c.SetGroupHidden(group::kProgress, true);
  });
}

void ZorelControl::Reconnect() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  mState.mConnected = false;
  mState.mConnectWanted = true;
  mState.mIdentityDue = true;
  ShowNotConnected("Connecting to the device...");
  // The ports too: a pedal that went and came back (or an interface that
  // was replugged) is only heard again on a port opened anew.
  if (mReopenPorts) mReopenPorts(false);
}

void ZorelControl::PortsChanged() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  // Another port may have the pedal behind it: ask at the next tick.
  mState.mIdentityDue = true;
}

void ZorelControl::PedalGone(const std::string& why) {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  SessionState& s = mState;
  const bool wasConnected = s.mConnected;
  s.mConnected = false;
  s.mConnectWanted = true;
  ShowNotConnected("The pedal is gone.");
  std::string text = "The pedal is gone: " + why +
                     ".\nEdits are not sent. It connects again by itself when its ports "
                     "return,\nor press RECONNECT.";
  if (s.mExporting) text += "\nThe export stopped; no backup file was written.";
  if (s.mImporting)
    text += "\nThe import stopped after " + std::to_string(s.mImportIndex) + " of " +
            std::to_string(s.mImportCount) + " messages; the pedal may hold part of it.";
  if (wasConnected || s.mExporting || s.mImporting) ShowNote(text);
  // A transfer cannot go on without the pedal, and must not take up again
  // halfway when it returns.
  s.mExporting = false;
  s.mImporting = false;
}

void ZorelControl::ConnectionLost() {
  ShowNotConnected("Connecting to the device...");
}

void ZorelControl::HealSilentLink(const std::string& what) {
  // A JACK client stuck after xruns, an interface replugged or a sound
  // server restarted can leave an input that hears nothing while the
  // output still sends: opened again by name, on new clients, it hears.
  if (!mReopenPorts || !mReopenPorts(true)) return;
  ShowNote("The pedal did not answer " + what + ": the MIDI ports were opened again.");
}

void ZorelControl::PedalPortsBack() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  mState.mIdentityDue = true;
  ShowNotConnected("Connecting to the device...");
  ShowNote("The pedal's MIDI ports are back: connecting.");
}

void ZorelControl::StepPreset(int delta) {
  mState.mCurrentPresetSlot = (mState.mCurrentPresetSlot + delta + 128) % 128;
  ShowPresetNumber();
  mState.mPresetModified = false;
}

void ZorelControl::PresetUp(bool press) {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  SessionState& s = mState;
  mSurface.Post([press](IControlSurface& c) { c.SetTagValue(kTagFootUp, press ? 1.0 : 0.0); });
  if (press) {
    mView.mUpHeld = true;
    mRepeatTicks = kRepeatStartTicks;
    StepPreset(+1);
    return;
  }
  mView.mUpHeld = false;
  if (s.mConnected && !s.mStoreArmed && !mRecallArmed)
    mSender.SendSelectPreset(s.mCurrentPresetSlot);
}

void ZorelControl::PresetDown(bool press) {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  SessionState& s = mState;
  mSurface.Post([press](IControlSurface& c) { c.SetTagValue(kTagFootDown, press ? 1.0 : 0.0); });
  if (press) {
    mView.mDownHeld = true;
    mRepeatTicks = kRepeatStartTicks;
    StepPreset(-1);
    return;
  }
  mView.mDownHeld = false;
  if (s.mConnected && !s.mStoreArmed && !mRecallArmed)
    mSender.SendSelectPreset(s.mCurrentPresetSlot);
}

void ZorelControl::StorePress(bool press) {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  SessionState& s = mState;
  mSurface.Post([press](IControlSurface& c) { c.SetTagValue(kTagSave, press ? 1.0 : 0.0); });
  mStorePressed = press;
  if (press) return;
  if (!s.mStoreArmed) {
    s.mStoreArmed = true; // the display starts blinking
    return;
  }
  mSurface.Post([](IControlSurface& c) { c.SetTagHidden(kTagPresetDisplay, false); });
  if (s.mConnected) {
    const int slot = s.mCurrentPresetSlot;
    if (!GuardOverwrite(Overwrite::kStore, slot, [this, slot] {
          mState.mStoreCheck = PresetSelection::StoreCheck::kNone;
          mSender.SendParameter(kDeviceNumberStore, slot);
          mConfirmTicks = 0;
          mState.mStoreConfirming = true;
        }))
      s.mStoreArmed = false;
  } else {
    s.mStoreArmed = false;
  }
}

void ZorelControl::RecallPress(bool press) {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  SessionState& s = mState;
  mSurface.Post([press](IControlSurface& c) { c.SetTagValue(kTagFootCentre, press ? 1.0 : 0.0); });
  mRecallPressed = press;
  if (press) return;
  if (!mRecallArmed) {
    mRecallArmed = true;
    return;
  }
  mSurface.Post([](IControlSurface& c) { c.SetTagHidden(kTagPresetDisplay, false); });
  if (s.mConnected) {
    mSender.SendSelectPreset(s.mCurrentPresetSlot);
    mConfirmTicks = 0;
  }
  mRecallArmed = false;
}

// Display revert, held up/down auto-repeat and the store/recall blinking,
// counted in idle ticks.
void ZorelControl::IdleButtons() {
  SessionState& s = mState;
  if (mView.mDisplayShowsValue && ++mView.mDisplayRevertTicks > 60) {
    mView.mDisplayShowsValue = false;
    mView.mDisplayRevertTicks = 0;
    const std::string text = TwoDigits(ParamInt(kParamPatchOffset) + s.mCurrentPresetSlot);
    mSurface.Post([text](IControlSurface& c) { c.SetTagText(kTagPresetDisplay, text); });
  }
  if (mView.mUpHeld || mView.mDownHeld) {
    ++mRepeatTicks;
    const bool step = mRepeatTicks > 0 && (mRepeatTicks > 20 || mRepeatTicks % 4 == 0);
    if (step) StepPreset(mView.mUpHeld ? +1 : -1);
  }
  const bool held = mView.mUpHeld || mView.mDownHeld;
  if (s.mStoreArmed) {
    if (mBlinkPhase == 2 && !held)
      mSurface.Post([](IControlSurface& c) { c.SetTagHidden(kTagPresetDisplay, true); });
    if (mBlinkPhase == 0 && !held) {
      mSurface.Post([](IControlSurface& c) { c.SetTagHidden(kTagPresetDisplay, false); });
      if (s.mStoreConfirming && ++mConfirmTicks > 10) {
        s.mStoreArmed = false;
        s.mStoreConfirming = false;
        mConfirmTicks = 0;
      }
    }
    if (++mBlinkPhase > 7) mBlinkPhase = 0;
  } else if (mRecallArmed) {
    if (mBlinkPhase == 4 && !held)
      mSurface.Post([](IControlSurface& c) { c.SetTagHidden(kTagPresetDisplay, true); });
    if (mBlinkPhase == 0 && !held)
      mSurface.Post([](IControlSurface& c) { c.SetTagHidden(kTagPresetDisplay, false); });
    if (++mBlinkPhase > 15) mBlinkPhase = 0;
  }
}

// ---- Firmware page ---------------------------------------------------------

void ZorelControl::OpenFirmwarePage() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  // No identity polling and no connection work behind the page.
  mState.mConnected = true;
  mState.mConnectWanted = false;
  mSurface.Post([](IControlSurface& c) {
    c.SetGroupHidden(group::kFirmwareBackground, false);
    c.SetGroupHidden(group::kFirmwareUpdate, false);
    c.SetGroupDisabled(group::kFirmwareUpdate, false);
    c.SetGroupDisabled(group::kMain, true);
  });
}

void ZorelControl::CloseFirmwarePage() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  mState.mConnected = false;
  mState.mConnectWanted = true;
  mSurface.Post([](IControlSurface& c) {
    c.SetGroupHidden(group::kFirmwareBackground, true);
    c.SetGroupHidden(group::kFirmwareUpdate, true);
    c.SetGroupDisabled(group::kMain, false);
  });
}

void ZorelControl::EndFirmwarePage() {
  mSurface.Post([](IControlSurface& c) {
    c.SetGroupHidden(group::kFirmwareProgress, true);
    c.SetGroupHidden(group::kFirmwareBackground, true);
    c.SetGroupHidden(group::kFirmwareUpdate, true);
    c.SetGroupDisabled(group::kMain, false);
    for (const char* g : group::kPedalKnobGroups) c.SetGroupDisabled(g, true);
  });
}

bool ZorelControl::ChooseFirmwareFile() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  if (mModal == nullptr) return false;
  std::string name = mLastFirmwarePath, folder;
  mModal->ChooseFileDialog(name, folder, FileAction::kOpen, "bin");
  if (name.empty()) return false;
  mLastFirmwarePath = name;
  LoadFirmware();
  // A snapshot that still reads from the pedal starts the update after it.
  return mFirmwareSender != nullptr || mSnapshotPrep != nullptr;
}

void ZorelControl::LoadFirmware() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  mFirmwareSender.reset();
  // Read with room to spare: an image that is too large gets the check's
  // own message rather than a reading error.
  lib::WholeFile file = lib::LoadWholeFile(mLastFirmwarePath, 4 * kMaxFirmwareFileSize);
  if (!file.Ok()) {
    ShowMessage(
        lib::FileErrorMessage(file.error, mLastFirmwarePath, file.systemError, "a firmware image"));
    return;
  }
  // The image format is the maker's; a file that is recognisably something
  // else (audio, a preset, a backup, text) is refused before anything is sent.
  const FirmwareImageCheck check = CheckFirmwareImage(file.bytes);
  if (!check.ok) {
    ShowMessage(check.userMessage);
    return;
  }
  // The user sees which file is about to be flashed: name, size, hash.
  if (!Confirm(FirmwareConfirmationText(mLastFirmwarePath, file.bytes.size(),
                                        ShortContentHash(file.bytes))))
    return;
  auto image = std::make_shared<std::vector<uint8_t>>(std::move(file.bytes));
  if (!FirmwareTransferSender(*image).Valid()) {
    ShowMessage("This is not a firmware image for the Zorel.");
    return;
  }
  GuardOverwrite(Overwrite::kFirmware, -1, [this, image] {
    mFirmwareImage = std::move(*image);
    mFirmwareSender = std::make_unique<FirmwareTransferSender>(mFirmwareImage);
    mSender.SendRaw(BuildLoaderStart());
  });
}

double ZorelControl::FirmwareProgress() const {
  if (!mState.mFirmwareActive || !mFirmwareSender || mFirmwareSender->Total() == 0) return -1.0;
  return static_cast<double>(mFirmwareSender->Position()) / mFirmwareSender->Total();
}

// One chunk per tick once the loader is ready; the loader's checksum check
// decides whether the image took.
void ZorelControl::SendFirmwareChunk() {
  SessionState& s = mState;
  if (!mFirmwareSender) {
    s.mFirmwareActive = false;
    return;
  }
  const std::vector<uint8_t> chunk = mFirmwareSender->NextChunk();
  if (!chunk.empty()) mSender.SendRaw(chunk);
  const double total = static_cast<double>(mFirmwareSender->Total());
  const double p = total > 0 ? mFirmwareSender->Position() / total : 1.0;
  if (!mFirmwareSender->Done()) {
    char text[32];
    std::snprintf(text, sizeof text, "%d %%", static_cast<int>(p * 100));
    const std::string shown = text;
    mSurface.Post([p, shown](IControlSurface& c) {
      c.SetTagValue(kTagFirmwareProgressKnob, p);
      c.SetTagText(kTagFirmwareProgressText, shown);
    });
    return;
  }
  s.mFirmwareActive = false;
  mFirmwareSender.reset();
  mSurface.Post([](IControlSurface& c) { c.SetTagText(kTagFirmwareProgressText, "100 %"); });
  ShowMessage("Firmware update finished.");
  EndFirmwarePage();
}

// ---- Global settings --------------------------------------------------------

void ZorelControl::OpenGlobalSettings() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  mState.mConnectWanted = false;
  mSurface.Post([](IControlSurface& c) { c.SetGroupHidden(group::kGlobalSettings, false); });
  mSender.SendRequestSettings(0);
}

void ZorelControl::CloseGlobalSettings() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  mState.mConnectWanted = true;
  mSurface.Post([](IControlSurface& c) { c.SetGroupHidden(group::kGlobalSettings, true); });
  mLibrary->ScanPresetFolder();
}

void ZorelControl::OpenMidiCCPage() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  mSurface.Post([](IControlSurface& c) {
    c.SetGroupHidden(group::kMidiCC, false);
    c.SetGroupHidden(group::kGlobalSettings, true);
  });
  mSender.SendRequestSettings(1);
}

void ZorelControl::CloseMidiCCPage() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  mSurface.Post([](IControlSurface& c) {
    c.SetGroupHidden(group::kMidiCC, true);
    c.SetGroupHidden(group::kGlobalSettings, false);
  });
  mSender.SendSettingsBlock(1);
}

void ZorelControl::OpenProgramMapPage() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  const bool oneBased = ParamInt(kParamPatchOffset) != 0;
  mSurface.Post([oneBased](IControlSurface& c) {
    c.SetGroupHidden(group::kMidiProgram, false);
    c.SetGroupHidden(oneBased ? group::kMidiProgramOffset1 : group::kMidiProgramOffset0, false);
    c.SetGroupHidden(group::kGlobalSettings, true);
  });
  mSender.SendRequestSettings(2);
}

void ZorelControl::CloseProgramMapPage() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  mSurface.Post([](IControlSurface& c) {
    c.SetGroupHidden(group::kMidiProgram, true);
    c.SetGroupHidden(group::kMidiProgramOffset0, true);
    c.SetGroupHidden(group::kMidiProgramOffset1, true);
    c.SetGroupHidden(group::kGlobalSettings, false);
  });
  mSender.SendSettingsBlock(2);
}

void ZorelControl::FactoryReset(int scope) {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  if (scope < 0 || scope > 2) return;
  if (!Confirm("Are you sure?")) return;
  GuardOverwrite(Overwrite::kFactoryReset, scope, [this, scope] {
    if (scope == kResetAll || scope == kResetPresets) {
      // The pedal's presets are about to change: the cache would only mislead.
      mLibrary->ClearCache();
      mLibrary->RefreshPresetList();
    }
    mSender.SendFactoryReset(scope);
  });
}

} // namespace zorel

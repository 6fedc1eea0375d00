// The editor's file work: preset files, the bulk export and import, WAV
// files turned into user IRs and their upload, the firmware-free parts of the
// File menu and the manual. The formats live in library/; this file applies
// them to the editor's parameters, names and transfers.
#include <cstdio>
#include <memory>
#include <string>

#include "editor/ZorelControl.h"
#include "formats/NameText.h"
#include "library/BulkFile.h"
#include "library/FactoryContent.h"
#include "library/FileReader.h"
#include "library/IRUpload.h"
#include "library/LibraryPaths.h"
#include "library/PresetFile.h"
#include "library/PresetFileLoad.h"
#include "library/SlotCache.h"
#include "protocol/codec/BulkCheck.h"
#include "protocol/codec/Frame.h"
#include "protocol/codec/ParamIds.h"
#include "protocol/codec/Restore.h"
#include "resources/ResourceBundle.h"

namespace zorel {

namespace {

lib::ResourceLookup BundleLookup() {
  return [](int id) { return zorel::FindResource(id); };
}

} // namespace

// ---- Export and import of the whole pedal ---------------------------------

bool WriteExportFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  return lib::WriteBulkFile(path, bytes);
}

bool ZorelControl::StartExport() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  if (mModal == nullptr) return false;
  SessionState& s = mState;
  // A backup taken while the connection is still reading the pedal would
  // mix that traffic's answers with its own.
  if (!s.mConnected || s.mBulkLoading || s.mImporting || s.mExporting || s.AwaitingReply()) {
    ShowMessage("The pedal is busy. Please wait until it is connected and idle, then try again.");
    return false;
  }
  if (!lib::ChooseExportFile(*mModal, s.mLastBulkFilePath, mLibrary->Root())) return false;
  s.mExporting = true;
  s.mExportReplyReceived = true;
  // An answer still on its way to an earlier request (the current preset
  // after connecting) is not the backup's: only the export's own requests
  // are awaited from here on.
  s.mAwaited = TransferState::Awaited::kNone;
  s.mTransferBuffer.clear();
  s.mExportPresetIndex = 0;
  s.mExportIRIndex = 0;
  s.mExportIRNeeded.fill(false);
  return true;
}

bool ZorelControl::ImportBulkFile() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  if (mModal == nullptr) return false;
  SessionState& s = mState;
  lib::BulkImport import = lib::ImportBulkFile(*mModal, s.mLastBulkFilePath);
  if (!import.ready) {
    if (import.error != lib::FileError::kNone)
      ShowMessage(
          lib::FileErrorMessage(import.error, s.mLastBulkFilePath, import.systemError, "a backup"));
    return false;
  }
  // Nothing goes to the pedal, and the cache stays as it is, unless the file
  // is a whole backup whose every preset and IR matches its own checksum.
  const BulkCheckResult check = CheckBulkImage(import.bytes, ParamInt(kParamPatchOffset));
  if (!check.Ok()) {
    ShowMessage(check.userMessage);
    return false;
  }
  auto bytes = std::make_shared<std::vector<uint8_t>>(std::move(import.bytes));
  auto irNumbers = check.irNumbers;
  return GuardOverwrite(Overwrite::kImport, -1,
                        [this, bytes, irNumbers] { ArmImport(std::move(*bytes), irNumbers); });
}

void ZorelControl::ArmImport(std::vector<uint8_t> bytes, const std::vector<int>& irNumbers) {
  SessionState& s = mState;
  // What the pedal's checksum list must say afterwards: the presets the
  // import writes, and what the cache knows of the others.
  for (int k = 0; k < kPresetSlotCount; ++k) {
    // A slot the library does not hold, or no longer trusts, is taken as
    // the all-zero preset an absent file stands for.
    const auto payload = mLibrary->Slots().ReadPresetSlot(k);
    std::vector<uint8_t> held(kBlockDataSize, 0);
    if (payload) std::copy(payload->begin(), payload->end(), held.begin());
    s.mImportExpected[static_cast<size_t>(k)] = BlockChecksum(held);
  }
  s.mTransferBuffer = std::move(bytes);
  // Counted the way the import indexes them: one message per F7.
  const auto messages = SplitStoredMessages(s.mTransferBuffer);
  s.mImportCount = static_cast<int>(messages.size());
  for (const auto& m : messages) {
    if (m.size() != kBlockMessageLength || m[kOffsetCommand] != kCmdPresetDump) continue;
    s.mImportExpected[m[7] & 0x7F] = BlockChecksum(m.subspan(kBlockDataOffset, kBlockDataSize));
  }
  // The IRs it writes are no longer known to the cache, however it ends.
  for (int number : irNumbers) mLibrary->Slots().ForgetIRSlot(number);
  s.mImportIndex = 0;
  s.mImportResult = TransferState::ImportResult::kNone;
  s.mImportResends = 0;
  s.mImporting = true;
  s.mImportReady = true;
  s.mBulkModePending = true;
  ShowTransferProgress(0.0, "0 %");
}

// ---- Preset files -----------------------------------------------------------

bool ZorelControl::SavePresetFile() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  if (mModal == nullptr) return false;
  SessionState& s = mState;
  const auto path = lib::ChoosePresetFileToSave(*mModal, s.mLastPresetFilePath, s.mPresetName);
  if (!path) return false;
  lib::PresetFileInput input;
  for (int i = 0; i < kNumPresetParams; ++i)
    input.liveValues[static_cast<size_t>(i)] = s.mLiveValues[static_cast<size_t>(i)];
  input.ir7NameText = s.mIR7DisplayName;
  input.ir8NameText = s.mIR8DisplayName;
  const lib::PresetFileWriteResult result = lib::WritePresetFile(*path, input, mLibrary->Slots());
  if (!result.written) {
    ShowMessage("The preset file could not be written.");
    return false;
  }
  s.mPresetName = result.name;
  s.mPresetModified = false;
  const std::string name = result.name;
  mSurface.Post([name](IControlSurface& c) { c.SetTagText(kTagPresetName, name); });
  return true;
}

bool ZorelControl::LoadPresetFile() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  if (mModal == nullptr) return false;
  SessionState& s = mState;
  const auto path = lib::ChoosePresetFileToLoad(*mModal, s.mLastPresetFilePath);
  if (!path) return false;
  const lib::PresetLoadContext context{s.mPresetModified, s.mLiveValues[kParamUserIR7Mode],
                                       s.mLiveValues[kParamUserIR8Mode], s.mCurrentPresetSlot};
  s.mTrackEdits = false;
  const lib::LoadedPresetFile load = lib::ReadPresetFile(*path, context, *mModal);
  switch (load.outcome) {
  case lib::PresetLoadOutcome::kIgnored:
    ShowMessage("The preset file could not be read.");
    s.mTrackEdits = true;
    return false;
  case lib::PresetLoadOutcome::kUnknownFormat:
    s.mPendingMessage = load.pendingMessage;
    s.mHasPendingMessage = true;
    s.mTrackEdits = true;
    return false;
  case lib::PresetLoadOutcome::kDamaged:
    ShowMessage(load.pendingMessage);
    s.mTrackEdits = true;
    return false;
  case lib::PresetLoadOutcome::kUnsupportedVersion:
  case lib::PresetLoadOutcome::kCancelled:
    return false;
  case lib::PresetLoadOutcome::kLoaded:
    break;
  }
  // Nothing reaches the pedal without a connection, so nothing needs a
  // snapshot then; with one, the preset slot and its two user IR slots are
  // kept first.
  if (!s.mConnected) {
    ApplyLoadedPresetFile(load);
    return true;
  }
  auto shared = std::make_shared<lib::LoadedPresetFile>(std::move(load));
  if (!GuardOverwrite(Overwrite::kLoadPresetFile, s.mCurrentPresetSlot,
                      [this, shared] { ApplyLoadedPresetFile(*shared); })) {
    s.mTrackEdits = true;
    return false;
  }
  return true;
}

void ZorelControl::ApplyLoadedPresetFile(const lib::LoadedPresetFile& load) {
  SessionState& s = mState;
  // The loaded preset is one step: undo puts the values before it back.
  BeginStep();
  mHistory.MarkWholePreset();
  for (int i = 0; i < kNumPresetParams; ++i) {
    s.mSendSuppressed = true;
    const int byte = load.values[static_cast<size_t>(i)];
    s.mLiveValues[static_cast<size_t>(i)] = byte;
    const iplug::IParam* p = ParamAt(i);
    const double n = (byte - p->Min()) / (p->Max() - p->Min());
    SetParameterValue(i, n);
    QueueUIParameterUpdate(i, n, true);
    s.mSendSuppressed = false;
  }
  s.mTrackEdits = true;
  s.mPresetModified = true;
  s.mPresetName = load.name;
  EndStep();
  if (load.ir7Name) s.mCurrentIR7Name = s.mIR7DisplayName = *load.ir7Name;
  if (load.ir8Name) s.mCurrentIR8Name = s.mIR8DisplayName = *load.ir8Name;
  {
    const std::string name = s.mPresetName, ir7 = s.mIR7DisplayName, ir8 = s.mIR8DisplayName;
    const bool has7 = load.ir7Name.has_value(), has8 = load.ir8Name.has_value();
    mSurface.Post([name, ir7, ir8, has7, has8](IControlSurface& c) {
      c.SetTagTextColor(kTagPresetDisplay, color::kDisplayModified);
      c.SetTagText(kTagPresetName, name);
      if (has7) c.SetTagText(kTagIR7Name, ir7);
      if (has8) c.SetTagText(kTagIR8Name, ir8);
    });
  }
  if (load.sendPresetNow) {
    if (s.mConnected) SendStoredPreset(Overwrite::kLoadPresetFile);
    return;
  }
  if (!load.firstBlock) return;
  s.mIR7Pending = load.ir7Pending;
  s.mIR8Pending = load.ir8Pending;
  s.mUploadIRNumber = load.firstUploadNumber;
  const lib::PreparedIRUpload upload =
      lib::PrepareFileIRUpload(mLibrary->Slots(), *load.firstBlock, load.firstUploadNumber);
  StartIRUpload(upload.number, upload.block);
}

// The pedal stored an uploaded IR: continue with the preset file's second IR,
// or send the loaded preset once all of its IRs are there.
void ZorelControl::OnIRStored() {
  SessionState& s = mState;
  if (s.mIR7Pending) {
    s.mIR7Pending = false;
    if (s.mIR8Pending) {
      const int number = ParamInt(kParamUserIR8PresetMSB) * 128 + ParamInt(kParamUserIR8Preset);
      if (auto second = lib::ReadSecondFileIR(s.mLastPresetFilePath, mLibrary->Slots(), number)) {
        s.mUploadIRNumber = number;
        StartIRUpload(second->number, second->block);
        return;
      }
      s.mIR8Pending = false;
    }
    ShowCabinetResponse(ParamInt(kParamIR));
    SendStoredPreset(Overwrite::kLoadPresetFile);
  } else if (s.mIR8Pending) {
    s.mIR8Pending = false;
    ShowCabinetResponse(ParamInt(kParamIR));
    SendStoredPreset(Overwrite::kLoadPresetFile);
  } else {
    ShowCabinetResponse(ParamInt(kParamIR));
  }
}

// ---- WAV files into user IRs ------------------------------------------------

bool ZorelControl::ImportWavForIR7() {
  return ImportWavFor(true);
}
bool ZorelControl::ImportWavForIR8() {
  return ImportWavFor(false);
}

bool ZorelControl::ImportWavFor(bool ir7) {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  SessionState& s = mState;
  if (mModal == nullptr) return false;
  s.mIR7PageActive = ir7;
  s.mIR8PageActive = !ir7;
  // Each preset owns user IR slot N for IR 7 and 128 + N for IR 8.
  const int number = s.mCurrentPresetSlot + (ir7 ? 0 : 128);
  return ImportWavInto(number, [this, ir7, number](const lib::PreparedIRUpload& upload) {
    SessionState& st = mState;
    // Only a file that was read and accepted moves the preset's IR to the
    // user slot: a refused or cancelled import leaves the pedal as it was.
    (ir7 ? st.mUserIR7Number : st.mUserIR8Number) = number;
    st.mIRSelectStep = ir7 ? kParamUserIR7PresetMSB : kParamUserIR8PresetMSB;
    st.mWavImportBusy = true;
    SetAndQueue(ir7 ? kParamUserIR7PresetMSB : kParamUserIR8PresetMSB,
                ((number >> 7) & 0x7F) / 127.0);
    st.mWavImportBusy = false;
    StartIRUpload(upload.number, upload.block);
    const std::string name = upload.name;
    (ir7 ? st.mCurrentIR7Name : st.mCurrentIR8Name) = name;
    (ir7 ? st.mIR7DisplayName : st.mIR8DisplayName) = name;
    const ETag tag = ir7 ? kTagIR7Name : kTagIR8Name;
    mSurface.Post([tag, name](IControlSurface& c) { c.SetTagText(tag, name); });
  });
}

bool ZorelControl::ImportWavInto(int number,
                                 std::function<void(const lib::PreparedIRUpload&)> then) {
  SessionState& s = mState;
  s.mWavImportBusy = true;
  s.mUploadIRNumber = number;
  auto decoded = std::make_shared<lib::DecodedWav>(
      lib::DecodeWavForImport(*mModal, mLastWavFilePath, mLibrary->Slots()));
  s.mWavImportBusy = false;
  if (decoded->outcome != lib::WavImportOutcome::kPrepared) return false;
  // The pedal's slot is overwritten: the user says so first, knowing what
  // goes and what comes, and what the slot held goes into a snapshot.
  const std::string newName = lib::TrimName(decoded->name);
  const std::string fileName = lib::FileNamePart(decoded->path);
  const std::string warning = NameWarning(lib::WavImportBaseName(decoded->path));
  std::string question;
  if (s.mConnected) {
    mLibrary->ReadUserIRName(number);
    const std::string oldName = NameFieldText(mLibrary->UserIRName(number));
    const bool named = oldName.find_first_not_of(' ') != std::string::npos;
    question = "This will overwrite user IR " + std::to_string(number + 1) +
               (named ? " \"" + oldName + "\"" : std::string()) + " on the pedal with \"" +
               newName + "\" from " + fileName +
               ". What the slot holds now is kept in a snapshot first.";
  }
  if (!warning.empty()) question += (question.empty() ? "" : "\n") + warning;
  if (!question.empty() && !Confirm(question + "\nAre you sure to continue?")) return false;
  auto finish = [this, number, decoded, then] {
    // The working buffer may have shown another IR while the snapshot was
    // read: the decoded samples go back in before the block is built.
    mLibrary->Tables().mIRBuffer = decoded->samples;
    const lib::PreparedIRUpload upload =
        lib::PrepareIRUpload(mLibrary->Slots(), decoded->name, number);
    const std::string name = upload.name;
    mLibrary->Tables().mUserIRNames[static_cast<size_t>(number)] = name;
    // The list row now names what the cache holds, so the selection that
    // follows does not take the pedal's older IR for a stale cache.
    const int row = number % kIRNameRows;
    mState.mIRNameRows[static_cast<size_t>(row)] = name;
    mSurface.Post([row, name](IControlSurface& c) { c.SetIRNameRowText(row, name); });
    then(upload);
  };
  if (!s.mConnected) {
    finish();
    return true;
  }
  return GuardOverwrite(Overwrite::kImportIR, number, finish);
}

// A double click on a row of the custom IR list imports a WAV file into that
// user IR slot, without changing which IRs the preset plays.
bool ZorelControl::ImportWavIntoListSlot(int number) {
  if (mModal == nullptr || number < 0 || number >= 256) return false;
  return ImportWavInto(number, [this](const lib::PreparedIRUpload& upload) {
    StartIRUpload(upload.number, upload.block);
  });
}

// Packs the block and hands it to the device tick; restarts a running one.
void ZorelControl::StartIRUpload(int number, std::span<const uint8_t> block) {
  if (block.size() != kIRBlockSize) return;
  mIRSender = std::make_unique<IRTransferSender>(
      number, std::span<const uint8_t, kIRBlockSize>(block.data(), kIRBlockSize));
  // Without a pedal the slot file is written and nothing is sent.
  if (mState.mConnected) mState.mIRUploadRunning = true;
}

double ZorelControl::IRUploadProgress() const {
  // A stream prepared while no pedal listens never moves: no progress then.
  if (!mIRSender || mIRSender->Total() == 0) return -1.0;
  if (!mState.mIRUploadRunning && mIRSender->Position() == 0) return -1.0;
  return static_cast<double>(mIRSender->Position()) / mIRSender->Total();
}

// The first chunk waits for the pedal's "ready", the middle ones go one per
// tick, the last one waits for "stored".
void ZorelControl::SendIRUploadChunk() {
  SessionState& s = mState;
  if (!mIRSender || mIRSender->Done()) {
    s.mIRUploadRunning = false;
    return;
  }
  const bool first = mIRSender->Position() == 0;
  mSender.SendRaw(mIRSender->NextChunk());
  const double p = static_cast<double>(mIRSender->Position()) / mIRSender->Total();
  if (first) s.mIRUploadRunning = false;
  if (mIRSender->Done()) {
    s.mIRUploadRunning = false;
    mIRSender.reset();
    ShowTransferProgress(0.0, "0 %");
    HideTransferProgress();
    return;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%d %%", static_cast<int>(p * 100));
  ShowTransferProgress(p, text);
}

// ---- Start-up content and the manual ---------------------------------------

void ZorelControl::InstallLibraryContent() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  lib::SlotCache& slots = mLibrary->Slots();
  lib::InstallFactoryIRs(mLibrary->Root(), BundleLookup());
  for (int i = 0; i < lib::kFactoryIRCount; ++i) {
    if (slots.FactoryIRSlotExists(i)) slots.ReadFactoryIRName(i);
  }
  if (mLibrary->ScanPresetFolder() >= 128) mState.mBulkLoading = false;
  mLibrary->RefreshPresetList();
  for (int n = 0; n < lib::kUserIRNameCount; ++n) slots.ReadUserIRName(n);
}

bool ZorelControl::OnManualRequested() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  if (!lib::OpenManual(mLibrary->Root(), BundleLookup(), {})) {
    ShowMessage("The manual could not be opened.");
    return false;
  }
  return true;
}

bool ZorelControl::OnMenuCommand(int command) {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  switch (command) {
  case 1:
    OpenFirmwarePage();
    return true;
  case 2:
    OpenGlobalSettings();
    return true;
  case 3:
    mLibrary->ClearCache();
    mLibrary->ScanPresetFolder();
    mLibrary->RefreshPresetList();
    ShowMessage("Finished successfully!");
    return true;
  case 5:
    return ImportBulkFile();
  case 6:
    return StartExport();
  default:
    return false;
  }
}

} // namespace zorel

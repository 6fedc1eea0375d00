// Snapshots: before anything overwrites what the pedal holds, what is about
// to be overwritten goes from the library cache into the library's
// Snapshots folder, so that it can be put back. A snapshot sends nothing
// when the cache already holds everything; otherwise the device tick first
// reads what is missing (settings blocks 1 and 2, user IRs the presets use)
// with the requests the connection itself uses, and the operation follows
// once the snapshot is on disk. When no snapshot can be taken, the user is
// told why and decides whether to go on without one.
#include <algorithm>
#include <ctime>
#include <string>

#include "editor/Overwrites.h"
#include "editor/ZorelControl.h"
#include "library/BulkFile.h"
#include "library/FileReader.h"
#include "library/LibraryPaths.h"
#include "library/SlotCache.h"
#include "library/Snapshots.h"
#include "protocol/codec/BulkCheck.h"
#include "protocol/codec/EditorMessages.h"
#include "protocol/codec/ParamIds.h"
#include "protocol/codec/PresetPayload.h"
#include "protocol/codec/SnapshotImage.h"

namespace zorel {

namespace {

// A prepared snapshot waits at most this many ticks for one answer.
constexpr int kPrepAnswerTicks = 30;

const char* Describe(Overwrite op) {
  return InfoOf(op).description;
}

std::string FileTag(Overwrite op, int slot) {
  const OverwriteInfo& info = InfoOf(op);
  if (op == Overwrite::kFactoryReset)
    return std::string(info.fileTag) +
           (slot == kResetSettings ? "-settings" : (slot == kResetPresets ? "-presets" : "-all"));
  return info.perSlot ? info.fileTag + std::to_string(slot + 1) : info.fileTag;
}

bool WholePedal(Overwrite op) {
  return InfoOf(op).wholePedal;
}

// The user IRs a preset payload plays (IR 7 and IR 8 switched on).
void UsedIRs(std::span<const uint8_t> payload, std::vector<int>& out) {
  auto used = [&](int mode, int msb, int lsb) {
    if (payload[PayloadParamOffset(mode)] == 0) return;
    const int n = payload[PayloadParamOffset(msb)] * 128 + payload[PayloadParamOffset(lsb)];
    if (n < kUserIRSlotCount) out.push_back(n);
  };
  used(kParamUserIR7Mode, kParamUserIR7PresetMSB, kParamUserIR7Preset);
  used(kParamUserIR8Mode, kParamUserIR8PresetMSB, kParamUserIR8Preset);
}

} // namespace

lib::SnapshotStore& ZorelControl::Snapshots() {
  if (!mSnapshots) mSnapshots = std::make_unique<lib::SnapshotStore>(mLibrary->Root());
  return *mSnapshots;
}

bool ZorelControl::SnapshotPending() const {
  return mSnapshotPrep != nullptr;
}

// What the snapshot needs that the cache does not hold, or why none can be
// taken at all.
std::string ZorelControl::SnapshotShortfall(Overwrite op, int slot, std::vector<int>& missingIRs,
                                            bool& blocksMissing) {
  const SessionState& s = mState;
  missingIRs.clear();
  blocksMissing = false;
  if (!s.mConnected || !s.mCacheInSync)
    return "the library does not yet hold what the pedal holds (connect to the pedal first)";
  const lib::SlotCache& slots = mLibrary->Slots();
  // One user IR: read from the pedal first when the cache lacks it.
  if (op == Overwrite::kImportIR) {
    if (!slots.UserIRSlotExists(slot)) missingIRs.push_back(slot);
    return {};
  }
  if (!WholePedal(op)) {
    if (!slots.ReadPresetSlot(slot))
      return "preset " + std::to_string(ParamInt(kParamPatchOffset) + slot) +
             " is not in the library";
    return {};
  }
  std::vector<int> used;
  for (int k = 0; k < kPresetSlotCount; ++k) {
    const auto payload = slots.ReadPresetSlot(k);
    if (!payload)
      return "preset " + std::to_string(ParamInt(kParamPatchOffset) + k) + " is not in the library";
    UsedIRs(*payload, used);
  }
  for (int n : used)
    if (!slots.UserIRSlotExists(n)) missingIRs.push_back(n);
  std::sort(missingIRs.begin(), missingIRs.end());
  missingIRs.erase(std::unique(missingIRs.begin(), missingIRs.end()), missingIRs.end());
  // The pedal's settings block comes with every connection; its MIDI maps
  // (blocks 1 and 2) are in the snapshot once the settings page has read
  // them. Asking for them here would put requests before every import.
  blocksMissing = !s.mSettingsKnown[0];
  return {};
}

std::optional<std::vector<uint8_t>> ZorelControl::BuildSnapshot(Overwrite op, int slot,
                                                                std::string& why) {
  SnapshotContent content;
  std::vector<int> used;
  auto addPreset = [&](int k) {
    const auto payload = mLibrary->Slots().ReadPresetSlot(k);
    if (!payload) {
      why = "preset " + std::to_string(ParamInt(kParamPatchOffset) + k) +
            " could not be read from the library";
      return false;
    }
    SnapshotContent::Preset p;
    p.slot = k;
    p.payload = *payload;
    content.presets.push_back(p);
    UsedIRs(*payload, used);
    return true;
  };
  auto addIR = [&](int n) {
    const auto block = mLibrary->Slots().ReadUserIRBlock(n);
    if (!block) return false;
    content.irs.push_back({n, *block});
    return true;
  };
  if (op == Overwrite::kImportIR) {
    if (!addIR(slot)) {
      why = "user IR " + std::to_string(slot + 1) + " could not be read from the pedal";
      return std::nullopt;
    }
  } else if (WholePedal(op)) {
    for (int k = 0; k < kPresetSlotCount; ++k)
      if (!addPreset(k)) return std::nullopt;
    for (int n : used) {
      if (!addIR(n)) {
        why = "user IR " + std::to_string(n + 1) + " could not be read from the pedal";
        return std::nullopt;
      }
    }
    for (int type = 0; type < 3; ++type)
      if (mState.mSettingsKnown[static_cast<size_t>(type)])
        content.settingsBlocks.push_back(mSender.SettingsBlockMessage(type));
  } else {
    if (!addPreset(slot)) return std::nullopt;
    // A preset file brings its IRs into the preset's own two user IR slots.
    if (op == Overwrite::kLoadPresetFile) {
      addIR(slot);
      addIR(128 + slot);
    }
  }
  return BuildSnapshotImage(std::move(content));
}

bool ZorelControl::AskGoOnWithoutSnapshot(Overwrite op, const std::string& why) {
  // With nobody to ask (an editor without any front end) the operation
  // behaves as it always did; the window and zorelctl always ask.
  if (mModal == nullptr) return true;
  const bool goOn =
      Confirm(std::string("No snapshot could be taken before this ") + Describe(op) + ": " + why +
              ".\nNothing has been changed on the pedal yet. Go on without a "
              "snapshot?");
  if (!goOn) ShowMessage("Nothing was changed on the pedal.");
  return goOn;
}

bool ZorelControl::WriteSnapshotThen(Overwrite op, int slot, const std::function<void()>& proceed) {
  std::string why;
  const std::optional<std::vector<uint8_t>> image = BuildSnapshot(op, slot, why);
  if (!image) {
    if (!AskGoOnWithoutSnapshot(op, why)) return false;
    proceed();
    return true;
  }
  const lib::SnapshotWriteResult written =
      Snapshots().Write(FileTag(op, slot), *image, std::time(nullptr));
  if (!written.written) {
    if (!AskGoOnWithoutSnapshot(op, "the snapshot " + written.error)) return false;
    proceed();
    return true;
  }
  mLastSnapshotPath = written.path;
  proceed();
  return true;
}

bool ZorelControl::GuardOverwrite(Overwrite op, int slot, std::function<void()> proceed) {
  if (mSnapshotPrep) {
    ShowMessage("A snapshot is still being taken. Please wait until it is done, then try again.");
    return false;
  }
  mLastSnapshotPath.clear();
  std::vector<int> missingIRs;
  bool blocksMissing = false;
  const std::string why = SnapshotShortfall(op, slot, missingIRs, blocksMissing);
  if (!why.empty()) {
    if (!AskGoOnWithoutSnapshot(op, why)) return false;
    proceed();
    return true;
  }
  if (missingIRs.empty() && !blocksMissing) return WriteSnapshotThen(op, slot, proceed);
  // The rest of the snapshot comes from the pedal first; the tick goes on.
  mSnapshotPrep = std::make_unique<SnapshotPrep>();
  mSnapshotPrep->op = op;
  mSnapshotPrep->slot = slot;
  mSnapshotPrep->proceed = std::move(proceed);
  mSnapshotPrep->missingIRs = std::move(missingIRs);
  ShowTransferProgress(0.0, "0 %");
  return true;
}

// One tick of a snapshot that waits for the pedal: one request at a time,
// each after the previous answer.
void ZorelControl::StepSnapshotPrep() {
  if (!mSnapshotPrep) return;
  SessionState& s = mState;
  SnapshotPrep& p = *mSnapshotPrep;
  auto fail = [&](const std::string& why) {
    std::unique_ptr<SnapshotPrep> prep = std::move(mSnapshotPrep);
    HideTransferProgress();
    if (AskGoOnWithoutSnapshot(prep->op, why)) prep->proceed();
  };
  if (!s.mConnected) return fail("the connection to the pedal was lost");
  if (s.AwaitingReply() || s.mBulkLoading || s.mImporting || s.mExporting) {
    if (++p.ticks > 4 * kPrepAnswerTicks) fail("the pedal did not answer");
    return;
  }
  if (!s.mSettingsKnown[0]) return fail("the pedal's global settings are not known");
  while (!p.missingIRs.empty() && mLibrary->Slots().UserIRSlotExists(p.missingIRs.front()))
    p.missingIRs.erase(p.missingIRs.begin());
  if (!p.missingIRs.empty()) {
    const int n = p.missingIRs.front();
    if (p.requestedIR == n)
      return fail("user IR " + std::to_string(n + 1) + " could not be read from the pedal");
    p.requestedIR = n;
    p.ticks = 0;
    mSender.SendRequestIR(n);
    return;
  }
  std::unique_ptr<SnapshotPrep> prep = std::move(mSnapshotPrep);
  HideTransferProgress();
  WriteSnapshotThen(prep->op, prep->slot, prep->proceed);
}

// ---- Putting a snapshot back ------------------------------------------------

bool ZorelControl::RestoreSnapshot(const std::string& nameOrNumber) {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  if (mModal == nullptr) return false;
  const std::optional<lib::SnapshotInfo> info = Snapshots().Find(nameOrNumber);
  if (!info) {
    ShowMessage("There is no snapshot \"" + nameOrNumber + "\" in " + Snapshots().Folder() + ".");
    return false;
  }
  const auto bytes = Snapshots().Read(*info, 2 * lib::kBulkFileMaxSize);
  if (!bytes) {
    ShowMessage("The snapshot " + info->name + " could not be read.");
    return false;
  }
  SnapshotParts parts = SplitSnapshotImage(*bytes);
  if (!parts.ok) {
    ShowMessage(parts.problem);
    return false;
  }
  if (!mState.mConnected) {
    ShowMessage("The pedal is not connected. Please connect it, then try again.");
    return false;
  }
  const std::string what = parts.WholePedal()
                               ? "all presets, " + std::to_string(parts.irNumbers.size()) +
                                     " user IRs and the global settings"
                               : std::to_string(parts.slots.size()) + " preset(s) and " +
                                     std::to_string(parts.irNumbers.size()) + " user IR(s)";
  if (!Confirm("This operation will overwrite " + what + " on the pedal with the snapshot of " +
               info->when + " (" + info->operation + ").\nAre you sure to continue?"))
    return false;
  auto shared = std::make_shared<SnapshotParts>(std::move(parts));
  return GuardOverwrite(Overwrite::kRestoreSnapshot, -1, [this, shared] {
    // The settings go first: the import ends by reconnecting, and the
    // connection reads them back.
    for (const auto& block : shared->settings) mSender.SendRaw(block);
    ArmImport(std::move(shared->restore), shared->irNumbers);
  });
}

} // namespace zorel

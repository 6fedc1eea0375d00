#include "protocol/DeviceTick.h"

#include <cstdio>

#include "protocol/Requests.h"
#include "protocol/codec/Frame.h"
#include "protocol/codec/Restore.h"

namespace zorel {

void DeviceTick::Run() {
  SessionState& s = mState;
  s.mSendHeldThisTick = false;

  // An answer that never came is asked for again; a pedal that keeps
  // silent ends the sequence that waited for it, with a message.
  if (s.AwaitingReply() && ++s.mAwaitTicks > kReplyTimeoutTicks) {
    // Two answers in a row that never came point at a deaf input more than
    // at a lost message: the request goes again on ports opened anew.
    if (s.mRetries == 1) mEvents.LinkSilent("a request twice");
    if (!RequestAgain(s, mSender)) GiveUp(s, mSender, mEvents, kLostPedalMessage);
  }

  if (s.mFinishedPending) {
    s.mFinishedPending = false;
    mEvents.ShowMessage("Finished successfully!");
    if (mEvents.ViewOpen()) mSender.SendRequestSettings(0);
  } else if (s.mImportFinishedPending) {
    // Every message was acknowledged; "Finished successfully!" waits for
    // the checksum list of the reconnect to show the pedal holds the file.
    s.mImportFinishedPending = false;
    EndImport("");
    s.mImportVerifyPending = true;
    s.mImportVerifyTicks = 0;
  } else if (!s.mImportFailure.empty()) {
    EndImport(s.mImportFailure + "\n" + ImportedSoFar());
    s.mImportFailure.clear();
    s.mImportResult = TransferState::ImportResult::kFailed;
  }
  if (s.mImportVerifyPending && ++s.mImportVerifyTicks > kImportVerifyTimeoutTicks) {
    s.mImportVerifyPending = false;
    s.mImportResult = TransferState::ImportResult::kUnverified;
    mEvents.ShowMessage("Every message of the import was acknowledged, but the pedal did not "
                        "send its list of checksums afterwards: whether it holds the backup "
                        "is not known. Please connect again and restore the backup again.");
  }
  // An acknowledgement that never comes would leave the import waiting for
  // good: the message goes again a few times, then the import ends and says
  // what the pedal holds now.
  if (s.mImporting && !s.mImportReady && ++s.mImportWaitTicks > kImportAckTimeoutTicks &&
      !ResendUnacknowledged()) {
    s.mImporting = false;
    mSender.SendBulkMode(false);
    EndImport(std::string(kLostPedalMessage) + "\n" + ImportedSoFar());
    s.mImportResult = TransferState::ImportResult::kFailed;
  }

  // A stale IR is fetched again between transfers, never inside one: the
  // transfer's own answers would be taken for it.
  const bool transferRunning = s.mBulkLoading || s.mExporting || s.mImporting || s.AwaitingReply();
  if (s.mIRRefetchPending && !transferRunning) {
    s.mIRRefetchPending = false;
    if (s.mIR7PageActive)
      mSender.SendRequestIR(s.mUserIR7Number);
    else if (s.mIR8PageActive)
      mSender.SendRequestIR(s.mUserIR8Number);
  }

  if (s.mFirmwareActive) {
    if (mFirmwareStep) mFirmwareStep();
  } else if (s.mImporting) {
    StepImport();
  } else if (s.mExporting) {
    StepExport();
  } else if (!s.mConnected) {
    PollIdentity();
  } else if (s.mBulkLoading && s.mBulkSlot == -1) {
    StartBulkRead();
  } else if (s.mIRUploadRunning) {
    if (mUploadStep) mUploadStep();
  }
}

// Whether it completed or not, the pedal now holds other presets and IRs
// than the cache: the cache forgets them and the connection reads them anew.
void DeviceTick::EndImport(const std::string& message) {
  SessionState& s = mState;
  mEvents.HideTransferProgress();
  if (!message.empty()) mEvents.ShowMessage(message);
  mCache.ClearCache();
  mCache.RefreshPresetList();
  s.mUnconfirmedIRs.clear(); // the pedal's IRs are others now
  s.mConnected = false;
  s.mConnectWanted = true;
  s.mCacheInSync = false;
  s.mImportVerifyPending = false;
}

// How far an import that stopped early got, for its message.
std::string DeviceTick::ImportedSoFar() const {
  const SessionState& s = mState;
  const auto messages = SplitStoredMessages(s.mTransferBuffer);
  int written = 0, total = 0;
  for (size_t i = 0; i < messages.size(); ++i) {
    if (messages[i].size() <= kOffsetCommand || messages[i][kOffsetCommand] != kCmdPresetDump)
      continue;
    ++total;
    if (static_cast<int>(i) < s.mImportIndex) ++written;
  }
  char text[160];
  std::snprintf(text, sizeof text,
                "%d of %d presets were written; the other presets on the pedal are unchanged.",
                written, total);
  return text;
}

void DeviceTick::PollIdentity() {
  SessionState& s = mState;
  if (!s.mConnectWanted) {
    s.mIdentityTicks = 0;
    return;
  }
  // The first request goes out at once; a pedal that does not answer it is
  // asked again every 3.3 s.
  if (s.mIdentityDue || ++s.mIdentityTicks > kIdentityEveryTicks - 1) {
    s.mIdentityDue = false;
    s.mIdentityTicks = 0;
    // This request goes out on ports opened anew, at its usual time.
    if (s.mUnansweredPolls >= kPollsBeforeReopen && !s.mReopenedInSilence) {
      s.mReopenedInSilence = true;
      mEvents.LinkSilent(std::to_string(kPollsBeforeReopen) + " identity requests");
      s.mIdentityDue = false;
    }
    ++s.mUnansweredPolls;
    mSender.SendIdentityRequest();
  }
}

void DeviceTick::StartBulkRead() {
  SessionState& s = mState;
  if (s.mBulkModePending) {
    s.mBulkModePending = false;
    mSender.SendBulkMode(true);
    return;
  }
  s.mBulkTotal = 0;
  s.mBulkDone = 0;
  int first = -1;
  for (int k = 0; k < kPresetSlotCount; ++k) {
    if (!mCache.FetchFlag(k)) continue;
    ++s.mBulkTotal;
    if (first < 0) first = k;
  }
  if (first < 0) return;
  s.mBulkSlot = first;
  mSender.SendRequestPreset(first);
  mEvents.ShowTransferProgress(0.0, "0 %");
}

void DeviceTick::StepExport() {
  SessionState& s = mState;
  if (!s.mConnected) {
    s.mExporting = false;
    return;
  }
  if (!s.mExportReplyReceived) return;
  if (s.mExportPresetIndex < kPresetSlotCount) {
    mSender.SendRequestPreset(s.mExportPresetIndex++);
    s.mExportReplyReceived = false;
    return;
  }
  if (s.mExportIRIndex < 256) {
    for (int k = s.mExportIRIndex; k < 256; ++k) {
      if (!s.mExportIRNeeded[static_cast<size_t>(k)]) continue;
      s.mExportIRNeeded[static_cast<size_t>(k)] = false;
      s.mExportIRIndex = k + 1;
      mSender.SendRequestIR(k);
      s.mExportReplyReceived = false;
      return;
    }
    s.mExportIRIndex = 256;
    return;
  }
  s.mExporting = false;
  s.mExportReplyReceived = false;
  mEvents.HideTransferProgress();
  if (mWriteExport && !mWriteExport(s.mLastBulkFilePath, s.mTransferBuffer)) {
    mEvents.ShowMessage("The backup file could not be written.");
  } else {
    mEvents.ShowMessage("Finished successfully!");
  }
}

// A preset written twice, or an IR sent again from its first chunk, leaves
// the pedal as one write would: so a lost acknowledgement (or a lost
// message) costs a resend instead of the import. An IR's chunks go again
// from its first, since its middle chunks are not acknowledged one by one.
bool DeviceTick::ResendUnacknowledged() {
  SessionState& s = mState;
  if (++s.mImportResends > SessionState::kMaxRetries) return false;
  const auto messages = SplitStoredMessages(s.mTransferBuffer);
  int index = std::min(s.mImportIndex, static_cast<int>(messages.size()) - 1);
  if (index < 0) return false;
  auto command = [&](int i) {
    const auto m = messages[static_cast<size_t>(i)];
    return m.size() > kOffsetCommand ? m[kOffsetCommand] : uint8_t{0};
  };
  if (command(index) == kCmdIRMiddleChunk || command(index) == kCmdIRLastChunk) {
    while (index > 0 && command(index) != kCmdIRFirstChunk) --index;
    if (command(index) != kCmdIRFirstChunk) return false;
  }
  s.mImportIndex = index;
  s.mImportWaitTicks = 0;
  s.mImportReady = true;
  return true;
}

void DeviceTick::StepImport() {
  SessionState& s = mState;
  if (!s.mConnected || !s.mImportReady) return;
  if (s.mBulkModePending) {
    s.mBulkModePending = false;
    mSender.SendBulkMode(true);
    return;
  }
  s.mImportReady = false;
  s.mImportWaitTicks = 0;
  const auto messages = SplitStoredMessages(s.mTransferBuffer);
  if (s.mImportIndex >= static_cast<int>(messages.size())) {
    // The file ended early (no closing F7): the import ends here.
    s.mImporting = false;
    mSender.SendBulkMode(false);
    s.mImportFinishedPending = true;
    return;
  }
  // The running sum of a restored IR carries across its chunks.
  const auto restored = RestoreMessage(messages[static_cast<size_t>(s.mImportIndex)], mRestoreSum);
  if (!restored) {
    // A damaged message is skipped rather than sent cut: the pedal would
    // not acknowledge it and the import would stall.
    s.mImportIndex += 1;
    s.mImportReady = true;
    return;
  }
  mSender.SendRaw(*restored);
  const double p = static_cast<double>(s.mImportIndex + 1) / s.mImportCount;
  char text[32];
  std::snprintf(text, sizeof text, "%d %%", static_cast<int>(p * 100));
  mEvents.ShowTransferProgress(p, text);
  if (restored->size() > kOffsetCommand && (*restored)[kOffsetCommand] == kCmdRestoreIRMiddle) {
    s.mImportIndex += 1;
    s.mImportReady = true;
  }
}

} // namespace zorel

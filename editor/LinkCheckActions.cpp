// The link check from the editor's side: it starts only while nothing else
// talks to the pedal, and pauses the device tick while it runs (see OnTimer
// and ProcessSysEx), so the editor's state and the pedal stay as they were.
#include <chrono>

#include "editor/ZorelControl.h"

namespace zorel {

LinkCheck& ZorelControl::Doctor() {
  if (!mDoctor) {
    mDoctor = std::make_unique<LinkCheck>(mSender, [] {
      return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                       std::chrono::steady_clock::now().time_since_epoch())
                                       .count());
    });
  }
  return *mDoctor;
}

bool ZorelControl::StartLinkCheck() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  const SessionState& s = mState;
  const bool busy = s.mBulkLoading || s.mImporting || s.mExporting || s.mFirmwareActive ||
                    s.mIRUploadRunning || s.AwaitingReply() || mSnapshotPrep != nullptr;
  if (busy) {
    ShowMessage("The pedal is busy. Please wait until the transfer has ended, then try again.");
    return false;
  }
  Doctor().Start();
  return true;
}

} // namespace zorel

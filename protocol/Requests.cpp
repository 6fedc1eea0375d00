#include "protocol/Requests.h"

namespace zorel {

bool RequestAgain(SessionState& s, PedalSender& sender) {
  if (++s.mRetries > SessionState::kMaxRetries) return false;
  const int retries = s.mRetries; // a new request starts its own count
  switch (s.mAwaited) {
  case TransferState::Awaited::kPreset:
    sender.SendRequestPreset(s.mAwaitedNumber);
    break;
  case TransferState::Awaited::kIR:
    sender.SendRequestIR(s.mAwaitedNumber);
    break;
  case TransferState::Awaited::kChecksumList:
    sender.SendRequestSettings(3);
    break;
  case TransferState::Awaited::kNone:
    return false;
  }
  s.mRetries = retries;
  return true;
}

void GiveUp(SessionState& s, PedalSender& sender, ISessionEvents& events, const std::string& why) {
  const TransferState::Awaited awaited = s.mAwaited;
  s.mAwaited = TransferState::Awaited::kNone;
  s.mRetries = 0;
  s.mUnconfirmedIRs.clear(); // reads of a sequence that ended
  const bool transfer = s.mBulkLoading || s.mExporting;
  if (transfer) {
    s.mBulkLoading = false;
    s.mExporting = false;
    s.mExportIROpen = false;
    s.mTransferBuffer.clear();
    s.mSendSuppressed = false;
    sender.SendBulkMode(false);
    events.HideTransferProgress();
  }
  if (transfer || awaited == TransferState::Awaited::kChecksumList) events.ShowMessage(why);
  // A pedal that stopped answering is asked who is there again, as at start
  // (and a link that stays silent then has its ports opened again), rather
  // than left looking connected to nobody. Without the checksum list the
  // cache cannot be trusted either.
  if (s.mConnected) {
    s.mConnected = false;
    s.mIdentityDue = true;
    events.ConnectionLost();
  }
}

} // namespace zorel

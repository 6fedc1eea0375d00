#pragma once

#include <functional>
#include <string>
#include <vector>

#include "protocol/PedalSender.h"
#include "protocol/PresetCache.h"
#include "protocol/SessionEvents.h"
#include "protocol/SessionState.h"
#include "protocol/codec/Restore.h"

namespace zorel {

// One 100 ms tick of the device engine: time-outs, completion work left by
// the reply handling, and the next message of the sequence that runs.
// Sequences are paced by this tick and by the pedal's replies; nothing waits.
class DeviceTick {
public:
  static constexpr int kIdentityEveryTicks = 33; // 3.3 s
  // Unanswered identity requests after which the ports are opened again.
  static constexpr int kPollsBeforeReopen = 3;
  // After an import: the reconnect's checksum list is awaited this long.
  static constexpr int kImportVerifyTimeoutTicks = 600; // 60 s
  static constexpr int kReplyTimeoutTicks = 10;
  // A restored IR chunk or preset is acknowledged at once; 3 s is plenty.
  static constexpr int kImportAckTimeoutTicks = 30;

  DeviceTick(SessionState& state, PedalSender& sender, ISessionEvents& events, IPresetCache& cache)
      : mState(state), mSender(sender), mEvents(events), mCache(cache) {}

  void Run();

  // The chunk senders of the firmware update and the IR upload, and the
  // writer of a finished export; installed by the editor.
  std::function<void()> mFirmwareStep;
  std::function<void()> mUploadStep;
  std::function<bool(const std::string& path, const std::vector<uint8_t>& bytes)> mWriteExport;

private:
  void PollIdentity();
  void StartBulkRead();
  void StepExport();
  void StepImport();
  bool ResendUnacknowledged();
  void EndImport(const std::string& message);
  std::string ImportedSoFar() const;

  SessionState& mState;
  PedalSender& mSender;
  ISessionEvents& mEvents;
  IPresetCache& mCache;
  RestoreState mRestoreSum;
};

} // namespace zorel

#pragma once

#include <atomic>
#include <cstdint>
#include <span>
#include <vector>

#include "plugin/IPlugAPP.h"
#include "protocol/SessionState.h"
#include "protocol/codec/Frame.h"

namespace zorel {

// Builds each editor message from the session and the parameters and hands
// it to SendSysEx. Results are ignored by design: with no MIDI output open a
// send simply goes nowhere, and the device tick's time-outs take over.
class PedalSender {
public:
  PedalSender(iplug::IPlugAPP& plug, SessionState& state) : mPlug(plug), mState(state) {}

  void SendBulkMode(bool on);
  // Writes the edited preset into program mCurrentPresetSlot; returns the
  // message, so that the cache can keep what the pedal now holds.
  BlockMessage SendWritePreset();
  void SendSettingsBlock(int type);
  // The block SendSettingsBlock sends, built from the current values.
  std::vector<uint8_t> SettingsBlockMessage(int type) const;
  void SendParameter(int deviceNumber, int value);
  void SendRequestSettings(int type);
  // Also arms the reply time-out of the device tick.
  void SendRequestPreset(int slot);
  void SendSelectPreset(int program);
  void SendRequestIR(int irNumber);
  void SendRequestIRNames(int page);
  void SendFactoryReset(int scope);
  void SendEditorClosing();
  void SendIdentityRequest();
  void SendRaw(std::span<const uint8_t> message);
  // Messages sent so far, from either thread: the tick's caller tells from
  // it whether the tick sent anything.
  uint64_t SentCount() const { return mSentCount.load(std::memory_order_relaxed); }

private:
  // Notes the reply that the request just sent waits for.
  void Await(TransferState::Awaited what, int number);
  int ParamInt(int index) const;

  iplug::IPlugAPP& mPlug;
  SessionState& mState;
  std::atomic<uint64_t> mSentCount{0};
};

} // namespace zorel

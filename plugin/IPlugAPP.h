#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "plugin/IPlugAPIBase.h"
#include "plugin/IPlugProcessor.h"

namespace iplug {

// Where a standalone editor's outgoing MIDI goes: the host's output port, or
// a recorder in tests. Must accept calls from any thread.
class IMidiOutput {
public:
  virtual ~IMidiOutput() = default;
  virtual bool SendMidiBytes(const uint8_t* data, size_t size) = 0;
};

// The standalone flavour: MIDI input queues filled by the MIDI thread and
// emptied on the audio thread, outgoing MIDI straight to the host's port.
class IPlugAPP : public IPlugAPIBase, public IPlugProcessor {
public:
  static constexpr int kMidiInSlots = 33;
  // The pedal answers one IR request with 11 chunks, which a USB MIDI link
  // delivers in one burst, and the pedal's own knob reports come unasked.
  // A burst must wait for the next drain (up to a whole audio buffer, or a
  // busy editor), so the ring has room for several IR dumps at once rather
  // than the handful a one-reply-at-a-time exchange would need.
  static constexpr int kSysExInSlots = 64;
  static constexpr int kDefaultBlockSize = 512;

  IPlugAPP(IMidiOutput* host, const PluginConfig& config);
  ~IPlugAPP() override;

  bool SendSysEx(const SysExMessage& msg) override;
  bool SendMidiMsg(const MidiMessage& msg) override;
  void SendSysExFromUI(const SysExMessage& msg) override { SendSysEx(msg); }

  // Called by the MIDI input thread: one complete message. Short messages
  // (up to 3 bytes) and SysEx up to 512 bytes are queued, anything else is
  // dropped; a full queue drops the new message. Every drop is counted.
  // Returns whether the message was queued.
  bool QueueMidiInput(const uint8_t* data, size_t size);
  // Called once per 64-frame sub-block on the audio thread (or by the host's
  // fallback when no stream runs): queued short MIDI to ProcessMidiMsg and on
  // to the surface's queue, then queued SysEx to ProcessSysEx and on to the
  // surface's queue, then short MIDI from the surface to ProcessMidiMsg, all
  // in arrival order. A false `TryEnterEditor` leaves everything queued for
  // a later call; as every caller goes through it, only one thread at a
  // time reads the input rings, which keeps them single-reader.
  void ProcessQueuedMidiInput();
  virtual bool TryEnterEditor() { return true; }
  virtual void LeaveEditor() {}

  IMidiOutput* GetMidiOutput() const { return mHost; }
  void SetMidiOutput(IMidiOutput* host) { mHost = host; }
  size_t PendingSysExInput() const { return mSysExInQueue.Count(); }
  size_t PendingMidiInput() const { return mMidiInQueue.Count(); }
  // Incoming messages lost so far: SysEx (a full ring or more than 512
  // bytes) and short messages (a full ring).
  uint64_t DroppedSysExInput() const { return mDroppedSysEx.load(std::memory_order_relaxed); }
  uint64_t DroppedMidiInput() const { return mDroppedMidi.load(std::memory_order_relaxed); }

private:
  IMidiOutput* mHost;
  std::mutex mSendMutex; // the output port is never entered by two threads at once
  IPlugQueue<MidiMessage, kMidiInSlots> mMidiInQueue;
  IPlugQueue<QueuedSysEx, kSysExInSlots> mSysExInQueue;
  std::atomic<uint64_t> mDroppedSysEx{0};
  std::atomic<uint64_t> mDroppedMidi{0};
};

} // namespace iplug

#pragma once

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
  static constexpr int kSysExInSlots = 5;
  static constexpr int kDefaultBlockSize = 512;

  IPlugAPP(IMidiOutput* host, const PluginConfig& config);
  ~IPlugAPP() override;

  bool SendSysEx(const SysExMessage& msg) override;
  bool SendMidiMsg(const MidiMessage& msg) override;
  void SendSysExFromUI(const SysExMessage& msg) override { SendSysEx(msg); }

  // Called by the MIDI input thread: one complete message. Short messages
  // (up to 3 bytes) and SysEx up to 512 bytes are queued, anything else is
  // dropped; a full queue drops the new message.
  void QueueMidiInput(const uint8_t* data, size_t size);
  // Called on the audio thread: hands queued short MIDI and then SysEx to
  // ProcessMidiMsg / ProcessSysEx in arrival order. A false `TryEnterEditor`
  // leaves everything queued for a later call.
  void ProcessQueuedMidiInput();
  virtual bool TryEnterEditor() { return true; }
  virtual void LeaveEditor() {}

  IMidiOutput* GetMidiOutput() const { return mHost; }
  void SetMidiOutput(IMidiOutput* host) { mHost = host; }
  size_t PendingSysExInput() const { return mSysExInQueue.Count(); }

private:
  IMidiOutput* mHost;
  std::mutex mSendMutex; // the output port is never entered by two threads at once
  IPlugQueue<MidiMessage, kMidiInSlots> mMidiInQueue;
  IPlugQueue<QueuedSysEx, kSysExInSlots> mSysExInQueue;
};

} // namespace iplug

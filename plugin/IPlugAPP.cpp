#include "plugin/IPlugAPP.h"

#include <cstring>

namespace iplug {

IPlugAPP::IPlugAPP(IMidiOutput* host, const PluginConfig& config)
    : IPlugAPIBase(config), IPlugProcessor(config), mHost(host) {
  SetBlockSize(kDefaultBlockSize);
  StartBaseTimer();
}

IPlugAPP::~IPlugAPP() {
  StopBaseTimer();
}

bool IPlugAPP::SendSysEx(const SysExMessage& msg) {
  if (!DoesMidiOut() || mHost == nullptr || msg.mData == nullptr || msg.mSize <= 0) return false;
  std::lock_guard<std::mutex> guard(mSendMutex);
  return mHost->SendMidiBytes(msg.mData, static_cast<size_t>(msg.mSize));
}

bool IPlugAPP::SendMidiMsg(const MidiMessage& msg) {
  if (!DoesMidiOut() || mHost == nullptr) return false;
  const uint8_t bytes[3] = {msg.mStatus, msg.mData1, msg.mData2};
  std::lock_guard<std::mutex> guard(mSendMutex);
  return mHost->SendMidiBytes(bytes, 3);
}

bool IPlugAPP::QueueMidiInput(const uint8_t* data, size_t size) {
  if (size == 0 || data == nullptr) return false;
  bool queued = false;
  if (size <= 3) {
    MidiMessage msg;
    msg.mStatus = data[0];
    msg.mData1 = size >= 2 ? data[1] : 0;
    msg.mData2 = size >= 3 ? data[2] : 0;
    queued = mMidiInQueue.Push(msg);
    if (!queued) mDroppedMidi.fetch_add(1, std::memory_order_relaxed);
    return queued;
  }
  if (size <= QueuedSysEx::kMaxSize) {
    // Only the message's bytes are copied; the rest of the record is never read.
    QueuedSysEx sysex;
    sysex.mSize = static_cast<int32_t>(size);
    std::memcpy(sysex.mData, data, size);
    queued = mSysExInQueue.Push(sysex);
  }
  if (!queued) mDroppedSysEx.fetch_add(1, std::memory_order_relaxed);
  return queued;
}

void IPlugAPP::ProcessQueuedMidiInput() {
  if (mMidiInQueue.Empty() && mSysExInQueue.Empty()) return;
  if (!TryEnterEditor()) return;
  MidiMessage msg;
  while (mMidiInQueue.Pop(msg)) {
    ProcessMidiMsg(msg);
    PushMidiToUI(msg);
  }
  QueuedSysEx sysex;
  while (mSysExInQueue.Pop(sysex)) {
    const SysExMessage view{sysex.mOffset, sysex.mSize, sysex.mData};
    ProcessSysEx(view);
    // The surface's copy is informational; a full ring there loses nothing
    // the editor needs.
    PushSysExToUI(sysex);
  }
  while (PopMidiFromUI(msg)) ProcessMidiMsg(msg);
  LeaveEditor();
}

} // namespace iplug

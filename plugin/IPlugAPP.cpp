#include "plugin/IPlugAPP.h"

#include <cstring>

namespace iplug {

IPlugAPP::IPlugAPP(IMidiOutput* host, const PluginConfig& config)
    : IPlugAPIBase(config), IPlugProcessor(config), mHost(host) {
  SetBlockSize(kDefaultBlockSize);
  StartBaseTimer();
}

IPlugAPP::~IPlugAPP() { StopBaseTimer(); }

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

void IPlugAPP::QueueMidiInput(const uint8_t* data, size_t size) {
  if (size == 0 || data == nullptr) return;
  if (size <= 3) {
    MidiMessage msg;
    msg.mStatus = data[0];
    msg.mData1 = size >= 2 ? data[1] : 0;
    msg.mData2 = size >= 3 ? data[2] : 0;
    mMidiInQueue.Push(msg);
  } else if (size <= QueuedSysEx::kMaxSize) {
    QueuedSysEx sysex;
    sysex.mSize = static_cast<int32_t>(size);
    std::memcpy(sysex.mData, data, size);
    mSysExInQueue.Push(sysex);
  }
}

void IPlugAPP::ProcessQueuedMidiInput() {
  if (mMidiInQueue.Empty() && mSysExInQueue.Empty()) return;
  if (!TryEnterEditor()) return;
  MidiMessage msg;
  while (mMidiInQueue.Pop(msg)) ProcessMidiMsg(msg);
  QueuedSysEx sysex;
  while (mSysExInQueue.Pop(sysex)) {
    const SysExMessage view{sysex.mOffset, sysex.mSize, sysex.mData};
    ProcessSysEx(view);
  }
  LeaveEditor();
}

} // namespace iplug

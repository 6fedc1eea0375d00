#include "editor/HeadlessEditor.h"

#include <utility>

namespace zorel {

bool RecordingMidiOutput::SendMidiBytes(const uint8_t* data, size_t size) {
  std::lock_guard<std::mutex> guard(mMutex);
  mSent.emplace_back(data, data + size);
  return true;
}

std::vector<std::vector<uint8_t>> RecordingMidiOutput::Take() {
  std::lock_guard<std::mutex> guard(mMutex);
  return std::exchange(mSent, {});
}

size_t RecordingMidiOutput::Count() const {
  std::lock_guard<std::mutex> guard(mMutex);
  return mSent.size();
}

HeadlessEditor::HeadlessEditor(iplug::IMidiOutput* output) {
  iplug::SetTimerService(&mClock);
  ZorelControl::SetShutdownWaitMs(0);
  mEditor = std::make_unique<ZorelControl>(output ? output : &mRecorder);
  mEditor->SetHost("standalone", mEditor->GetPluginVersion());
  mEditor->AnnounceParamReset(iplug::kReset);
}

HeadlessEditor::~HeadlessEditor() {
  mEditor.reset();
  iplug::SetTimerService(nullptr);
}

void HeadlessEditor::Receive(std::span<const uint8_t> message) {
  mEditor->QueueMidiInput(message.data(), message.size());
  mEditor->ProcessQueuedMidiInput();
}

} // namespace zorel

#include "tests/support/HeadlessEditor.h"

#include <cstdlib>
#include <filesystem>
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

HeadlessEditor::HeadlessEditor(iplug::IMidiOutput* output, std::string libraryRoot) {
  if (libraryRoot.empty()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "zorel-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) mTempRoot = pattern;
    libraryRoot = mTempRoot;
  }
  iplug::SetTimerService(&mClock);
  ZorelControl::SetShutdownWaitMs(0);
  mEditor = std::make_unique<ZorelControl>(output ? output : &mRecorder, libraryRoot);
  mEditor->SetHost("standalone", mEditor->GetPluginVersion());
  mEditor->AnnounceParamReset(iplug::kReset);
  // What the window's layout does at start-up: factory content, names, the
  // preset list and the cached checksums come from the library.
  mEditor->InstallLibraryContent();
}

HeadlessEditor::~HeadlessEditor() {
  mEditor.reset();
  iplug::SetTimerService(nullptr);
  if (!mTempRoot.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(mTempRoot, ignored);
  }
}

void HeadlessEditor::Receive(std::span<const uint8_t> message) {
  mEditor->QueueMidiInput(message.data(), message.size());
  mEditor->ProcessQueuedMidiInput();
}

} // namespace zorel

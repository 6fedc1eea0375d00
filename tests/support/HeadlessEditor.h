#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "editor/ZorelControl.h"
#include "plugin/Timer.h"

namespace zorel {

// A MIDI output that keeps every message, in order; safe from any thread.
class RecordingMidiOutput : public iplug::IMidiOutput {
public:
  bool SendMidiBytes(const uint8_t* data, size_t size) override;
  std::vector<std::vector<uint8_t>> Take();
  size_t Count() const;

private:
  mutable std::mutex mMutex;
  std::vector<std::vector<uint8_t>> mSent;
};

// The editor with no window and no MIDI ports: its clock is stepped by hand,
// incoming SysEx is handed over as the audio thread would, and everything it
// sends is recorded. Tests and the command-line tool build on it.
class HeadlessEditor {
public:
  // Constructs the editor and announces the start-up reset, as the host does.
  // With no library root a fresh temporary folder is used and removed again.
  explicit HeadlessEditor(iplug::IMidiOutput* output = nullptr, std::string libraryRoot = {});
  ~HeadlessEditor();

  ZorelControl& Editor() { return *mEditor; }
  iplug::ManualTimerService& Clock() { return mClock; }
  RecordingMidiOutput& Recorder() { return mRecorder; }
  const std::string& LibraryRoot() const { return mEditor->Library().Root(); }

  // Fires every tick that falls due in the next `ms` milliseconds.
  void Advance(uint64_t ms) { mClock.Advance(ms); }
  // Queues one message as the MIDI thread does and drains the queues as the
  // audio callback does.
  void Receive(std::span<const uint8_t> message);
  // What the editor sent since the last call.
  std::vector<std::vector<uint8_t>> TakeSent() { return mRecorder.Take(); }

private:
  iplug::ManualTimerService mClock;
  RecordingMidiOutput mRecorder;
  std::string mTempRoot;
  std::unique_ptr<ZorelControl> mEditor;
};

} // namespace zorel

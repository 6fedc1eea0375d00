// Runs the audio side (values from the pedal, queued MIDI input) against the
// user-interface side (ticks, edits, queued updates) at the same time. Built
// and run under ThreadSanitizer as well, which reports any data race.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "protocol/codec/ParamIds.h"
#include "tests/support/HeadlessEditor.h"
#include "tests/support/RecordingSurface.h"

using namespace zorel;

namespace {

TEST(EditorStress, AudioThreadAgainstUserInterfaceThread) {
  HeadlessEditor h;
  ZorelControl& ed = h.Editor();
  test::RecordingSurface surface;
  ed.AttachSurface(&surface);
  {
    std::lock_guard<iplug::EditorLock> lock(ed.EditorLock());
    ed.State().mConnected = true;
  }

  constexpr int kRounds = 3000;
  std::atomic<bool> audioDone{false};
  std::atomic<int> skipped{0};
  std::thread audio([&] {
    const uint8_t finished[8] = {0xF0, 0x00, 0x51, 0x21, 0x05, 0x57, 0x00, 0xF7};
    for (int i = 0; i < kRounds; ++i) {
      // What the reply handling does with a dump: values with sending
      // suppressed, queued for the controls.
      if (ed.TryEnterEditor()) {
        ed.State().mSendSuppressed = true;
        ed.SetParameterValue(i % kNumPresetParams, (i % 128) / 127.0);
        ed.QueueUIParameterUpdate(i % kNumPresetParams, (i % 128) / 127.0, true);
        ed.State().mSendSuppressed = false;
        ed.LeaveEditor();
      } else {
        ++skipped; // the editor was busy: try again next block
      }
      ed.QueueMidiInput(finished, sizeof finished);
      ed.ProcessQueuedMidiInput();
    }
    audioDone = true;
  });

  int edits = 0;
  while (!audioDone || edits < 2000) {
    ed.SetParameterValue(kParamGain, (edits % 128) / 127.0);
    ed.QueueUIParameterUpdate(kParamDrive, 0.5, true);
    h.Advance(20);
    ++edits;
  }
  audio.join();
  h.Advance(100);

  EXPECT_EQ(surface.offThreadCalls, 0);
  EXPECT_EQ(ed.Surface().PendingCount(), 0u);
  EXPECT_GT(edits, 0);
  ed.AttachSurface(nullptr);
}

} // namespace

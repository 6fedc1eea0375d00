// A whole connection with the pedal's replies handled on a second thread,
// as the audio callback does, while the user-interface thread runs the
// ticks. Built and run under ThreadSanitizer too.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "protocol/codec/ParamIds.h"
#include "sim/VirtualPedal.h"
#include "tests/support/HeadlessEditor.h"
#include "tests/support/RecordingSurface.h"

using namespace zorel;

namespace {

TEST(ConnectionStress, RepliesOnTheAudioThreadWhileTheInterfaceTicks) {
  HeadlessEditor h;
  ZorelControl& ed = h.Editor();
  test::RecordingSurface surface;
  ed.AttachSurface(&surface);

  std::atomic<bool> stop{false};
  std::thread audio([&] {
    sim::VirtualPedal pedal; // touched by this thread only
    while (!stop) {
      for (const auto& m : h.Recorder().Take()) {
        for (const auto& reply : pedal.Exchange(m)) {
          ed.QueueMidiInput(reply.data(), reply.size());
          // Later audio blocks drain what a busy editor left queued.
          while (ed.PendingSysExInput() > 0 && !stop) {
            ed.ProcessQueuedMidiInput();
            std::this_thread::yield();
          }
        }
      }
      std::this_thread::yield();
    }
  });

  // Virtual time must not outrun the other thread's work, or the editor's
  // reply time-outs would fire: each base tick also gives it a millisecond.
  bool done = false;
  for (int tick = 0; tick < 20000 && !done; ++tick) {
    h.Advance(20);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::lock_guard<iplug::EditorLock> lock(ed.EditorLock());
    const SessionState& s = ed.State();
    done = s.mConnected && !s.mBulkLoading && !s.mSendSuppressed && s.mLoadedValues[0] >= 0;
  }
  stop = true;
  audio.join();
  h.Advance(100);
  EXPECT_TRUE(done);
  EXPECT_EQ(surface.offThreadCalls, 0);
  ed.AttachSurface(nullptr);
}

} // namespace

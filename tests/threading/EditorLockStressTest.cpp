#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "plugin/EditorLock.h"

namespace iplug {
namespace {

// The user-interface thread enters deeply, hands the lock over for "modal
// waits" and takes it back, while an "audio" thread only ever tries it.
// Shared state is touched only under the lock; TSan checks the hand-overs.
TEST(EditorLockStress, WaitsHandTheLockToTheTryingSide) {
  EditorLock lock;
  int shared = 0;
  std::atomic<bool> stop{false};
  std::atomic<int> audioEntries{0};
  std::thread audio([&] {
    while (!stop.load()) {
      if (lock.try_lock()) {
        ++shared;
        audioEntries.fetch_add(1);
        lock.unlock();
      }
      std::this_thread::yield();
    }
  });
  for (int i = 0; i < 2000; ++i) {
    std::lock_guard<EditorLock> a(lock);
    std::lock_guard<EditorLock> b(lock);
    ++shared;
    {
      EditorLockRelease wait(lock);
      std::this_thread::yield();
    }
    ++shared;
  }
  // Give the audio side a last chance to get in with nothing held.
  while (audioEntries.load() == 0) std::this_thread::yield();
  stop = true;
  audio.join();
  std::lock_guard<EditorLock> g(lock);
  EXPECT_EQ(shared, 4000 + audioEntries.load());
}

} // namespace
} // namespace iplug

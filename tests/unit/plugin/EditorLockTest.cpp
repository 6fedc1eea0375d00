#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "plugin/EditorLock.h"

namespace iplug {
namespace {

bool OtherThreadCanTake(EditorLock& lock) {
  bool taken = false;
  std::thread([&] {
    taken = lock.try_lock();
    if (taken) lock.unlock();
  }).join();
  return taken;
}

TEST(EditorLock, ReentrantForItsOwnerOnly) {
  EditorLock lock;
  std::lock_guard<EditorLock> outer(lock);
  {
    std::lock_guard<EditorLock> inner(lock);
    EXPECT_TRUE(lock.OwnedHere());
    EXPECT_FALSE(OtherThreadCanTake(lock));
  }
  EXPECT_TRUE(lock.OwnedHere());
  EXPECT_FALSE(OtherThreadCanTake(lock));
}

// A modal wait deep inside the editor hands the lock over entirely and
// takes it back at the depth it had.
TEST(EditorLock, ReleaseForAWaitRestoresTheDepth) {
  EditorLock lock;
  lock.lock();
  lock.lock();
  lock.lock();
  {
    EditorLockRelease release(lock);
    EXPECT_FALSE(lock.OwnedHere());
    EXPECT_TRUE(OtherThreadCanTake(lock));
    // Nested waits (a box over a box) hold nothing to give.
    EditorLockRelease nested(lock);
    EXPECT_TRUE(OtherThreadCanTake(lock));
  }
  EXPECT_TRUE(lock.OwnedHere());
  lock.unlock();
  lock.unlock();
  EXPECT_TRUE(lock.OwnedHere());
  EXPECT_FALSE(OtherThreadCanTake(lock));
  lock.unlock();
  EXPECT_FALSE(lock.OwnedHere());
  EXPECT_TRUE(OtherThreadCanTake(lock));
}

TEST(EditorLock, ReleaseWithoutHoldingIsHarmless) {
  EditorLock lock;
  { EditorLockRelease release(lock); }
  EXPECT_FALSE(lock.OwnedHere());
  EXPECT_TRUE(OtherThreadCanTake(lock));
}

} // namespace
} // namespace iplug

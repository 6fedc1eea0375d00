#pragma once

#include <atomic>
#include <mutex>
#include <thread>

namespace iplug {

// The editor's re-entrant lock (see ZorelControl for who takes it). Unlike
// std::recursive_mutex it knows how deep its owner holds it, so a modal
// dialog can hand it back for the length of its wait and take it again at
// the same depth: the audio side then keeps draining the pedal's replies
// instead of finding the editor busy until the user answers.
// Usable with std::lock_guard and std::unique_lock.
class EditorLock {
public:
  void lock() {
    if (OwnedHere()) {
      ++mDepth;
      return;
    }
    mMutex.lock();
    mOwner.store(std::this_thread::get_id(), std::memory_order_relaxed);
    mDepth = 1;
  }

  bool try_lock() {
    if (OwnedHere()) {
      ++mDepth;
      return true;
    }
    if (!mMutex.try_lock()) return false;
    mOwner.store(std::this_thread::get_id(), std::memory_order_relaxed);
    mDepth = 1;
    return true;
  }

  void unlock() {
    if (--mDepth > 0) return;
    mOwner.store(std::thread::id(), std::memory_order_relaxed);
    mMutex.unlock();
  }

  // True when the calling thread holds the lock. (Only the owner itself can
  // see its own id here, so the relaxed load is enough.)
  bool OwnedHere() const {
    return mOwner.load(std::memory_order_relaxed) == std::this_thread::get_id();
  }

  // Gives the lock up entirely when the calling thread holds it; returns
  // the depth it held (0 when it held nothing), for Reacquire.
  int ReleaseAll() {
    if (!OwnedHere()) return 0;
    const int depth = mDepth;
    mDepth = 0;
    mOwner.store(std::thread::id(), std::memory_order_relaxed);
    mMutex.unlock();
    return depth;
  }

  // Takes the lock again at the depth ReleaseAll returned.
  void Reacquire(int depth) {
    if (depth <= 0) return;
    mMutex.lock();
    mOwner.store(std::this_thread::get_id(), std::memory_order_relaxed);
    mDepth = depth;
  }

private:
  std::mutex mMutex;
  std::atomic<std::thread::id> mOwner{};
  int mDepth = 0; // touched only by the owner
};

// Hands the lock back for a scope (a modal wait) when the calling thread
// holds it, and takes it again at the same depth when the scope ends.
class EditorLockRelease {
public:
  explicit EditorLockRelease(EditorLock& lock) : mLock(lock), mDepth(lock.ReleaseAll()) {}
  ~EditorLockRelease() { mLock.Reacquire(mDepth); }
  EditorLockRelease(const EditorLockRelease&) = delete;
  EditorLockRelease& operator=(const EditorLockRelease&) = delete;

private:
  EditorLock& mLock;
  int mDepth;
};

} // namespace iplug

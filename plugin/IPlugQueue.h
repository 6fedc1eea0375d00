#pragma once

#include <array>
#include <atomic>
#include <cstddef>

namespace iplug {

// Fixed-size ring with one writer thread and one reader thread. N slots hold
// N - 1 records (full when the slot after the write position is the read
// position); a push into a full ring is dropped, which the callers accept.
template <typename T, size_t N> class IPlugQueue {
  static_assert(N >= 2, "a ring needs at least two slots");

public:
  bool Push(const T& item) {
    const size_t w = mWrite.load(std::memory_order_relaxed);
    const size_t next = (w + 1) % N;
    if (next == mRead.load(std::memory_order_acquire)) return false;
    mSlots[w] = item;
    mWrite.store(next, std::memory_order_release);
    return true;
  }

  bool Pop(T& item) {
    const size_t r = mRead.load(std::memory_order_relaxed);
    if (r == mWrite.load(std::memory_order_acquire)) return false;
    item = mSlots[r];
    mRead.store((r + 1) % N, std::memory_order_release);
    return true;
  }

  bool Empty() const {
    return mRead.load(std::memory_order_acquire) == mWrite.load(std::memory_order_acquire);
  }

  size_t Count() const {
    const size_t w = mWrite.load(std::memory_order_acquire);
    const size_t r = mRead.load(std::memory_order_acquire);
    return (w + N - r) % N;
  }

  static constexpr size_t Capacity() { return N - 1; }

private:
  std::array<T, N> mSlots{};
  std::atomic<size_t> mWrite{0};
  std::atomic<size_t> mRead{0};
};

// The same ring for a queue that two threads write (the audio thread and the
// user-interface thread both queue parameter updates for the surface). The
// writers take turns through a spin flag held only for the copy of one record,
// so neither writer can stall the other for longer than that.
template <typename T, size_t N> class IPlugSharedWriterQueue {
public:
  bool Push(const T& item) {
    while (mWriting.test_and_set(std::memory_order_acquire)) {
    }
    const bool pushed = mRing.Push(item);
    mWriting.clear(std::memory_order_release);
    return pushed;
  }
  bool Pop(T& item) { return mRing.Pop(item); }
  bool Empty() const { return mRing.Empty(); }
  size_t Count() const { return mRing.Count(); }
  static constexpr size_t Capacity() { return N - 1; }

private:
  IPlugQueue<T, N> mRing;
  std::atomic_flag mWriting = ATOMIC_FLAG_INIT;
};

} // namespace iplug

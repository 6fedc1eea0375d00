#include "protocol/TrafficLog.h"

namespace zorel {

void TrafficLog::Start() {
  std::lock_guard<std::mutex> lock(mMutex);
  mPending.clear();
  mStart = std::chrono::steady_clock::now();
  mDropped.store(0, std::memory_order_relaxed);
  mActive.store(true, std::memory_order_release);
}

void TrafficLog::Stop() {
  mActive.store(false, std::memory_order_release);
  std::vector<Entry> dropped;
  std::lock_guard<std::mutex> lock(mMutex);
  dropped.swap(mPending); // freed after the lock is let go
}

void TrafficLog::Record(TrafficDirection direction, const uint8_t* data, size_t size) {
  if (!mActive.load(std::memory_order_acquire)) return;
  Entry entry{0, direction, std::vector<uint8_t>(data, data + size)};
  std::lock_guard<std::mutex> lock(mMutex);
  // Stopped while this message was on its way: it belongs to nobody.
  if (!mActive.load(std::memory_order_relaxed)) return;
  if (mPending.size() >= kMaxPending) {
    mDropped.fetch_add(1, std::memory_order_relaxed);
    return;
  }
  // Timed under the lock, so that the times rise in the order of the lines.
  entry.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - mStart).count();
  mPending.push_back(std::move(entry));
}

std::vector<TrafficLog::Entry> TrafficLog::Take() {
  std::vector<Entry> taken;
  std::lock_guard<std::mutex> lock(mMutex);
  taken.swap(mPending);
  return taken;
}

} // namespace zorel

#pragma once

// The MIDI traffic as the monitor sees it: every message sent to the pedal
// and received from it, with the moment it passed the port.
//
// Threads. Record is called on whichever thread moves a message: the
// user-interface and audio threads send, the MIDI library's thread receives.
// Take runs on the one thread that shows the lines (the window's main loop,
// or zorelctl's loop). A mutex guards the pending entries; it is held only
// to append or to swap the vector out, never while formatting.
//
// Cost while nobody listens: Record reads one atomic flag and returns. No
// time is taken, nothing is copied or allocated, no lock is touched.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "protocol/codec/MessageText.h"

namespace zorel {

class TrafficLog {
public:
  struct Entry {
    double seconds = 0; // since Start
    TrafficDirection direction = TrafficDirection::kToPedal;
    std::vector<uint8_t> bytes;
  };
  // A listener that stops taking must not make the log grow without bound:
  // beyond this many waiting entries, new ones are counted and dropped.
  static constexpr size_t kMaxPending = 50000;

  bool Active() const { return mActive.load(std::memory_order_acquire); }
  // From now on messages are kept; times count from this call.
  void Start();
  // Nothing more is kept; what was waiting is dropped.
  void Stop();
  void Record(TrafficDirection direction, const uint8_t* data, size_t size);
  // The entries since the last call, in the order they passed the ports.
  std::vector<Entry> Take();
  // Entries dropped because nobody took them in time (since Start).
  uint64_t Dropped() const { return mDropped.load(std::memory_order_relaxed); }

private:
  std::atomic<bool> mActive{false};
  std::atomic<uint64_t> mDropped{0};
  std::mutex mMutex;
  std::chrono::steady_clock::time_point mStart; // written under mMutex
  std::vector<Entry> mPending;
};

// Turns entries into the monitor's lines (FormatTrafficLine), keeping the
// chunk counts of transfers from one batch to the next.
class TrafficFormatter {
public:
  std::string Line(const TrafficLog::Entry& entry) {
    return FormatTrafficLine(entry.seconds, entry.direction, entry.bytes, mContext);
  }
  void Reset() { mContext = {}; }

private:
  TrafficContext mContext;
};

} // namespace zorel

#pragma once

// The virtual pedal for tests and for the program: PedalModel plus time and
// misbehaviour. Time is a clock the caller advances (microseconds); nothing
// here sleeps, starts a thread or reads the system clock, and every random
// choice comes from the configured seed, so a run is repeatable.
//
//   VirtualPedal pedal;                         // fresh factory pedal
//   pedal.Receive(BuildIdentityRequest());      // at pedal.Now()
//   pedal.Advance(1000);
//   for (auto& reply : pedal.Collect()) ...     // what is due by now
//
// Replies are due at the time of the message that caused them (plus the
// configured delay, gaps and wire time); Collect hands out what is due,
// CollectAll everything pending (moving the clock to the last due time).

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "sim/Misbehaviour.h"
#include "sim/PedalModel.h"
#include "sim/Rng.h"

namespace zorel::sim {

enum class TraceDirection {
  In,      // from the editor
  Out,     // to the editor, when it is handed out
  Dropped, // lost on purpose (never handed out)
};

struct TraceEvent {
  uint64_t timeUs = 0;
  TraceDirection direction = TraceDirection::In;
  std::span<const uint8_t> bytes;
};

using TraceObserver = std::function<void(const TraceEvent&)>;

class VirtualPedal {
public:
  explicit VirtualPedal(PedalConfig config = {}, PedalState state = MakeFactoryState());

  // One message from the editor, at Now().
  void Receive(std::span<const uint8_t> message);
  // The pedal's own controls (see PedalModel); their reports are sent like
  // answers.
  void TurnKnob(int index, int value);
  void PressFilter();
  void ReportIRName(int number);

  uint64_t Now() const { return mNow; }
  // Moves the clock forward; a time in the past is ignored.
  void AdvanceTo(uint64_t timeUs);
  void Advance(uint64_t deltaUs) { AdvanceTo(mNow + deltaUs); }

  // Messages due by Now(), in the order they are sent.
  std::vector<Bytes> Collect();
  // Every pending message; the clock moves to the due time of the last one.
  std::vector<Bytes> CollectAll();
  // Receive, then CollectAll: the whole answer to one message.
  std::vector<Bytes> Exchange(std::span<const uint8_t> message);

  std::optional<uint64_t> NextDueTime() const;
  size_t PendingCount() const { return mQueue.size(); }
  uint64_t DroppedCount() const { return mDropped; }

  PedalModel& Model() { return mModel; }
  const PedalModel& Model() const { return mModel; }
  const PedalState& State() const { return mModel.State(); }

  const PedalConfig& Config() const { return mConfig; }
  void SetMisbehaviour(const Misbehaviour& misbehaviour);
  void SetIRChunkGap(uint64_t gapUs) { mConfig.irChunkGapUs = gapUs; }

  // Called for every message in, out and dropped.
  void SetObserver(TraceObserver observer) { mObserver = std::move(observer); }

private:
  struct Pending {
    uint64_t dueUs;
    Bytes bytes;
  };

  void Schedule(std::vector<Bytes> messages);
  bool SpoilReceived(Bytes& m);
  bool Roll(double share);
  void Trace(uint64_t timeUs, TraceDirection direction, std::span<const uint8_t> bytes);

  PedalConfig mConfig;
  PedalModel mModel;
  Rng mRng;
  std::deque<Pending> mQueue;
  TraceObserver mObserver;
  uint64_t mNow = 0;
  uint64_t mLastDue = 0;
  uint64_t mWireFreeAt = 0;
  uint64_t mDropped = 0;
};

} // namespace zorel::sim

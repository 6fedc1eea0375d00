#pragma once

#include <chrono>

#include "plugin/Timer.h"

namespace zorel::cli {

// The user-interface thread's clock for a program without a main loop: the
// timers run on a manual clock that Pump() moves on by the real time that
// passed, so the editor's ticks fire on the thread that pumps, in order,
// never overlapping. Installed as the timer service for its lifetime;
// construct it before anything that starts timers.
class RealTimeClock {
public:
  RealTimeClock();
  ~RealTimeClock();
  RealTimeClock(const RealTimeClock&) = delete;
  RealTimeClock& operator=(const RealTimeClock&) = delete;

  // Fires every timer that fell due since the last call.
  void Pump();
  // Pumps for `duration`, sleeping between pumps.
  void RunFor(std::chrono::milliseconds duration);

  static constexpr std::chrono::milliseconds kPumpInterval{2};

private:
  iplug::ManualTimerService mService;
  std::chrono::steady_clock::time_point mLast;
};

} // namespace zorel::cli

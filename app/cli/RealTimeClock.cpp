#include "app/cli/RealTimeClock.h"

#include <thread>

namespace zorel::cli {

namespace {
// After a long stall (a suspended process) the ticks that were missed are
// not all made up at once: the device engine counts ticks as time.
constexpr int64_t kMaxCatchUpMs = 1000;
} // namespace

RealTimeClock::RealTimeClock() : mLast(std::chrono::steady_clock::now()) {
  iplug::SetTimerService(&mService);
}

RealTimeClock::~RealTimeClock() {
  iplug::SetTimerService(nullptr);
}

void RealTimeClock::Pump() {
  const auto now = std::chrono::steady_clock::now();
  const int64_t elapsed =
      std::chrono::duration_cast<std::chrono::milliseconds>(now - mLast).count();
  if (elapsed <= 0) return;
  if (elapsed > kMaxCatchUpMs) {
    mLast = now;
    mService.Advance(kMaxCatchUpMs);
    return;
  }
  mLast += std::chrono::milliseconds(elapsed);
  mService.Advance(static_cast<uint64_t>(elapsed));
}

void RealTimeClock::RunFor(std::chrono::milliseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  while (std::chrono::steady_clock::now() < end) {
    Pump();
    std::this_thread::sleep_for(kPumpInterval);
  }
  Pump();
}

} // namespace zorel::cli

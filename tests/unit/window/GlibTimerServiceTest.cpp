#include <gtest/gtest.h>

#include <glib.h>

#include <functional>

#include "app/window/GlibTimerService.h"

namespace zorel::window {
namespace {

// Runs the default main context until `done` holds (or a generous bound).
void RunUntil(const std::function<bool()>& done) {
  const gint64 end = g_get_monotonic_time() + 5 * G_USEC_PER_SEC;
  while (!done() && g_get_monotonic_time() < end) g_main_context_iteration(nullptr, TRUE);
}

TEST(GlibTimerService, TimersTickOnTheMainLoopAndStop) {
  GlibTimerService service;
  int ticks = 0;
  int afterTicks = 0;
  service.SetAfterTick([&] { ++afterTicks; });
  auto timer = iplug::Timer::Create([&](iplug::Timer&) { ++ticks; }, 1);
  ASSERT_TRUE(timer->IsRunning());
  RunUntil([&] { return ticks >= 3; });
  EXPECT_GE(ticks, 3);
  EXPECT_EQ(afterTicks, ticks);
  timer->Stop();
  EXPECT_EQ(service.ActiveCount(), 0u);
  const int stopped = ticks;
  g_usleep(5000);
  while (g_main_context_iteration(nullptr, FALSE)) {
  }
  EXPECT_EQ(ticks, stopped);
}

TEST(GlibTimerService, ATimerMayStopItselfFromItsCallable) {
  GlibTimerService service;
  int ticks = 0;
  std::unique_ptr<iplug::Timer> timer = iplug::Timer::Create(
      [&](iplug::Timer& t) {
        ++ticks;
        t.Stop();
      },
      1);
  RunUntil([&] { return ticks >= 1; });
  g_usleep(5000);
  while (g_main_context_iteration(nullptr, FALSE)) {
  }
  EXPECT_EQ(ticks, 1);
  EXPECT_FALSE(timer->IsRunning());
  EXPECT_EQ(service.ActiveCount(), 0u);
}

// A dialog opened by a tick runs a nested loop: the other timers go on
// ticking in it, the one that opened it does not run inside itself.
TEST(GlibTimerService, ANestedLoopNeverReentersTheTickThatOpenedIt) {
  GlibTimerService service;
  int outer = 0;
  int depth = 0;
  int maxDepth = 0;
  int other = 0;
  auto otherTimer = iplug::Timer::Create([&](iplug::Timer&) { ++other; }, 1);
  auto opener = iplug::Timer::Create(
      [&](iplug::Timer&) {
        ++outer;
        maxDepth = std::max(maxDepth, ++depth);
        if (outer == 1) {
          const int seen = other;
          RunUntil([&] { return other >= seen + 5; }); // the "dialog"
        }
        --depth;
      },
      1);
  RunUntil([&] { return outer >= 3; });
  EXPECT_EQ(maxDepth, 1);
  EXPECT_GE(other, 5);
}

TEST(GlibTimerService, InstalledForItsLifetime) {
  {
    GlibTimerService service;
    EXPECT_EQ(&iplug::GetTimerService(), &service);
    auto timer = iplug::Timer::Create([](iplug::Timer&) {}, 10);
    EXPECT_EQ(service.ActiveCount(), 1u);
  }
  EXPECT_EQ(&iplug::GetTimerService(), &iplug::DefaultManualTimerService());
}

} // namespace
} // namespace zorel::window

namespace zorel::window {
namespace {

// A tick per period, never a burst; and a 100 ms timer falls due with the
// 20 ms one, in the same wakeup.
TEST(GlibTimerService, TicksOncePerPeriodAndSharesWakeups) {
  GlibTimerService service;
  std::vector<gint64> fast;
  int slow = 0;
  int wakeups = 0;
  service.SetAfterTick([&] { ++wakeups; });
  auto a = iplug::Timer::Create([&](iplug::Timer&) { fast.push_back(g_get_monotonic_time()); }, 20);
  auto b = iplug::Timer::Create([&](iplug::Timer&) { ++slow; }, 100);
  RunUntil([&] { return slow >= 2; });
  ASSERT_GE(fast.size(), 6u);
  for (size_t i = 1; i < fast.size(); ++i)
    EXPECT_GE(fast[i] - fast[i - 1], 10000) << "tick " << i; // a late tick shortens one gap only
  EXPECT_EQ(wakeups, static_cast<int>(fast.size()));
}

} // namespace
} // namespace zorel::window

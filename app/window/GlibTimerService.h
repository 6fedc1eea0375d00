#pragma once

#include <glib.h>

#include <cstdint>
#include <functional>
#include <map>

#include "plugin/Timer.h"

namespace zorel::window {

// The timers of the user-interface thread on its GLib main loop: the base's
// 20 ms tick, the editor's 100 ms device tick and the host's fallback drain.
//
// One GLib source serves them all. Each timer falls due on multiples of its
// period on the monotonic clock, so timers whose periods divide one another
// fall due together and cost one wakeup (20 ms and 100 ms: 50 a second, not
// 60); an idle window wakes no more than that. The loop dispatches one thing
// at a time, so ticks never run side by side; ticks missed while the thread
// was busy are not made up in a burst, the next one is simply on time.
//
// A modal dialog's nested loop keeps dispatching (ModalWait.h): the other
// timers go on ticking in it, while a timer whose own callable opened the
// dialog is held back until the callable returns, so no tick runs inside
// itself.
//
// Installed as the timer service for its lifetime; construct it before
// anything that starts timers and destroy it after everything that stops
// them (the editor stops its device tick in its destructor).
class GlibTimerService : public iplug::ITimerService {
public:
  GlibTimerService();
  ~GlibTimerService() override;
  GlibTimerService(const GlibTimerService&) = delete;
  GlibTimerService& operator=(const GlibTimerService&) = delete;

  uintptr_t StartSystemTimer(uint32_t periodMs) override;
  void StopSystemTimer(uintptr_t id) override;

  // Runs once after the ticks of a wakeup, outside every timer's callable:
  // the window looks for controls that need drawing here.
  void SetAfterTick(std::function<void()> afterTick) { mAfterTick = std::move(afterTick); }

  size_t ActiveCount() const { return mEntries.size(); }

private:
  struct Entry {
    uint32_t periodMs = 0;
    int64_t dueUs = 0;
    bool running = false;
  };
  static gboolean Dispatch(GSource* source, GSourceFunc, gpointer);
  void RunDueTimers();
  void Rearm();

  GSource* mSource = nullptr;
  std::map<uintptr_t, Entry> mEntries;
  uintptr_t mNextId = 1;
  std::function<void()> mAfterTick;
};

} // namespace zorel::window

#pragma once

#include <cstdint>
#include <functional>
#include <map>

#include "plugin/Timer.h"

namespace zorel::window {

// The timers of the user-interface thread as GLib timeouts on its main loop:
// the base's 20 ms tick, the editor's 100 ms device tick and the host's
// fallback drain. The loop dispatches one source at a time, so ticks never
// run side by side. A modal dialog's nested loop keeps dispatching them
// (ModalWait.h); only a timer whose own callable opened that dialog is held
// back until the callable returns, so no tick ever runs inside itself.
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

  // Runs after every tick, outside the timer's callable: the window looks
  // for controls that need drawing here.
  void SetAfterTick(std::function<void()> afterTick) { mAfterTick = std::move(afterTick); }

  size_t ActiveCount() const { return mEntries.size(); }

private:
  struct Entry {
    GlibTimerService* service = nullptr;
    unsigned sourceId = 0;
    bool running = false;
  };
  static int OnTimeout(void* data);

  std::map<uintptr_t, Entry*> mEntries; // by source id
  std::function<void()> mAfterTick;
};

} // namespace zorel::window

#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace iplug {

// Starts and stops periodic system timers for the thread that runs the
// message loop. The application installs one driven by its main loop; tests
// and the command-line tool step a ManualTimerService by hand.
class ITimerService {
public:
  virtual ~ITimerService() = default;
  // Returns a non-zero identifier, or 0 when no timer could be started.
  virtual uintptr_t StartSystemTimer(uint32_t periodMs) = 0;
  virtual void StopSystemTimer(uintptr_t id) = 0;
};

// The service new timers are started with. Never null: until something else
// is installed it is a process-wide ManualTimerService.
ITimerService& GetTimerService();
void SetTimerService(ITimerService* service); // null restores the default

// A callable run every `periodMs` milliseconds. All live timers are in one
// process-wide list under one re-entrant lock; the callable runs with the
// lock held, so it may start or stop timers (itself included) on its thread.
class Timer {
public:
  using ITimerFunction = std::function<void(Timer&)>;

  static std::unique_ptr<Timer> Create(ITimerFunction func, uint32_t periodMs);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  void Stop();
  bool IsRunning() const { return mSystemId != 0; }
  uint32_t PeriodMs() const { return mPeriodMs; }

  // Called by a timer service when the system timer `systemId` fires.
  static void Fire(uintptr_t systemId);
  static size_t LiveTimerCount();

private:
  Timer(ITimerFunction func, uint32_t periodMs) : mFunc(std::move(func)), mPeriodMs(periodMs) {}

  ITimerFunction mFunc;
  uint32_t mPeriodMs;
  uintptr_t mSystemId = 0;
  ITimerService* mService = nullptr;
};

// A clock that only moves when told to: Advance(100) fires every timer that
// falls due in those 100 ms, in time order (equal times in start order).
class ManualTimerService : public ITimerService {
public:
  uintptr_t StartSystemTimer(uint32_t periodMs) override;
  void StopSystemTimer(uintptr_t id) override;

  void Advance(uint64_t ms);
  uint64_t NowMs() const { return mNowMs; }

private:
  struct Entry {
    uintptr_t id;
    uint32_t period;
    uint64_t due;
  };
  std::mutex mMutex;
  std::vector<Entry> mEntries;
  uint64_t mNowMs = 0;
  uintptr_t mNextId = 1;
};

ManualTimerService& DefaultManualTimerService();

} // namespace iplug

#include "plugin/Timer.h"

#include <algorithm>
#include <atomic>

namespace iplug {

namespace {

// The list, its lock and the default service are never destroyed: a timer
// held by a static (the editor's shared device tick) may be stopped during
// the process's exit, after ordinary statics are gone.
std::recursive_mutex& TimerListLock() {
  static auto* lock = new std::recursive_mutex;
  return *lock;
}

std::vector<Timer*>& TimerList() {
  static auto* list = new std::vector<Timer*>;
  return *list;
}

std::atomic<ITimerService*> gService{nullptr};

} // namespace

ManualTimerService& DefaultManualTimerService() {
  static auto* service = new ManualTimerService;
  return *service;
}

ITimerService& GetTimerService() {
  ITimerService* service = gService.load();
  return service ? *service : DefaultManualTimerService();
}

void SetTimerService(ITimerService* service) {
  gService.store(service);
}

std::unique_ptr<Timer> Timer::Create(ITimerFunction func, uint32_t periodMs) {
  std::unique_ptr<Timer> timer(new Timer(std::move(func), periodMs));
  timer->mService = &GetTimerService();
  timer->mSystemId = timer->mService->StartSystemTimer(periodMs);
  if (timer->mSystemId != 0) {
    std::lock_guard<std::recursive_mutex> guard(TimerListLock());
    TimerList().push_back(timer.get());
  }
  return timer;
}

Timer::~Timer() {
  Stop();
}

void Timer::Stop() {
  if (mSystemId == 0) return;
  mService->StopSystemTimer(mSystemId);
  std::lock_guard<std::recursive_mutex> guard(TimerListLock());
  auto& list = TimerList();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  mSystemId = 0;
}

void Timer::Fire(uintptr_t systemId) {
  std::lock_guard<std::recursive_mutex> guard(TimerListLock());
  for (Timer* timer : TimerList()) {
    if (timer->mSystemId == systemId) {
      // The callable may stop or start timers, which changes the list: no
      // further use of the iterator after the call.
      timer->mFunc(*timer);
      return;
    }
  }
}

size_t Timer::LiveTimerCount() {
  std::lock_guard<std::recursive_mutex> guard(TimerListLock());
  return TimerList().size();
}

uintptr_t ManualTimerService::StartSystemTimer(uint32_t periodMs) {
  if (periodMs == 0) return 0;
  std::lock_guard<std::mutex> guard(mMutex);
  const uintptr_t id = mNextId++;
  mEntries.push_back({id, periodMs, mNowMs + periodMs});
  return id;
}

void ManualTimerService::StopSystemTimer(uintptr_t id) {
  std::lock_guard<std::mutex> guard(mMutex);
  mEntries.erase(
      std::remove_if(mEntries.begin(), mEntries.end(), [id](const Entry& e) { return e.id == id; }),
      mEntries.end());
}

void ManualTimerService::Advance(uint64_t ms) {
  const uint64_t target = mNowMs + ms;
  for (;;) {
    uintptr_t id = 0;
    {
      std::lock_guard<std::mutex> guard(mMutex);
      // Earliest due entry; ties go to the one started first (list order).
      Entry* next = nullptr;
      for (Entry& e : mEntries) {
        if (e.due <= target && (next == nullptr || e.due < next->due)) next = &e;
      }
      if (next == nullptr) break;
      mNowMs = next->due;
      next->due += next->period;
      id = next->id;
    }
    // Fired without our own mutex so the callable may start or stop timers.
    Timer::Fire(id);
  }
  mNowMs = target;
}

} // namespace iplug

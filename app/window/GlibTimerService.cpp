#include "app/window/GlibTimerService.h"

#include <algorithm>
#include <vector>

namespace zorel::window {

namespace {

// Due within this of now counts as due: the loop wakes a little late, and a
// timer a hair short of due would otherwise cost a wakeup of its own.
constexpr int64_t kSlackUs = 1000;

struct ServiceSource {
  GSource source;
  GlibTimerService* service;
};

// The next multiple of the period after `nowUs`.
int64_t NextMultiple(int64_t nowUs, uint32_t periodMs) {
  const int64_t period = static_cast<int64_t>(periodMs) * 1000;
  return (nowUs / period + 1) * period;
}

GSourceFuncs gFuncs = {};

} // namespace

GlibTimerService::GlibTimerService() {
  gFuncs.dispatch = &GlibTimerService::Dispatch;
  mSource = g_source_new(&gFuncs, sizeof(ServiceSource));
  reinterpret_cast<ServiceSource*>(mSource)->service = this;
  // Dispatched again inside a dialog's nested loop (see the class comment).
  g_source_set_can_recurse(mSource, TRUE);
  g_source_set_ready_time(mSource, -1);
  g_source_attach(mSource, nullptr);
  iplug::SetTimerService(this);
}

GlibTimerService::~GlibTimerService() {
  if (&iplug::GetTimerService() == this) iplug::SetTimerService(nullptr);
  g_source_destroy(mSource);
  g_source_unref(mSource);
}

uintptr_t GlibTimerService::StartSystemTimer(uint32_t periodMs) {
  if (periodMs == 0) return 0;
  const uintptr_t id = mNextId++;
  mEntries[id] = Entry{periodMs, NextMultiple(g_get_monotonic_time(), periodMs), false};
  Rearm();
  return id;
}

void GlibTimerService::StopSystemTimer(uintptr_t id) {
  mEntries.erase(id);
  Rearm();
}

void GlibTimerService::Rearm() {
  int64_t earliest = -1;
  for (const auto& [id, e] : mEntries) {
    if (e.running) continue;
    if (earliest < 0 || e.dueUs < earliest) earliest = e.dueUs;
  }
  g_source_set_ready_time(mSource, earliest);
}

gboolean GlibTimerService::Dispatch(GSource* source, GSourceFunc, gpointer) {
  reinterpret_cast<ServiceSource*>(source)->service->RunDueTimers();
  return G_SOURCE_CONTINUE;
}

void GlibTimerService::RunDueTimers() {
  const int64_t now = g_get_monotonic_time();
  // Each due timer ticks once in a wakeup, however late the wakeup was.
  std::vector<uintptr_t> due;
  for (const auto& [id, e] : mEntries)
    if (!e.running && e.dueUs <= now + kSlackUs) due.push_back(id);
  std::sort(due.begin(), due.end(),
            [this](uintptr_t a, uintptr_t b) { return mEntries[a].dueUs < mEntries[b].dueUs; });
  bool ticked = false;
  for (const uintptr_t id : due) {
    const auto it = mEntries.find(id); // an earlier callable may have stopped it
    if (it == mEntries.end() || it->second.running) continue;
    Entry& entry = it->second;
    // Next due before the callable runs: a dialog it opens runs a nested
    // loop, which must find this timer in the future, not due again.
    entry.dueUs = NextMultiple(std::max(now, entry.dueUs), entry.periodMs);
    entry.running = true;
    Rearm();
    iplug::Timer::Fire(id);
    ticked = true;
    const auto after = mEntries.find(id); // the callable may have stopped it
    if (after != mEntries.end()) after->second.running = false;
  }
  Rearm();
  if (ticked && mAfterTick) mAfterTick();
}

} // namespace zorel::window

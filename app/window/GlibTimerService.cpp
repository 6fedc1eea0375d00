#include "app/window/GlibTimerService.h"

#include <glib.h>

namespace zorel::window {

GlibTimerService::GlibTimerService() {
  iplug::SetTimerService(this);
}

GlibTimerService::~GlibTimerService() {
  if (&iplug::GetTimerService() == this) iplug::SetTimerService(nullptr);
  while (!mEntries.empty()) StopSystemTimer(mEntries.begin()->first);
}

uintptr_t GlibTimerService::StartSystemTimer(uint32_t periodMs) {
  if (periodMs == 0) return 0;
  auto* entry = new Entry{this};
  entry->sourceId = g_timeout_add_full(G_PRIORITY_DEFAULT, periodMs, &GlibTimerService::OnTimeout,
                                       entry, [](gpointer p) { delete static_cast<Entry*>(p); });
  mEntries[entry->sourceId] = entry;
  return entry->sourceId;
}

void GlibTimerService::StopSystemTimer(uintptr_t id) {
  const auto it = mEntries.find(id);
  if (it == mEntries.end()) return;
  mEntries.erase(it);
  // Frees the entry; a callable that stops its own timer is still on the
  // stack, but OnTimeout no longer touches the entry once the callable ran.
  g_source_remove(static_cast<guint>(id));
}

int GlibTimerService::OnTimeout(void* data) {
  auto* entry = static_cast<Entry*>(data);
  if (entry->running) return G_SOURCE_CONTINUE; // fired again from a dialog it opened
  GlibTimerService* service = entry->service;
  const uintptr_t id = entry->sourceId;
  entry->running = true;
  // Keeps the entry alive while the callable runs, even if it stops this
  // timer: the source is removed, but GLib frees the data only after this
  // dispatch returns.
  iplug::Timer::Fire(id);
  const bool stillRunning = service->mEntries.count(id) != 0;
  entry->running = false;
  if (service->mAfterTick) service->mAfterTick();
  return stillRunning ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
}

} // namespace zorel::window

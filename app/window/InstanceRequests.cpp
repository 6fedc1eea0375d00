#include "app/window/InstanceRequests.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/window/MenuCommands.h"
#include "app/window/StateDump.h"

namespace zorel::window {

namespace {

// Each pass invalidates the whole drawing area and has GTK paint it at once
// and the X server take it, so the time is that of one frame on screen:
// the controls drawn by cairo, the window's buffer copied out, the server
// synchronised.
std::string TimeFullRedraws(MainWindow& window, int passes) {
  if (!window.IsOpen()) return "window closed\n";
  GtkWidget* area = window.View().DrawingArea();
  GdkWindow* gdkWindow = gtk_widget_get_window(area);
  if (gdkWindow == nullptr) return "not shown\n";
  int64_t total = 0;
  int64_t drawing = 0;
  int64_t best = INT64_MAX;
  for (int i = 0; i < passes; ++i) {
    const int64_t start = g_get_monotonic_time();
    window.View().RedrawAll();
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    gdk_window_process_updates(gdkWindow, TRUE);
    G_GNUC_END_IGNORE_DEPRECATIONS
    gdk_display_sync(gdk_window_get_display(gdkWindow));
    const int64_t took = g_get_monotonic_time() - start;
    total += took;
    best = std::min(best, took);
    drawing += window.View().LastFrameMicros();
  }
  char line[160];
  std::snprintf(line, sizeof line,
                "redraw passes %d mean-us %lld best-us %lld draw-handler-mean-us %lld\n", passes,
                static_cast<long long>(total / passes), static_cast<long long>(best),
                static_cast<long long>(drawing / passes));
  return line;
}

std::string AnswerMonitor(MainWindow& window, const std::string& what) {
  if (!window.IsOpen()) return "window closed\n";
  MonitorWindow& monitor = window.Monitor();
  if (what == "open") {
    window.OnCommand(kCmdMidiMonitor);
    return "opened\n";
  }
  if (!monitor.IsOpen()) return "monitor closed\n";
  if (what == "close") {
    monitor.Close();
  } else if (what == "pause" || what == "resume") {
    monitor.SetPaused(what == "pause");
  } else if (what == "clear") {
    monitor.Clear();
  } else if (what.rfind("save ", 0) == 0) {
    std::string error;
    if (!monitor.SaveTo(what.substr(5), error)) return error + "\n";
  } else {
    return "unknown request\n";
  }
  return "done\n";
}

} // namespace

std::string AnswerRequest(MainWindow& window, const std::string& request) {
  if (request == "present") {
    window.Present();
    return "presented\n";
  }
  if (request == "state") return DumpState(window);
  if (request.rfind("monitor ", 0) == 0) return AnswerMonitor(window, request.substr(8));
  if (request.rfind("redraw-time", 0) == 0) {
    const int passes = std::clamp(std::atoi(request.c_str() + 11), 1, 1000);
    return TimeFullRedraws(window, passes);
  }
  return "unknown request\n";
}

} // namespace zorel::window

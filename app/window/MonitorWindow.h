#pragma once

#include <gtk/gtk.h>

#include <deque>
#include <string>
#include <vector>

#include "app/host/AppHost.h"
#include "protocol/TrafficLog.h"

namespace zorel::window {

inline constexpr const char* kMonitorTitle = "MIDI Monitor";

// Tools > MIDI Monitor: every message to and from the pedal, one row each
// (time, direction, length, what it is), with Pause, Clear and Save.
//
// The host's traffic log is started when the window opens and stopped when
// it closes, so the ports pay nothing while nobody watches. A main-loop
// timer takes what the log gathered and turns it into rows; the MIDI and
// audio threads only append raw bytes to the log, never touch a widget.
// While paused, new rows are held back (not lost) and shown on Resume.
class MonitorWindow {
public:
  // Beyond this many rows the oldest go, so a monitor left open for hours
  // does not eat the memory.
  static constexpr size_t kMaxRows = 100000;
  static constexpr guint kRefreshMs = 100;

  explicit MonitorWindow(AppHost& host) : mHost(host) {}
  ~MonitorWindow();
  MonitorWindow(const MonitorWindow&) = delete;
  MonitorWindow& operator=(const MonitorWindow&) = delete;

  // Opens (or brings to the front) and starts logging.
  void Open(GtkWindow* parent);
  void Close();
  bool IsOpen() const { return mWindow != nullptr; }
  GtkWindow* Window() const { return GTK_WINDOW(mWindow); }

  void SetPaused(bool paused);
  bool Paused() const { return mPaused; }
  void Clear();
  // Takes what the log gathered now (the timer does this every kRefreshMs).
  void Refresh();
  // The rows shown, as the lines that Save writes.
  const std::deque<std::string>& Lines() const { return mLines; }
  size_t HeldLines() const { return mHeld.size(); }
  // Writes the rows shown to `path`, one line each; false with `error`.
  bool SaveTo(const std::string& path, std::string& error) const;

private:
  static gboolean OnTimer(gpointer self);
  static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer self);
  void AddRow(const std::string& line);
  void UpdateStatus();
  void AskAndSave();

  AppHost& mHost;
  GtkWidget* mWindow = nullptr;
  GtkListStore* mStore = nullptr;
  GtkWidget* mView = nullptr;
  GtkWidget* mPauseButton = nullptr;
  GtkWidget* mStatus = nullptr;
  guint mTimer = 0;
  bool mPaused = false;
  TrafficFormatter mFormatter;
  std::deque<std::string> mLines; // shown
  std::vector<std::string> mHeld; // arrived while paused
};

} // namespace zorel::window

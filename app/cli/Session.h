#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "app/cli/CommandLine.h"
#include "app/cli/ConsoleModal.h"
#include "app/cli/RealTimeClock.h"
#include "app/host/AppHost.h"

namespace zorel::lib {
class LibraryLock;
}

namespace zorel::cli {

// The first of the window's three device lines; the pedal's reply gives the
// other two.
inline constexpr const char* kDeviceLine = "DEVICE: Dravix Movrant Zorel";

// One run of the editor core without a window: the host with its ports and
// stream, the clock that runs the editor's ticks on this thread, and the
// waits that bound every exchange with the pedal by the time-out.
class Session {
public:
  // `backends` names the MIDI and audio systems and the library folder;
  // left empty: RtMidi on the invocation's API, RtAudio, the user's library.
  Session(const Invocation& invocation, ConsoleModal& modal, AppHost::Options backends = {});
  ~Session();

  // Ports and settings only (for listing ports): no stream, no pedal.
  bool StartMidiOnly();
  // The whole start-up; false (with the reason printed) when there is no
  // MIDI system or no port in either direction.
  bool Start();
  // Connects and brings the library cache up to date.
  bool Connect();
  // After an import the editor empties its cache and connects anew, which
  // reads every preset back: true once it is connected again, that read is
  // over and every preset slot is in the cache.
  bool AwaitReread();
  // Tells the pedal the editor is leaving (when connected) and lets the
  // last messages go out.
  void Finish();

  AppHost& Host() { return *mHost; }
  ZorelControl& Editor() { return mHost->Editor(); }
  ConsoleModal& Modal() { return mModal; }
  const Invocation& Args() const { return mInvocation; }

  // Runs `f(editor)` under the editor lock, as every user event does.
  template <typename F> auto Locked(F&& f) {
    std::lock_guard<iplug::EditorLock> lock(Editor().EditorLock());
    return f(Editor());
  }

  // Which traffic shows that the pedal is still at it.
  enum class Activity {
    kNone,     // the time-out counts from the start of the wait
    kReceived, // from the last message of the pedal
    kAny,      // from the last message either way (transfers that send unasked)
  };
  // Pumps until `done` (called under the editor lock) holds; false after
  // the time-out or an interrupt.
  bool WaitUntil(const std::function<bool(ZorelControl&)>& done, Activity activity);
  // Connected, nothing running, and no traffic for a moment.
  bool Settled();
  bool WaitSettled() {
    return WaitUntil([this](ZorelControl&) { return Settled(); }, Activity::kReceived);
  }
  // Pumps until a message box beyond the first `seen` was shown, for at
  // most `ms`; the texts shown since then.
  std::vector<std::string> MessagesSince(size_t seen, int ms = 1000);
  void RunFor(std::chrono::milliseconds duration);

  // The window's device lines known so far ("DEVICE: ...", "VERSION: ...",
  // "SERIAL: ..."), each printed again.
  void PrintDeviceLines();

  // The reason of the last failed wait.
  const std::string& WaitFailure() const { return mWaitFailure; }

  static void RequestInterrupt() { sInterrupted = true; }
  static bool Interrupted() { return sInterrupted; }

  static constexpr std::chrono::milliseconds kQuietTime{500};

private:
  void Pump();
  void ShowProgress();
  void ShowDeviceLines();
  bool CacheComplete();
  void Print(const std::string& progress);
  // --monitor: the lines of the messages that passed since the last call.
  void ShowTraffic();
  std::string PortSummary() const;

  Invocation mInvocation;
  ConsoleModal& mModal;
  RealTimeClock mClock; // before the host: the editor's timers start on it
  std::unique_ptr<AppHost> mHost;
  uint64_t mLastTraffic = 0;
  std::chrono::steady_clock::time_point mLastTrafficTime;
  std::string mLastProgress;
  int mLastProgressTens = -1;
  bool mProgressOnTerminal = false;
  std::string mWaitFailure;
  TrafficFormatter mTrafficLines;
  // The device lines as last printed: each goes out once, when it is known.
  bool mDeviceShown = false;
  std::string mVersionShown;
  std::string mSerialShown;
  static std::atomic<bool> sInterrupted;
  std::unique_ptr<lib::LibraryLock> mLibraryLock;
};

} // namespace zorel::cli

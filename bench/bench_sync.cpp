// The connection's bulk read over real MIDI: the host (RtMidi and RtAudio on
// JACK) reads 128 presets that all differ from an empty cache from
// zorel-virtual-pedal, once unthrottled and once with the pedal pacing its
// bytes at the 31250 baud wire rate. Reported: the time of the read and its
// ratio to the wire time of every byte exchanged in it, the physical limit
// of a protocol that asks for one preset after the other.
//
// Self-contained: the program starts a private JACK server (dummy driver,
// 256-frame periods at 48 kHz) and the pedal, and stops both by pid.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/cli/RealTimeClock.h"
#include "app/host/AppHost.h"

extern char** environ;

namespace {

using namespace zorel;
using Clock = std::chrono::steady_clock;

constexpr double kWireSecondsPerByte = 10.0 / 31250.0; // start, 8 data, stop bits
const std::string kServer = "zorel-bench-" + std::to_string(::getpid());
const std::string kPedalName = "ZorelBench" + std::to_string(::getpid());

pid_t Spawn(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], &quiet, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&quiet);
  return pid;
}

void Stop(pid_t pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGTERM);
  int status = 0;
  ::waitpid(pid, &status, 0);
}

bool WaitFor(const std::string& shellTest, int tenths) {
  for (int i = 0; i < tenths; ++i) {
    if (std::system(shellTest.c_str()) == 0) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

// The JACK server for the whole run, started on first use.
class JackServer {
public:
  static bool Ensure() {
    static JackServer server;
    return server.mUp;
  }
  ~JackServer() { Stop(mPid); }

private:
  JackServer() {
    ::setenv("JACK_DEFAULT_SERVER", kServer.c_str(), 1);
    ::setenv("JACK_NO_START_SERVER", "1", 1);
    mPid = Spawn({"jackd", "--no-realtime", "-d", "dummy", "-r", "48000", "-p", "256"});
    mUp = mPid > 0 && WaitFor("jack_lsp >/dev/null 2>&1", 200);
  }
  pid_t mPid = -1;
  bool mUp = false;
};

struct SyncResult {
  double seconds = 0;
  uint64_t bytes = 0;
  int presets = 0;
  bool ok = false;
};

// One connection with an empty library: the time from the first preset
// request to the end of the bulk read.
SyncResult SyncOnce(cli::RealTimeClock& clock) {
  SyncResult r;
  const std::string root =
      (std::filesystem::temp_directory_path() / ("zorel-bench-lib-" + std::to_string(::getpid())))
          .string();
  std::filesystem::remove_all(root);
  {
    AppHost::Options options;
    options.midi = RtMidiFactory(MidiApiChoice::kJack);
    options.libraryRoot = root;
    options.saveDrawScale = false;
    options.midiInPort = kPedalName + " Out:MIDI Out";
    options.midiOutPort = kPedalName + ":MIDI In";
    AppHost host(std::move(options));
    host.InitHost();
    host.TryChangeAudio();
    host.Editor().InstallLibraryContent();
    ZorelControl& e = host.Editor();
    auto locked = [&](auto f) {
      std::lock_guard<iplug::EditorLock> lock(e.EditorLock());
      return f(e.State());
    };
    const auto deadline = Clock::now() + std::chrono::seconds(120);
    bool started = false;
    Clock::time_point t0;
    uint64_t bytes0 = 0;
    while (Clock::now() < deadline) {
      clock.Pump();
      if (!started &&
          locked([](const SessionState& s) { return s.mBulkLoading && s.mBulkSlot >= 0; })) {
        started = true;
        t0 = Clock::now();
        bytes0 = host.BytesReceived() + host.BytesSent();
        r.presets = locked([](const SessionState& s) { return s.mBulkTotal; });
      }
      if (started && !locked([](const SessionState& s) { return s.mBulkLoading; })) {
        r.seconds = std::chrono::duration<double>(Clock::now() - t0).count();
        r.bytes = host.BytesReceived() + host.BytesSent() - bytes0;
        r.ok = true;
        break;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  }
  std::filesystem::remove_all(root);
  return r;
}

void BM_Sync128Presets(benchmark::State& state) {
  const bool wire = state.range(0) != 0;
  if (!JackServer::Ensure()) {
    state.SkipWithError("no JACK server could be started");
    return;
  }
  std::vector<std::string> args = {ZOREL_PEDAL_PROGRAM, "--api", "jack", "--name", kPedalName};
  if (wire) args.push_back("--wire");
  const pid_t pedal = Spawn(args);
  if (pedal <= 0 || !WaitFor("jack_lsp 2>/dev/null | grep -qx '" + kPedalName + ":MIDI In'", 100)) {
    Stop(pedal);
    state.SkipWithError("the virtual pedal did not start");
    return;
  }
  ZorelControl::SetShutdownWaitMs(0);
  cli::RealTimeClock clock;
  SyncResult last;
  for (auto _ : state) {
    last = SyncOnce(clock);
    if (!last.ok || last.presets != 128) {
      state.SkipWithError("the bulk read did not run over 128 presets");
      break;
    }
    state.SetIterationTime(last.seconds);
  }
  Stop(pedal);
  if (!last.ok) return;
  const double wireSeconds = last.bytes * kWireSecondsPerByte;
  state.counters["bytes"] = static_cast<double>(last.bytes);
  state.counters["wire_s"] = wireSeconds;
  state.counters["ratio_to_wire"] = last.seconds / wireSeconds;
  state.counters["ms_per_preset"] = 1000.0 * last.seconds / last.presets;
  state.SetLabel(wire ? "pedal at 31250 baud" : "unthrottled");
}

BENCHMARK(BM_Sync128Presets)
    ->ArgName("wire")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

} // namespace

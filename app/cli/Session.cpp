#include "app/cli/Session.h"

#include <cstdio>
#include <thread>
#include <unistd.h>

#include "library/FileReader.h"
#include "library/LibraryLock.h"
#include "library/LibraryPaths.h"

namespace zorel::cli {

std::atomic<bool> Session::sInterrupted{false};

namespace {

constexpr std::chrono::milliseconds kFinishDrain{100};

bool Busy(const SessionState& s) {
  return s.mBulkLoading || s.mBulkModePending || s.mExporting || s.mImporting ||
         s.mImportFinishedPending || s.mFirmwareActive || s.mIRUploadRunning || s.mIR7Pending ||
         s.mIR8Pending || s.mFinishedPending || s.AwaitingReply() || s.mHasPendingMessage ||
         s.mStoreArmed;
}

} // namespace

Session::Session(const Invocation& invocation, ConsoleModal& modal, AppHost::Options backends)
    : mInvocation(invocation), mModal(modal), mLastTrafficTime(std::chrono::steady_clock::now()) {
  // The host closes the stream before the editor goes, so the editor's
  // settling pause at destruction has nothing to wait for here.
  ZorelControl::SetShutdownWaitMs(0);
  AppHost::Options options = std::move(backends);
  if (!options.midi) options.midi = RtMidiFactory(invocation.api);
  options.modal = &mModal;
  options.saveDrawScale = false; // no window: the window's scale stays as it is
  options.openAudio = false;     // MIDI is read by the fallback drain
  options.midiInPort = invocation.inPort;
  options.midiOutPort = invocation.outPort;
  mHost = std::make_unique<AppHost>(std::move(options));
  // Monitor lines between progress that rewrites its own line would tear
  // both apart: with the monitor, progress goes line by line.
  mProgressOnTerminal = ::isatty(STDERR_FILENO) != 0 && !invocation.monitor;
  if (invocation.monitor) mHost->Traffic().Start();
}

Session::~Session() {
  if (mProgressOnTerminal && !mLastProgress.empty()) std::fprintf(stderr, "\n");
  mHost.reset();
}

bool Session::StartMidiOnly() {
  if (!mHost->InitMidi()) {
    std::fprintf(stderr, "zorelctl: no MIDI system could be opened\n");
    return false;
  }
  mHost->ListMidiPorts();
  return true;
}

std::string Session::PortSummary() const {
  auto shown = [](const std::string& name) { return name.empty() ? std::string("none") : name; };
  return "input \"" + shown(mHost->OpenMidiInPort()) + "\", output \"" +
         shown(mHost->OpenMidiOutPort()) + "\"";
}

bool Session::Start() {
  // One process at a time on a library: two would overwrite each other's
  // files and answer the same pedal twice.
  mLibraryLock = std::make_unique<lib::LibraryLock>(Editor().Library().Root());
  if (!mLibraryLock->TryAcquire()) {
    std::fprintf(stderr, "zorelctl: %s\n", mLibraryLock->Message().c_str());
    return false;
  }
  mHost->InitHost();
  if (!mHost->HasMidiIn()) {
    std::fprintf(stderr, "zorelctl: no MIDI system could be opened\n");
    return false;
  }
  if (mHost->OpenMidiInPort().empty() || mHost->OpenMidiOutPort().empty()) {
    std::fprintf(stderr,
                 "zorelctl: no MIDI %s port is open (%s)%s; give --in / --out, or run "
                 "\"zorelctl ports\" to see the ports\n",
                 mHost->OpenMidiInPort().empty() ? "input" : "output", PortSummary().c_str(),
                 mInvocation.inPort.empty() && mInvocation.outPort.empty()
                     ? " and the pedal answered on no port"
                     : "");
    return false;
  }
  Editor().InstallLibraryContent();
  return true;
}

bool Session::Connect() {
  const int appliedBefore = Locked([](ZorelControl& e) {
    // A refusal counts only when the identity of this connection says so.
    e.State().mVersionRefused = false;
    return e.State().mPresetsApplied;
  });
  // A firmware too old or too new ends the wait; a note on the way (the
  // ports opened again after a silence) does not.
  const bool connected = WaitUntil(
      [&](ZorelControl& e) {
        const SessionState& s = e.State();
        return s.mConnected || (s.mVersionRefused && !s.mHasPendingMessage);
      },
      Activity::kNone);
  if (!connected || !Locked([](ZorelControl& e) { return e.State().mConnected; })) {
    if (connected)
      mWaitFailure = "the pedal refused the connection";
    else if (!Interrupted())
      mWaitFailure = "no pedal answered within the time-out (" + PortSummary() + ")";
    return false;
  }
  // Done only when the cache holds what the pedal holds; a transfer that
  // gives up says why in a box, which ends the wait. The connection's last
  // step is the current preset: once it is applied and nothing more is
  // awaited the wait is over; otherwise a quiet link ends it.
  const size_t before = mModal.Messages().size();
  const bool ended = WaitUntil(
      [&](ZorelControl& e) {
        const SessionState& s = e.State();
        const bool presetIn = s.mPresetsApplied != appliedBefore && !Busy(s);
        return (s.mCacheInSync && (presetIn || Settled())) || mModal.Messages().size() > before;
      },
      Activity::kReceived);
  if (!ended || !Locked([](ZorelControl& e) { return e.State().mCacheInSync; })) {
    if (ended)
      mWaitFailure = "the library could not be brought up to date: " + mModal.Messages().back();
    else if (!Interrupted())
      mWaitFailure = "the pedal stopped answering while its presets were read";
    return false;
  }
  return true;
}

bool Session::AwaitReread() {
  const bool reconnected =
      WaitUntil([](ZorelControl& e) { return e.State().mConnected; }, Activity::kNone);
  if (!reconnected) {
    if (!Interrupted()) mWaitFailure = "the pedal did not connect again within the time-out";
    return false;
  }
  // Settled alone could come before the pedal's list of checksums does; the
  // read of the emptied cache, or a cache that is whole after all, shows
  // that the comparison was made.
  bool readSeen = false;
  auto lastCheck = std::chrono::steady_clock::time_point{};
  const bool read = WaitUntil(
      [&](ZorelControl& e) {
        const SessionState& s = e.State();
        readSeen = readSeen || s.mBulkLoading || s.mBulkModePending;
        if (!Settled()) return false;
        for (int k = 0; k < kPresetSlotCount; ++k)
          if (e.Library().FetchFlag(k)) return false;
        if (readSeen) return true;
        const auto now = std::chrono::steady_clock::now();
        if (now - lastCheck < kQuietTime) return false;
        lastCheck = now;
        return CacheComplete();
      },
      Activity::kReceived);
  if (!read) {
    if (!Interrupted())
      mWaitFailure = "the pedal stopped answering while its presets were read back";
    return false;
  }
  // A slot file that could not be written leaves the cache out of step
  // (the read says so in a box), whatever the files that are there say.
  const bool whole =
      Locked([&](ZorelControl& e) { return e.State().mCacheInSync && CacheComplete(); });
  if (!whole) {
    mWaitFailure = "the presets read back could not all be written to the library in " +
                   Editor().Library().Root();
    return false;
  }
  return true;
}

// The library's own rule: an absent slot file is an all-zero preset, whose
// checksum is 0 0, so a pedal slot holding one is never written. A slot
// without its file whose checksum is anything else was not written.
bool Session::CacheComplete() {
  LibraryCache& library = Editor().Library();
  for (int k = 0; k < kPresetSlotCount; ++k)
    if (!library.Slots().ReadPresetSlot(k) && library.ChecksumDiffers(k, 0, 0)) return false;
  return true;
}

void Session::Finish() {
  if (Locked([](ZorelControl& e) { return e.State().mConnected; })) Editor().OnUIClose();
  RunFor(kFinishDrain);
  ShowTraffic();
  const uint64_t lostSysEx = Editor().DroppedSysExInput();
  const uint64_t lostShort = Editor().DroppedMidiInput();
  if (lostSysEx + lostShort > 0) {
    std::fprintf(stderr, "zorelctl: %llu incoming MIDI message(s) were lost (input queue full)\n",
                 static_cast<unsigned long long>(lostSysEx + lostShort));
  }
}

void Session::Pump() {
  mClock.Pump();
  const uint64_t traffic = mHost->MessagesReceived() + mHost->MessagesSent();
  if (traffic != mLastTraffic) {
    mLastTraffic = traffic;
    mLastTrafficTime = std::chrono::steady_clock::now();
  }
  ShowTraffic();
  ShowDeviceLines();
  ShowProgress();
}

void Session::ShowTraffic() {
  if (!mHost->Traffic().Active()) return;
  const std::vector<TrafficLog::Entry> entries = mHost->Traffic().Take();
  if (entries.empty()) return;
  for (const TrafficLog::Entry& entry : entries)
    std::fprintf(mModal.Out(), "%s\n", mTrafficLines.Line(entry).c_str());
  std::fflush(mModal.Out());
}

void Session::ShowDeviceLines() {
  const auto [version, serial] = Locked([](ZorelControl& e) {
    return std::pair(e.State().mDeviceVersionText, e.State().mDeviceSerialText);
  });
  // The window shows the device line together with the version, also when
  // it then refuses the pedal's firmware.
  const bool newVersion = !version.empty() && version != mVersionShown;
  const bool newSerial = !serial.empty() && serial != mSerialShown;
  if (!newVersion && !newSerial) return;
  if (newVersion && !mDeviceShown) std::fprintf(mModal.Out(), "%s\n", kDeviceLine);
  if (newVersion) std::fprintf(mModal.Out(), "%s\n", version.c_str());
  if (newSerial) std::fprintf(mModal.Out(), "%s\n", serial.c_str());
  std::fflush(mModal.Out());
  mDeviceShown = mDeviceShown || newVersion;
  if (newVersion) mVersionShown = version;
  if (newSerial) mSerialShown = serial;
}

void Session::PrintDeviceLines() {
  mDeviceShown = false;
  mVersionShown.clear();
  mSerialShown.clear();
  ShowDeviceLines();
}

void Session::RunFor(std::chrono::milliseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  do {
    Pump();
    mHost->WaitForMidi(RealTimeClock::kPumpInterval);
  } while (std::chrono::steady_clock::now() < end);
}

bool Session::Settled() {
  const bool quiet = std::chrono::steady_clock::now() - mLastTrafficTime >= kQuietTime;
  return quiet && Locked([](ZorelControl& e) {
           return e.State().mConnected && !Busy(e.State()) && !e.SnapshotPending();
         });
}

bool Session::WaitUntil(const std::function<bool(ZorelControl&)>& done, Activity activity) {
  using Clock = std::chrono::steady_clock;
  const auto timeout = std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(mInvocation.timeoutSeconds));
  auto count = [&]() -> uint64_t {
    switch (activity) {
    case Activity::kReceived:
      return mHost->MessagesReceived();
    case Activity::kAny:
      return mHost->MessagesReceived() + mHost->MessagesSent();
    case Activity::kNone:
      break;
    }
    return 0;
  };
  uint64_t last = count();
  auto lastChange = Clock::now();
  mWaitFailure.clear();
  for (;;) {
    Pump();
    if (Locked(done)) return true;
    if (Interrupted()) {
      mWaitFailure = "interrupted";
      return false;
    }
    const uint64_t now = count();
    if (now != last) {
      last = now;
      lastChange = Clock::now();
    }
    if (Clock::now() - lastChange > timeout) {
      mWaitFailure = "the pedal did not answer within the time-out";
      return false;
    }
    mHost->WaitForMidi(RealTimeClock::kPumpInterval);
  }
}

std::vector<std::string> Session::MessagesSince(size_t seen, int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (mModal.Messages().size() <= seen && std::chrono::steady_clock::now() < end) {
    Pump();
    mHost->WaitForMidi(RealTimeClock::kPumpInterval);
  }
  const auto& all = mModal.Messages();
  return std::vector<std::string>(
      all.begin() + static_cast<std::ptrdiff_t>(std::min(seen, all.size())), all.end());
}

// The percentage the window's progress bar would show, worked out from the
// running transfer's counters the same way.
void Session::ShowProgress() {
  const double p = Locked([](ZorelControl& e) -> double {
    const SessionState& s = e.State();
    if (s.mImporting && s.mImportCount > 0)
      return static_cast<double>(s.mImportIndex + 1) / s.mImportCount;
    if (s.mExporting)
      return s.mExportPresetIndex < kPresetSlotCount ? s.mExportPresetIndex / 128.0
                                                     : s.mExportIRIndex / 256.0;
    if (s.mBulkLoading && s.mBulkSlot >= 0 && s.mBulkTotal > 0) {
      int waiting = 0;
      for (int k = 0; k < kPresetSlotCount; ++k) waiting += e.Library().FetchFlag(k);
      return static_cast<double>(s.mBulkTotal - waiting) / s.mBulkTotal;
    }
    const double firmware = e.FirmwareProgress();
    if (firmware >= 0) return firmware;
    return e.IRUploadProgress();
  });
  if (p < 0) {
    // The transfer is over; the window's bar ends full, so does this.
    if (!mLastProgress.empty() && mLastProgress != "100 %") Print("100 %");
    mLastProgress.clear();
    mLastProgressTens = -1;
    return;
  }
  const int percent = static_cast<int>(std::min(p, 1.0) * 100);
  char text[32];
  std::snprintf(text, sizeof text, "%d %%", percent);
  if (text == mLastProgress) return;
  mLastProgress = text;
  // A log gets a line per ten per cent, a terminal every step on one line.
  if (!mProgressOnTerminal && percent / 10 == mLastProgressTens) return;
  mLastProgressTens = percent / 10;
  Print(text);
}

void Session::Print(const std::string& progress) {
  std::fprintf(stderr, mProgressOnTerminal ? "\r%s " : "%s\n", progress.c_str());
  std::fflush(stderr);
}

} // namespace zorel::cli

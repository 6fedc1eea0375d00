#pragma once

// The program's event loop: messages from the MIDI thread go into an inbox,
// a self-pipe wakes the loop (also from the signal handler), and the loop
// feeds the virtual pedal on the real clock, sends what falls due, saves the
// state shortly after it changes and reads the optional stdin commands.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "sim/ProgramOptions.h"
#include "sim/VirtualPedal.h"
#include "sim/program/MidiPorts.h"

namespace zorel::sim {

class PedalRunner {
public:
  // `log` may be null (no log). Throws std::runtime_error when the ports
  // cannot be opened.
  PedalRunner(const ProgramOptions& options, PedalState state, std::FILE* log);
  ~PedalRunner();

  const MidiPorts& Ports() const { return *mPorts; }

  // Runs until RequestStop (from any thread or a signal handler) or a
  // "quit" command. Returns false when the final save failed.
  bool Run();

  // Async-signal-safe.
  void RequestStop();

private:
  uint64_t NowUs() const;
  void Wake();
  void DrainInbox();
  bool AnswerLost(const std::vector<uint8_t>& message);
  void SendDue();
  void ReadCommands();
  void Apply(const std::string& line);
  void AfterChanges();
  bool Save();
  int PollTimeoutMs() const;

  ProgramOptions mOptions;
  std::FILE* mLog;
  VirtualPedal mPedal;
  std::unique_ptr<MidiPorts> mPorts;
  // The last request taken, and whether anything was sent since: the same
  // request again after an answer means the answer never arrived.
  std::vector<uint8_t> mLastRequest;
  bool mSentSinceRequest = false;
  std::optional<uint64_t> mRenewedAtUs;
  std::chrono::steady_clock::time_point mStart;

  std::mutex mInboxMutex;
  std::deque<std::vector<uint8_t>> mInbox;

  int mWakeRead = -1;
  int mWakeWrite = -1;
  std::atomic<bool> mStop{false};

  bool mReadStdin = false;
  std::string mStdinBuffer;
  std::optional<uint64_t> mSaveAt;
  int mFirmwareWritten = 0;
};

} // namespace zorel::sim

#include "sim/program/PedalRunner.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "protocol/codec/Frame.h"
#include "sim/PedalCommands.h"
#include "sim/StateFile.h"
#include "sim/TraceFormat.h"

namespace zorel::sim {

namespace {

// A changed pedal is saved this long after the first change, so that a knob
// drag or an IR upload costs one write, not one per message.
constexpr uint64_t kSaveDelayUs = 1000000;
// How long a stop waits for answers that are already due to be sent.
constexpr uint64_t kFlushLimitUs = 1000000;
// The loop wakes at least this often even with nothing to do.
constexpr int kIdleTimeoutMs = 500;
// An output made anew is not made anew again sooner than this.
constexpr uint64_t kRenewGapUs = 2000000;

// A pedal told to damage answers gets requests again by design; only one
// that damages nothing on purpose reads them as lost. (A dropped answer is
// never sent, so it never looks like a lost one; a refused firmware version
// is asked for again like any unanswered identity.)
bool DamagesAnswersOnPurpose(const Misbehaviour& m) {
  return m.cutShare > 0 || m.corruptBlockShare > 0 || m.corruptTransferShare > 0 ||
         m.corruptReceivedShare > 0;
}

} // namespace

PedalRunner::PedalRunner(const ProgramOptions& options, PedalState state, std::FILE* log)
    : mOptions(options), mLog(log), mPedal(options.config, std::move(state)),
      mStart(std::chrono::steady_clock::now()), mReadStdin(options.commands) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
    throw std::runtime_error(std::string("cannot create a pipe: ") + std::strerror(errno));
  mWakeRead = fds[0];
  mWakeWrite = fds[1];
  if (mLog) {
    mPedal.SetObserver([this](const TraceEvent& event) {
      std::fprintf(mLog, "%s\n", FormatTrace(event).c_str());
      std::fflush(mLog);
    });
  }
  mPorts = std::make_unique<MidiPorts>(options.api, options.clientName,
                                       [this](std::vector<uint8_t> message) {
                                         {
                                           std::lock_guard lock(mInboxMutex);
                                           mInbox.push_back(std::move(message));
                                         }
                                         Wake();
                                       });
}

PedalRunner::~PedalRunner() {
  mPorts.reset(); // no more callbacks into the inbox
  if (mWakeRead >= 0) close(mWakeRead);
  if (mWakeWrite >= 0) close(mWakeWrite);
}

uint64_t PedalRunner::NowUs() const {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                   std::chrono::steady_clock::now() - mStart)
                                   .count());
}

void PedalRunner::Wake() {
  const char byte = 1;
  // A full pipe already guarantees a wake-up; nothing to do about it.
  [[maybe_unused]] const ssize_t written = write(mWakeWrite, &byte, 1);
}

void PedalRunner::RequestStop() {
  mStop.store(true);
  Wake();
}

bool PedalRunner::Run() {
  while (!mStop.load()) {
    mPedal.AdvanceTo(NowUs());
    DrainInbox();
    SendDue();
    AfterChanges();
    if (mSaveAt && NowUs() >= *mSaveAt) Save();
    for (const std::string& error : mPorts->TakeErrors())
      std::fprintf(stderr, "zorel-virtual-pedal: MIDI: %s\n", error.c_str());

    pollfd fds[2] = {{mWakeRead, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    const int count = poll(fds, mReadStdin ? 2 : 1, PollTimeoutMs());
    if (count < 0 && errno != EINTR) {
      std::fprintf(stderr, "zorel-virtual-pedal: poll: %s\n", std::strerror(errno));
      break;
    }
    if (count > 0 && (fds[0].revents & POLLIN)) {
      char drain[64];
      while (read(mWakeRead, drain, sizeof drain) > 0) {
      }
    }
    if (count > 0 && mReadStdin && (fds[1].revents & (POLLIN | POLLHUP))) ReadCommands();
  }
  // What is already on its way goes out before the ports close, unless it
  // is held back for longer than a stop should take.
  DrainInbox();
  const uint64_t deadline = NowUs() + kFlushLimitUs;
  while (auto due = mPedal.NextDueTime()) {
    if (*due > deadline) break;
    const uint64_t now = NowUs();
    if (*due > now) usleep(static_cast<useconds_t>(*due - now));
    mPedal.AdvanceTo(NowUs());
    SendDue();
  }
  AfterChanges();
  return Save(); // also creates the file of a pedal that never changed
}

void PedalRunner::DrainInbox() {
  std::deque<std::vector<uint8_t>> messages;
  {
    std::lock_guard lock(mInboxMutex);
    messages.swap(mInbox);
  }
  for (const auto& message : messages) {
    if (AnswerLost(message) && mPorts->RenewOutput())
      std::fprintf(stderr, "zorel-virtual-pedal: a request came again after its answer: the MIDI "
                           "output was made anew\n");
    mPedal.Receive(message);
  }
}

// The editor asks again only when an answer did not arrive (after 3 s, or
// 3.3 s for the identity request): the same request twice in a row with an
// answer sent in between.
bool PedalRunner::AnswerLost(const std::vector<uint8_t>& m) {
  const bool request = m.size() > kOffsetCommand && (m[kOffsetCommand] == kCmdRequestSettings ||
                                                     m[kOffsetCommand] == kCmdRequestPreset ||
                                                     m[kOffsetCommand] == kCmdRequestIR);
  const bool again = request && m == mLastRequest && mSentSinceRequest;
  mLastRequest = request ? m : std::vector<uint8_t>();
  mSentSinceRequest = false;
  if (!again || DamagesAnswersOnPurpose(mOptions.config.misbehaviour)) return false;
  const uint64_t now = NowUs();
  if (mRenewedAtUs && now - *mRenewedAtUs < kRenewGapUs) return false;
  mRenewedAtUs = now;
  return true;
}

void PedalRunner::SendDue() {
  for (const auto& message : mPedal.Collect()) {
    mPorts->Send(message);
    mSentSinceRequest = true;
  }
}

int PedalRunner::PollTimeoutMs() const {
  uint64_t wait = static_cast<uint64_t>(kIdleTimeoutMs) * 1000;
  const uint64_t now = NowUs();
  if (auto due = mPedal.NextDueTime()) wait = std::min(wait, *due > now ? *due - now : 0);
  if (mSaveAt) wait = std::min(wait, *mSaveAt > now ? *mSaveAt - now : 0);
  return static_cast<int>((wait + 999) / 1000); // round up: never wake early and spin
}

void PedalRunner::AfterChanges() {
  if (mPedal.Model().Changed()) {
    mPedal.Model().ClearChanged();
    if (!mOptions.statePath.empty() && !mSaveAt) mSaveAt = NowUs() + kSaveDelayUs;
  }
  const int updates = mPedal.Model().FirmwareUpdates();
  if (updates != mFirmwareWritten && !mOptions.firmwareOutPath.empty()) {
    const auto& image = mPedal.Model().ReceivedFirmware();
    std::ofstream out(mOptions.firmwareOutPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()),
              static_cast<std::streamsize>(image.size()));
    if (!out)
      std::fprintf(stderr, "zorel-virtual-pedal: cannot write %s\n",
                   mOptions.firmwareOutPath.c_str());
  }
  mFirmwareWritten = updates;
}

bool PedalRunner::Save() {
  mSaveAt.reset();
  if (mOptions.statePath.empty()) return true;
  std::string error;
  if (SaveStateFile(mOptions.statePath, mPedal.State(), error)) return true;
  std::fprintf(stderr, "zorel-virtual-pedal: %s\n", error.c_str());
  return false;
}

void PedalRunner::ReadCommands() {
  char buffer[512];
  const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
  if (n <= 0) {
    if (n == 0 || (errno != EAGAIN && errno != EINTR)) mReadStdin = false; // end of input
    return;
  }
  mStdinBuffer.append(buffer, static_cast<size_t>(n));
  size_t end;
  while ((end = mStdinBuffer.find('\n')) != std::string::npos) {
    const std::string line = mStdinBuffer.substr(0, end);
    mStdinBuffer.erase(0, end + 1);
    Apply(line);
  }
}

void PedalRunner::Apply(const std::string& line) {
  std::string error;
  const auto command = ParsePedalCommand(line, error);
  if (!command) {
    if (!error.empty()) std::fprintf(stderr, "zorel-virtual-pedal: %s\n", error.c_str());
    return;
  }
  mPedal.AdvanceTo(NowUs());
  switch (command->kind) {
  case PedalCommand::Kind::Knob:
    mPedal.TurnKnob(command->first, command->second);
    break;
  case PedalCommand::Kind::Filter:
    mPedal.PressFilter();
    break;
  case PedalCommand::Kind::IRName:
    mPedal.ReportIRName(command->first);
    break;
  case PedalCommand::Kind::Save:
    AfterChanges();
    Save();
    break;
  case PedalCommand::Kind::Quit:
    mStop.store(true);
    break;
  }
  SendDue();
}

} // namespace zorel::sim

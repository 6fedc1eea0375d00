#include "app/host/MidiWake.h"

#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>

namespace zorel {

MidiWake::MidiWake() : mFd(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

MidiWake::~MidiWake() {
  if (mFd >= 0) close(mFd);
}

void MidiWake::Signal() {
  if (mFd < 0) return;
  const uint64_t one = 1;
  // A full counter (never in practice) still leaves the descriptor readable.
  [[maybe_unused]] const ssize_t written = write(mFd, &one, sizeof one);
}

bool MidiWake::Take() {
  if (mFd < 0) return false;
  uint64_t count = 0;
  return read(mFd, &count, sizeof count) == static_cast<ssize_t>(sizeof count);
}

bool MidiWake::Wait(std::chrono::milliseconds timeout) {
  if (mFd < 0) {
    std::this_thread::sleep_for(timeout);
    return false;
  }
  pollfd p{mFd, POLLIN, 0};
  if (poll(&p, 1, static_cast<int>(timeout.count())) <= 0) return false;
  return Take();
}

} // namespace zorel

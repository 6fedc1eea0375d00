#pragma once

#include <chrono>

namespace zorel {

// Wakes the thread that drains the MIDI input queues as soon as a message
// has been queued, instead of letting the message wait for a timer: the
// MIDI library's thread signals, the user-interface thread waits on it
// (zorelctl's loop) or watches its descriptor (the window's main loop).
// An eventfd: a signal is one non-blocking write, many signals before a
// wait wake it once.
class MidiWake {
public:
  MidiWake();
  ~MidiWake();
  MidiWake(const MidiWake&) = delete;
  MidiWake& operator=(const MidiWake&) = delete;

  // Any thread; never blocks.
  void Signal();
  // Waits at most `timeout` for a signal; true when one came (it is then
  // taken). Without a descriptor it only sleeps.
  bool Wait(std::chrono::milliseconds timeout);
  // Takes a signal that is there, without waiting; true when there was one.
  bool Take();
  // The descriptor a main loop watches for input; -1 when none could be made.
  int Fd() const { return mFd; }

private:
  int mFd = -1;
};

} // namespace zorel

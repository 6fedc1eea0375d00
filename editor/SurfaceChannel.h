#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "editor/ControlSurface.h"

namespace zorel {

// Carries the core's requests to the control surface. Controls belong to the
// user-interface thread: a request made there runs at once (after anything
// still queued, so order is kept); a request made on another thread (the
// audio thread handling a reply from the pedal) is queued and run by the
// next user-interface tick, in the order requested. Requests made while no
// surface is open are dropped, as the surface rebuilds itself from the
// editor's state when it opens.
class SurfaceChannel {
public:
  using Request = std::function<void(IControlSurface&)>;

  // The thread that owns the controls; the constructing thread by default.
  void SetUIThread(std::thread::id id) { mUIThread = id; }
  bool OnUIThread() const { return std::this_thread::get_id() == mUIThread; }

  // Called on the user-interface thread when a surface opens or closes.
  void Attach(IControlSurface* surface);
  bool IsOpen() const;

  void Post(Request request);
  // A message box: on the surface when one is open, otherwise kept for the
  // headless owner (the command-line tool prints them), so no message is
  // lost for want of a window.
  void PostMessage(const std::string& text);
  bool TakeHeadlessMessage(std::string& text);
  // Runs what other threads queued; called by the user-interface tick.
  void Flush();
  size_t PendingCount() const;

private:
  mutable std::mutex mMutex;
  std::thread::id mUIThread = std::this_thread::get_id();
  IControlSurface* mSurface = nullptr;
  std::deque<Request> mPending;
  std::deque<std::string> mHeadlessMessages;
};

} // namespace zorel

#include "editor/SurfaceChannel.h"

namespace zorel {

void SurfaceChannel::Attach(IControlSurface* surface) {
  std::lock_guard<std::mutex> guard(mMutex);
  mSurface = surface;
  if (surface == nullptr) mPending.clear();
}

bool SurfaceChannel::IsOpen() const {
  std::lock_guard<std::mutex> guard(mMutex);
  return mSurface != nullptr;
}

void SurfaceChannel::Post(Request request) {
  if (!OnUIThread()) {
    std::lock_guard<std::mutex> guard(mMutex);
    if (mSurface != nullptr) mPending.push_back(std::move(request));
    return;
  }
  Flush();
  IControlSurface* surface;
  {
    std::lock_guard<std::mutex> guard(mMutex);
    surface = mSurface;
  }
  if (surface != nullptr) request(*surface);
}

void SurfaceChannel::Flush() {
  if (!OnUIThread()) return;
  for (;;) {
    Request next;
    IControlSurface* surface;
    {
      std::lock_guard<std::mutex> guard(mMutex);
      if (mPending.empty() || mSurface == nullptr) return;
      next = std::move(mPending.front());
      mPending.pop_front();
      surface = mSurface;
    }
    // Run outside the mutex: a request may post further requests.
    next(*surface);
  }
}

void SurfaceChannel::PostMessage(const std::string& text) {
  if (IsOpen()) {
    Post([text](IControlSurface& c) { c.ShowMessage(text); });
    return;
  }
  std::lock_guard<std::mutex> guard(mMutex);
  mHeadlessMessages.push_back(text);
}

bool SurfaceChannel::TakeHeadlessMessage(std::string& text) {
  std::lock_guard<std::mutex> guard(mMutex);
  if (mHeadlessMessages.empty()) return false;
  text = std::move(mHeadlessMessages.front());
  mHeadlessMessages.pop_front();
  return true;
}

size_t SurfaceChannel::PendingCount() const {
  std::lock_guard<std::mutex> guard(mMutex);
  return mPending.size();
}

} // namespace zorel

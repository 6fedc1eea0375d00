#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "protocol/PedalSender.h"

namespace zorel {

// The link check ("doctor"): a bounded series of requests that change
// nothing on the pedal (identity, checksum list, a few preset reads), one
// at a time, each answered or given up after a second. While it runs it
// takes every incoming message, so the editor's own state is untouched by
// the answers, and the editor's device tick pauses. Driven by the editor's
// 100 ms tick and by the pedal's answers, both under the editor lock.
class LinkCheck {
public:
  static constexpr int kIdentityRequests = 20;
  static constexpr int kListRequests = 5;
  static constexpr int kPresetReads = 10;
  static constexpr int kTotal = kIdentityRequests + kListRequests + kPresetReads;
  static constexpr int kAnswerTicks = 10; // 1 s

  struct Result {
    int sent = 0;
    int answered = 0;                // whole and intact
    int lost = 0;                    // no answer within a second
    int damaged = 0;                 // an answer with a wrong checksum, cut short or garbled
    int late = 0;                    // an answer to an earlier request, after its time was up
    int other = 0;                   // messages nobody asked for (the pedal's own reports)
    std::vector<double> roundTripMs; // of the answered requests
  };

  // `nowUs` reads a monotonic clock in microseconds.
  LinkCheck(PedalSender& sender, std::function<uint64_t()> nowUs);

  // Starts a new series (any running one is dropped).
  void Start();
  bool Running() const { return mRunning; }
  bool Done() const { return mDone; }
  // One 100 ms tick: a time-out, or the next request.
  void Tick();
  // An incoming message while running; true when the check took it.
  bool OnMessage(std::span<const uint8_t> message);

  const Result& Figures() const { return mResult; }
  // What the figures say, in lines for the user.
  std::string Report() const;

private:
  enum class Kind { kIdentity, kList, kPreset };
  void SendNext();
  void Finish();

  PedalSender& mSender;
  std::function<uint64_t()> mNowUs;
  bool mRunning = false;
  bool mDone = false;
  int mNext = 0;         // index of the next request of the series
  bool mWaiting = false; // the current request has no answer yet
  Kind mKind = Kind::kIdentity;
  int mSlot = 0;
  uint64_t mSentAtUs = 0;
  int mTicks = 0;
  Result mResult;
};

// The figures as lines: counts, round-trip times and what they mean.
std::string LinkCheckReport(const LinkCheck::Result& r);

} // namespace zorel

#include "protocol/LinkCheck.h"

#include <algorithm>
#include <cstdio>

#include "protocol/codec/EditorMessages.h"
#include "protocol/codec/Frame.h"

namespace zorel {

namespace {

constexpr uint8_t kSettingsIdentityType = 15;
constexpr uint8_t kSettingsListType = 3;
// Replies slower than this in the middle are worth a word.
constexpr double kSlowMs = 250.0;

} // namespace

LinkCheck::LinkCheck(PedalSender& sender, std::function<uint64_t()> nowUs)
    : mSender(sender), mNowUs(std::move(nowUs)) {}

void LinkCheck::Start() {
  mResult = {};
  mRunning = true;
  mDone = false;
  mNext = 0;
  mWaiting = false;
  mTicks = 0;
}

void LinkCheck::Tick() {
  if (!mRunning) return;
  if (mWaiting) {
    if (++mTicks <= kAnswerTicks) return;
    mWaiting = false;
    ++mResult.lost;
  }
  if (mNext >= kTotal) {
    Finish();
    return;
  }
  SendNext();
}

void LinkCheck::SendNext() {
  const int i = mNext++;
  if (i < kIdentityRequests) {
    mKind = Kind::kIdentity;
    mSender.SendRaw(BuildIdentityRequest());
  } else if (i < kIdentityRequests + kListRequests) {
    mKind = Kind::kList;
    mSender.SendRaw(BuildRequestSettings(kSettingsListType));
  } else {
    // Spread over the slots: long dumps from all over the memory.
    mKind = Kind::kPreset;
    mSlot = ((i - kIdentityRequests - kListRequests) * 13) % 128;
    mSender.SendRaw(BuildRequestPreset(mSlot));
  }
  ++mResult.sent;
  mWaiting = true;
  mTicks = 0;
  mSentAtUs = mNowUs();
}

void LinkCheck::Finish() {
  mRunning = false;
  mDone = true;
}

bool LinkCheck::OnMessage(std::span<const uint8_t> m) {
  if (!mRunning) return false;
  const bool framed = IsWellFormedSysEx(m) && HasPedalHeader(m, kSysExTargetEditor);
  // What the current request's answer looks like: a 267-byte block of the
  // right command and type or slot.
  auto answers = [&](std::span<const uint8_t> msg) {
    if (msg.size() <= 7 || !HasPedalHeader(msg, kSysExTargetEditor)) return false;
    switch (mKind) {
    case Kind::kIdentity:
      return msg[kOffsetCommand] == kCmdSettingsBlock && msg[7] == kSettingsIdentityType;
    case Kind::kList:
      return msg[kOffsetCommand] == kCmdSettingsBlock && msg[7] == kSettingsListType;
    case Kind::kPreset:
      return msg[kOffsetCommand] == kCmdPresetDump && msg[7] == mSlot;
    }
    return false;
  };
  const bool looksLikeBlock =
      m.size() > kOffsetCommand && m[0] == kSysExStart &&
      (m[kOffsetCommand] == kCmdSettingsBlock || m[kOffsetCommand] == kCmdPresetDump);
  if (!mWaiting) {
    // Nothing asked: an answer that came after its time, or the pedal's own.
    if (looksLikeBlock)
      ++mResult.late;
    else
      ++mResult.other;
    return true;
  }
  if (!framed || (looksLikeBlock && m.size() != kBlockMessageLength)) {
    // A message cut short or with a stray byte: most likely our answer.
    ++mResult.damaged;
    mWaiting = false;
    return true;
  }
  if (!answers(m)) {
    ++mResult.other;
    return true;
  }
  mWaiting = false;
  if (!BlockChecksumOk(m)) {
    ++mResult.damaged;
    return true;
  }
  ++mResult.answered;
  mResult.roundTripMs.push_back(static_cast<double>(mNowUs() - mSentAtUs) / 1000.0);
  return true;
}

std::string LinkCheck::Report() const {
  return LinkCheckReport(mResult);
}

std::string LinkCheckReport(const LinkCheck::Result& r) {
  char line[256];
  std::string out;
  const double lostShare = r.sent > 0 ? 100.0 * r.lost / r.sent : 0.0;
  std::snprintf(line, sizeof line,
                "Requests sent: %d; answered: %d; replies lost: %d (%.1f %%); replies damaged: "
                "%d; late: %d.\n",
                r.sent, r.answered, r.lost, lostShare, r.damaged, r.late);
  out += line;
  double median = 0.0;
  if (!r.roundTripMs.empty()) {
    std::vector<double> t = r.roundTripMs;
    std::sort(t.begin(), t.end());
    median = t[t.size() / 2];
    std::snprintf(line, sizeof line,
                  "Round trip: fastest %.1f ms, median %.1f ms, slowest %.1f ms.\n", t.front(),
                  median, t.back());
    out += line;
  }
  if (r.sent > 0 && r.answered == 0 && r.damaged == 0) {
    out += "No replies: check that the pedal is switched on, that the MIDI cables or the "
           "interface are connected both ways, and that the right ports are chosen.";
    return out;
  }
  bool fine = true;
  if (r.lost > 0) {
    out += "Replies lost: check the cable or the MIDI interface.\n";
    fine = false;
  }
  if (r.damaged > 0) {
    out += "Replies damaged: the cable or the MIDI interface changes or cuts long messages; try "
           "another cable or interface.\n";
    fine = false;
  }
  if (median > kSlowMs) {
    out += "Replies are slow: the computer or the MIDI interface is busy.\n";
    fine = false;
  }
  if (fine) out += "The link is sound: every reply arrived whole.\n";
  if (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

} // namespace zorel

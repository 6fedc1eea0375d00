#include "sim/VirtualPedal.h"

#include <algorithm>

#include "protocol/codec/Frame.h"
#include "protocol/codec/ParamIds.h"
#include "protocol/codec/PresetPayload.h"

namespace zorel::sim {

namespace {

bool IsIRDumpChunk(const Bytes& m, uint8_t command) {
  return m.size() > kOffsetCommand && HasPedalHeader(m, kSysExTargetEditor) &&
         m[kOffsetCommand] == command;
}

bool IsBlockMessage(const Bytes& m) {
  return m.size() == kBlockMessageLength && HasPedalHeader(m, kSysExTargetEditor);
}

// A wrong checksum byte that is still a valid data byte.
void Spoil(uint8_t& checksumByte) {
  checksumByte = static_cast<uint8_t>((checksumByte + 1) & 0x7F);
}

} // namespace

VirtualPedal::VirtualPedal(PedalConfig config, PedalState state)
    : mConfig(config), mModel(std::move(state)), mRng(config.seed) {
  mModel.SetReportedVersion(mConfig.misbehaviour.reportedVersionTimes10);
}

void VirtualPedal::SetMisbehaviour(const Misbehaviour& misbehaviour) {
  mConfig.misbehaviour = misbehaviour;
  mModel.SetReportedVersion(misbehaviour.reportedVersionTimes10);
}

void VirtualPedal::Receive(std::span<const uint8_t> message) {
  Trace(mNow, TraceDirection::In, message);
  if (mConfig.misbehaviour.corruptReceivedShare > 0.0) {
    Bytes taken(message.begin(), message.end());
    if (SpoilReceived(taken)) {
      Schedule(mModel.Receive(taken));
      return;
    }
  }
  Schedule(mModel.Receive(message));
}

// Changes one sound value of a preset write or restore (its block checksum
// made to match again) or of a parameter change; false for anything else or
// when the dice spare it.
bool VirtualPedal::SpoilReceived(Bytes& m) {
  const bool block = m.size() == kBlockMessageLength && (m[kOffsetCommand] == kCmdWritePreset ||
                                                         m[kOffsetCommand] == kCmdRestorePreset);
  const bool parameter = m.size() == 10 && m[kOffsetCommand] == kCmdSetParameter && m[7] < 16;
  if (!block && !parameter) return false;
  if (!Roll(mConfig.misbehaviour.corruptReceivedShare)) return false;
  if (parameter) {
    m[8] = static_cast<uint8_t>((m[8] + 1) & 0x7F);
    return true;
  }
  const size_t at = kBlockDataOffset + PayloadParamOffset(kParamLevel);
  m[at] = static_cast<uint8_t>((m[at] + 1) & 0x7F);
  const ChecksumPair sum =
      BlockChecksum(std::span<const uint8_t>(m).subspan(kBlockDataOffset, kBlockDataSize));
  m[kBlockChecksumOffset] = sum.high;
  m[kBlockChecksumOffset + 1] = sum.low;
  return true;
}

void VirtualPedal::TurnKnob(int index, int value) {
  Schedule(mModel.TurnKnob(index, value));
}

void VirtualPedal::PressFilter() {
  Schedule(mModel.PressFilter());
}

void VirtualPedal::ReportIRName(int number) {
  Schedule(mModel.ReportIRName(number));
}

void VirtualPedal::AdvanceTo(uint64_t timeUs) {
  mNow = std::max(mNow, timeUs);
}

std::vector<Bytes> VirtualPedal::Collect() {
  std::vector<Bytes> due;
  while (!mQueue.empty() && mQueue.front().dueUs <= mNow) {
    Trace(mQueue.front().dueUs, TraceDirection::Out, mQueue.front().bytes);
    due.push_back(std::move(mQueue.front().bytes));
    mQueue.pop_front();
  }
  return due;
}

std::vector<Bytes> VirtualPedal::CollectAll() {
  if (!mQueue.empty()) AdvanceTo(mQueue.back().dueUs);
  return Collect();
}

std::vector<Bytes> VirtualPedal::Exchange(std::span<const uint8_t> message) {
  Receive(message);
  return CollectAll();
}

std::optional<uint64_t> VirtualPedal::NextDueTime() const {
  if (mQueue.empty()) return std::nullopt;
  return mQueue.front().dueUs;
}

bool VirtualPedal::Roll(double share) {
  return share > 0.0 && mRng.NextUnit() < share;
}

void VirtualPedal::Trace(uint64_t timeUs, TraceDirection direction,
                         std::span<const uint8_t> bytes) {
  if (mObserver) mObserver(TraceEvent{timeUs, direction, bytes});
}

void VirtualPedal::Schedule(std::vector<Bytes> messages) {
  if (messages.empty()) return;
  const Misbehaviour& mb = mConfig.misbehaviour;
  uint64_t start = mNow + mb.delayUs + mRng.NextUpTo(mb.delayJitterUs);
  bool first = true;
  for (Bytes& m : messages) {
    // Chunks after the first of an IR dump wait for their gap.
    const bool laterChunk =
        IsIRDumpChunk(m, kCmdIRMiddleChunk) || IsIRDumpChunk(m, kCmdIRLastChunk);
    if (!first && laterChunk && !mb.irDumpBurst) start += mConfig.irChunkGapUs;
    first = false;

    if (Roll(mb.dropShare)) {
      ++mDropped;
      Trace(start, TraceDirection::Dropped, m);
      continue;
    }
    if (IsBlockMessage(m) && Roll(mb.corruptBlockShare)) Spoil(m[kBlockChecksumOffset + 1]);
    if (IsIRDumpChunk(m, kCmdIRLastChunk) && m.size() >= 3 && Roll(mb.corruptTransferShare))
      Spoil(m[m.size() - 2]);
    if (m.size() > 2 && Roll(mb.cutShare)) {
      // Keep 1 .. size - 2 bytes, then close the message again.
      const size_t keep = 1 + static_cast<size_t>(mRng.NextUpTo(m.size() - 3));
      m.resize(keep);
      m.push_back(kSysExEnd);
    }

    uint64_t due = std::max(start, mLastDue);
    if (mb.wirePacing) {
      due = std::max(due, mWireFreeAt) + kWireMicrosPerByte * m.size();
      mWireFreeAt = due;
    }
    mLastDue = due;
    mQueue.push_back(Pending{due, std::move(m)});
  }
}

} // namespace zorel::sim

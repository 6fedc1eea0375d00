#include "protocol/codec/SnapshotImage.h"

#include <algorithm>

#include "protocol/codec/BulkCheck.h"
#include "protocol/codec/Frame.h"
#include "protocol/codec/PedalMessages.h"
#include "protocol/codec/Restore.h"

namespace zorel {

namespace {

void Append(std::vector<uint8_t>& out, std::span<const uint8_t> m) {
  out.insert(out.end(), m.begin(), m.end());
}

bool IsPedalMessage(std::span<const uint8_t> m, uint8_t command) {
  return m.size() > kOffsetCommand && HasPedalHeader(m, kSysExTargetEditor) &&
         m[kOffsetCommand] == command;
}

SnapshotParts Refuse(const std::string& why) {
  SnapshotParts parts;
  parts.problem = "This snapshot is damaged: " + why;
  return parts;
}

} // namespace

std::vector<uint8_t> BuildSnapshotImage(SnapshotContent content) {
  auto bySlot = [](const auto& a, const auto& b) { return a.slot < b.slot; };
  auto byNumber = [](const auto& a, const auto& b) { return a.number < b.number; };
  std::sort(content.presets.begin(), content.presets.end(), bySlot);
  std::sort(content.irs.begin(), content.irs.end(), byNumber);
  std::vector<uint8_t> out;
  out.reserve(content.presets.size() * kBlockMessageLength + content.irs.size() * 2880 +
              content.settingsBlocks.size() * kBlockMessageLength);
  int lastSlot = -1;
  for (const auto& p : content.presets) {
    if (p.slot == lastSlot) continue;
    lastSlot = p.slot;
    Append(out, BuildPresetDump(p.slot, p.payload));
  }
  int lastIR = -1;
  for (const auto& ir : content.irs) {
    if (ir.number == lastIR) continue;
    lastIR = ir.number;
    for (const auto& m : BuildIRTransfer(ir.number, ir.block)) Append(out, m);
  }
  for (const auto& block : content.settingsBlocks) Append(out, block);
  return out;
}

SnapshotParts SplitSnapshotImage(std::span<const uint8_t> image) {
  const auto messages = SplitStoredMessages(image);
  size_t whole = 0;
  for (const auto& m : messages) whole += m.size();
  if (messages.empty()) return Refuse("it holds no messages.");
  if (whole != image.size()) return Refuse("it ends in the middle of a message.");

  SnapshotParts parts;
  size_t i = 0;
  for (; i < messages.size() && IsPedalMessage(messages[i], kCmdPresetDump); ++i) {
    const auto block = ViewBlock(messages[i]);
    if (!block || !block->checksumOk) return Refuse("a preset in it fails its checksum.");
    if (!parts.slots.empty() && block->byte7 <= parts.slots.back())
      return Refuse("its presets are out of order.");
    parts.slots.push_back(block->byte7);
    Append(parts.restore, messages[i]);
  }
  while (i < messages.size() && IsPedalMessage(messages[i], kCmdIRFirstChunk)) {
    IRTransferReceiver receiver;
    const size_t start = parts.restore.size();
    bool completed = false;
    for (; i < messages.size() && !completed; ++i) {
      const auto step = receiver.Feed(messages[i]);
      if (step == IRTransferReceiver::Step::Ignored) return Refuse("an IR in it is incomplete.");
      Append(parts.restore, messages[i]);
      completed = step == IRTransferReceiver::Step::Completed;
    }
    if (!completed || !receiver.Intact()) {
      parts.restore.resize(start);
      return Refuse("an IR in it fails its checksum.");
    }
    parts.irNumbers.push_back(receiver.IRNumber());
  }
  for (; i < messages.size(); ++i) {
    const auto block = ViewBlock(messages[i]);
    if (!IsPedalMessage(messages[i], kCmdSettingsBlock) || !block || !block->checksumOk ||
        block->byte7 > 2)
      return Refuse("it holds a message that is neither a preset, an IR nor a setting.");
    parts.settings.emplace_back(messages[i].begin(), messages[i].end());
  }
  if (parts.slots.empty() && parts.irNumbers.empty() && parts.settings.empty())
    return Refuse("it holds nothing to restore.");
  if (parts.WholePedal()) {
    const BulkCheckResult check = CheckBulkImage(parts.restore);
    if (!check.Ok()) {
      parts.problem = check.userMessage;
      return parts;
    }
  }
  parts.ok = true;
  return parts;
}

} // namespace zorel

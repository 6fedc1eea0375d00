// The check of a backup before a restore. Two kinds of input, chosen by the
// first byte:
//  - raw bytes: the check must hold to its own contract, and a file it
//    passes must restore message by message without a refusal;
//  - a whole backup built from the input (which presets use which user IRs)
//    with one mutation (a flipped bit, a cut, a byte removed or added): a
//    mutated file may pass only when the pedal would receive what the
//    unmutated backup gives it, or the first messages of that (a file cut
//    between two presets is a file of some presets).

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "protocol/codec/BulkCheck.h"
#include "protocol/codec/Frame.h"
#include "protocol/codec/IrTransfer.h"
#include "protocol/codec/ParamIds.h"
#include "protocol/codec/PedalMessages.h"
#include "protocol/codec/PresetPayload.h"
#include "protocol/codec/Restore.h"

using namespace zorel;

namespace {

using Bytes = std::vector<uint8_t>;

// What an import sends, byte 6 left out: the pedal stores nothing of it.
std::vector<Bytes> Sent(std::span<const uint8_t> image) {
  std::vector<Bytes> sent;
  RestoreState state;
  for (const auto m : SplitStoredMessages(image)) {
    auto out = RestoreMessage(m, state);
    if (!out) __builtin_trap(); // the check passed a message the import refuses
    if (out->size() > kOffsetSubId) (*out)[kOffsetSubId] = 0;
    sent.push_back(std::move(*out));
  }
  return sent;
}

void CheckContract(std::span<const uint8_t> image, const BulkCheckResult& r) {
  if (r.Ok() != r.userMessage.empty()) __builtin_trap();
  if (r.Ok()) {
    if (r.presetCount > kPresetSlotCount || r.irNumbers.size() != size_t(r.irCount) ||
        r.messageCount == 0 || r.messageCount != size_t(r.presetCount + 11 * r.irCount))
      __builtin_trap();
    Sent(image);
  } else if (r.detail.empty() || r.problemMessage > r.messageCount ||
             r.problemOffset > image.size()) {
    __builtin_trap();
  }
}

Bytes Backup(std::span<const uint8_t> uses) {
  std::array<PresetPayload, kPresetSlotCount> payloads{};
  std::vector<int> irs;
  for (int slot = 0; slot < kPresetSlotCount; ++slot) {
    payloads[slot][2] = static_cast<uint8_t>('A' + slot % 26);
    payloads[slot][PayloadParamOffset(0)] = static_cast<uint8_t>(slot);
  }
  // Three bytes per use: slot, position and bank, index.
  for (size_t i = 0; i + 2 < uses.size() && i < 9; i += 3) {
    PresetPayload& p = payloads[uses[i] % kPresetSlotCount];
    const bool seven = (uses[i + 1] & 0x80) == 0;
    const int number = ((uses[i + 1] & 1) << 7) | (uses[i + 2] & 0x7F);
    p[PayloadParamOffset(seven ? kParamUserIR7Mode : kParamUserIR8Mode)] = 1;
    p[PayloadParamOffset(seven ? kParamUserIR7PresetMSB : kParamUserIR8PresetMSB)] =
        static_cast<uint8_t>(number >> 7);
    p[PayloadParamOffset(seven ? kParamUserIR7Preset : kParamUserIR8Preset)] =
        static_cast<uint8_t>(number & 0x7F);
  }
  // The IRs the presets play in the end (a later use can replace an earlier
  // one), as an export writes them: an IR nothing uses has no reference to
  // tell a changed IR number by.
  for (const PresetPayload& p : payloads) {
    if (PayloadUserIR7On(p)) irs.push_back(PayloadUserIR7Number(p));
    if (PayloadUserIR8On(p)) irs.push_back(PayloadUserIR8Number(p));
  }
  std::sort(irs.begin(), irs.end());
  irs.erase(std::unique(irs.begin(), irs.end()), irs.end());
  Bytes image;
  for (int slot = 0; slot < kPresetSlotCount; ++slot) {
    const auto dump = BuildPresetDump(slot, payloads[slot]);
    image.insert(image.end(), dump.begin(), dump.end());
  }
  for (int number : irs) {
    std::array<uint8_t, kIRBlockSize> block{};
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(i * 31 + number);
    for (const auto& chunk : BuildIRTransfer(number, block))
      image.insert(image.end(), chunk.begin(), chunk.end());
  }
  return image;
}

void Mutated(std::span<const uint8_t> data) {
  // kind, position (3 bytes), value, then the IR uses.
  if (data.size() < 5) return;
  const Bytes original = Backup(data.subspan(5));
  const BulkCheckResult whole = CheckBulkImage(original);
  if (!whole.Ok()) __builtin_trap();
  Bytes image = original;
  const size_t at = ((size_t(data[1]) << 16) | (size_t(data[2]) << 8) | data[3]) % image.size();
  switch (data[0] % 4) {
  case 0:
    image[at] ^= static_cast<uint8_t>(1u << (data[4] % 8));
    break;
  case 1:
    image.resize(at);
    break;
  case 2:
    image.erase(image.begin() + static_cast<ptrdiff_t>(at));
    break;
  default:
    image.insert(image.begin() + static_cast<ptrdiff_t>(at), data[4]);
    break;
  }
  const BulkCheckResult r = CheckBulkImage(image);
  CheckContract(image, r);
  if (!r.Ok()) return;
  const std::vector<Bytes> sent = Sent(image);
  const std::vector<Bytes> meant = Sent(original);
  if (sent.size() > meant.size() || !std::equal(sent.begin(), sent.end(), meant.begin()))
    __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::span<const uint8_t> rest(data + 1, size - 1);
  if (data[0] & 1) {
    Mutated(rest);
  } else {
    CheckContract(rest, CheckBulkImage(rest));
  }
  return 0;
}

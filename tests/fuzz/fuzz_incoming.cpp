// Every message from the pedal: classify it, then run the parser that its
// kind selects, as the reply handling will. Any length and content.
//
// The first input byte steers the shape so that the interesting lengths and
// headers are reached without a seed corpus: bit 0 puts the pedal's header
// (F0 00 51 21, then 05 or 04 by bit 1) in front of the rest, bits 2..3
// force the length to 267, 42 or 269 (zero padded or cut). Otherwise the
// input is taken as it is.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "protocol/codec/Classify.h"
#include "protocol/codec/Frame.h"
#include "protocol/codec/IrNames.h"
#include "protocol/codec/IrTransfer.h"
#include "protocol/codec/PresetPayload.h"
#include "protocol/codec/SettingsBlocks.h"

using namespace zorel;

std::vector<uint8_t> Shape(const uint8_t* data, size_t size) {
  if (size == 0) return {};
  const uint8_t mode = data[0];
  std::vector<uint8_t> m;
  if (mode & 1) m = {0xF0, 0x00, 0x51, 0x21, static_cast<uint8_t>(mode & 2 ? 0x04 : 0x05)};
  m.insert(m.end(), data + 1, data + size);
  static constexpr size_t kLengths[] = {0, 267, 42, 269};
  if (const size_t n = kLengths[(mode >> 2) & 3]; n != 0) m.resize(n);
  return m;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> shaped = Shape(data, size);
  const std::span<const uint8_t> m(shaped);
  IRTransferReceiver dump;
  const IncomingKind kind = ClassifyIncoming(m);
  (void)ToString(kind);
  (void)ClassifyEditorMessage(m);
  (void)BlockChecksumOk(m);
  switch (kind) {
  case IncomingKind::PresetDump:
  case IncomingKind::SettingsBlock: {
    const auto block = ViewBlock(m);
    if (!block) __builtin_trap(); // the classifier promised a block
    (void)ParsePresetPayload(block->data);
    (void)PayloadUserIR7Number(block->data);
    (void)ParseGlobalSettings(block->data);
    (void)ParseMidiAssignments(block->data);
    (void)ParseProgramMap(block->data);
    (void)ParseChecksumList(block->data);
    (void)ParseIdentity(*block);
    break;
  }
  case IncomingKind::IRNamePage: {
    const auto page = ParseIRNamePage(m);
    if (!page) __builtin_trap();
    for (int i = 0; i < kIRNamesPerPage; ++i) (void)IRNameRowText(*page, i);
    break;
  }
  case IncomingKind::IRNameReport:
    if (!ParseIRNameReport(m)) __builtin_trap();
    break;
  case IncomingKind::ParameterReport:
    if (!ParseParameterReport(m)) __builtin_trap();
    break;
  default:
    break;
  }
  dump.Feed(m);
  if (dump.Bytes().size() > kIRDumpCapacity) __builtin_trap();
  return 0;
}

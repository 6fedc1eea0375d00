// A stream of messages (split at each F7) fed to the IR and firmware
// receivers: reassembly must stay within its bounds whatever arrives.
// Each message gets the pedal's header (F0 00 51 21, target 05 or 04 by the
// low bit of its first byte) so that the fuzzer spends its time on chunks.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "protocol/codec/FirmwareTransfer.h"
#include "protocol/codec/IrTransfer.h"
#include "protocol/codec/Restore.h"

using namespace zorel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  IRTransferReceiver ir(kIRTransferCommands, 512);
  IRTransferReceiver restore(kIRRestoreCommands);
  FirmwareTransferReceiver firmware;
  for (const auto raw : SplitStoredMessages({data, size})) {
    std::vector<uint8_t> m = {0xF0, 0x00, 0x51, 0x21,
                              static_cast<uint8_t>(raw[0] & 1 ? 0x04 : 0x05)};
    m.insert(m.end(), raw.begin() + 1, raw.end());
    ir.Feed(m);
    restore.Feed(m);
    firmware.Feed(m);
    if (ir.Bytes().size() > 512 || restore.Bytes().size() > kIRDumpCapacity) __builtin_trap();
    if (firmware.Packed().size() > firmware.AnnouncedPacked()) __builtin_trap();
    (void)ir.Progress();
    (void)firmware.Ok();
  }
  (void)firmware.Image();
  return 0;
}

#pragma once

// Builders of the pedal's replies that have no other home, for the virtual
// pedal and for tests that feed the editor. Settings blocks, identity, IR
// name pages and reports and IR dump chunks are built by SettingsBlocks.h,
// IrNames.h and IrTransfer.h.

#include <array>
#include <cstdint>
#include <span>

#include "protocol/codec/EditorMessages.h"
#include "protocol/codec/Frame.h"
#include "protocol/codec/PresetPayload.h"

namespace zorel {

// 0x41 preset dump: F0 00 51 21 05 41 0B slot, payload, block checksum, F7.
BlockMessage BuildPresetDump(int slot, std::span<const uint8_t, kPresetPayloadSize> payload);

// 0x51 parameter report: F0 00 51 21 05 51 0B number value F7.
Message10 BuildParameterReport(int number, int value);

// Short acknowledgement without sub-id: F0 00 51 21 05 <command> F7.
Message7 BuildShortReply(uint8_t command);

// Loader reply: F0 00 51 21 04 <command> F7 (0x12 ready, 0x14, 0x15).
Message7 BuildLoaderReply(uint8_t command);

} // namespace zorel

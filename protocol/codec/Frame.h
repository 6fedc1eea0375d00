#pragma once

// The common SysEx frame shared by every message to and from the pedal:
//   F0 | 00 51 21 | target | command | [0B sub-id] | body ... | F7
// Helpers here build frames and recognise them; they know nothing of what a
// body means.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "protocol/codec/Encoding.h"

namespace zorel {

inline constexpr uint8_t kSysExStart = 0xF0;
inline constexpr uint8_t kSysExEnd = 0xF7;
inline constexpr std::array<uint8_t, 3> kManufacturerId = {0x00, 0x51, 0x21};

// Byte 4: which part of the pedal a message is for (or comes from).
inline constexpr uint8_t kSysExTargetEditor = 0x05; // the editor protocol
inline constexpr uint8_t kSysExTargetLoader = 0x04; // the firmware loader

// Byte 6 of every editor-protocol message the editor sends. The pedal's short
// acknowledgements and all loader messages go without it.
inline constexpr uint8_t kSysExSubId = 0x0B;

// Fixed offsets of the frame.
inline constexpr size_t kOffsetTarget = 4;
inline constexpr size_t kOffsetCommand = 5;
inline constexpr size_t kOffsetSubId = 6;
inline constexpr size_t kOffsetBody = 7;
// Header length of an editor-protocol message (F0 .. 0B) and of a loader one.
inline constexpr size_t kEditorHeaderLength = 7;
inline constexpr size_t kLoaderHeaderLength = 6;

// Command bytes (byte 5). Editor to pedal:
inline constexpr uint8_t kCmdWritePreset = 0x20;
inline constexpr uint8_t kCmdSelectPreset = 0x23;
inline constexpr uint8_t kCmdRequestPreset = 0x40;
inline constexpr uint8_t kCmdSetParameter = 0x50;
inline constexpr uint8_t kCmdSettingsBlock = 0x52; // both directions
inline constexpr uint8_t kCmdRequestSettings = 0x55;
inline constexpr uint8_t kCmdFactoryReset = 0x56;
inline constexpr uint8_t kCmdBeginBulkMode = 0x5A;
inline constexpr uint8_t kCmdEndBulkMode = 0x5B;
inline constexpr uint8_t kCmdEditorClosing = 0x5F;
inline constexpr uint8_t kCmdIRFirstChunk = 0x60;  // both directions
inline constexpr uint8_t kCmdIRMiddleChunk = 0x65; // both directions
inline constexpr uint8_t kCmdIRLastChunk = 0x66;   // both directions
inline constexpr uint8_t kCmdRequestIR = 0x69;
inline constexpr uint8_t kCmdRequestIRNames = 0x6A;
inline constexpr uint8_t kCmdRestoreIRFirst = 0x77;
inline constexpr uint8_t kCmdRestoreIRMiddle = 0x78;
inline constexpr uint8_t kCmdRestoreIRLast = 0x79;
inline constexpr uint8_t kCmdRestorePreset = 0x7F;
// Pedal to editor:
inline constexpr uint8_t kCmdPresetDump = 0x41;
inline constexpr uint8_t kCmdParameterReport = 0x51;
inline constexpr uint8_t kCmdFinished = 0x57;
inline constexpr uint8_t kCmdParameterAccepted = 0x5F; // same byte as editor closing
inline constexpr uint8_t kCmdIRStored = 0x61;
inline constexpr uint8_t kCmdError = 0x62;
inline constexpr uint8_t kCmdReadyForIRData = 0x63;
inline constexpr uint8_t kCmdIRNamePage = 0x6B;
inline constexpr uint8_t kCmdWriteAck = 0x71;
inline constexpr uint8_t kCmdWriteFailed = 0x72;
inline constexpr uint8_t kCmdWriteAckMore = 0x73;
inline constexpr uint8_t kCmdIRNameReport = 0x7B;
inline constexpr uint8_t kCmdWriteAckAlt = 0x7D;
inline constexpr uint8_t kCmdWriteFailedAlt = 0x7E;
// Firmware loader (target 0x04):
inline constexpr uint8_t kCmdLoaderStart = 0x10;
inline constexpr uint8_t kCmdLoaderReady = 0x12;
inline constexpr uint8_t kCmdFirmwareFirstChunk = 0x13;
inline constexpr uint8_t kCmdUpdateComplete = 0x14;
inline constexpr uint8_t kCmdUpdateFailed = 0x15;
inline constexpr uint8_t kCmdFirmwareChunk = 0x20;

// Block messages: 267 bytes carrying 256 data bytes and a block checksum.
inline constexpr size_t kBlockMessageLength = 267;
inline constexpr size_t kBlockDataOffset = 8;
inline constexpr size_t kBlockDataSize = 256;
inline constexpr size_t kBlockChecksumOffset = 264; // high, then low at 265

// Length families of incoming messages.
inline constexpr size_t kIRNameReportLength = 42;
inline constexpr size_t kShortMessageMaxLength = 10;

using BlockMessage = std::array<uint8_t, kBlockMessageLength>;
using BlockData = std::array<uint8_t, kBlockDataSize>;

// Writes F0 00 51 21 <target> <command> into the first six bytes of `out`
// (which must hold at least six).
void WriteFrameHeader(std::span<uint8_t> out, uint8_t target, uint8_t command);

// A complete editor-protocol message: F0 00 51 21 05 <command> 0B <body> F7.
// Body bytes are masked to 7 bits so that no value, however wrong, can end
// the message early on the wire.
std::vector<uint8_t> BuildEditorMessage(uint8_t command, std::span<const uint8_t> body);

// A complete loader message: F0 00 51 21 04 <command> <body> F7 (masked too).
std::vector<uint8_t> BuildLoaderMessage(uint8_t command, std::span<const uint8_t> body);

// True when bytes 1..4 are 00 51 21 <target>. Byte 0 is deliberately not
// inspected: the port layer has already delimited the message.
bool HasPedalHeader(std::span<const uint8_t> message, uint8_t target);

// Byte 5, or nullopt when the message is too short to have one.
std::optional<uint8_t> CommandOf(std::span<const uint8_t> message);

// A 267-byte block message: header (editor target), `byte6`, `byte7`, the 256
// data bytes (masked to 7 bits), the block checksum of what was written, F7.
// byte6 is the sub-id for everything but the identity block, which puts the
// firmware version there.
BlockMessage BuildBlockMessage(uint8_t command, uint8_t byte6, uint8_t byte7,
                               std::span<const uint8_t, kBlockDataSize> data);

// A read-only view of a received block message. `data` points into the
// viewed bytes, which must outlive the view.
struct BlockView {
  uint8_t command = 0;
  uint8_t byte6 = 0; // sub-id, or the firmware version of an identity block
  uint8_t byte7 = 0; // slot, settings type or page number
  std::span<const uint8_t, kBlockDataSize> data;
  ChecksumPair checksum; // as carried at offsets 264, 265
  bool checksumOk = false;
};

// Views a message as a block: only the length (267) and bytes 1..4
// (00 51 21 05) are required. The checksum is reported, not enforced, since
// some replies are partly acted on even when it is wrong.
std::optional<BlockView> ViewBlock(std::span<const uint8_t> message);

// True when a 267-byte message carries the right block checksum for its data.
// False for any other length.
bool BlockChecksumOk(std::span<const uint8_t> message);

// True for F0 ... F7 with every byte in between below 0x80: what can be
// sent as one SysEx message without being cut or merged on the wire.
bool IsWellFormedSysEx(std::span<const uint8_t> message);

} // namespace zorel

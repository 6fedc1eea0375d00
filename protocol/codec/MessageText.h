#pragma once

// One line of text per message, for the MIDI monitor: what a message is in
// words, from the same classification the editor and the virtual pedal act
// on, so the monitor never tells a different story than the code does.
//
// The chunks of a transfer carry no index, only the first one the size of
// the whole; the running count lives in a TrafficContext that the caller
// keeps across the messages of one direction pair and hands back each time.

#include <cstdint>
#include <span>
#include <string>

namespace zorel {

// kNote: a line of the host's own (its bytes are the text), not a message.
enum class TrafficDirection { kToPedal, kFromPedal, kNote };

// The chunk count of one kind of transfer under way.
struct ChunkCount {
  uint32_t next = 0;  // the number of the next chunk, 1 for the first
  uint32_t total = 0; // 0: not known (no first chunk seen)
};

struct TrafficContext {
  ChunkCount irUpload;  // editor to pedal, 0x60 / 0x65 / 0x66
  ChunkCount irRestore; // editor to pedal, 0x77 / 0x78 / 0x79
  ChunkCount irDump;    // pedal to editor
  ChunkCount firmware;  // editor to the loader
};

// The identity block: the pedal's reply to the identity request (a settings
// block of type 15), whatever its checksum.
bool IsIdentityReply(std::span<const uint8_t> message);

// "request preset 10", "preset dump 10, checksum ok", "IR upload chunk 3 of
// 11", ... Anything that is not a message of that direction is described by
// what can be said of its bytes ("unknown SysEx", "control change", ...).
std::string DescribeMessage(TrafficDirection direction, std::span<const uint8_t> message,
                            TrafficContext& context);

// The monitor's line: seconds since the monitor started (3 decimals),
// direction ("out" to the pedal, "in" from it), length in bytes and the
// description, in fixed columns:
//   "    1.234  out     9  request preset 10"
std::string FormatTrafficLine(double seconds, TrafficDirection direction,
                              std::span<const uint8_t> message, TrafficContext& context);

} // namespace zorel

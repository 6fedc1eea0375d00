#pragma once

// Restoring a bulk file into the pedal. A bulk file holds the pedal's own
// messages (preset dumps and IR dump chunks) laid end to end; importing it
// sends each one back with its command byte changed so that the pedal
// stores it:
//   0x41 preset dump        -> 0x7F restore preset (nothing else changes)
//   0x60 / 0x65 / 0x66 IR   -> 0x77 / 0x78 / 0x79 restore IR first/middle/last,
//                              the last chunk's transfer checksum recomputed
//                              from a running sum over the IR's chunks
//   anything else           -> sent unchanged

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zorel {

// The running sum over the packed bytes of the IR being restored; it runs on
// from one message to the next, so one state object serves a whole import.
struct RestoreState {
  uint32_t runningSum = 0;
};

// The message to send for one stored message, or nullopt when the stored
// bytes cannot be sent safely: not F0 ... F7, a byte of 0x80 or above inside
// (it would cut the message on the wire), or an IR chunk whose length does
// not fit its layout (0x60 must be 269 bytes, 0x65 264, 0x66 11..266). The
// caller decides what a refused message means for the import.
std::optional<std::vector<uint8_t>> RestoreMessage(std::span<const uint8_t> stored,
                                                   RestoreState& state);

// Splits a bulk buffer into its messages: each runs from just after the
// previous 0xF7 up to and including the next 0xF7. Trailing bytes with no
// closing 0xF7 are not a message and are left out, so the import ends there.
std::vector<std::span<const uint8_t>> SplitStoredMessages(std::span<const uint8_t> buffer);

} // namespace zorel

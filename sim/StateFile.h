#pragma once

// The program keeps its pedal between runs in one binary file:
//
//   "ZORELPED"            8 bytes, magic
//   format version        u32 little-endian, 1
//   body length           u32 little-endian
//   body                  see below
//   FNV-1a of the body    u32 little-endian
//
// Body, in this order: firmware version x 10 (1 byte), serial (32), current
// program (1), FILTER state (1), the 128 programs (128 x 256), the edit
// buffer (256), the type-0 data (256), the type-1 values (16), the program
// map (128), the user IRs (256 x 2436), the factory IRs (8 x 2436).
//
// A file that fails any check is refused as a whole: loading never yields a
// half-read pedal, and a damaged file is not silently replaced.

#include <optional>
#include <string>
#include <vector>

#include "sim/PedalState.h"

namespace zorel::sim {

std::vector<uint8_t> EncodeState(const PedalState& state);
// nullopt with a reason in `error` when the bytes are not a valid state.
std::optional<PedalState> DecodeState(std::span<const uint8_t> bytes, std::string& error);

// Writes through a temporary file renamed over `path`, so an interrupted save
// leaves the previous state in place. False with a reason on failure.
bool SaveStateFile(const std::string& path, const PedalState& state, std::string& error);
// nullopt when the file cannot be read (error says why; `missing` is set when
// it simply does not exist) or is not a valid state.
std::optional<PedalState> LoadStateFile(const std::string& path, std::string& error, bool& missing);

} // namespace zorel::sim

#pragma once

// One line of text per message for the program's log:
//   "   12.345678 in   RequestSettings     9  F0 00 51 21 05 55 0B 0F F7"
// time in seconds of the pedal clock, direction (in, out, drop), what the
// message is, its length and every byte in hex.

#include <string>

#include "sim/VirtualPedal.h"

namespace zorel::sim {

std::string FormatTrace(const TraceEvent& event);
std::string HexBytes(std::span<const uint8_t> bytes);

} // namespace zorel::sim

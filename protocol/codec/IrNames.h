#pragma once

// IR names sent by the pedal: the name page (0x6B, 267 bytes, eight names of
// one bank quarter) and the single-name report (0x7B, 42 bytes).

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "protocol/codec/Frame.h"

namespace zorel {

// A bank holds 32 IR positions, spread over four pages of eight names:
// page p covers positions 8 x (p mod 4) + 0..7 of bank p / 4.
inline constexpr int kIRNamesPerPage = 8;
inline constexpr int kIRNamePagesPerBank = 4;
inline constexpr int kIRPositionsPerBank = kIRNamesPerPage * kIRNamePagesPerBank;

constexpr int IRNamePosition(int page, int i) {
  return kIRNamesPerPage * (page % kIRNamePagesPerBank) + i;
}
// True for the last page of a bank (after it the editor requests no more).
constexpr bool IsLastIRNamePageOfBank(int page) {
  return (page + 1) % kIRNamePagesPerBank == 0;
}

struct IRNamePage {
  int page = 0;
  std::array<std::string, kIRNamesPerPage> names; // raw 32 bytes each
  std::array<bool, kIRNamesPerPage> blank{};      // 32 spaces: an empty position
};

// Parses a name page: 267 bytes, 00 51 21 05 6B, byte 6 = 0x0B. The checksum
// is not checked here (see BlockChecksumOk).
std::optional<IRNamePage> ParseIRNamePage(std::span<const uint8_t> message);

// The text a list row shows for name i of `page`: "Empty Slot N" (N = the
// position + 1) for a blank name, otherwise the name trimmed.
std::string IRNameRowText(const IRNamePage& page, int i);

// Parses a name report: 42 bytes, 00 51 21 05 7B 0B; name at 7..38 (raw).
std::optional<std::string> ParseIRNameReport(std::span<const uint8_t> message);

// For the pedal's side. Names are sanitized and padded like every name.
BlockMessage BuildIRNamePage(int page, std::span<const std::string_view, kIRNamesPerPage> names);
std::array<uint8_t, kIRNameReportLength> BuildIRNameReport(std::string_view name);

} // namespace zorel

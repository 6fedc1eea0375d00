#pragma once

// The 256-byte preset payload: what a preset dump carries (from data offset 0
// = message offset 8), what a write-preset message sends and what a preset
// slot file stores.
//
//   d 0        0x01 (fixed, not read)      d 34..107  parameters 0..73
//   d 1        0x00 (fixed, not read)      d 108..191 zeros
//   d 2..33    preset name                 d 192..223 name of user IR 7
//                                          d 224..255 name of user IR 8

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "formats/DataFormats.h"
#include "protocol/codec/Names.h"
#include "protocol/codec/ParamIds.h"

namespace zorel {

using PresetPayload = std::array<uint8_t, kPresetPayloadSize>;

// Data offset of sound parameter `index` (0..73).
constexpr size_t PayloadParamOffset(int index) {
  return kPayloadParamsOffset + static_cast<size_t>(index);
}

// What the editor writes into a payload.
struct PresetContent {
  std::string_view name;                      // preset-name field text (UTF-8)
  std::array<int, kNumPresetParams> values{}; // live integer values of 0..73
  std::string_view ir7Name;                   // user IR 7 name display text
  std::string_view ir8Name;                   // user IR 8 name display text
};

// Builds the payload. Names go through WriteNameField (sanitized, 32 chars,
// space padded). The IR 7 name is written only when parameter 40
// (kParamUserIR7Mode) is above 0, the IR 8 name only when parameter 41 is;
// otherwise their fields are 32 spaces. Values keep their low 7 bits.
PresetPayload BuildPresetPayload(const PresetContent& content);

// What a received payload says. Names are the raw 32 bytes (see TrimName).
struct ParsedPreset {
  std::string name;
  std::array<uint8_t, kNumPresetParams> values{};
  std::string ir7Name;
  std::string ir8Name;
};

ParsedPreset ParsePresetPayload(std::span<const uint8_t, kPresetPayloadSize> payload);

// IR numbers used by user IRs 7 and 8: bank byte x 128 + index byte
// (parameters 53/54 and 55/56).
int PayloadUserIR7Number(std::span<const uint8_t, kPresetPayloadSize> payload);
int PayloadUserIR8Number(std::span<const uint8_t, kPresetPayloadSize> payload);

// Whether user IR 7 / user IR 8 is switched on (parameter 40 / 41 above 0).
bool PayloadUserIR7On(std::span<const uint8_t, kPresetPayloadSize> payload);
bool PayloadUserIR8On(std::span<const uint8_t, kPresetPayloadSize> payload);

} // namespace zorel

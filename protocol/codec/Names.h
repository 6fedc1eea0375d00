#pragma once

// The 32-character names that travel inside message bodies (preset names, the
// names of user IRs 7 and 8, IR name pages and reports).
//
// Names typed by the user or taken from file names are UTF-8 and may hold
// bytes of 0x80 and above; inside a SysEx body such a byte is a status byte
// that ends the message on the wire. So every name written into a body goes
// through SanitizeName: printable ASCII (0x20..0x7E) passes unchanged, and
// every other character (one UTF-8 sequence, a stray byte of an invalid one,
// a control character or DEL) becomes a single '?'. One '?' per character,
// not per byte, keeps the name as long as the user typed it, so the 32-char
// cut falls where the user expects. The pedal's display shows ASCII only.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "formats/DataFormats.h"
#include "formats/NameText.h"

namespace zorel {

inline constexpr uint8_t kNamePadByte = 0x20;

// Writes `text` into a 32-byte name field: sanitized, cut to its first 32
// characters, padded with spaces, no terminator.
void WriteNameField(std::span<uint8_t, kNameLength> field, std::string_view text);

// The 32 bytes of a received name field as they came (untrimmed).
std::string ReadNameField(std::span<const uint8_t, kNameLength> field);

// True when all 32 bytes are spaces: the pedal's mark of an empty IR position.
bool IsBlankName(std::span<const uint8_t, kNameLength> field);

// Name with trailing spaces removed (cut after the last non-space character).
// A name made only of spaces is returned unchanged, so an empty position
// still shows as its 32 spaces rather than as nothing.
std::string TrimName(std::string_view name);

} // namespace zorel

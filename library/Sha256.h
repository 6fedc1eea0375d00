#pragma once

// SHA-256, to name a file by its content: the firmware confirmation shows
// the first digits, which a user can compare with what `sha256sum` or the
// maker's download page print.

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace zorel {

using Sha256Digest = std::array<uint8_t, 32>;

Sha256Digest Sha256(std::span<const uint8_t> bytes);

// The digest as 64 lower-case hex digits, as sha256sum prints it.
std::string Sha256Hex(std::span<const uint8_t> bytes);

// The first 8 hex digits of the SHA-256: short enough to read out, long
// enough that two different images practically never share it.
std::string ShortContentHash(std::span<const uint8_t> bytes);

} // namespace zorel

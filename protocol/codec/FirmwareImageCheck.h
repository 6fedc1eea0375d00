#pragma once

// Checks on a firmware image before anything goes to the pedal's loader.
// The image format is the maker's and unknown here, so an image cannot be
// proved right; but a file that is recognisably something else (a WAV, a
// preset file, a backup, text, a PDF ...) or has a size no image has is
// refused, and the confirmation names the file, its size and a short hash
// so that the user knows exactly what is about to be flashed.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "protocol/codec/FileSniff.h"

namespace zorel {

// Sizes the update accepts: 210 bytes is the smallest image whose packed
// form needs more than the first chunk; 65536 bytes and more are ignored.
inline constexpr size_t kFirmwareImageMinSize = 210;
inline constexpr size_t kFirmwareFileSizeLimit = 65536;

struct FirmwareImageCheck {
  bool ok = false;
  FileKind kind = FileKind::kUnknown; // what the bytes look like
  std::string userMessage;            // why it is refused; empty when ok
};

// Refuses a recognised other kind of file first (its message is the more
// useful one), then a size outside 210..65535 bytes.
FirmwareImageCheck CheckFirmwareImage(std::span<const uint8_t> image);

// "57,344": a byte count with thousands separated.
std::string FormatByteCount(uint64_t count);

// Seconds the chunks take at one chunk per 100 ms tick, rounded up.
int FirmwareUpdateSeconds(size_t imageSize);

// The OK/Cancel question before an update: the file's name (the last part
// of `path`, control characters replaced so a name cannot fake lines of the
// message), its size, `hash` (ShortContentHash) and how long to keep the
// pedal connected.
std::string FirmwareConfirmationText(std::string_view path, uint64_t size, std::string_view hash);

} // namespace zorel

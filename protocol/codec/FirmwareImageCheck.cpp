#include "protocol/codec/FirmwareImageCheck.h"

#include "protocol/codec/FirmwareTransfer.h"
#include "protocol/codec/Packing.h"

namespace zorel {

namespace {

constexpr const char* kNotAnImage = "This is not a firmware image for the Zorel: ";
constexpr int kTickMilliseconds = 100;

std::string DisplayFileName(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  std::string shown;
  for (char c : name) {
    const auto b = static_cast<unsigned char>(c);
    shown.push_back(b < 0x20 || b == 0x7F ? '?' : c);
  }
  return shown;
}

} // namespace

FirmwareImageCheck CheckFirmwareImage(std::span<const uint8_t> image) {
  FirmwareImageCheck check;
  check.kind = SniffFileKind(image);
  if (check.kind == FileKind::kEmpty) {
    check.userMessage = std::string(kNotAnImage) + "the file is empty.";
  } else if (check.kind != FileKind::kUnknown) {
    check.userMessage =
        std::string(kNotAnImage) + "it looks like " + DescribeFileKind(check.kind) + ".";
  } else if (image.size() < kFirmwareImageMinSize) {
    check.userMessage =
        std::string(kNotAnImage) + "it holds only " + FormatByteCount(image.size()) + " bytes.";
  } else if (image.size() >= kFirmwareFileSizeLimit) {
    check.userMessage = std::string(kNotAnImage) + "it holds " + FormatByteCount(image.size()) +
                        " bytes; an image has fewer than " +
                        FormatByteCount(kFirmwareFileSizeLimit) + ".";
  } else {
    check.ok = true;
  }
  return check;
}

std::string FormatByteCount(uint64_t count) {
  std::string digits = std::to_string(count);
  for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
  return digits;
}

int FirmwareUpdateSeconds(size_t imageSize) {
  const size_t packed = PackedLength(imageSize);
  const size_t chunks = (packed + kFirmwareChunkDataSize - 1) / kFirmwareChunkDataSize;
  return static_cast<int>((chunks * kTickMilliseconds + 999) / 1000);
}

std::string FirmwareConfirmationText(std::string_view path, uint64_t size, std::string_view hash) {
  return "Update the pedal's firmware with this file?\n\n" + DisplayFileName(path) + "\n" +
         FormatByteCount(size) + " bytes, SHA-256 " + std::string(hash) + "\n\n" +
         "Keep the pedal connected and switched on until the update has finished (about " +
         std::to_string(FirmwareUpdateSeconds(static_cast<size_t>(size))) + " s).";
}

} // namespace zorel

#include "protocol/codec/Names.h"

#include <algorithm>

namespace zorel {

void WriteNameField(std::span<uint8_t, kNameLength> field, std::string_view text) {
  std::fill(field.begin(), field.end(), kNamePadByte);
  const std::string clean = SanitizeName(text);
  std::copy_n(clean.begin(), std::min(clean.size(), kNameLength), field.begin());
}

std::string ReadNameField(std::span<const uint8_t, kNameLength> field) {
  return std::string(field.begin(), field.end());
}

bool IsBlankName(std::span<const uint8_t, kNameLength> field) {
  return std::all_of(field.begin(), field.end(), [](uint8_t b) { return b == kNamePadByte; });
}

std::string TrimName(std::string_view name) {
  return NameFieldText(name);
}

} // namespace zorel

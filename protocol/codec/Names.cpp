#include "protocol/codec/Names.h"

#include <algorithm>

#include "formats/NameText.h"

namespace zorel {

namespace {

// Length of the UTF-8 sequence that starts with `lead`, or 1 for a byte that
// cannot start one (a stray continuation byte or an invalid lead).
size_t Utf8SequenceLength(uint8_t lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 1;
}

bool IsContinuation(uint8_t b) {
  return (b & 0xC0) == 0x80;
}

} // namespace

std::string SanitizeName(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<uint8_t>(text[i]);
    if (b >= 0x20 && b <= 0x7E) {
      out.push_back(static_cast<char>(b));
      ++i;
      continue;
    }
    // One replacement per character: swallow the continuation bytes of a
    // well-started sequence, but never more than are actually there.
    size_t len = b >= 0x80 ? Utf8SequenceLength(b) : 1;
    size_t consumed = 1;
    while (consumed < len && i + consumed < text.size() &&
           IsContinuation(static_cast<uint8_t>(text[i + consumed])))
      ++consumed;
    out.push_back(kNameReplacementChar);
    i += consumed;
  }
  return out;
}

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

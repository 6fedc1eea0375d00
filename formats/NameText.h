#pragma once

// The text of a 32-byte name field, for the preset list, the IR lists and
// every comparison between a name the pedal reports and one the library
// holds: one rule on both sides, or equal names would look different and
// an unchanged IR be fetched again.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorel {

inline constexpr char kNameReplacementChar = '?';

namespace name_text {

// Length of the UTF-8 sequence that starts with `lead`, or 1 for a byte that
// cannot start one (a stray continuation byte or an invalid lead).
inline size_t Utf8SequenceLength(uint8_t lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 1;
}

// Calls `each` with every character of `text` (one UTF-8 sequence, a stray
// byte of an invalid one, or one ASCII byte) and whether a name keeps it.
template <typename Each> void ForEachCharacter(std::string_view text, Each each) {
  size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<uint8_t>(text[i]);
    if (b >= 0x20 && b <= 0x7E) {
      each(text.substr(i, 1), true);
      ++i;
      continue;
    }
    // One replacement per character: swallow the continuation bytes of a
    // well-started sequence, but never more than are actually there.
    const size_t len = b >= 0x80 ? Utf8SequenceLength(b) : 1;
    size_t consumed = 1;
    while (consumed < len && i + consumed < text.size() &&
           (static_cast<uint8_t>(text[i + consumed]) & 0xC0) == 0x80)
      ++consumed;
    each(text.substr(i, consumed), false);
    i += consumed;
  }
}

} // namespace name_text

// Printable ASCII version of `text`, one character out for each character
// in: a name field travels inside SysEx bodies, where a byte of 0x80 or
// above would end the message, and the pedal's display shows ASCII only.
inline std::string SanitizeName(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  name_text::ForEachCharacter(text, [&](std::string_view c, bool kept) {
    if (kept)
      out.append(c);
    else
      out.push_back(kNameReplacementChar);
  });
  return out;
}

// The characters of `text` that SanitizeName replaces, each once, in order
// of appearance: what to tell the user before such a name is sent.
inline std::vector<std::string> CharactersNamesCannotHold(std::string_view text) {
  std::vector<std::string> out;
  name_text::ForEachCharacter(text, [&](std::string_view c, bool kept) {
    if (kept || std::find(out.begin(), out.end(), c) != out.end()) return;
    out.emplace_back(c);
  });
  return out;
}

// Trailing spaces dropped, a one-letter name included; a field of spaces
// only stays as it is (an unnamed slot is still told from a named one); the
// text ends at a NUL byte.
inline std::string NameFieldText(std::string_view field) {
  const size_t last = field.find_last_not_of(' ');
  std::string text(last == std::string_view::npos ? field : field.substr(0, last + 1));
  if (const size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
  return text;
}

} // namespace zorel

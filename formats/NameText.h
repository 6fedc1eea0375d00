#pragma once

// The text of a 32-byte name field, for the preset list, the IR lists and
// every comparison between a name the pedal reports and one the library
// holds: one rule on both sides, or equal names would look different and
// an unchanged IR be fetched again.

#include <string>
#include <string_view>

namespace zorel {

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

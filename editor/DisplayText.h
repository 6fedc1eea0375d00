#pragma once

#include <cstdio>
#include <string>

namespace zorel {

// The preset number display shows numbers as two digits ("05", "127").
inline std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

} // namespace zorel

// The two SVG documents, written as text: the IR gain knob (turned as a
// whole, so its shading is symmetric and its pointer is straight up) and
// the vector version of the microphone rail.

#include <cstdio>
#include <string>

#include "tools/artwork/Pictures.h"

namespace art {

std::string VectorKnobSvg() {
  return R"svg(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="30" height="30" viewBox="0 0 30 30">
  <defs>
    <radialGradient id="cap" cx="15" cy="15" r="11" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#44484f"/>
      <stop offset="1" stop-color="#222428"/>
    </radialGradient>
  </defs>
  <circle cx="15" cy="15" r="14" fill="#0c0d0e"/>
  <circle cx="15" cy="15" r="13" fill="none" stroke="#33ffff" stroke-width="1.5"/>
  <circle cx="15" cy="15" r="10.5" fill="url(#cap)"/>
  <line x1="15" y1="12" x2="15" y2="4.5" stroke="#f4f4f2" stroke-width="2.2" stroke-linecap="round"/>
</svg>
)svg";
}

std::string MicTrackSvg() {
  std::string svg = R"svg(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="50" height="432" viewBox="0 0 50 432">
  <rect x="21" y="6" width="8" height="420" rx="4" fill="#0c0d0e" stroke="#34373c" stroke-width="1"/>
)svg";
  // One notch pair per cabinet row, as in the bitmap rail.
  for (int k = 0; k < 9; ++k) {
    char line[160];
    const double y = 15 + 402.0 * k / 8 - 1;
    std::snprintf(
        line, sizeof line,
        "  <rect x=\"8\" y=\"%.2f\" width=\"9\" height=\"2\" rx=\"1\" fill=\"#5a5e65\"/>\n"
        "  <rect x=\"33\" y=\"%.2f\" width=\"9\" height=\"2\" rx=\"1\" fill=\"#5a5e65\"/>\n",
        y, y);
    svg += line;
  }
  return svg + "</svg>\n";
}

} // namespace art

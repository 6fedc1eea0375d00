#pragma once

// The cabinet response behind the IR position control (parameter 14, 0..127):
// the position picks one of the nine cabinets or a blend of two neighbours,
// and the IR working buffer is filled with it for the response display.

#include "library/SlotCache.h"

namespace zorel::lib {

// Where a control value falls: y = floor(value / 127 x 80) / 10 in single
// precision (0.0 .. 8.0 in steps of 0.1), between cabinets lo and hi.
struct CabinetPosition {
  float y = 0.0f;
  int lo = 0;
  int hi = 0;
};
CabinetPosition CabinetPositionFor(int value);

// What cabinets 7 and 8 stand for: with the user IR mode on, the user IR
// the preset uses; with it off, factory IR 6 or 7.
struct CabinetSources {
  int userIR7Mode = 0;   // parameter 40
  int userIR8Mode = 0;   // parameter 41
  int userIR7Number = 0; // parameter 53 x 128 + parameter 54
  int userIR8Number = 0; // parameter 55 x 128 + parameter 56
};

// Loads cabinet c (1..8) over the buffer: the factory slot file when there is
// one, else the factory WAV file whose name starts with the two-digit c; for
// 7 and 8 with the mode on, the user IR slot file or nothing. Cabinet 0 and
// anything that cannot be loaded leave the buffer as it is.
void LoadCabinet(SlotCache& cache, int cabinet, const CabinetSources& sources);

// Fills mIRBuffer for control value `value`: a unit impulse, then cabinet lo,
// and where the position lies between two cabinets the blend
// (hi - y) x lo + (y - lo) x hi.
void FillCabinetResponse(SlotCache& cache, int value, const CabinetSources& sources);

} // namespace zorel::lib

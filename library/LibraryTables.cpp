#include "library/LibraryTables.h"

namespace zorel::lib {

LibraryTables::LibraryTables()
    : mCabinetNames{"Flat Curve", "Movrant",   "Lidtop",   "QS 8x10", "Coast 2x15",
                    "Stage 2x15", "Bolt 4x10", "Tone 12L", "Isle V30"} {
  for (int n = 0; n < kUserIRNameCount; ++n) mUserIRNames[n] = EmptySlotName(n);
}

std::string EmptySlotName(int number) {
  return "Empty Slot " + std::to_string(number % 32 + 1);
}

} // namespace zorel::lib

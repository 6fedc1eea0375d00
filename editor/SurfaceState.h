#pragma once

#include "editor/SurfaceIds.h"

namespace zorel {

// What the editor remembers about its control surface, so that it never has
// to read anything back from the controls. Kept (and meaningful) whether or
// not a window is open; written only by the editor on the user-interface
// thread or under the editor lock.
struct SurfaceState {
  int mActiveSection = kSectionNone;
  // The mid-range knobs act on the punch filter ("pre" amp models 1, 2, 11
  // and 12) instead of the mid filter.
  bool mMidPre = false;
  bool mFilterSwitchOn = false;
  // The amplifier model whose button is lit (10..12: none matches).
  int mAmpModel = 10;
  // The ambience type whose button is lit (7: none matches).
  int mAmbienceType = 7;
  // The preset number display shows a value for a while after an edit.
  bool mDisplayShowsValue = false;
  int mDisplayRevertTicks = 0;
  // First visible slot of the preset list.
  int mListTopRow = 0;
  // Footswitch buttons held for auto-repeat.
  bool mUpHeld = false;
  bool mDownHeld = false;
};

} // namespace zorel

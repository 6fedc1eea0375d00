#pragma once

// The surface harness linked to the in-process virtual pedal and connected:
// identity, checksums, the bulk read of every preset, settings and the
// current preset have all gone through.
#include "tests/integration/PedalLink.h"
#include "tests/ui/SurfaceHarness.h"

namespace zorel::test {

struct PedalSurface {
  VirtualPedal pedal;
  SurfaceHarness h;
  Link link{h.headless, pedal, {}};

  PedalSurface() {
    link.Run(1000); // the identity request goes out on the first tick
    h.Advance(20);
  }
};

} // namespace zorel::test

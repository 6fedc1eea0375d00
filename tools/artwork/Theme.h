#pragma once

// The palette of the surface: near-black panels, cyan for what the user
// edits (the list and readout colours of the controls), red for the
// FILTER layer of the pedal.

#include "tools/artwork/Painter.h"

namespace art::theme {

inline constexpr Rgba kWindow = Hex(0x121315);
inline constexpr Rgba kWindowEdge = Hex(0x0b0c0d);
inline constexpr Rgba kPanel = Hex(0x1a1c1f);
inline constexpr Rgba kPanelEdge = Hex(0x2b2e33);
inline constexpr Rgba kWell = Hex(0x0c0d0e);
inline constexpr Rgba kHairline = Hex(0x34373c);
inline constexpr Rgba kText = Hex(0xe8eaed);
inline constexpr Rgba kTextDim = Hex(0x8c9096);
inline constexpr Rgba kTextFaint = Hex(0x5d6167);
inline constexpr Rgba kCyan = Hex(0x64ffff);
inline constexpr Rgba kCyanDeep = Hex(0x33ffff);
inline constexpr Rgba kRedLit = Hex(0xff3a3a);
inline constexpr Rgba kRedDim = Hex(0x9a3a3a);

// The pedal's enclosure.
inline constexpr Rgba kMetalTop = Hex(0x34373c);
inline constexpr Rgba kMetalBottom = Hex(0x222429);
inline constexpr Rgba kSilk = Hex(0xe9e9e6);
inline constexpr Rgba kSilkDim = Hex(0x9b9d9f);

} // namespace art::theme

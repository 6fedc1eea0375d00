#pragma once

// Where the controls of the main surface sit (logical units of the
// 1920 x 1200 surface): the artwork draws markings, labels and wells
// exactly under them.

#include <array>
#include <string>

#include "tools/artwork/Painter.h"

namespace art {

inline constexpr double kSurfaceW = 1920, kSurfaceH = 1200;

struct PedalKnob {
  Box box;           // the knob picture's square
  const char* upper; // layer A label (FILTER off)
  const char* lower; // layer B label (FILTER on); empty for both layers
};

inline constexpr double kSmallKnob = 106, kBigKnob = 136;

inline const std::array<PedalKnob, 8> kPedalKnobs = {{
    {FromEdges(716.5, 136, 822.5, 242), "DRIVE", "PREAMP"},
    {FromEdges(860.5, 136, 966.5, 242), "LOW", "FILTER"},
    {FromEdges(1005, 136, 1111, 242), "MID", "FREQ"},
    {FromEdges(1150, 136, 1256, 242), "HIGH", "Q"},
    {FromEdges(1295, 136, 1401, 242), "PRESENCE", "AMBIANCE"},
    {FromEdges(933.5, 294.5, 1039.5, 400.5), "COMP", "RATIO"},
    {FromEdges(1077.5, 294.5, 1183.5, 400.5), "BLEND", "CHORUS"},
    {FromEdges(701.5, 279, 837.5, 415), "LEVEL", ""},
}};

// Top-left corners of the picture controls.
inline constexpr double kFootW = 75, kFootH = 85;
struct Spot {
  double x, y;
};
inline constexpr Spot kFootDown{733, 510}, kFootCentre{1100, 510}, kFootUp{1460, 510};
inline constexpr Spot kFilterSwitch{1459, 322};
inline constexpr Spot kLamp{1170, 256};
inline constexpr Spot kSave{869, 314};
inline constexpr double kLampSize = 25, kSaveW = 38, kSaveH = 76;

// Three digit places (the first shows only "1") at 80 units.
inline const Box kPresetDisplay = FromEdges(1212, 319, 1390, 399);
inline constexpr double kDisplayDigitSize = 80;
inline const Box kStatusLines = FromEdges(660, 5, 1060, 73);
inline const Box kReconnect = FromEdges(540, 18, 655, 63);
inline const Box kPresetName = FromEdges(20, 120, 260, 144);
inline const Box kPresetList = FromEdges(1, 228, 261, 1178);
inline const Box kScrollBar = FromEdges(260, 230, 300, 1170);
inline const Box kPanelArea = FromEdges(350, 636, 1104, 1172);
inline const Box kGraph = FromEdges(1200, 685, 1872, 1135);
inline const Box kGraphSelect = FromEdges(1180, 650, 1880, 1160);

// The pedal's body.
inline const Box kPedal = FromEdges(648, 84, 1592, 630);
inline const Box kFootZone = FromEdges(664, 452, 1576, 614);

// Effect panel buttons: the two rows of the model and type choosers.
inline constexpr std::array<double, 5> kButtonX = {354, 517, 657, 798, 938};
inline constexpr std::array<double, 5> kButtonW = {163, 140, 141, 140, 162};
inline constexpr double kButtonRow1 = 730, kButtonRow2 = 765;
inline constexpr double kButtonFrameH = 71, kButtonFaceH = 32;

// The IMPULSE RESPONSE panel picture and the cabinet position slider.
inline constexpr Spot kIrPanel{429, 705};
inline constexpr double kIrPanelW = 630, kIrPanelH = 460;
inline const Box kMicSlider = FromEdges(380, 717, 430, 1149);
inline constexpr double kMicW = 50, kMicH = 30;

} // namespace art

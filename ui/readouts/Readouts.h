#pragma once

#include <array>
#include <string>
#include <vector>

// The texts of the value readouts on the section panels. The pedal knows only
// 7-bit values; how each shows in engineering units (%, dB, ms, Hz, ratios,
// filter quality) is the editor's own choice and lives here, as plain
// functions of the parameter values, so the surface only has to put the text
// into the control with the given tag.
//
// Values are the parameters' integer values; anything outside 0..127 is
// taken as the nearest end of that range.

namespace zorel::ui {

struct ReadoutText {
  int tag = 0;
  std::string text;
  friend bool operator==(const ReadoutText&, const ReadoutText&) = default;
};

// The readouts parameter `index` writes when its value is `value`: one text
// for most, two for the analog simulation (value and label), none for a
// parameter without a readout of its own (the filter bands use the functions
// below).
std::vector<ReadoutText> FormatReadout(int index, int value);

// The text `FormatReadout` gives the control with `tag`, or an empty string
// when the parameter writes nothing there.
std::string FormatReadoutForTag(int tag, int index, int value);

// The three numbers of an equaliser band (gain, frequency, quality), which
// depend on each other and are refreshed together.
using BandReadouts = std::array<ReadoutText, 3>;

// Punch filter: kParamPunch, kParamPunchFreq, kParamPunchQ.
BandReadouts FormatPunchReadouts(int gain, int frequency, int quality);
// Mid filter: kParamMid, kParamMidShift, kParamMidQ.
BandReadouts FormatMidReadouts(int gain, int frequency, int quality);
// High filter: kParamHigh, kParamHighFreq, kParamHighQ.
BandReadouts FormatHighReadouts(int gain, int frequency, int quality);

} // namespace zorel::ui

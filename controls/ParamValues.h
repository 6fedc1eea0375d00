#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "plugin/IParam.h"

namespace igraphics {

// Conversions between a control's normalized value and what its parameter
// shows and accepts.

// The parameter's display text for a normalized value; with `withUnit` the
// unit label follows unless the value has a display text of its own.
std::string ParamDisplayText(const iplug::IParam& param, double normalized, bool withUnit);

// A typed value for the parameter, in its own units: a display text of the
// parameter, or the leading decimal number of the text. nullopt when the
// text is neither, so a typo leaves the parameter alone.
std::optional<double> ParseParamText(const iplug::IParam& param, std::string_view text);

// The leading decimal number of a text (after blanks), or nullopt when it
// does not start with one; infinities and NaN count as no number.
std::optional<double> LeadingNumber(std::string_view text);

// True for parameters whose prompt is a menu of display texts: enumerations
// and booleans that have display texts.
bool PromptsWithMenu(const iplug::IParam& param);

// Normalized value snapped to the parameter's steps; unchanged for a
// parameter that is not stepped (or none).
double SnapToSteps(const iplug::IParam* param, double normalized);

// One step of a stepped parameter up (direction > 0) or down from a
// normalized value, clamped to the range.
double StepNormalized(const iplug::IParam& param, double normalized, int direction);

// Where one wheel notch of `delta` takes a knob or slider at `normalized`:
// one step for a stepped parameter, else 1 % (0.1 % with the fine modifier).
double WheelValue(const iplug::IParam* param, double normalized, float delta, bool fine);

// Number of values a stepped parameter can take, limited so a fine-grained
// range never builds an enormous menu.
int SteppedValueCount(const iplug::IParam& param, int limit = 1024);

} // namespace igraphics

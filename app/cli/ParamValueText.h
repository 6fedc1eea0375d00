#pragma once

#include <optional>
#include <string>

#include "plugin/IParam.h"

namespace zorel::cli {

// The value of `param` that `text` names, as a user reads the parameter on
// the surface:
// - one of the texts the parameter shows ("441Hz", "1-128", "OMNI"; case,
//   blanks and a missing unit do not matter: "441 hz", "441");
// - for a parameter whose shown texts carry a number, a number is matched
//   against those numbers, never against the stored value behind them
//   ("441" is the value shown as "441Hz");
// - for one that shows words only ("Disabled", "Enabled"), a number is the
//   stored value itself.
// Nothing is clamped: a number outside the shown range, or between two
// shown values, gives nullopt with `error` naming the range or the nearest
// values.
std::optional<double> ParseParamValue(const iplug::IParam& param, const std::string& text,
                                      std::string& error);

// What the parameter takes, for messages and listings: every shown text
// when there are few, else the first and the last ("428Hz..452Hz").
std::string DescribeParamRange(const iplug::IParam& param);

} // namespace zorel::cli

#include "controls/ParamValues.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace igraphics {

using iplug::IParam;

std::string ParamDisplayText(const IParam& param, double normalized, bool withUnit) {
  const double value = param.Denormalize(normalized);
  char text[IParam::kMaxTextLength] = {};
  param.FormatValue(value, text, true);
  std::string out = text;
  if (!withUnit || param.Label()[0] == '\0') return out;
  for (int i = 0; i < param.NValueTexts(); ++i) {
    if (param.ValueTextValueAt(i) == value && param.ValueTextAt(i)[0] != '\0') return out;
  }
  return out + " " + param.Label();
}

std::optional<double> LeadingNumber(std::string_view text) {
  // strtod needs a terminated string; the copy also bounds what is read.
  const std::string copy(text.substr(0, 256));
  const char* begin = copy.c_str();
  while (*begin == ' ' || *begin == '\t') ++begin;
  // strtod would also read "inf", "nan" and hexadecimal; none of them is a
  // value a user types into a box of decimal numbers.
  const char first = *begin == '+' || *begin == '-' ? begin[1] : *begin;
  if (!((first >= '0' && first <= '9') || first == '.')) return std::nullopt;
  char* end = nullptr;
  const double v = std::strtod(begin, &end);
  if (end == begin || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<double> ParseParamText(const IParam& param, std::string_view text) {
  for (int i = 0; i < param.NValueTexts(); ++i) {
    if (text == param.ValueTextAt(i)) return param.ValueTextValueAt(i);
  }
  std::optional<double> v = LeadingNumber(text);
  if (v && (param.Flags() & IParam::kParamFlagNegateDisplay)) *v = -*v;
  return v;
}

bool PromptsWithMenu(const IParam& param) {
  return param.Type() == IParam::kParamKindEnum ||
         (param.Type() == IParam::kParamKindBool && param.NValueTexts() > 0);
}

double SnapToSteps(const IParam* param, double normalized) {
  if (param == nullptr || !param->Stepped() || !(param->Step() > 0.0)) return normalized;
  return param->Normalize(param->Denormalize(normalized));
}

double StepNormalized(const IParam& param, double normalized, int direction) {
  const double step = param.Step() > 0.0 ? param.Step() : 1.0;
  const double value = param.Denormalize(normalized) + (direction > 0 ? step : -step);
  return param.Normalize(value);
}

double WheelValue(const IParam* param, double normalized, float delta, bool fine) {
  if (param != nullptr && param->Stepped())
    return StepNormalized(*param, normalized, delta > 0 ? 1 : -1);
  return normalized + delta * (fine ? 0.001 : 0.01);
}

int SteppedValueCount(const IParam& param, int limit) {
  const double step = param.Step() > 0.0 ? param.Step() : 1.0;
  const double n = std::floor((param.Max() - param.Min()) / step + 0.5) + 1.0;
  if (!std::isfinite(n) || n < 1.0) return 1;
  return static_cast<int>(std::min<double>(n, limit));
}

} // namespace igraphics

#include "app/cli/ParamValueText.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace zorel::cli {

namespace {

// A parameter with more steps than this is checked against its range only.
constexpr double kMaxShownValues = 4096;

struct Shown {
  double value;
  std::string text;
  std::optional<double> number; // the one number in the text, if exactly one
};

bool Digit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Lower case without blanks: how two spellings of a shown text compare.
std::string Squeezed(const std::string& text) {
  std::string out;
  for (char c : text)
    if (!std::isspace(static_cast<unsigned char>(c)))
      out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  return out;
}

// The number a shown text carries ("441Hz", "Channel 5", "-30dB"), when it
// carries exactly one; "1-128" carries two and so counts as a word.
std::optional<double> OnlyNumber(const std::string& text) {
  std::optional<double> found;
  int count = 0;
  for (size_t i = 0; i < text.size();) {
    if (!Digit(text[i])) {
      ++i;
      continue;
    }
    size_t start = i;
    // A sign counts only where it cannot be a dash between two words.
    if (start > 0 && (text[start - 1] == '-' || text[start - 1] == '+') &&
        (start == 1 || !std::isalnum(static_cast<unsigned char>(text[start - 2]))))
      --start;
    while (i < text.size() && Digit(text[i])) ++i;
    if (i + 1 < text.size() && text[i] == '.' && Digit(text[i + 1]))
      for (++i; i < text.size() && Digit(text[i]);) ++i;
    found = std::strtod(text.substr(start, i - start).c_str(), nullptr);
    ++count;
  }
  return count == 1 ? found : std::nullopt;
}

std::vector<Shown> ShownValues(const iplug::IParam& param) {
  std::vector<Shown> shown;
  const double span = param.Max() - param.Min();
  if (!(param.Step() > 0) || span / param.Step() > kMaxShownValues) return shown;
  const int count = static_cast<int>(std::lround(span / param.Step()));
  for (int i = 0; i <= count; ++i) {
    const double value = param.Min() + i * param.Step();
    char text[iplug::IParam::kMaxTextLength];
    param.FormatValue(value, text, true);
    shown.push_back({value, text, OnlyNumber(text)});
  }
  return shown;
}

bool AnyNumber(const std::vector<Shown>& shown) {
  for (const Shown& s : shown)
    if (s.number) return true;
  return false;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<double> ParseNumber(const std::string& text) {
  // strtod also reads hexadecimal, "inf" and "nan", none of which a user
  // means as a parameter value.
  if (text.empty() || text.find_first_of("xXiInN") != std::string::npos) return std::nullopt;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (*end != '\0' || !std::isfinite(v)) return std::nullopt;
  return v;
}

bool Same(double a, double b) {
  return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(b));
}

// What to say about a number that is no shown value: out of range, or
// between the two nearest.
std::string Refusal(const iplug::IParam& param, const std::string& typed,
                    const std::vector<std::pair<double, const Shown*>>& candidates, double n) {
  const Shown* below = nullptr;
  const Shown* above = nullptr;
  double belowKey = 0, aboveKey = 0;
  for (const auto& [key, s] : candidates) {
    if (key < n && (!below || key > belowKey)) below = s, belowKey = key;
    if (key > n && (!above || key < aboveKey)) above = s, aboveKey = key;
  }
  if (!below || !above)
    return typed + " is outside the range of " + param.Name() + ": " + DescribeParamRange(param);
  return typed + " is not a value " + param.Name() + " shows; the nearest are " + below->text +
         " and " + above->text;
}

} // namespace

std::string DescribeParamRange(const iplug::IParam& param) {
  const std::vector<Shown> shown = ShownValues(param);
  if (shown.empty()) {
    char lo[iplug::IParam::kMaxTextLength], hi[iplug::IParam::kMaxTextLength];
    param.FormatValue(param.Min(), lo, true);
    param.FormatValue(param.Max(), hi, true);
    return std::string(lo) + ".." + hi;
  }
  std::string out;
  if (shown.size() <= 8) {
    for (const Shown& s : shown) out += (out.empty() ? "" : ", ") + s.text;
  } else {
    out = shown.front().text + ".." + shown.back().text;
  }
  if (!AnyNumber(shown)) {
    char lo[32], hi[32];
    std::snprintf(lo, sizeof lo, "%g", param.Min());
    std::snprintf(hi, sizeof hi, "%g", param.Max());
    out += std::string(" (or ") + lo + ".." + hi + ")";
  }
  return out;
}

std::optional<double> ParseParamValue(const iplug::IParam& param, const std::string& text,
                                      std::string& error) {
  const std::string typed = Trimmed(text);
  const std::string wanted = Squeezed(typed);
  if (wanted.empty()) {
    error = std::string("no value given for ") + param.Name();
    return std::nullopt;
  }
  const std::vector<Shown> shown = ShownValues(param);
  for (const Shown& s : shown)
    if (Squeezed(s.text) == wanted) return s.value;

  const std::optional<double> n = ParseNumber(typed);
  if (!n) {
    error = "\"" + typed + "\" is not a value of " + param.Name() + ", which takes " +
            DescribeParamRange(param);
    return std::nullopt;
  }
  if (shown.empty()) {
    // Too many steps to list: the range is all there is to check.
    if (*n >= param.Min() && *n <= param.Max()) return param.Conform(*n);
    error = typed + " is outside the range of " + param.Name() + ": " + DescribeParamRange(param);
    return std::nullopt;
  }
  // Numbers mean what is shown when the shown texts carry numbers, else
  // the stored value behind the words.
  const bool byShownNumber = AnyNumber(shown);
  std::vector<std::pair<double, const Shown*>> candidates;
  for (const Shown& s : shown) {
    if (byShownNumber && !s.number) continue;
    const double key = byShownNumber ? *s.number : s.value;
    if (Same(*n, key)) return s.value;
    candidates.emplace_back(key, &s);
  }
  error = Refusal(param, typed, candidates, *n);
  return std::nullopt;
}

} // namespace zorel::cli

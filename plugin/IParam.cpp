#include "plugin/IParam.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace iplug {

namespace {

// Copies at most kMaxTextLength - 1 characters; longer texts are cut so the
// fixed fields always stay terminated.
void CopyText(char* dst, const char* src) {
  if (src == nullptr) src = "";
  std::snprintf(dst, IParam::kMaxTextLength, "%s", src);
}

} // namespace

double IParam::ShapeLinear::MapToValue(double normalized, const IParam& param) const {
  return param.Min() + normalized * (param.Max() - param.Min());
}

double IParam::ShapeLinear::MapToNormalized(double value, const IParam& param) const {
  return (value - param.Min()) / (param.Max() - param.Min());
}

IParam::IParam() : mShape(std::make_unique<ShapeLinear>()) {}

void IParam::DefineContinuous(const char* name, double defaultValue, double min, double max,
                              double step, const char* label, int flags, const char* group,
                              const Shape& shape, DisplayFunc formatter) {
  if (mType == kParamKindNone) mType = kParamKindDouble;
  CopyText(mName, name);
  CopyText(mLabel, label);
  CopyText(mGroup, group);
  mMin = min;
  mMax = std::max(max, min + step); // the range always spans at least one step
  mStep = step;
  mDefault = defaultValue;
  mUnit = kParamUnitCustom;
  mFlags = flags;
  mFormatter = std::move(formatter);
  mValue.exchange(Conform(defaultValue), std::memory_order_acq_rel);

  mPrecision = 0;
  for (double s = step; std::floor(s) != s && mPrecision < 6; s *= 10.0) ++mPrecision;

  mShape = shape.Clone();
  mShape->Attach(*this);
}

void IParam::DefineInteger(const char* name, int defaultValue, int min, int max, const char* label,
                           int flags, const char* group) {
  if (mType == kParamKindNone) mType = kParamKindInt;
  DefineContinuous(name, defaultValue, min, max, 1.0, label, flags | kParamFlagStepped, group,
                   ShapeLinear(), nullptr);
}

void IParam::DefineChoice(const char* name, int defaultValue, int count, const char* label,
                          int flags, const char* group, std::initializer_list<const char*> texts) {
  if (mType == kParamKindNone) mType = kParamKindEnum;
  DefineContinuous(name, defaultValue, 0.0, count - 1.0, 1.0, label, flags | kParamFlagStepped,
                   group, ShapeLinear(), nullptr);
  int i = 0;
  for (const char* text : texts) {
    if (i >= count) break;
    AddValueText(i++, text);
  }
}

void IParam::AddValueText(double value, const char* text) {
  ValueText entry{value, {}};
  CopyText(entry.text, text);
  mValueTexts.push_back(entry);
}

double IParam::Conform(double v) const {
  // A NaN (a damaged state chunk, say) would survive the clamp and turn into
  // an undefined integer later; it becomes the lowest value instead.
  if (std::isnan(v)) return mMin;
  if (Stepped()) v = std::round(v / mStep) * mStep;
  return std::clamp(v, mMin, mMax);
}

double IParam::Normalize(double v) const {
  return std::clamp(mShape->MapToNormalized(Conform(v), *this), 0.0, 1.0);
}

double IParam::Denormalize(double normalized) const {
  if (std::isnan(normalized)) return mMin;
  double v = mShape->MapToValue(normalized, *this);
  if (Stepped()) v = std::round(v / mStep) * mStep;
  return std::clamp(v, mMin, mMax);
}

void IParam::FormatValue(double value, char* out, bool useValueTexts) const {
  if (mFormatter) {
    mFormatter(value, out);
    return;
  }
  if (useValueTexts) {
    for (const ValueText& entry : mValueTexts) {
      if (entry.value == value) {
        if (entry.text[0] != '\0') {
          CopyText(out, entry.text);
          return;
        }
        break;
      }
    }
  }
  double v = (mFlags & kParamFlagNegateDisplay) ? -value : value;
  if (v == 0.0) v = 0.0; // no "-0"
  if (mPrecision == 0) {
    std::snprintf(out, kMaxTextLength, "%d", static_cast<int>(std::round(v)));
  } else if ((mFlags & kParamFlagSignedDisplay) && v != 0.0) {
    char format[16];
    std::snprintf(format, sizeof format, "%%+.%df", mPrecision);
    std::snprintf(out, kMaxTextLength, format, v);
  } else {
    std::snprintf(out, kMaxTextLength, "%.*f", mPrecision, v);
  }
}

const char* IParam::UnitText() const {
  const double truncated = static_cast<double>(static_cast<long long>(Current()));
  for (const ValueText& entry : mValueTexts) {
    if (entry.value == truncated) {
      if (entry.text[0] != '\0') return "";
      break;
    }
  }
  return mLabel;
}

void IParam::FormatCurrentWithUnit(char* out) const {
  FormatValue(Current(), out, true);
  const char* unit = UnitText();
  if (unit[0] != '\0') {
    const size_t used = std::strlen(out);
    std::snprintf(out + used, kMaxTextLength - used, " %s", unit);
  }
}

} // namespace iplug

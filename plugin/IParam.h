#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace iplug {

// One value the editor shows or edits: kind, range, step, default, the
// current value (atomic: the audio thread stores values from the pedal while
// the user-interface thread draws them), display texts and a shape that maps
// the value to and from the normalized 0..1 of controls.
class IParam {
public:
  enum EParamKind {
    kParamKindNone = 0,
    kParamKindBool = 1,
    kParamKindInt = 2,
    kParamKindEnum = 3,
    kParamKindDouble = 4,
  };

  static constexpr int kParamUnitCustom = 21;

  enum EFlags {
    kParamFlagStepped = 0x2,
    kParamFlagNegateDisplay = 0x4,
    kParamFlagSignedDisplay = 0x8,
  };

  static constexpr int kMaxTextLength = 32; // including the terminator

  using DisplayFunc = std::function<void(double value, char* out)>;

  struct ValueText {
    double value;
    char text[kMaxTextLength];
  };

  class Shape {
  public:
    virtual ~Shape() = default;
    virtual std::unique_ptr<Shape> Clone() const = 0;
    virtual void Attach(const IParam& param) {}
    virtual int Kind() const = 0;
    virtual double MapToValue(double normalized, const IParam& param) const = 0;
    virtual double MapToNormalized(double value, const IParam& param) const = 0;
  };

  class ShapeLinear : public Shape {
  public:
    std::unique_ptr<Shape> Clone() const override { return std::make_unique<ShapeLinear>(*this); }
    int Kind() const override { return 0; }
    double MapToValue(double normalized, const IParam& param) const override;
    double MapToNormalized(double value, const IParam& param) const override;
  };

  IParam();
  IParam(const IParam&) = delete;
  IParam& operator=(const IParam&) = delete;

  void DefineContinuous(const char* name, double defaultValue, double min, double max, double step,
                        const char* label = "", int flags = 0, const char* group = "",
                        const Shape& shape = ShapeLinear(), DisplayFunc formatter = nullptr);
  void DefineInteger(const char* name, int defaultValue, int min, int max, const char* label = "",
                     int flags = 0, const char* group = "");
  // `texts` holds exactly `count` texts, or is empty (no value texts added);
  // an empty list stands for the "null first text" of the variadic form.
  void DefineChoice(const char* name, int defaultValue, int count, const char* label, int flags,
                    const char* group, std::initializer_list<const char*> texts);
  template <typename... Texts>
  void DefineChoice(const char* name, int defaultValue, int count, const char* label, int flags,
                    const char* group, const char* text0, Texts... rest) {
    if (text0 == nullptr) {
      DefineChoice(name, defaultValue, count, label, flags, group, {});
    } else {
      DefineChoice(name, defaultValue, count, label, flags, group, {text0, rest...});
    }
  }
  void AddValueText(double value, const char* text);

  double Current() const { return mValue.load(std::memory_order_acquire); }
  int Int() const { return static_cast<int>(Current()); }
  double Conform(double v) const;
  void Store(double v) { mValue.exchange(Conform(v), std::memory_order_acq_rel); }
  double Normalize(double v) const;
  double Denormalize(double normalized) const;
  void StoreNormalized(double normalized) { Store(Denormalize(normalized)); }
  double NormalizedCurrent() const { return Normalize(Current()); }
  double DefaultValue(bool normalized = false) const {
    return normalized ? Normalize(mDefault) : mDefault;
  }

  // `out` must hold kMaxTextLength characters.
  void FormatValue(double value, char* out, bool useValueTexts = true) const;
  const char* UnitText() const;
  void FormatCurrentWithUnit(char* out) const;

  int Type() const { return mType; }
  void SetType(int type) { mType = type; }
  int Unit() const { return mUnit; }
  double Min() const { return mMin; }
  double Max() const { return mMax; }
  double Step() const { return mStep; }
  int Precision() const { return mPrecision; }
  int Flags() const { return mFlags; }
  bool Stepped() const { return (mFlags & kParamFlagStepped) != 0; }
  const char* Name() const { return mName; }
  const char* Label() const { return mLabel; }
  const char* Group() const { return mGroup; }
  const Shape& GetShape() const { return *mShape; }
  int NValueTexts() const { return static_cast<int>(mValueTexts.size()); }
  const char* ValueTextAt(int i) const { return mValueTexts[static_cast<size_t>(i)].text; }
  double ValueTextValueAt(int i) const { return mValueTexts[static_cast<size_t>(i)].value; }

private:
  int mType = kParamKindNone;
  int mUnit = kParamUnitCustom;
  std::atomic<double> mValue{0.0};
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  double mDefault = 0.0;
  int mPrecision = 0;
  int mFlags = 0;
  char mName[kMaxTextLength] = {};
  char mLabel[kMaxTextLength] = {};
  char mGroup[kMaxTextLength] = {};
  std::unique_ptr<Shape> mShape;
  DisplayFunc mFormatter;
  std::vector<ValueText> mValueTexts;
};

static_assert(std::atomic<double>::is_always_lock_free, "parameter values must be lock-free");

} // namespace iplug

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "plugin/IParam.h"

using iplug::IParam;

namespace {

std::string Format(const IParam& p, double v, bool texts = true) {
  char out[IParam::kMaxTextLength];
  p.FormatValue(v, out, texts);
  return out;
}

TEST(IParam, FreshParameterState) {
  IParam p;
  EXPECT_EQ(p.Type(), IParam::kParamKindNone);
  EXPECT_EQ(p.Unit(), IParam::kParamUnitCustom);
  EXPECT_EQ(p.Min(), 0.0);
  EXPECT_EQ(p.Max(), 1.0);
  EXPECT_EQ(p.Step(), 1.0);
  EXPECT_EQ(p.Current(), 0.0);
  EXPECT_STREQ(p.Name(), "");
  EXPECT_EQ(p.GetShape().Kind(), 0);
  EXPECT_EQ(p.NValueTexts(), 0);
}

TEST(IParam, ChoiceRangeAndDenormalizeRounding) {
  IParam p;
  p.DefineChoice("Bank", 0, 9, "", 0, "", nullptr);
  EXPECT_EQ(p.Type(), IParam::kParamKindEnum);
  EXPECT_EQ(p.Max(), 8.0);
  EXPECT_TRUE(p.Stepped());
  EXPECT_EQ(p.Precision(), 0);
  EXPECT_EQ(p.Denormalize(0.5), 4.0);
  EXPECT_EQ(p.Denormalize(0.51), 4.0);
  EXPECT_EQ(p.Denormalize(1.2), 8.0);
  EXPECT_EQ(p.Denormalize(-0.3), 0.0);
  EXPECT_EQ(p.NValueTexts(), 0);
}

TEST(IParam, ConformRoundsHalvesAwayAndClamps) {
  IParam p;
  p.DefineInteger("Gain", 64, 0, 127);
  EXPECT_EQ(p.Conform(63.5), 64.0);
  EXPECT_EQ(p.Conform(-3), 0.0);
  EXPECT_EQ(p.Conform(200), 127.0);
  EXPECT_EQ(p.Conform(std::nan("")), 0.0); // never a NaN value
  p.Store(126.6);
  EXPECT_EQ(p.Current(), 127.0);
  p.StoreNormalized(0.5);
  EXPECT_EQ(p.Current(), 64.0); // 63.5 rounds away from zero
  EXPECT_DOUBLE_EQ(p.Normalize(300), 1.0);
}

TEST(IParam, RangeSpansAtLeastOneStepAndPrecisionFollowsStep) {
  IParam a;
  a.DefineInteger("A", 2, 2, 2);
  EXPECT_EQ(a.Max(), 3.0);
  IParam b;
  b.DefineContinuous("B", 0, 0, 1, 0.5);
  EXPECT_EQ(b.Precision(), 1);
  EXPECT_EQ(b.Type(), IParam::kParamKindDouble);
  IParam c;
  c.DefineContinuous("C", 0, 0, 1, 0.01);
  EXPECT_EQ(c.Precision(), 2);
  IParam d;
  d.DefineContinuous("D", 0, 0, 1, 1e-9);
  EXPECT_EQ(d.Precision(), 6);
}

TEST(IParam, FormatValueRoundingAndSigns) {
  IParam p;
  p.DefineInteger("P", 0, -10, 10);
  EXPECT_EQ(Format(p, -0.0), "0");
  EXPECT_EQ(Format(p, -0.4), "0");
  EXPECT_EQ(Format(p, -0.5), "-1");
  EXPECT_EQ(Format(p, 2.5), "3");

  IParam s;
  s.DefineContinuous("S", 0, -5, 5, 0.01, "", IParam::kParamFlagSignedDisplay);
  EXPECT_EQ(Format(s, 1.5), "+1.50");
  EXPECT_EQ(Format(s, -1.5), "-1.50");
  EXPECT_EQ(Format(s, 0.0), "0.00");

  IParam n;
  n.DefineContinuous("N", 0, -5, 5, 0.1, "", IParam::kParamFlagNegateDisplay);
  EXPECT_EQ(Format(n, 2.0), "-2.0");
  EXPECT_EQ(Format(n, 0.0), "0.0"); // no "-0.0"
}

TEST(IParam, ValueTextsAndUnitText) {
  IParam p;
  p.DefineChoice("Switch", 1, 2, "", 0, "", "Off", "On");
  EXPECT_EQ(Format(p, 1), "On");
  EXPECT_EQ(Format(p, 1, false), "1");
  EXPECT_EQ(Format(p, 0.5), "1"); // no exact match: the rounded number
  EXPECT_STREQ(p.UnitText(), "");

  IParam q;
  q.DefineInteger("Auto", 1, 0, 1, "On/Off");
  EXPECT_STREQ(q.UnitText(), "On/Off");
  char out[IParam::kMaxTextLength];
  q.FormatCurrentWithUnit(out);
  EXPECT_STREQ(out, "1 On/Off");

  // Later texts are found; the first entry for a value wins; an empty text
  // stops the search and falls back to the number.
  IParam r;
  r.DefineChoice("R", 0, 3, "dB", 0, "", nullptr);
  r.AddValueText(0, "");
  r.AddValueText(0, "zero");
  r.AddValueText(2, "two");
  r.AddValueText(2, "deux");
  EXPECT_EQ(Format(r, 0), "0");
  EXPECT_EQ(Format(r, 2), "two");
  EXPECT_STREQ(r.UnitText(), "dB"); // current 0: empty text → label
  r.Store(2);
  EXPECT_STREQ(r.UnitText(), "");
}

TEST(IParam, LongTextsAreCutAndTerminated) {
  IParam p;
  const std::string longName(50, 'x');
  p.DefineInteger(longName.c_str(), 0, 0, 1);
  p.AddValueText(0, longName.c_str());
  EXPECT_EQ(std::string(p.Name()).size(), 31u);
  EXPECT_EQ(Format(p, 0).size(), 31u);
}

TEST(IParam, FormatterOverridesEverything) {
  IParam p;
  p.DefineContinuous("F", 0, 0, 10, 1, "", 0, "", IParam::ShapeLinear(),
                     [](double v, char* out) { std::snprintf(out, 32, "<%g>", v); });
  p.AddValueText(3, "three");
  EXPECT_EQ(Format(p, 3), "<3>");
}

} // namespace

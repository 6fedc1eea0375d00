// Probes of the real surface on a headless editor: where the tagged
// controls are, which panel and knob layer are on screen after what the
// user does, and what reaches the pedal.
#include <gtest/gtest.h>

#include <cmath>

#include "editor/DisplayText.h"
#include "protocol/ModelDefaults.h"
#include "protocol/codec/EditorMessages.h"
#include "protocol/codec/ParamIds.h"
#include "tests/ui/SurfaceHarness.h"
#include "ui/LayoutRows.h"
#include "ui/LayoutTables.h"
#include "ui/PictureOnFirstShow.h"
#include "ui/readouts/Readouts.h"

using namespace zorel;
using namespace zorel::test;
using namespace zorel::ui;
using Bytes = std::vector<uint8_t>;

namespace {

double Normalized(ZorelControl& e, int index, int value) {
  return e.ParamAt(index)->Normalize(value);
}
int Value(ZorelControl& e, int index) {
  return e.ParamAt(index)->Int();
}

// The model and ambience buttons: the top left of a button's face.
struct Spot {
  float x, y;
};
Spot ChoiceButton(int index) {
  constexpr float columns[] = {354, 517, 657, 798, 938};
  return {columns[index % 5] + 60.f, 730.f + 35.f * static_cast<float>(index / 5) + 15.f};
}

template <size_t N> Bytes ToBytes(const std::array<uint8_t, N>& m) {
  return Bytes(m.begin(), m.end());
}

const std::set<int> kLayerA = {kParamLevel,  kParamDrive,    kParamLow,       kParamHigh,
                               kParamCrunch, kParamDynamics, kParamBlendLevel};
const std::set<int> kLayerB = {kParamLevel,           kParamGain,
                               kParamAutoFilterLevel, kParamReverb,
                               kParamCompressorRatio, kParamChorusModDepth};
std::set<int> With(std::set<int> layer, std::initializer_list<int> extra) {
  layer.insert(extra);
  return layer;
}

} // namespace

TEST(SurfaceProbe, TaggedControlsSitAtTheirRectanglesInTheirGroups) {
  SurfaceHarness h;
  std::vector<PlacedControl> all;
  for (const layout::NamedTable& t : layout::AllTables())
    for (PlacedControl& p : Expand(t.table, t.group)) all.push_back(std::move(p));
  int probed = 0;
  for (const PlacedControl& p : all) {
    const ControlSpec& s = p.spec;
    if (s.tag != kTagNone) {
      IControl* c = h.Tag(s.tag);
      ASSERT_NE(c, nullptr) << s.tag;
      EXPECT_EQ(c->Group(), p.group ? p.group : "") << s.tag;
      const bool picture = s.kind == Kind::kPicture || s.kind == Kind::kPictureButton ||
                           s.kind == Kind::kBackgroundPicture;
      if (picture) {
        EXPECT_EQ(c->Bounds().L, s.rect.L) << s.tag;
        EXPECT_EQ(c->Bounds().T, s.rect.T) << s.tag;
      } else {
        EXPECT_EQ(c->Bounds(), s.rect) << s.tag;
      }
      ++probed;
    }
    if (s.knob.readoutTag != kTagNone) {
      IControl* readout = h.Tag(s.knob.readoutTag);
      ASSERT_NE(readout, nullptr) << s.knob.readoutTag;
      const Rect& k = s.rect;
      const Rect expected = s.kind == Kind::kLargeKnob ? Rect(k.L, k.T + 75, k.R, k.T + 115)
                                                       : Rect(k.L, k.T + 45, k.R, k.T + 75);
      EXPECT_EQ(readout->Bounds(), expected) << s.knob.readoutTag;
      EXPECT_EQ(readout->Group(), p.group) << s.knob.readoutTag;
      EXPECT_EQ(h.Text(s.knob.readoutTag), s.knob.readout);
      ++probed;
    }
  }
  EXPECT_EQ(probed, 96); // every tag of the surface, its panels and pages
}

TEST(SurfaceProbe, StartsWithTheImpulseResponsePanelAndAGreyedPedal) {
  SurfaceHarness h;
  EXPECT_TRUE(h.GroupShown(group::kImpulseResponse));
  EXPECT_TRUE(h.GroupShown(group::kIRDisplay));
  for (const char* g : {group::kDrive, group::kAmbience, group::kAmbienceTime, group::kCompressor,
                        group::kDynamics, group::kLevel, group::kChorus, group::kCustomIR})
    EXPECT_TRUE(h.GroupHidden(g)) << g;
  EXPECT_TRUE(h.Tag(kTagRedBackground)->IsHidden());
  EXPECT_TRUE(h.Tag(kTagFilterLamp)->IsHidden());
  EXPECT_TRUE(h.Tag(kTagClickToEditHint)->IsHidden());
  EXPECT_TRUE(h.surface->Handles().dynamicsGraph->IsHidden());
  EXPECT_TRUE(h.Tag(kTagFootUp)->IsDisabled());
  EXPECT_TRUE(h.Tag(kTagIR7GainKnob)->IsDisabled());
  EXPECT_TRUE(h.Tag(kTagIR8Import)->IsDisabled());
  EXPECT_EQ(h.Text(kTagDeviceVersion), "Connecting to the device...");
  EXPECT_EQ(h.VisiblePedalKnobs(), With(kLayerA, {kParamMid}));
  EXPECT_EQ(h.graphics.GetDrawScale(), 0.5f);
}

TEST(SurfaceProbe, ParameterChangesBringTheirPanelForward) {
  SurfaceHarness h;
  h.PretendConnected();
  ZorelControl& e = h.Editor();

  e.SetParameterValue(kParamReverb, 0.5);
  EXPECT_EQ(e.View().mActiveSection, kSectionAmbience);
  EXPECT_TRUE(h.GroupShown(group::kAmbience));
  EXPECT_TRUE(h.GroupHidden(group::kImpulseResponse));

  // The COMP knob: compressor panel and dynamics graph instead of the
  // response graph.
  e.SetParameterValue(kParamDynamics, Normalized(e, kParamDynamics, 40));
  EXPECT_EQ(e.View().mActiveSection, kSectionCompressor);
  EXPECT_TRUE(h.GroupShown(group::kCompressor));
  EXPECT_TRUE(h.GroupShown(group::kDynamics));
  EXPECT_TRUE(h.GroupHidden(group::kAmbience));
  EXPECT_FALSE(h.surface->Handles().dynamicsGraph->IsHidden());
  EXPECT_TRUE(h.GroupHidden(group::kIRDisplay));
  EXPECT_FALSE(h.Tag(kTagClickToEditHint)->IsHidden());
  EXPECT_EQ(h.Text(kTagCompressorThreshold),
            FormatReadoutForTag(kTagCompressorThreshold, kParamDynamics, 40));

  // The ratio from another panel selects the compressor again.
  e.SetParameterValue(kParamGain, 0.2);
  EXPECT_TRUE(h.GroupShown(group::kDrive));
  e.SetParameterValue(kParamCompressorRatio, Normalized(e, kParamCompressorRatio, 127));
  EXPECT_EQ(e.View().mActiveSection, kSectionCompressor);
  EXPECT_EQ(h.Text(kTagCompressorRatio), "20.0:1");

  // The punch knob belongs to the punch filter only with a "pre" model.
  e.SetParameterValue(kParamPunch, 0.7);
  EXPECT_EQ(e.View().mActiveSection, kSectionCompressor);

  // The response area opens the IR panel; a second click changes nothing.
  h.Click(1500, 900);
  EXPECT_EQ(e.View().mActiveSection, kSectionImpulseResponse);
  EXPECT_TRUE(h.GroupShown(group::kImpulseResponse));
  EXPECT_TRUE(h.GroupShown(group::kIRDisplay));
  EXPECT_TRUE(h.surface->Handles().dynamicsGraph->IsHidden());
  EXPECT_TRUE(h.Tag(kTagClickToEditHint)->IsHidden());
  h.headless.TakeSent();
  h.Click(1500, 900);
  EXPECT_TRUE(h.GroupShown(group::kImpulseResponse));
  EXPECT_TRUE(h.headless.TakeSent().empty());
}

TEST(SurfaceProbe, KnobLayersFollowTheMidVariantAndTheFilterSwitch) {
  SurfaceHarness h;
  const struct {
    bool midPre, filterOn;
    std::set<int> knobs;
  } cases[] = {
      {true, true, With(kLayerB, {kParamPunchFreq, kParamPunchQ})},
      {true, false, With(kLayerA, {kParamPunch})},
      {false, true, With(kLayerB, {kParamMidShift, kParamMidQ})},
      {false, false, With(kLayerA, {kParamMid})},
  };
  for (const auto& c : cases) {
    h.surface->UpdateKnobLayer(c.midPre, c.filterOn);
    EXPECT_EQ(h.VisiblePedalKnobs(), c.knobs) << c.midPre << c.filterOn;
  }
}

TEST(SurfaceProbe, FilterSwitchTwiceSendsOneThenZeroAndReturnsToLayerA) {
  SurfaceHarness h;
  h.PretendConnected();
  h.headless.TakeSent();
  const float x = 1459 + 37, y = 322 + 42;
  // The red background is decoded only when it is first needed.
  auto* red = dynamic_cast<PictureOnFirstShow*>(h.Tag(kTagRedBackground));
  ASSERT_NE(red, nullptr);
  EXPECT_FALSE(red->Loaded());

  h.graphics.OnMouseDown(x, y, {.L = true});
  EXPECT_EQ(h.Tag(kTagFilterSwitch)->Value(), 1.0); // pressed frame while held
  h.graphics.OnMouseUp(x, y, {.L = true});
  EXPECT_EQ(h.Tag(kTagFilterSwitch)->Value(), 0.0);
  EXPECT_EQ(h.headless.TakeSent(), std::vector<Bytes>{ToBytes(BuildFilterSwitch(true))});
  EXPECT_FALSE(h.Tag(kTagFilterLamp)->IsHidden());
  EXPECT_FALSE(h.Tag(kTagRedBackground)->IsHidden());
  EXPECT_TRUE(red->Loaded());
  EXPECT_EQ(red->Bounds(), igraphics::Rect(0, 0, 1920, 1200));
  EXPECT_EQ(h.VisiblePedalKnobs(), With(kLayerB, {kParamMidShift, kParamMidQ}));

  h.Click(x, y);
  EXPECT_EQ(h.headless.TakeSent(), std::vector<Bytes>{ToBytes(BuildFilterSwitch(false))});
  EXPECT_TRUE(h.Tag(kTagFilterLamp)->IsHidden());
  EXPECT_TRUE(h.Tag(kTagRedBackground)->IsHidden());
  EXPECT_EQ(h.VisiblePedalKnobs(), With(kLayerA, {kParamMid}));
}

TEST(SurfaceProbe, ModelButtonsApplyTheirDefaultsOnceAndTheLitOneDoesNothing) {
  SurfaceHarness h;
  h.PretendConnected();
  ZorelControl& e = h.Editor();
  e.SetParameterValue(kParamGain, 0.5);
  ASSERT_EQ(e.View().mActiveSection, kSectionAmplifier);
  h.headless.TakeSent();

  // QS BASS: its values, the mid filter flat, the punch knob at MID.
  h.Click(ChoiceButton(1).x, ChoiceButton(1).y);
  const int expected[][2] = {{kParamGain, 26},      {kParamBuzz, 63},      {kParamPunch, 64},
                             {kParamCrunch, 64},    {kParamBuzzQ, 64},     {kParamPunchQ, 64},
                             {kParamCrunchQ, 0},    {kParamPunchFreq, 65}, {kParamDrive, 20},
                             {kParamPresetLevel, 0}};
  for (const auto& [param, value] : expected) EXPECT_EQ(Value(e, param), value) << param;
  EXPECT_EQ(e.ParamAt(kParamMid)->Current(), e.ParamAt(kParamMid)->Denormalize(0.5));
  EXPECT_TRUE(e.View().mMidPre);
  EXPECT_EQ(h.VisiblePedalKnobs(), With(kLayerA, {kParamPunch}));
  EXPECT_EQ(e.View().mActiveSection, kSectionAmplifier); // applied values switch nothing
  for (int k = 0; k < kAmpModelButtons; ++k)
    EXPECT_EQ(h.Tag(kTagAmpModelButtonFirst + k)->Value(), k == 1 ? 1.0 : 0.0) << k;
  // One message: the whole preset, not the values one by one.
  std::vector<Bytes> sent = h.headless.TakeSent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0][5], kCmdWritePreset);
  EXPECT_EQ(h.Text(kTagPreAmp), FormatReadoutForTag(kTagPreAmp, kParamGain, 26));

  // DARKFACE: the mid filter again, and its knob untouched.
  const double mid = e.ParamAt(kParamMid)->Current();
  e.SetParameterValue(kParamMid, Normalized(e, kParamMid, 90));
  h.headless.TakeSent();
  h.Click(ChoiceButton(7).x, ChoiceButton(7).y);
  EXPECT_FALSE(e.View().mMidPre);
  EXPECT_EQ(Value(e, kParamMid), 90);
  EXPECT_NE(mid, 90.0);
  EXPECT_EQ(h.VisiblePedalKnobs(), With(kLayerA, {kParamMid}));
  EXPECT_EQ(h.headless.TakeSent().size(), 1u);

  // The lit button: nothing applied, nothing sent.
  e.SetParameterValue(kParamGain, Normalized(e, kParamGain, 100));
  h.headless.TakeSent();
  h.Click(ChoiceButton(7).x, ChoiceButton(7).y);
  EXPECT_TRUE(h.headless.TakeSent().empty());
  EXPECT_EQ(Value(e, kParamGain), 100);
  EXPECT_EQ(h.Tag(kTagAmpModelButtonFirst + 7)->Value(), 1.0);
}

TEST(SurfaceProbe, EchoShowsTheTimeKnobAndRoomHidesIt) {
  SurfaceHarness h;
  h.PretendConnected();
  ZorelControl& e = h.Editor();
  e.SetParameterValue(kParamReverb, 0.5);
  ASSERT_EQ(e.View().mActiveSection, kSectionAmbience);
  EXPECT_TRUE(h.GroupHidden(group::kAmbienceTime));

  h.Click(ChoiceButton(5).x, ChoiceButton(5).y); // echo
  EXPECT_TRUE(h.GroupShown(group::kAmbienceTime));
  EXPECT_EQ(h.Tag(kTagEchoButton)->Value(), 1.0);
  EXPECT_EQ(Value(e, kParamReverbExtensionFactor), 5);
  EXPECT_EQ(h.Text(kTagAmbienceTime),
            FormatReadoutForTag(kTagAmbienceTime, kParamReverbRoomSize, 64));

  h.Click(ChoiceButton(0).x, ChoiceButton(0).y); // room
  EXPECT_TRUE(h.GroupHidden(group::kAmbienceTime));
  EXPECT_EQ(h.Tag(kTagEchoButton)->Value(), 0.0);

  // Hall sets the extension factor to the bottom of its range 2..5.
  h.Click(ChoiceButton(1).x, ChoiceButton(1).y);
  EXPECT_EQ(Value(e, kParamReverbExtensionFactor), 2);
  EXPECT_EQ(e.ParamAt(kParamReverbExtensionFactor)->NormalizedCurrent(), 0.0);

  // Echo chosen while another panel is shown keeps TIME hidden until the
  // ambience level brings the panel forward.
  e.SetParameterValue(kParamGain, 0.5);
  e.ChooseAmbienceType(5);
  EXPECT_TRUE(h.GroupHidden(group::kAmbienceTime));
  e.SetParameterValue(kParamReverb, 0.6);
  EXPECT_TRUE(h.GroupShown(group::kAmbienceTime));
}

TEST(SurfaceProbe, ScrollValuesPlaceThePresetRows) {
  SurfaceHarness h;
  ZorelControl& e = h.Editor();
  auto row = [&](int k) { return h.surface->Handles().presetRows[static_cast<size_t>(k)]; };

  e.SetParameterValue(kParamScroll, 1.0); // 109: the top of the bar
  for (int k = 0; k < 128; ++k) {
    EXPECT_FALSE(row(k)->IsHidden()) << k;
    EXPECT_EQ(row(k)->Bounds().T, 228.f + 50.f * static_cast<float>(k)) << k;
    EXPECT_EQ(row(k)->Bounds().L, 1.f);
  }
  e.SetParameterValue(kParamScroll, 0.0);
  EXPECT_EQ(e.View().mListTopRow, 109);
  for (int k = 0; k < 109; ++k) EXPECT_TRUE(row(k)->IsHidden()) << k;
  EXPECT_EQ(row(109)->Bounds().T, 228.f);
  EXPECT_FALSE(row(109)->IsHidden());
  EXPECT_EQ(row(127)->Bounds().T, 228.f + 50.f * 18.f);

  // The wheel over the list moves it three rows, one with shift; turned up
  // it shows earlier rows, as over the scroll bar.
  h.graphics.OnMouseWheel(100, 600, {}, -1.f);
  EXPECT_EQ(e.View().mListTopRow, 109); // already at the end
  h.graphics.OnMouseWheel(100, 600, {}, 1.f);
  EXPECT_EQ(e.View().mListTopRow, 106);
  h.graphics.OnMouseWheel(100, 600, {.S = true}, 1.f);
  EXPECT_EQ(e.View().mListTopRow, 105);
  h.Advance(20); // the queued scroll value reaches the scroll bar
  EXPECT_EQ(Value(e, kParamScroll), 4);
  EXPECT_EQ(row(105)->Bounds().T, 228.f);
  h.graphics.OnMouseWheel(280, 600, {}, 1.f); // the scroll bar itself
  EXPECT_EQ(e.View().mListTopRow, 104);
}

TEST(SurfaceProbe, AClickLowInThePresetListSelectsTheNineteenthVisibleRow) {
  SurfaceHarness h;
  h.PretendConnected();
  ZorelControl& e = h.Editor();
  e.SetParameterValue(kParamScroll, Normalized(e, kParamScroll, 109 - 20)); // rows from 20
  h.headless.TakeSent();
  h.graphics.OnMouseDown(100, 1177, {.L = true});
  EXPECT_NEAR(h.surface->Handles().presetListSelect->Value(), 949.0 / 950.0, 1e-9);
  EXPECT_EQ(Value(e, kParamPresetListRow), 18);
  EXPECT_EQ(e.State().mHighlightedRow, 38);
  EXPECT_EQ(h.headless.TakeSent(), std::vector<Bytes>{ToBytes(BuildSelectPreset(38))});
  h.graphics.OnMouseUp(100, 1177, {.L = true});
  EXPECT_TRUE(h.headless.TakeSent().empty()); // the release selects nothing more
  const auto& rows = h.surface->Handles().presetRows;
  EXPECT_EQ(rows[38]->GetTextStyle().fgColor, igraphics::Color(255, 100, 255, 255));
  EXPECT_EQ(rows[37]->GetTextStyle().fgColor, igraphics::Color(150, 100, 255, 255));
}

TEST(SurfaceProbe, CabinetListAndSliderChooseTheCabinet) {
  SurfaceHarness h;
  h.PretendConnected();
  ZorelControl& e = h.Editor();
  h.Click(500, 713 + 50 * 5 + 20); // row 5
  EXPECT_NEAR(e.ParamAt(kParamIR)->NormalizedCurrent(), 0.629, 0.5 / 127);
  const int u = Value(e, kParamIR);
  EXPECT_EQ(h.Text(kTagPresetDisplay), TwoDigits(static_cast<int>(u / 127.0 * 80.5)));
  EXPECT_NEAR(h.Tag(kTagCabinetSlider)->Value(), 1.0 - u / 127.0, 1e-9);

  // The microphone dragged to the top: no cabinet.
  h.Drag(405, 1000, -3000); // gearing 4: four track lengths
  EXPECT_EQ(Value(e, kParamIR), 0);
}

TEST(SurfaceProbe, ButtonsOfTheMainSurface) {
  SurfaceHarness h;
  h.PretendConnected();
  ZorelControl& e = h.Editor();
  h.headless.TakeSent();

  // Preset up: the display steps at once, the pedal hears of it on release.
  h.graphics.OnMouseDown(1460 + 37, 510 + 40, {.L = true});
  EXPECT_EQ(h.Text(kTagPresetDisplay), "01");
  EXPECT_TRUE(h.headless.TakeSent().empty());
  h.graphics.OnMouseUp(1460 + 37, 510 + 40, {.L = true});
  EXPECT_EQ(h.headless.TakeSent(), std::vector<Bytes>{ToBytes(BuildSelectPreset(1))});
  h.Click(733 + 37, 510 + 40); // down again
  EXPECT_EQ(h.Text(kTagPresetDisplay), "00");

  // SAVE twice stores the current preset.
  h.headless.TakeSent();
  h.Click(869 + 19, 314 + 38);
  EXPECT_TRUE(h.headless.TakeSent().empty());
  h.Click(869 + 19, 314 + 38);
  EXPECT_EQ(h.headless.TakeSent(), std::vector<Bytes>{ToBytes(BuildStoreProgram(0))});

  // The preset name: typed, committed, the whole preset goes out.
  h.Click(100, 132);
  for (char c : std::string("Crunch Lead"))
    h.graphics.OnKeyDown(0, 0, {.VK = c, .utf8 = std::string(1, c)});
  h.graphics.OnKeyDown(0, 0, {.VK = igraphics::kVK_RETURN, .utf8 = {}});
  EXPECT_EQ(h.Text(kTagPresetName), "Crunch Lead");
  EXPECT_EQ(e.State().mPresetName, "Crunch Lead");
  std::vector<Bytes> sent = h.headless.TakeSent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0][5], kCmdWritePreset);

  // RECONNECT: the status lines start over and the pedal panel greys out.
  h.surface->SetTagText(kTagDeviceName, "DEVICE: Dravix Movrant Zorel");
  h.ClickButton(597, 40);
  EXPECT_EQ(h.Text(kTagDeviceName), "");
  EXPECT_EQ(h.Text(kTagDeviceVersion), "Connecting to the device...");
  EXPECT_TRUE(h.Tag(kTagFootUp)->IsDisabled());
  EXPECT_FALSE(e.State().mConnected);
}

// The real surface on an editor connected to the in-process virtual pedal:
// what a user sees once the pedal has been read, and an edit on the pedal
// panel travelling to the pedal and into its readout.
#include <gtest/gtest.h>

#include <string>

#include "editor/DisplayText.h"
#include "protocol/ReplyHandler.h"
#include "protocol/codec/Names.h"
#include "protocol/codec/ParamIds.h"
#include "protocol/codec/PresetPayload.h"
#include "tests/ui/PedalSurface.h"
#include "ui/readouts/Readouts.h"

using namespace zorel;
using namespace zorel::test;

namespace {

std::string PedalPresetName(const VirtualPedal& pedal, int slot) {
  const auto& payload = pedal.State().presets[static_cast<size_t>(slot)];
  return TrimName(ParsePresetPayload(payload).name);
}

std::span<const uint8_t, 74> EditBufferValues(const VirtualPedal& pedal) {
  return std::span<const uint8_t, 74>(pedal.State().editBuffer.data() + PayloadParamOffset(0), 74);
}

// The button a model or type lights: the unmatched look-alikes of models 1
// and 2 light those, anything else none.
int LitButton(int firstTag, int count, const SurfaceHarness& h) {
  int lit = -1;
  for (int k = 0; k < count; ++k)
    if (h.Tag(firstTag + k)->Value() > 0.5) lit = lit == -1 ? k : -2;
  return lit;
}

} // namespace

TEST(SurfacePedal, AfterConnectingTheSurfaceShowsThePedal) {
  PedalSurface c;
  SurfaceHarness& h = c.h;
  ASSERT_TRUE(zorel::test::Connected(h.headless));

  // Every preset row names the pedal's preset in that slot.
  const auto& rows = h.surface->Handles().presetRows;
  for (int slot = 0; slot < 128; ++slot) {
    const std::string text = rows[static_cast<size_t>(slot)]->GetText();
    EXPECT_EQ(text.rfind(" " + TwoDigits(slot) + " ", 0), 0u) << text;
    EXPECT_NE(text.find(PedalPresetName(c.pedal, slot)), std::string::npos) << text;
  }
  const int current = c.pedal.State().currentProgram;
  EXPECT_EQ(h.Text(kTagPresetDisplay), TwoDigits(current));
  EXPECT_EQ(h.Text(kTagPresetName), PedalPresetName(c.pedal, current));
  EXPECT_EQ(rows[static_cast<size_t>(current)]->GetTextStyle().fgColor,
            igraphics::Color(255, 100, 255, 255));

  // The lit buttons are the identified model and ambience type.
  const int model = IdentifyAmpModel(EditBufferValues(c.pedal));
  const int modelButton = model == 11 ? 1 : model == 12 ? 2 : model < 10 ? model : -1;
  EXPECT_EQ(LitButton(kTagAmpModelButtonFirst, kAmpModelButtons, h), modelButton);
  const int type = IdentifyAmbienceType(EditBufferValues(c.pedal));
  EXPECT_EQ(LitButton(kTagAmbienceButtonFirst, kAmbienceButtons, h), type < 7 ? type : -1);

  // The pedal panel takes clicks; the status lines name the pedal.
  EXPECT_FALSE(h.Tag(kTagFootUp)->IsDisabled());
  EXPECT_EQ(h.Text(kTagDeviceName), "DEVICE: Dravix Movrant Zorel");
  EXPECT_EQ(h.Text(kTagDeviceSerial).rfind("SERIAL: ", 0), 0u);
}

TEST(SurfacePedal, AnEditOnThePedalPanelReachesThePedalAndItsReadout) {
  PedalSurface c;
  SurfaceHarness& h = c.h;
  // The DRIVE position: drive, or the pre-amp gain with the FILTER switch on.
  IControl* knob = h.graphics.ControlUnderPointer(769, 189);
  ASSERT_NE(knob, nullptr);
  const int param = knob->LinkedParam();
  ASSERT_TRUE(param == kParamDrive || param == kParamGain) << param;

  h.Drag(769, 189, param == kParamDrive ? -60.f : 60.f);
  c.link.Pump();
  const int value = h.Editor().ParamAt(param)->Int();
  EXPECT_EQ(c.pedal.State().editBuffer[PayloadParamOffset(param)], value);
  EXPECT_EQ(h.Editor().View().mActiveSection, kSectionAmplifier);
  EXPECT_TRUE(h.GroupShown(group::kDrive));
  const int tag = param == kParamDrive ? kTagDrive : kTagPreAmp;
  EXPECT_EQ(h.Text(tag), ui::FormatReadoutForTag(tag, param, value));
  EXPECT_EQ(h.Text(kTagPresetDisplay), TwoDigits(value));
}

TEST(SurfacePedal, APresetDumpLeavesThePanelWhereItIs) {
  PedalSurface c;
  SurfaceHarness& h = c.h;
  h.Editor().SetParameterValue(kParamLow, 0.3);
  ASSERT_EQ(h.Editor().View().mActiveSection, kSectionLowFilter);
  c.link.Pump();

  // Next preset: its dump sets every sound parameter at once. (A user IR
  // the cache lacks is fetched after it, and its arrival rightly brings the
  // IR panel forward; the dump alone must not.)
  h.Click(1460 + 37, 510 + 40);
  const std::vector<Bytes> sent = h.headless.TakeSent();
  ASSERT_EQ(sent.size(), 1u);
  const std::vector<Bytes> replies = c.pedal.Exchange(sent[0]);
  ASSERT_FALSE(replies.empty());
  ASSERT_EQ(replies[0].size(), 267u);
  h.headless.Receive(replies[0]);
  ASSERT_EQ(h.Text(kTagPresetName), PedalPresetName(c.pedal, c.pedal.State().currentProgram));
  EXPECT_EQ(h.Editor().View().mActiveSection, kSectionLowFilter);
  EXPECT_TRUE(h.GroupShown(group::kLowFilter));
  EXPECT_TRUE(h.GroupHidden(group::kDrive));
}

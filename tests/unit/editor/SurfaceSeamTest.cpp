// What reaches the surface through the seam between core and surface: the
// panels follow preset dumps, the knob layer follows the amp model, the IR
// graph gets its samples, list rows get their texts.
#include <gtest/gtest.h>

#include <vector>

#include "library/LibraryTables.h"
#include "library/ModalServices.h"
#include "protocol/ModelDefaults.h"
#include "protocol/codec/ParamIds.h"
#include "protocol/codec/PedalMessages.h"
#include "protocol/codec/PresetPayload.h"
#include "tests/support/HeadlessEditor.h"
#include "tests/support/RecordingSurface.h"
#include "tests/support/ScriptedModalServices.h"

using namespace zorel;
using Bytes = std::vector<uint8_t>;

namespace {

class SurfaceSeam : public ::testing::Test {
protected:
  void SetUp() override {
    ed().AttachSurface(&surface);
    ed().SetModalServices(&modal);
    st().mConnected = true;
    st().mSendSuppressed = false;
    for (int i = 0; i < kNumPresetParams; ++i)
      st().mLiveValues[i] = st().mLoadedValues[i] = ed().ParamAt(i)->Int();
    h.TakeSent();
  }
  void TearDown() override { ed().AttachSurface(nullptr); }

  ZorelControl& ed() { return h.Editor(); }
  SessionState& st() { return h.Editor().State(); }
  void Set(int index, int value) {
    const iplug::IParam* p = ed().ParamAt(index);
    ed().SetParameterValue(index, (value - p->Min()) / (p->Max() - p->Min()));
  }
  // A dump of `slot` whose amplifier columns are those of amp model `model`.
  void ReceiveDumpOfModel(int slot, int model, const char* name = "Test Preset") {
    PresetContent content;
    content.name = name;
    for (int i = 0; i < kNumPresetParams; ++i) content.values[i] = ed().ParamAt(i)->Int();
    for (size_t c = 0; c < kAmpModelColumns.size(); ++c) {
      if (kAmpModelColumns[c] >= 0)
        content.values[kAmpModelColumns[c]] = kAmpModelDefaults[model][c];
    }
    const PresetPayload payload = BuildPresetPayload(content);
    const auto dump = BuildPresetDump(slot, payload);
    h.Receive(dump);
  }

  HeadlessEditor h;
  test::RecordingSurface surface;
  test::ScriptedModalServices modal{MessageBoxResult::kOK};
};

TEST_F(SurfaceSeam, DumpThatSwitchesTheFilterPanelIsRemembered) {
  Set(kParamMidShift, 10); // model 0 (mid filter): the MID FILTER panel
  ASSERT_EQ(ed().View().mActiveSection, kSectionMidFilter);
  ReceiveDumpOfModel(3, 1); // a punch-filter model
  EXPECT_TRUE(surface.Has("section 8"));
  EXPECT_EQ(ed().View().mActiveSection, kSectionPunchFilter);
  surface.calls.clear();
  Set(kParamMidShift, 20); // the mid panel must come back
  EXPECT_TRUE(surface.Has("section 11"));
}

TEST_F(SurfaceSeam, AmpModelSetsTheKnobLayerAndThePunchRules) {
  ReceiveDumpOfModel(2, 1);
  EXPECT_TRUE(ed().View().mMidPre);
  EXPECT_TRUE(surface.Has("amp model 1"));
  EXPECT_TRUE(surface.Has("knob layer pre a"));
  surface.calls.clear();
  Set(kParamPunch, 70); // the pre variant: Punch switches to its panel
  EXPECT_TRUE(surface.Has("section 8"));
  EXPECT_TRUE(surface.Has("punch readouts"));
  surface.calls.clear();
  Set(kParamMid, 70); // ... and Mid does not
  EXPECT_FALSE(surface.Has("section 11"));

  ReceiveDumpOfModel(2, 7); // a post model clears the flag
  EXPECT_FALSE(ed().View().mMidPre);
  EXPECT_TRUE(surface.Has("knob layer post a"));
}

TEST_F(SurfaceSeam, CabinetResponseBringsTheIRPanelAndItsSamples) {
  Set(kParamIR, 64);
  EXPECT_TRUE(surface.Has("section 4"));
  EXPECT_TRUE(surface.Has("response samples"));
  ASSERT_NE(surface.responseSamples, nullptr);
  // Position 64 blends two cabinets: the graph gets more than an impulse.
  double energy = 0;
  for (double x : *surface.responseSamples) energy += x * x;
  EXPECT_GT(energy, 0.0);
  EXPECT_EQ(ed().View().mActiveSection, kSectionImpulseResponse);
}

TEST_F(SurfaceSeam, DumpsAndScansGiveThePresetRowsTheirTexts) {
  ReceiveDumpOfModel(5, 0, "Warm Lead");
  EXPECT_TRUE(surface.Has("row text 5  05 Warm Lead"));
  surface.calls.clear();
  ed().InstallLibraryContent(); // a scan of the library announces every row
  int rows = 0;
  for (const auto& c : surface.calls)
    if (c.rfind("row text ", 0) == 0) ++rows;
  EXPECT_GE(rows, 128);
}

TEST_F(SurfaceSeam, FactoryBankShowsTheFactoryRows) {
  ed().Library().Tables().mUserIRNames[0] = "User Zero";
  ed().Library().Tables().mUserIRNames[256] = "Factory Zero";
  Set(kParamCustomIRBank, 8);
  EXPECT_TRUE(surface.Has("ir row 0 Factory Zero"));
  EXPECT_FALSE(surface.Has("ir row 0 User Zero"));
}

TEST_F(SurfaceSeam, DoubleClickOnACustomIRRowAsksForAWavFile) {
  ed().SetListEvent({ListEvent::kDoubleClick});
  Set(kParamCustomIRListRight, 3); // bank 0, row 16 + 3
  ASSERT_EQ(modal.FilePrompts().size(), 1u);
  EXPECT_EQ(modal.FilePrompts()[0].extensions, "wav");
  EXPECT_EQ(st().mUploadIRNumber, 19);
  EXPECT_TRUE(h.TakeSent().empty()); // cancelled: nothing selected, nothing sent

  Set(kParamCustomIRBank, 8); // the factory bank cannot be imported into
  ed().SetListEvent({ListEvent::kDoubleClick});
  Set(kParamCustomIRListLeft, 2);
  EXPECT_EQ(modal.FilePrompts().size(), 1u);
}

TEST_F(SurfaceSeam, CompressorRatioFollowsThePanelNotTheControls) {
  Set(kParamCompressorRatio, 127);
  EXPECT_TRUE(surface.Has("section 2"));
  EXPECT_TRUE(surface.Has("comp ratio 20.000000"));
  Set(kParamGain, 50); // another panel: the graph's ratio is left alone
  surface.calls.clear();
  Set(kParamCompressorRatio, 0);
  EXPECT_TRUE(surface.Has("section 2")); // brought back, with the new ratio
  EXPECT_TRUE(surface.Has("comp ratio 1.000000"));
}

// The TIME knob follows the ambience type the editor lit, not a control.
TEST_F(SurfaceSeam, TimeKnobFollowsTheLitAmbienceType) {
  Set(kParamReverb, 40);
  ASSERT_EQ(ed().View().mActiveSection, kSectionAmbience);
  EXPECT_TRUE(surface.Has("hide ambiencecontrols2"));
  PresetContent content;
  content.name = "Echo";
  for (int i = 0; i < kNumPresetParams; ++i) content.values[i] = ed().ParamAt(i)->Int();
  for (size_t c = 0; c < kAmbienceColumns.size(); ++c)
    content.values[kAmbienceColumns[c]] = kAmbienceDefaults[5][c];
  h.Receive(BuildPresetDump(1, BuildPresetPayload(content)));
  EXPECT_EQ(ed().View().mAmbienceType, 5);
  surface.calls.clear();
  Set(kParamReverb, 41);
  EXPECT_TRUE(surface.Has("show ambiencecontrols2"));
}

// A store armed from the preset list blinks and confirms for as long as one
// armed from the SAVE button, whatever an earlier store left behind.
TEST_F(SurfaceSeam, ListStoreConfirmsForTheFullTime) {
  auto ticksUntilDisarmed = [&] {
    for (int t = 1; t <= 400; ++t) {
      h.Advance(20);
      if (!st().mStoreArmed) return t;
    }
    return -1;
  };
  // An earlier store whose confirmation is cut short by the pedal's dump.
  ed().StorePress(true);
  ed().StorePress(false);
  ed().StorePress(true);
  ed().StorePress(false);
  ASSERT_TRUE(st().mStoreConfirming);
  h.Advance(20 * 40);
  ReceiveDumpOfModel(0, 0);
  ASSERT_FALSE(st().mStoreArmed);

  ed().StorePress(true);
  ed().StorePress(false); // armed
  ed().SetListEvent({ListEvent::kClick});
  Set(kParamPresetListRow, 4);
  ASSERT_TRUE(st().mStoreConfirming);
  const int fromList = ticksUntilDisarmed();

  ed().StorePress(true);
  ed().StorePress(false);
  ed().StorePress(true);
  ed().StorePress(false);
  const int fromButton = ticksUntilDisarmed();
  EXPECT_GT(fromList, 0);
  // Equal up to where the blink cycle of eight ticks happened to stand.
  EXPECT_NEAR(fromList, fromButton, 8);
}

// A file whose messages cannot be counted the way the import indexes them
// (a stray F0 inside one) is no backup: refused before anything is sent.
TEST_F(SurfaceSeam, ImportRefusesAFileItCannotSplitCleanly) {
  const std::string file = h.LibraryRoot() + "/odd.q3b";
  Bytes bytes = {0xF0, 0x00, 0x51, 0x21, 0x05, 0x7F, 0xF0, 0xF7, 0xF0, 0x01, 0xF7};
  FILE* f = std::fopen(file.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  modal.QueueMessageAnswer(MessageBoxResult::kOK);
  modal.QueueFile(file);
  EXPECT_FALSE(ed().ImportBulkFile());
  EXPECT_FALSE(st().mImporting);
  h.Advance(20);
  EXPECT_TRUE(h.TakeSent().empty());
  bool said = false;
  for (const auto& c : surface.calls)
    said = said || (c.rfind("message ", 0) == 0 && c.find("backup") != std::string::npos);
  EXPECT_TRUE(said);
}

} // namespace

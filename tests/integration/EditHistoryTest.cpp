// Undo, redo and compare against the in-process virtual pedal: what each
// sends, and that the pedal's edit buffer follows the editor throughout.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "protocol/codec/Frame.h"
#include "protocol/codec/ParamIds.h"
#include "protocol/codec/PresetPayload.h"
#include "tests/integration/PedalLink.h"
#include "tests/support/RecordingSurface.h"
#include "tests/support/ScriptedModalServices.h"

using namespace zorel;
using namespace zorel::test;

namespace {

class EditHistoryOnPedal : public ::testing::Test {
protected:
  void SetUp() override {
    link.Run(1000);
    ASSERT_TRUE(Connected(h));
    link.log.clear();
  }
  ZorelControl& ed() { return h.Editor(); }
  int Value(int index) { return ed().ParamAt(index)->Int(); }
  void Set(int index, int value) {
    ed().SetParameterValue(index, ed().ParamAt(index)->Normalize(value));
    link.Pump();
  }
  // A knob dragged through `values`, pressed before and released after.
  void Drag(int index, std::vector<int> values) {
    ed().BeginEditGesture();
    for (int v : values) Set(index, v);
    ed().EndEditGesture();
  }
  // What the editor sent since the last call, then the log is emptied.
  std::vector<Bytes> Sent() {
    link.Pump();
    std::vector<Bytes> sent = std::move(link.log);
    link.log.clear();
    return sent;
  }
  static Bytes SetParam(int index, int value) {
    const int number = index < 16 ? index : index + 4;
    return {0xF0,
            0x00,
            0x51,
            0x21,
            0x05,
            0x50,
            0x0B,
            static_cast<uint8_t>(number),
            static_cast<uint8_t>(value),
            0xF7};
  }
  // The editor, the pedal's edit buffer and the live values agree.
  void ExpectPedalFollows(const char* when) {
    link.Pump();
    for (int i = 0; i < kNumPresetParams; ++i) {
      ASSERT_EQ(pedal.State().editBuffer[PayloadParamOffset(i)], Value(i)) << when << " " << i;
      ASSERT_EQ(ed().State().mLiveValues[static_cast<size_t>(i)], Value(i)) << when << " " << i;
    }
  }

  TempLibrary library;
  VirtualPedal pedal;
  HeadlessEditor h{nullptr, library.root};
  Link link{h, pedal, {}};
};

TEST_F(EditHistoryOnPedal, DragsModelsAndNamesAreStepsTakenBackAndMadeAgain) {
  const int gain = Value(kParamGain), drive = Value(kParamDrive);
  const std::string name = ed().State().mPresetName;
  const int model = ed().View().mAmpModel;
  const int otherModel = model == 3 ? 4 : 3;

  Drag(kParamGain, {gain ^ 1, gain ^ 2, gain ^ 3}); // one drag, three sends
  EXPECT_EQ(Sent().size(), 3u);
  Set(kParamDrive, drive ^ 8); // the shell's "set": a step of its own
  ed().ChooseAmpModel(otherModel);
  const std::vector<Bytes> modelSent = Sent();
  ASSERT_EQ(modelSent.size(), 2u); // the drive, then the preset whole
  EXPECT_EQ(modelSent[1][5], kCmdWritePreset);
  const int modelGain = Value(kParamGain);
  ed().CommitPresetName("Undo Me");
  Sent();
  EXPECT_EQ(ed().History().UndoCount(), 4u);
  ExpectPedalFollows("after the edits");

  // The rename and the model choice go back as a whole preset, as they went.
  ASSERT_TRUE(ed().Undo());
  auto sent = Sent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0][5], kCmdWritePreset);
  EXPECT_EQ(ed().State().mPresetName, name);
  ASSERT_TRUE(ed().Undo());
  sent = Sent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0][5], kCmdWritePreset);
  EXPECT_EQ(ed().View().mAmpModel, model);
  ExpectPedalFollows("model taken back");

  // The drive and the whole drag, each with one message of the earlier value.
  ASSERT_TRUE(ed().Undo());
  EXPECT_EQ(Sent(), std::vector<Bytes>{SetParam(kParamDrive, drive)});
  ASSERT_TRUE(ed().Undo());
  EXPECT_EQ(Sent(), std::vector<Bytes>{SetParam(kParamGain, gain)});
  EXPECT_FALSE(ed().Undo());
  EXPECT_TRUE(Sent().empty());
  ExpectPedalFollows("all taken back");
  EXPECT_FALSE(ed().State().mPresetModified);

  // Made again in order.
  ASSERT_TRUE(ed().Redo());
  EXPECT_EQ(Sent(), std::vector<Bytes>{SetParam(kParamGain, gain ^ 3)});
  ASSERT_TRUE(ed().Redo());
  EXPECT_EQ(Sent(), std::vector<Bytes>{SetParam(kParamDrive, drive ^ 8)});
  ASSERT_TRUE(ed().Redo());
  EXPECT_EQ(Value(kParamGain), modelGain);
  EXPECT_EQ(ed().View().mAmpModel, otherModel);
  ExpectPedalFollows("made again");

  // A new edit forgets what could be made again.
  Drag(kParamLevel, {Value(kParamLevel) ^ 4});
  EXPECT_FALSE(ed().Redo());
  EXPECT_EQ(ed().History().UndoCount(), 4u);
}

TEST_F(EditHistoryOnPedal, AnotherPresetOrADumpStartsAfresh) {
  Drag(kParamGain, {Value(kParamGain) ^ 5});
  ASSERT_EQ(ed().History().UndoCount(), 1u);
  const int slot = (ed().State().mCurrentPresetSlot + 5) % 128;
  ed().Sender().SendSelectPreset(slot);
  Sent();
  ASSERT_EQ(ed().State().mCurrentPresetSlot, slot);
  EXPECT_EQ(ed().History().UndoCount(), 0u);
  EXPECT_FALSE(ed().Undo());
  EXPECT_TRUE(Sent().empty());

  // Recalling the preset drops its history too.
  Drag(kParamGain, {Value(kParamGain) ^ 5});
  ed().Sender().SendSelectPreset(slot);
  Sent();
  EXPECT_FALSE(ed().Undo());
}

TEST_F(EditHistoryOnPedal, CompareSendsExactlyTheDifferencesAndBack) {
  test::RecordingSurface surface;
  ed().AttachSurface(&surface);
  const int slot = ed().State().mCurrentPresetSlot;
  const auto& stored = pedal.State().presets[static_cast<size_t>(slot)];
  const int storedGain = stored[PayloadParamOffset(kParamGain)];
  const int storedLow = stored[PayloadParamOffset(kParamLow)];
  Drag(kParamGain, {storedGain ^ 9});
  Drag(kParamLow, {storedLow ^ 6});
  Sent();

  ASSERT_TRUE(ed().ToggleCompare());
  EXPECT_TRUE(ed().Comparing());
  EXPECT_EQ(Sent(),
            (std::vector<Bytes>{SetParam(kParamGain, storedGain), SetParam(kParamLow, storedLow)}));
  h.Advance(20);
  ASSERT_FALSE(surface.calls.empty());
  EXPECT_TRUE(surface.Has("color 1 255,255,255,255")); // the stored colour
  EXPECT_FALSE(ed().State().mPresetModified);
  ExpectPedalFollows("comparing");

  surface.calls.clear();
  ASSERT_TRUE(ed().ToggleCompare());
  EXPECT_FALSE(ed().Comparing());
  EXPECT_EQ(Sent(), (std::vector<Bytes>{SetParam(kParamGain, storedGain ^ 9),
                                        SetParam(kParamLow, storedLow ^ 6)}));
  h.Advance(20);
  EXPECT_TRUE(surface.Has("color 1 100,255,255,255")); // edited again
  EXPECT_EQ(ed().History().UndoCount(), 2u);           // compare is no step

  // An edit made while comparing builds on the stored preset; the edits it
  // replaced are one undo further back.
  ASSERT_TRUE(ed().ToggleCompare());
  Drag(kParamDrive, {Value(kParamDrive) ^ 2});
  EXPECT_FALSE(ed().Comparing());
  Sent();
  ASSERT_TRUE(ed().Undo()); // the drive
  ASSERT_TRUE(ed().Undo()); // back to the edits
  EXPECT_EQ(Value(kParamGain), storedGain ^ 9);
  EXPECT_EQ(Value(kParamLow), storedLow ^ 6);
  ExpectPedalFollows("edits back");
  ed().AttachSurface(nullptr);
}

TEST_F(EditHistoryOnPedal, CompareWithoutAStoredVersionSaysSo) {
  test::ScriptedModalServices modal{MessageBoxResult::kOK};
  ed().SetModalServices(&modal);
  std::filesystem::remove(h.LibraryRoot() + "/Presets/" + [&] {
    char n[16];
    std::snprintf(n, sizeof n, "%03d.dat", ed().State().mCurrentPresetSlot + 1);
    return std::string(n);
  }());
  EXPECT_FALSE(ed().ToggleCompare());
  h.Advance(200);
  EXPECT_FALSE(ed().Comparing());
  EXPECT_TRUE(Sent().empty());
  ASSERT_EQ(modal.Messages().size(), 1u);
}

} // namespace

// What overwrites a program or a user IR slot of the pedal without SAVE: a
// model or ambience choice, a rename, its undo, a WAV imported into a user
// IR. Each asks when it must, takes a snapshot of what it replaces, keeps
// the cache equal to the pedal and tells the user; names are ASCII only.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "library/FileReader.h"
#include "library/LibraryPaths.h"
#include "library/Snapshots.h"
#include "protocol/codec/Frame.h"
#include "protocol/codec/SnapshotImage.h"
#include "sim/FactoryContent.h"
#include "tests/integration/PedalLink.h"
#include "tests/support/RecordingSurface.h"
#include "tests/support/ScriptedModalServices.h"

namespace zorel::test {
namespace {

constexpr int kSlot = 3; // the current program; its IR 7 plays user IR 3

std::string BlockName(const sim::IRBlock& block) {
  return NameFieldText(std::string(block.begin() + kIRBlockNameOffset,
                                   block.begin() + kIRBlockNameOffset + kNameLength));
}

class PedalWrites : public ::testing::Test {
protected:
  void SetUp() override {
    auto& state = pedal.Model().MutableState();
    NoUserIRsInUse(state);
    auto& p = state.presets[kSlot];
    p[PayloadParamOffset(kParamUserIR7Mode)] = 1;
    p[PayloadParamOffset(kParamUserIR7PresetMSB)] = 0;
    p[PayloadParamOffset(kParamUserIR7Preset)] = kSlot;
    std::vector<double> samples(1200, 0.0);
    samples[5] = 0.5;
    state.userIRs[kSlot] = sim::BuildIRBlock("Old Cab", samples);
    sim::LoadProgram(state, kSlot);

    h = std::make_unique<HeadlessEditor>(nullptr, library.root);
    ed().SetModalServices(&modal);
    link = std::make_unique<Link>(Link{*h, pedal, {}});
    ASSERT_TRUE(
        RunUntil([&] { return st().mConnected && st().mCacheInSync && !st().mBulkLoading; }));
    link->Run(1500); // the current preset and its user IR after the read
    ASSERT_EQ(st().mCurrentPresetSlot, kSlot);
    link->log.clear();
    ed().OnIdle();
    modal.Clear();
  }
  void TearDown() override {
    link.reset();
    h.reset();
  }
  bool RunUntil(const std::function<bool()>& done, int limitMs = 120000) {
    for (int t = 0; t < limitMs; t += 100) {
      if (done()) return true;
      link->Run(100);
    }
    return done();
  }
  ZorelControl& ed() { return h->Editor(); }
  SessionState& st() { return h->Editor().State(); }
  std::vector<lib::SnapshotInfo> List() { return ed().Snapshots().List(); }
  // The preset of `slot` held by the snapshot, or empty.
  std::vector<uint8_t> SnapshotPreset(const lib::SnapshotInfo& info) {
    const auto parts = SplitSnapshotImage(*ed().Snapshots().Read(info, 1 << 21));
    if (!parts.ok || parts.slots.size() != 1) return {};
    return {parts.restore.begin() + 8, parts.restore.begin() + 264};
  }
  std::vector<uint8_t> CachedPreset(int slot) {
    std::vector<uint8_t> bytes;
    lib::ReadWholeFile(lib::PresetSlotPath(library.root, slot), 4096, bytes);
    return bytes;
  }
  std::vector<uint8_t> PedalPreset(int slot) {
    const auto& p = pedal.State().presets[static_cast<size_t>(slot)];
    return {p.begin(), p.end()};
  }
  std::string PedalName(int slot) {
    const std::vector<uint8_t> p = PedalPreset(slot);
    return NameFieldText(std::string(p.begin() + 2, p.begin() + 34));
  }
  // The messages shown since the last call, as the headless owner sees them.
  std::vector<std::string> Shown() {
    ed().OnIdle();
    std::vector<std::string> texts;
    for (const auto& m : modal.Messages()) texts.push_back(m.text);
    modal.Clear();
    return texts;
  }
  static bool AnyStartsWith(const std::vector<std::string>& texts, const std::string& start) {
    for (const auto& t : texts)
      if (t.rfind(start, 0) == 0) return true;
    return false;
  }

  TempLibrary library;
  TempLibrary files;
  VirtualPedal pedal;
  ScriptedModalServices modal{MessageBoxResult::kOK};
  std::unique_ptr<HeadlessEditor> h;
  std::unique_ptr<Link> link;
};

TEST_F(PedalWrites, AModelChoiceARenameAndTheirUndoEachKeepWhatTheProgramHeldAndSaySo) {
  const std::vector<uint8_t> original = PedalPreset(kSlot);
  ed().ChooseAmpModel(4);
  link->Pump();
  ASSERT_EQ(link->Commands(kCmdWritePreset).size(), 1u);
  ASSERT_EQ(List().size(), 1u);
  EXPECT_EQ(List()[0].operation, "amp-model-preset-4");
  EXPECT_EQ(SnapshotPreset(List()[0]), original);
  // The cache holds what the pedal now stores, so nothing looks stale.
  EXPECT_EQ(CachedPreset(kSlot), PedalPreset(kSlot));
  EXPECT_NE(PedalPreset(kSlot), original);
  EXPECT_TRUE(AnyStartsWith(Shown(), "Preset 03 was stored on the pedal with the amp model's"));

  const std::vector<uint8_t> withModel = PedalPreset(kSlot);
  ed().CommitPresetName("Renamed Lead");
  link->Pump();
  ASSERT_EQ(List().size(), 2u);
  EXPECT_EQ(List()[1].operation, "rename-preset-4");
  EXPECT_EQ(SnapshotPreset(List()[1]), withModel);
  EXPECT_EQ(PedalName(kSlot), "Renamed Lead");
  EXPECT_EQ(ed().Library().PresetRowText(kSlot), " 03 Renamed Lead");
  EXPECT_TRUE(AnyStartsWith(Shown(), "Preset 03 was stored on the pedal under its new name"));

  // Undo writes the program again: that, too, keeps what it replaces.
  const std::vector<uint8_t> renamed = PedalPreset(kSlot);
  ASSERT_TRUE(ed().Undo());
  link->Pump();
  ASSERT_EQ(List().size(), 3u);
  EXPECT_EQ(List()[2].operation, "undo-preset-4");
  EXPECT_EQ(SnapshotPreset(List()[2]), renamed);
  EXPECT_EQ(PedalPreset(kSlot), withModel);
  EXPECT_EQ(CachedPreset(kSlot), withModel);
}

TEST_F(PedalWrites, WithoutASnapshotTheUserDecidesAndNoLeavesPedalAndEditorAsTheyWere) {
  // The program's cache file is gone, so no snapshot of it can be taken.
  std::filesystem::remove(lib::PresetSlotPath(library.root, kSlot));
  const std::vector<uint8_t> original = PedalPreset(kSlot);
  const int gain = ed().ParamAt(kParamGain)->Int();
  const int model = ed().View().mAmpModel;
  modal.QueueMessageAnswer(MessageBoxResult::kCancel);
  ed().ChooseAmpModel(model == 4 ? 5 : 4);
  link->Pump();
  EXPECT_TRUE(link->Commands(kCmdWritePreset).empty());
  EXPECT_EQ(PedalPreset(kSlot), original);
  EXPECT_EQ(ed().ParamAt(kParamGain)->Int(), gain);
  EXPECT_EQ(ed().View().mAmpModel, model);
  EXPECT_EQ(ed().History().UndoCount(), 0u);
  const auto shown = Shown();
  EXPECT_TRUE(AnyStartsWith(shown, "No snapshot could be taken before this amp model choice"));
  EXPECT_TRUE(AnyStartsWith(shown, "Nothing was changed on the pedal."));
}

TEST_F(PedalWrites, ANameWithCharactersThePedalCannotHoldIsAskedAboutFirst) {
  const std::vector<uint8_t> original = PedalPreset(kSlot);
  modal.QueueMessageAnswer(MessageBoxResult::kCancel);
  ed().CommitPresetName("Caf\xC3\xA9 Cr\xC3\xA8me \xC3\xA9");
  link->Pump();
  const auto asked = Shown();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], "The pedal's names hold only plain ASCII letters, digits and punctuation: "
                      "\"\xC3\xA9\" and \"\xC3\xA8\" cannot be stored and become \"?\".\n"
                      "Store the name as \"Caf? Cr?me ?\"?");
  EXPECT_TRUE(link->Commands(kCmdWritePreset).empty());
  EXPECT_EQ(PedalPreset(kSlot), original);
  EXPECT_NE(st().mPresetName, "Caf? Cr?me ?");

  modal.QueueMessageAnswer(MessageBoxResult::kOK);
  ed().CommitPresetName("Caf\xC3\xA9");
  link->Pump();
  ASSERT_EQ(link->Commands(kCmdWritePreset).size(), 1u);
  // The field shows what the pedal holds.
  EXPECT_EQ(st().mPresetName, "Caf?");
  EXPECT_EQ(PedalName(kSlot), "Caf?");
}

TEST_F(PedalWrites, AWavImportAsksNamingTheIRItReplacesAndKeepsItInASnapshot) {
  RecordingSurface surface;
  ed().AttachSurface(&surface);
  const sim::IRBlock oldIR = pedal.State().userIRs[kSlot];
  const std::string wav = files.root + "/Caf\xC3\xA9 Room.wav";
  WriteFile(wav, ImpulseWav());

  // Cancel: the pedal, the cache and the name stay as they were.
  modal.QueueFile(wav);
  modal.QueueMessageAnswer(MessageBoxResult::kCancel);
  EXPECT_FALSE(ed().ImportWavForIR7());
  link->Run(2000);
  ASSERT_EQ(modal.Messages().size(), 1u);
  EXPECT_EQ(modal.Messages()[0].text,
            "This will overwrite user IR 4 \"Old Cab\" on the pedal with \"Caf? Room\" from "
            "Caf\xC3\xA9 Room.wav. What the slot holds now is kept in a snapshot first.\n"
            "The pedal's names hold only plain ASCII letters, digits and punctuation: "
            "\"\xC3\xA9\" cannot be stored and becomes \"?\".\nAre you sure to continue?");
  EXPECT_TRUE(link->Commands(kCmdIRFirstChunk).empty());
  EXPECT_EQ(pedal.State().userIRs[kSlot], oldIR);
  EXPECT_TRUE(List().empty());
  modal.Clear();

  // OK: a snapshot of the old IR, then the upload; the name on screen is
  // the one the pedal now holds.
  modal.QueueFile(wav);
  modal.QueueMessageAnswer(MessageBoxResult::kOK);
  EXPECT_TRUE(ed().ImportWavForIR7());
  ASSERT_TRUE(RunUntil([&] { return !st().mIRUploadRunning && ed().IRUploadProgress() < 0; }));
  link->Run(3000);
  ed().OnIdle();
  ASSERT_EQ(List().size(), 1u);
  EXPECT_EQ(List()[0].operation, "import-user-ir-4");
  const auto parts = SplitSnapshotImage(*ed().Snapshots().Read(List()[0], 1 << 21));
  ASSERT_TRUE(parts.ok) << parts.problem;
  EXPECT_EQ(parts.irNumbers, (std::vector<int>{kSlot}));
  EXPECT_NE(pedal.State().userIRs[kSlot], oldIR);
  EXPECT_EQ(BlockName(pedal.State().userIRs[kSlot]), "Caf? Room");
  EXPECT_EQ(surface.texts[kTagIR7Name], "Caf? Room");
  EXPECT_EQ(ed().Library().UserIRName(kSlot), "Caf? Room");
  // The program still names the IR it played before; coming back to it
  // shows the name of what the slot holds.
  ed().PresetUp(true);
  ed().PresetUp(false);
  link->Run(1000);
  ed().OnIdle();
  ed().PresetDown(true);
  ed().PresetDown(false);
  link->Run(2000);
  ed().OnIdle();
  ASSERT_EQ(st().mCurrentPresetSlot, kSlot);
  EXPECT_EQ(surface.texts[kTagIR7Name], "Caf? Room");
  ed().AttachSurface(nullptr);
}

} // namespace
} // namespace zorel::test

// Snapshots before overwrites, putting them back, checked writes and the
// link check, against the in-process virtual pedal.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>

#include "library/LibraryPaths.h"
#include "library/Snapshots.h"
#include "protocol/codec/EditorMessages.h"
#include "protocol/codec/Frame.h"
#include "protocol/codec/SettingsBlocks.h"
#include "protocol/codec/SnapshotImage.h"
#include "tests/integration/PedalLink.h"
#include "tests/support/ScriptedModalServices.h"

namespace zorel::test {
namespace {

// Two presets play user IRs (0 and 200), the settings hold values of their
// own, so that a restore has something to get wrong everywhere.
void DistinctPedal(sim::PedalState& state) {
  UseTwoUserIRs(state);
  for (size_t i = 0; i < 8; ++i) state.midiAssignments[i] = static_cast<uint8_t>(20 + i);
  for (size_t i = 0; i < state.programMap.size(); ++i)
    state.programMap[i] = static_cast<uint8_t>(127 - i);
  state.globalData[8] = 13; // tuner frequency
  state.editBuffer = state.presets[static_cast<size_t>(state.currentProgram)];
}

// Another pedal's content for the import: every preset renamed, no user IRs.
std::vector<uint8_t> OtherBackup(const sim::PedalState& state) {
  SnapshotContent content;
  for (int k = 0; k < 128; ++k) {
    SnapshotContent::Preset p{k, state.presets[static_cast<size_t>(k)]};
    p.payload[PayloadParamOffset(kParamUserIR7Mode)] = 0;
    p.payload[PayloadParamOffset(kParamUserIR8Mode)] = 0;
    p.payload[2] = 'X';
    content.presets.push_back(p);
  }
  return BuildSnapshotImage(content);
}

bool Saw(const ScriptedModalServices& modal, const std::string& start) {
  for (const auto& m : modal.Messages())
    if (m.text.rfind(start, 0) == 0) return true;
  return false;
}

class Snapshots : public ::testing::Test {
protected:
  void SetUp() override {
    DistinctPedal(pedal.Model().MutableState());
    h = std::make_unique<HeadlessEditor>(nullptr, library.root);
    ed().SetModalServices(&modal);
    link = std::make_unique<Link>(Link{*h, pedal, {}});
    ASSERT_TRUE(RunUntil([&] { return st().mCacheInSync && !st().mBulkLoading; }));
    link->Run(1000); // the current preset after the read
    link->log.clear();
  }
  void TearDown() override {
    link.reset();
    h.reset();
  }
  bool RunUntil(const std::function<bool()>& done, int limitMs = 300000) {
    for (int t = 0; t < limitMs; t += 100) {
      if (done()) return true;
      link->Run(100);
    }
    return done();
  }
  // An import or restore ends by reading every preset back.
  bool AwaitReread() {
    return RunUntil([&] {
      return !ed().SnapshotPending() && !st().mImporting && !st().mImportFinishedPending &&
             !st().mImportVerifyPending && st().mConnected && st().mCacheInSync &&
             !st().mBulkLoading;
    });
  }
  ZorelControl& ed() { return h->Editor(); }
  SessionState& st() { return h->Editor().State(); }
  std::vector<lib::SnapshotInfo> List() { return ed().Snapshots().List(); }

  TempLibrary library;
  VirtualPedal pedal;
  ScriptedModalServices modal{MessageBoxResult::kOK};
  std::unique_ptr<HeadlessEditor> h;
  std::unique_ptr<Link> link;
};

TEST_F(Snapshots, ImportIsPrecededByASnapshotThatPutsThePedalBack) {
  // The settings pages read the MIDI maps, so the snapshot holds them too.
  ed().OpenGlobalSettings();
  link->Run(1000);
  ed().OpenMidiCCPage();
  link->Run(1000);
  ed().CloseMidiCCPage();
  ed().OpenProgramMapPage();
  link->Run(1000);
  ed().CloseProgramMapPage();
  link->Run(1000);
  ed().CloseGlobalSettings();
  ASSERT_TRUE(RunUntil([&] { return st().mConnected && st().mCacheInSync; }));
  link->Run(1000);
  ASSERT_TRUE(st().mSettingsKnown[1] && st().mSettingsKnown[2]);
  const sim::PedalState original = pedal.State();
  const std::string file = library.root + "/other.q3b";
  WriteFile(file, OtherBackup(original));
  modal.QueueMessageAnswer(MessageBoxResult::kOK);
  modal.QueueFile(file);
  ASSERT_TRUE(ed().ImportBulkFile());
  ASSERT_TRUE(AwaitReread());
  EXPECT_TRUE(Saw(modal, "All 128 presets verified."));
  EXPECT_NE(pedal.State().presets, original.presets);
  ASSERT_EQ(List().size(), 1u);
  EXPECT_EQ(List()[0].operation, "import");
  // The snapshot is complete without the pedal: presets, both IRs, settings.
  const auto parts = SplitSnapshotImage(*ed().Snapshots().Read(List()[0], 1 << 21));
  ASSERT_TRUE(parts.ok) << parts.problem;
  EXPECT_TRUE(parts.WholePedal());
  EXPECT_EQ(parts.irNumbers, (std::vector<int>{0, 200}));
  EXPECT_EQ(parts.settings.size(), 3u);

  // The pedal changes further (IRs and settings too) before the restore.
  auto& changed = pedal.Model().MutableState();
  changed.userIRs[0].fill(1);
  changed.userIRs[200].fill(2);
  changed.midiAssignments[3] = 99;
  changed.programMap[5] = 0;
  changed.globalData[8] = 20;
  modal.QueueMessageAnswer(MessageBoxResult::kOK);
  ASSERT_TRUE(ed().RestoreSnapshot(List()[0].name));
  ASSERT_TRUE(AwaitReread());

  const sim::PedalState& now = pedal.State();
  EXPECT_EQ(now.presets, original.presets);
  EXPECT_EQ(now.userIRs, original.userIRs);
  // Data offset 6 is written as 2 by every write of the global block (the
  // pot display mode the pedal decides itself); every other field is back.
  for (const GlobalSettingsField& field : kGlobalSettingsFields)
    if (field.dataOffset != 6)
      EXPECT_EQ(now.globalData[field.dataOffset], original.globalData[field.dataOffset])
          << field.dataOffset;
  EXPECT_EQ(now.midiAssignments, original.midiAssignments);
  EXPECT_EQ(now.programMap, original.programMap);
  // The restore itself left a snapshot of what it overwrote.
  ASSERT_EQ(List().size(), 2u);
  EXPECT_EQ(List()[1].operation, "restore-snapshot");
}

TEST_F(Snapshots, FactoryResetAndStoreEachLeaveOne) {
  const PresetPayload before5 = pedal.State().presets[5];
  // A store into slot 5 from the list: the slot's old preset is kept.
  ed().StorePress(true);
  ed().StorePress(false); // armed
  st().mCurrentPresetSlot = 5;
  ed().StorePress(true);
  ed().StorePress(false);
  link->Run(200);
  ASSERT_EQ(List().size(), 1u);
  EXPECT_EQ(List()[0].operation, "store-preset-6");
  const auto parts = SplitSnapshotImage(*ed().Snapshots().Read(List()[0], 1 << 21));
  ASSERT_TRUE(parts.ok);
  EXPECT_EQ(parts.slots, (std::vector<int>{5}));
  EXPECT_EQ(std::vector<uint8_t>(parts.restore.begin() + 8, parts.restore.begin() + 264),
            std::vector<uint8_t>(before5.begin(), before5.end()));
  EXPECT_EQ(st().mStoreCheck, PresetSelection::StoreCheck::kVerified);
  for (const auto& m : modal.Messages()) ADD_FAILURE() << m.text; // a clean store says nothing

  modal.QueueMessageAnswer(MessageBoxResult::kOK);
  ed().FactoryReset(kResetPresets);
  ASSERT_TRUE(RunUntil([&] { return !ed().SnapshotPending(); }));
  link->Pump();
  ASSERT_EQ(List().size(), 2u);
  EXPECT_EQ(List()[1].operation, "factory-reset-presets");
  EXPECT_EQ(link->Commands(kCmdFactoryReset).size(), 1u);
}

TEST_F(Snapshots, APedalThatCorruptsWhatItReceivesIsReportedNotVerified) {
  sim::Misbehaviour corrupting;
  corrupting.corruptReceivedShare = 1.0;
  pedal.SetMisbehaviour(corrupting);
  // A store after an edit: the pedal keeps another value than it was sent.
  ed().SetParameterValue(kParamGain, 40 / 127.0);
  link->Pump();
  ed().StorePress(true);
  ed().StorePress(false);
  ed().StorePress(true);
  ed().StorePress(false);
  link->Run(500);
  EXPECT_EQ(st().mStoreCheck, PresetSelection::StoreCheck::kDiffers);
  EXPECT_TRUE(Saw(modal, "Preset "));
  bool named = false;
  for (const auto& m : modal.Messages())
    named = named || m.text.find("was not stored as it was sent") != std::string::npos;
  EXPECT_TRUE(named);

  // An import whose presets all arrive changed.
  const std::string file = library.root + "/other.q3b";
  WriteFile(file, OtherBackup(pedal.State()));
  modal.QueueMessageAnswer(MessageBoxResult::kOK);
  modal.QueueFile(file);
  ASSERT_TRUE(ed().ImportBulkFile());
  ASSERT_TRUE(AwaitReread());
  EXPECT_TRUE(Saw(modal, "The pedal does not hold what the backup holds in presets "));
  EXPECT_FALSE(Saw(modal, "All 128 presets verified."));
  EXPECT_FALSE(Saw(modal, "Finished successfully!")); // one truth, not two
  EXPECT_EQ(st().mImportResult, TransferState::ImportResult::kDiffers);
}

TEST_F(Snapshots, AFailedSnapshotStopsTheOverwriteUnlessTheUserGoesOn) {
  // The Snapshots folder cannot be made: a file has its name.
  std::ofstream(library.root + "/Snapshots") << "not a folder";
  st().mCurrentPresetSlot = 7;
  ed().StorePress(true);
  ed().StorePress(false);
  modal.QueueMessageAnswer(MessageBoxResult::kCancel);
  ed().StorePress(true);
  ed().StorePress(false);
  link->Run(200);
  EXPECT_TRUE(Saw(modal, "No snapshot could be taken before this store: the snapshot "));
  EXPECT_TRUE(Saw(modal, "Nothing was changed on the pedal."));
  EXPECT_TRUE(link->Commands(kCmdSetParameter).empty());
  EXPECT_FALSE(st().mStoreArmed);
  // Going on stores without a snapshot.
  ed().StorePress(true);
  ed().StorePress(false);
  modal.QueueMessageAnswer(MessageBoxResult::kOK);
  ed().StorePress(true);
  ed().StorePress(false);
  link->Pump();
  EXPECT_EQ(link->Commands(kCmdSetParameter).size(), 1u);
}

TEST_F(Snapshots, ADiskThatFillsUpLeavesNothingHalfWritten) {
  // Files may grow to 16 KiB here: a whole-pedal snapshot is larger, the
  // slot files the snapshot first reads are smaller.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 16384;
  setrlimit(RLIMIT_FSIZE, &small);
  modal.QueueMessageAnswer(MessageBoxResult::kOK);     // "Are you sure?"
  modal.QueueMessageAnswer(MessageBoxResult::kCancel); // no snapshot: stop
  ed().FactoryReset(kResetAll);
  RunUntil([&] { return !ed().SnapshotPending(); });
  setrlimit(RLIMIT_FSIZE, &old);
  link->Pump();
  EXPECT_TRUE(Saw(modal, "No snapshot could be taken before this factory reset: the snapshot "));
  EXPECT_TRUE(link->Commands(kCmdFactoryReset).empty());
  EXPECT_TRUE(lib::ListFiles(ed().Snapshots().Folder()).empty());
  EXPECT_TRUE(st().mCacheInSync); // the cache was not emptied either
}

TEST_F(Snapshots, AReadOnlyFolderStopsTheOverwrite) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  std::filesystem::create_directory(library.root + "/Snapshots");
  std::filesystem::permissions(library.root + "/Snapshots", std::filesystem::perms::owner_read |
                                                                std::filesystem::perms::owner_exec);
  ed().StorePress(true);
  ed().StorePress(false);
  modal.QueueMessageAnswer(MessageBoxResult::kCancel);
  ed().StorePress(true);
  ed().StorePress(false);
  link->Pump();
  std::filesystem::permissions(library.root + "/Snapshots", std::filesystem::perms::owner_all);
  EXPECT_TRUE(link->Commands(kCmdSetParameter).empty());
  EXPECT_TRUE(lib::ListFiles(library.root + "/Snapshots").empty());
}

TEST_F(Snapshots, DoctorCountsWhatComesBack) {
  ASSERT_TRUE(ed().StartLinkCheck());
  ASSERT_TRUE(RunUntil([&] { return ed().Doctor().Done(); }, 60000));
  const LinkCheck::Result clean = ed().Doctor().Figures();
  EXPECT_EQ(clean.sent, LinkCheck::kTotal);
  EXPECT_EQ(clean.answered, LinkCheck::kTotal);
  EXPECT_EQ(clean.lost + clean.damaged, 0);
  EXPECT_EQ(clean.roundTripMs.size(), static_cast<size_t>(LinkCheck::kTotal));
  EXPECT_NE(ed().Doctor().Report().find("The link is sound"), std::string::npos);
  // Nothing on the pedal and nothing of the editor's view changed.
  EXPECT_TRUE(st().mConnected);
  EXPECT_TRUE(link->Commands(kCmdSetParameter).empty());

  sim::Misbehaviour lossy;
  lossy.dropShare = 0.05;
  pedal.SetMisbehaviour(lossy);
  ASSERT_TRUE(ed().StartLinkCheck());
  ASSERT_TRUE(RunUntil([&] { return ed().Doctor().Done(); }, 60000));
  const LinkCheck::Result lost = ed().Doctor().Figures();
  std::printf("[doctor] clean: %d/%d answered; 5 %% drops: %d answered, %d lost, %d damaged\n",
              clean.answered, clean.sent, lost.answered, lost.lost, lost.damaged);
  EXPECT_EQ(lost.sent, LinkCheck::kTotal);
  EXPECT_EQ(lost.answered + lost.lost + lost.damaged, lost.sent);
  EXPECT_GT(lost.lost, 0);
  EXPECT_NE(ed().Doctor().Report().find("Replies lost: check the cable or the MIDI interface."),
            std::string::npos);
}

} // namespace
} // namespace zorel::test

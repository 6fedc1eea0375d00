// Whole-pedal export and import, the firmware update, the WAV import with
// its IR upload, and the footswitch and settings actions, each against the
// in-process virtual pedal.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "library/ModalServices.h"
#include "protocol/DeviceTick.h"
#include "protocol/Requests.h"
#include "protocol/codec/EditorMessages.h"
#include "protocol/codec/Frame.h"
#include "protocol/codec/IrTransfer.h"
#include "protocol/codec/ParamIds.h"
#include "protocol/codec/PedalMessages.h"
#include "sim/FactoryContent.h"
#include "tests/integration/PedalLink.h"
#include "tests/support/ScriptedModalServices.h"

using namespace zorel;
using namespace zorel::test;

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

bool Saw(const test::ScriptedModalServices& modal, const std::string& text) {
  for (const auto& m : modal.Messages())
    if (m.text == text) return true;
  return false;
}

// A connected editor and pedal, with scripted dialogs.
class Transfers : public ::testing::Test {
protected:
  void SetUp() override {
    h = std::make_unique<HeadlessEditor>(nullptr, library.root);
    h->Editor().SetModalServices(&modal);
    link = std::make_unique<Link>(Link{*h, pedal, {}});
    link->Run(4000);
    ASSERT_TRUE(Connected(*h));
    link->log.clear();
  }
  void TearDown() override {
    link.reset();
    h.reset();
  }
  ZorelControl& ed() { return h->Editor(); }
  SessionState& st() { return h->Editor().State(); }
  // The first snapshot of a pedal reads the settings blocks and user IRs the
  // cache lacks before the operation it guards goes out.
  void AwaitSnapshot() {
    for (int i = 0; i < 3000 && ed().SnapshotPending(); ++i) link->Run(100);
    ASSERT_FALSE(ed().SnapshotPending());
  }

  TempLibrary library;
  VirtualPedal pedal;
  test::ScriptedModalServices modal{MessageBoxResult::kOK};
  std::unique_ptr<HeadlessEditor> h;
  std::unique_ptr<Link> link;
};

TEST_F(Transfers, ExportThenImportRestoresThePedal) {
  // Only two presets use user IRs, 0 and 200, and those two hold content of
  // their own, so the export carries exactly their dumps.
  auto& state = pedal.Model().MutableState();
  NoUserIRsInUse(state);
  auto& p3 = state.presets[3];
  p3[PayloadParamOffset(kParamUserIR7Mode)] = 1;
  p3[PayloadParamOffset(kParamUserIR7PresetMSB)] = 0;
  p3[PayloadParamOffset(kParamUserIR7Preset)] = 0;
  auto& p9 = state.presets[9];
  p9[PayloadParamOffset(kParamUserIR8Mode)] = 1;
  p9[PayloadParamOffset(kParamUserIR8PresetMSB)] = 1;
  p9[PayloadParamOffset(kParamUserIR8Preset)] = 72; // IR 200
  for (size_t i = 0; i < state.userIRs[0].size(); ++i) {
    state.userIRs[0][i] = static_cast<uint8_t>(i * 3);
    state.userIRs[200][i] = static_cast<uint8_t>(255 - i);
  }
  const auto original = pedal.State();
  const std::vector<int> used = {0, 200};

  const std::string file = library.root + "/backup.q3b";
  modal.QueueFile(file);
  ASSERT_TRUE(ed().StartExport());
  link->Run(30000);
  EXPECT_FALSE(st().mExporting);
  EXPECT_TRUE(Saw(modal, "Finished successfully!"));
  EXPECT_EQ(link->Commands(kCmdRequestPreset).size(), 128u);
  std::vector<int> irs;
  for (const Bytes& m : link->Commands(kCmdRequestIR)) irs.push_back(m[7] * 128 + m[8]);
  EXPECT_EQ(irs, used);
  const std::vector<uint8_t> bytes = ReadFile(file);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 0xF0),
            static_cast<long>(128 + used.size() * 11));

  // Restore the file into a pedal back at its factory state.
  pedal.Model().MutableState() = sim::MakeFactoryState();
  ASSERT_NE(pedal.State().presets, original.presets);
  link->log.clear();
  modal.QueueMessageAnswer(MessageBoxResult::kOK);
  modal.QueueFile(file);
  ASSERT_TRUE(ed().ImportBulkFile());
  link->Run(60000);
  EXPECT_FALSE(st().mImporting);
  EXPECT_EQ(pedal.State().presets, original.presets);
  EXPECT_EQ(pedal.State().userIRs[0], original.userIRs[0]);
  EXPECT_EQ(pedal.State().userIRs[200], original.userIRs[200]);
  EXPECT_EQ(link->Commands(kCmdBeginBulkMode).size(), 2u); // import, then the re-read
  EXPECT_EQ(link->Commands(kCmdRestoreIRMiddle).size(), used.size() * 9);
  // The reconnect's checksum list is held against the file.
  EXPECT_TRUE(Saw(modal, "All 128 presets verified."));
}

// A preset that reaches the pedal other than the file holds it (a link that
// changes a data byte and, by chance, the checksum with it) is named.
TEST_F(Transfers, ImportThatDoesNotTakeIsNamed) {
  NoUserIRsInUse(pedal.Model().MutableState());
  const std::string file = library.root + "/backup.q3b";
  modal.QueueFile(file);
  ASSERT_TRUE(ed().StartExport());
  link->Run(30000);
  link->tamper = [](Bytes& m) {
    if (m.size() == 267 && m[5] == kCmdRestorePreset && m[7] == 9) {
      m[12] = static_cast<uint8_t>(m[12] ^ 0x01);
      const ChecksumPair sum = BlockChecksum(std::span(m).subspan(8, 256));
      m[264] = sum.high;
      m[265] = sum.low;
    }
  };
  modal.QueueMessageAnswer(MessageBoxResult::kOK);
  modal.QueueFile(file);
  ASSERT_TRUE(ed().ImportBulkFile());
  link->Run(60000);
  bool named = false;
  for (const auto& m : modal.Messages())
    named = named || m.text.find("The pedal does not hold what the backup holds in preset ") == 0;
  EXPECT_TRUE(named);
  EXPECT_FALSE(Saw(modal, "All 128 presets verified."));
}

// A file of one preset dump and one IR (12 messages), on a pedal whose
// presets play no user IR: the snapshot comes from the cache without a
// request, so the import goes out as written: 0x5A, the preset, then the
// IR, each after the acknowledgement of the one before, middle chunks on
// consecutive ticks, then 0x5B and the message.
TEST(Import, OnePresetAndOneIRGoOutAsWritten) {
  TempLibrary library;
  VirtualPedal pedal;
  NoUserIRsInUse(pedal.Model().MutableState());
  HeadlessEditor h(nullptr, library.root);
  test::ScriptedModalServices modal{MessageBoxResult::kOK};
  h.Editor().SetModalServices(&modal);
  Link link{h, pedal, {}};
  link.Run(4000);
  ASSERT_TRUE(Connected(h));

  std::array<uint8_t, kPresetPayloadSize> payload = pedal.State().presets[20];
  payload[2] = 'Z';
  std::array<uint8_t, kIRBlockSize> block{};
  for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>((i * 7) & 0x7F);
  const auto dump = BuildPresetDump(5, payload);
  Bytes file(dump.begin(), dump.end());
  for (const auto& chunk : BuildIRTransfer(3, block))
    file.insert(file.end(), chunk.begin(), chunk.end());
  const std::string path = library.root + "/two.q3b";
  WriteFile(path, file);

  link.log.clear();
  std::vector<int> sentAtTick; // the tick each message went out on
  modal.QueueMessageAnswer(MessageBoxResult::kOK);
  modal.QueueFile(path);
  ASSERT_TRUE(h.Editor().ImportBulkFile());
  for (int tick = 1; tick <= 30; ++tick) {
    const size_t before = link.log.size();
    link.Run(100);
    sentAtTick.insert(sentAtTick.end(), link.log.size() - before, tick);
  }
  std::vector<uint8_t> commands;
  for (const Bytes& m : link.log) commands.push_back(m[5]);
  const std::vector<uint8_t> expected = {kCmdBeginBulkMode,
                                         kCmdRestorePreset,
                                         kCmdRestoreIRFirst,
                                         0x78,
                                         0x78,
                                         0x78,
                                         0x78,
                                         0x78,
                                         0x78,
                                         0x78,
                                         0x78,
                                         0x78,
                                         kCmdRestoreIRLast,
                                         kCmdEndBulkMode};
  ASSERT_GE(commands.size(), expected.size());
  EXPECT_EQ(std::vector<uint8_t>(commands.begin(), commands.begin() + 14), expected);
  EXPECT_EQ(sentAtTick.front(), 1);
  for (size_t i = 4; i < 13; ++i) EXPECT_EQ(sentAtTick[i], sentAtTick[i - 1] + 1) << i;
  link.Run(2000);
  EXPECT_TRUE(Saw(modal, "Finished successfully!"));
  EXPECT_EQ(pedal.State().presets[5], payload);
  EXPECT_EQ(pedal.State().userIRs[3], block);
}

TEST_F(Transfers, ImportNeedsConfirmation) {
  modal.QueueMessageAnswer(MessageBoxResult::kCancel);
  EXPECT_FALSE(ed().ImportBulkFile());
  EXPECT_FALSE(st().mImporting);
  EXPECT_TRUE(modal.FilePrompts().empty());
}

TEST_F(Transfers, FirmwareImageReachesTheLoader) {
  std::vector<uint8_t> image(1000);
  for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 7 + 3);
  const std::string file = library.root + "/zorel.bin";
  WriteFile(file, image);
  ed().OpenFirmwarePage();
  modal.QueueFile(file);
  ASSERT_TRUE(ed().ChooseFirmwareFile());
  AwaitSnapshot();
  link->Run(2000);
  EXPECT_FALSE(st().mFirmwareActive);
  EXPECT_EQ(pedal.Model().ReceivedFirmware(), image);
  std::vector<size_t> sizes;
  for (const Bytes& m : link->log)
    if (m.size() > 4 && m[4] == kSysExTargetLoader) sizes.push_back(m.size());
  EXPECT_EQ(sizes, (std::vector<size_t>{7, 250, 247, 247, 247, 192}));
  EXPECT_TRUE(Saw(modal, "Firmware update finished."));
  EXPECT_FALSE(st().mConnected); // the loader's "complete" ends the session
}

TEST_F(Transfers, OversizedFirmwareIsRefusedWithAMessage) {
  const std::string file = library.root + "/big.bin";
  WriteFile(file, std::vector<uint8_t>(65536, 1));
  modal.QueueFile(file);
  EXPECT_FALSE(ed().ChooseFirmwareFile());
  h->Advance(20);
  EXPECT_TRUE(link->log.empty() && h->TakeSent().empty());
  EXPECT_EQ(modal.Messages().size(), 1u);
}

TEST_F(Transfers, WavImportUploadsTheIRToThePresetsSlot) {
  // 1000 samples of a decaying click, 16-bit mono 44.1 kHz.
  std::vector<uint8_t> wav = {'R', 'I', 'F',  'F',  0,   0,   0,    0,    'W',  'A', 'V',
                              'E', 'f', 'm',  't',  ' ', 16,  0,    0,    0,    1,   0,
                              1,   0,   0x44, 0xAC, 0,   0,   0x88, 0x58, 1,    0,   2,
                              0,   16,  0,    'd',  'a', 't', 'a',  0xD0, 0x07, 0,   0};
  for (int i = 0; i < 1000; ++i) {
    const int16_t v = static_cast<int16_t>(20000 * (i == 0 ? 1.0 : 1.0 / (i + 1)));
    wav.push_back(static_cast<uint8_t>(v & 0xFF));
    wav.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
  }
  const std::string file = library.root + "/Big Room.wav";
  WriteFile(file, wav);
  const int slot = st().mCurrentPresetSlot;
  modal.QueueFile(file);
  ASSERT_TRUE(ed().ImportWavForIR7());
  link->Run(3000);
  EXPECT_FALSE(st().mIRUploadRunning);
  EXPECT_EQ(link->Commands(kCmdIRFirstChunk).size(), 1u);
  EXPECT_EQ(link->Commands(kCmdIRMiddleChunk).size(), 9u);
  EXPECT_EQ(link->Commands(kCmdIRLastChunk).size(), 1u);
  char name[64];
  std::snprintf(name, sizeof name, "/User IRs/%03d.dat", slot + 1);
  const std::vector<uint8_t> stored = ReadFile(library.root + name);
  ASSERT_EQ(stored.size(), 2436u);
  const auto& onPedal = pedal.State().userIRs[static_cast<size_t>(slot)];
  // The bank selection that follows must not fetch the pedal's older IR
  // over the new slot file.
  EXPECT_TRUE(link->Commands(kCmdRequestIR).empty());
  EXPECT_TRUE(std::equal(stored.begin(), stored.end(), onPedal.begin()));
  EXPECT_EQ(st().mCurrentIR7Name, "Big Room");
}

TEST_F(Transfers, NotAWavFileChangesNothing) {
  const std::string file = library.root + "/notes.wav";
  WriteFile(file, {'h', 'e', 'l', 'l', 'o'});
  modal.QueueFile(file);
  EXPECT_FALSE(ed().ImportWavForIR7());
  link->Run(500);
  EXPECT_TRUE(link->Commands(kCmdIRFirstChunk).empty());
  EXPECT_FALSE(modal.Messages().empty());
}

TEST_F(Transfers, UserIRSelectionWaitsForTheBankToBeAccepted) {
  st().mIR7PageActive = true;
  st().mUserIR7Number = 200;
  st().mIRSelectStep = kParamUserIR7PresetMSB;
  ed().SetParameterValue(kParamUserIR7PresetMSB, 1 / 127.0);
  link->Pump();
  ASSERT_GE(link->log.size(), 2u);
  EXPECT_EQ(link->log[0], (Bytes{0xF0, 0x00, 0x51, 0x21, 0x05, 0x50, 0x0B, 57, 1, 0xF7}));
  EXPECT_EQ(link->log[1], (Bytes{0xF0, 0x00, 0x51, 0x21, 0x05, 0x50, 0x0B, 58, 72, 0xF7}));
  EXPECT_EQ(st().mUserIR7Number, 200);
}

TEST_F(Transfers, StoreRecallAndStepping) {
  st().mCurrentPresetSlot = 126;
  ed().PresetUp(true);
  EXPECT_EQ(st().mCurrentPresetSlot, 127);
  h->Advance(24 * 20); // 24 idle ticks of a held button
  EXPECT_EQ(st().mCurrentPresetSlot, 0);
  ed().PresetUp(false);
  link->Pump();
  ASSERT_FALSE(link->log.empty());
  EXPECT_EQ(link->log[0], (Bytes{0xF0, 0x00, 0x51, 0x21, 0x05, 0x23, 0x0B, 0, 0xF7}));
  EXPECT_EQ(pedal.State().currentProgram, 0);

  link->log.clear();
  ed().PresetDown(true);
  ed().PresetDown(false);
  EXPECT_EQ(st().mCurrentPresetSlot, 127);
  link->Pump();
  link->log.clear();

  ed().StorePress(true);
  ed().StorePress(false);
  EXPECT_TRUE(st().mStoreArmed);
  ed().StorePress(true);
  ed().StorePress(false);
  link->Pump();
  ASSERT_FALSE(link->log.empty());
  EXPECT_EQ(link->log[0], (Bytes{0xF0, 0x00, 0x51, 0x21, 0x05, 0x50, 0x0B, 0x12, 127, 0xF7}));
  EXPECT_FALSE(st().mStoreArmed); // the pedal's copy came back and was cached
}

TEST_F(Transfers, GlobalSettingsPageReadsAndWrites) {
  ed().OpenGlobalSettings();
  link->Pump();
  ASSERT_GE(link->log.size(), 3u);
  EXPECT_EQ(link->log[0], (Bytes{0xF0, 0x00, 0x51, 0x21, 0x05, 0x55, 0x0B, 0x00, 0xF7}));
  EXPECT_EQ(link->log[1], (Bytes{0xF0, 0x00, 0x51, 0x21, 0x05, 0x5B, 0x0B, 0xF7}));
  EXPECT_EQ(link->log[2][5], kCmdRequestPreset);
  EXPECT_FALSE(st().mConnectWanted);
  link->log.clear();
  ed().SetParameterValue(kParamTunerFrequency, 13 / 24.0);
  link->Pump();
  ASSERT_EQ(link->log.size(), 1u);
  EXPECT_EQ(link->log[0][8 + 8], 13);
  EXPECT_EQ(link->log[0][8 + 6], 2);
  EXPECT_EQ(pedal.State().globalData[8], 13);
  ed().CloseGlobalSettings();
  EXPECT_TRUE(st().mConnectWanted);
}

TEST_F(Transfers, FactoryResetAsksFirst) {
  modal.QueueMessageAnswer(MessageBoxResult::kCancel);
  ed().FactoryReset(2);
  EXPECT_TRUE(h->TakeSent().empty());
  modal.QueueMessageAnswer(MessageBoxResult::kOK);
  ed().FactoryReset(2);
  AwaitSnapshot();
  link->Pump();
  // Before the reset only reads go out: what the snapshot lacked.
  ASSERT_FALSE(link->log.empty());
  EXPECT_EQ(link->log.back(), (Bytes{0xF0, 0x00, 0x51, 0x21, 0x05, 0x56, 0x0B, 0x02, 0xF7}));
  for (size_t i = 0; i + 1 < link->log.size(); ++i)
    EXPECT_TRUE(link->log[i][5] == kCmdRequestSettings || link->log[i][5] == kCmdRequestIR) << i;
  EXPECT_FALSE(ed().LastSnapshotPath().empty());
  h->Advance(200);
  EXPECT_TRUE(Saw(modal, "Finished successfully!"));
}

} // namespace

namespace {

TEST_F(Transfers, DamagedFirmwareTransferEndsInAnError) {
  // Binary content: a file of one repeated letter reads as text and is
  // refused before anything is sent.
  std::vector<uint8_t> image(1000);
  for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 13 + 129);
  const std::string file = library.root + "/zorel.bin";
  WriteFile(file, image);
  link->tamper = [](Bytes& m) {
    if (m.size() == 247) m[100] ^= 0x01; // one bit lost in a middle chunk
  };
  ed().OpenFirmwarePage();
  modal.QueueFile(file);
  ASSERT_TRUE(ed().ChooseFirmwareFile());
  AwaitSnapshot();
  link->Run(2000);
  EXPECT_TRUE(Saw(modal, "Error in update!"));
  EXPECT_FALSE(st().mFirmwareActive);
  EXPECT_EQ(pedal.Model().FirmwareUpdates(), 0);
}

TEST_F(Transfers, TinyFirmwareImageIsRefused) {
  const std::string file = library.root + "/tiny.bin";
  WriteFile(file, std::vector<uint8_t>(100, 1));
  modal.QueueFile(file);
  EXPECT_FALSE(ed().ChooseFirmwareFile());
  EXPECT_TRUE(h->TakeSent().empty());
}

TEST(Identity, UnsupportedVersionsQueueTheirMessageAndStayUnconnected) {
  for (int version : {9, 120}) {
    TempLibrary library;
    sim::PedalConfig config;
    config.misbehaviour.reportedVersionTimes10 = version;
    VirtualPedal pedal(config);
    test::ScriptedModalServices modal{MessageBoxResult::kOK};
    HeadlessEditor h(nullptr, library.root);
    h.Editor().SetModalServices(&modal);
    Link link{h, pedal, {}};
    link.Run(4000);
    EXPECT_FALSE(Connected(h)) << version;
    const std::string expected =
        version == 9 ? "Please upgrade Zorel to actual version 11."
                     : "Editor version out of date. Please download the most recent version.";
    EXPECT_TRUE(Saw(modal, expected)) << version;
    EXPECT_EQ(h.Editor().State().mDeviceVersionText,
              version == 9 ? "VERSION: 0.9" : "VERSION: 12.0");
  }
}

// Connected to a healthy pedal just before the bulk read starts (identity
// and checksum list pass their checks only when undamaged); then the link
// goes bad the way `faults` says.
class FaultyLink : public ::testing::Test {
protected:
  void Break(const sim::Misbehaviour& faults) {
    h.Editor().SetModalServices(&modal);
    link.Run(200); // identity on the first tick, bulk mode on the second
    ASSERT_TRUE(Connected(h));
    pedal.SetMisbehaviour(faults);
    link.Run(6000);
    EXPECT_FALSE(h.Editor().State().mBulkLoading);
  }
  std::vector<int> RequestedSlots() const {
    std::vector<int> slots;
    for (const Bytes& m : link.Commands(kCmdRequestPreset)) slots.push_back(m[7]);
    return slots;
  }
  TempLibrary library;
  VirtualPedal pedal;
  test::ScriptedModalServices modal{MessageBoxResult::kOK};
  HeadlessEditor h{nullptr, library.root};
  Link link{h, pedal, {}};
};

TEST_F(FaultyLink, DamagedPresetsAreAskedForAFewTimesThenReported) {
  sim::Misbehaviour damage;
  damage.corruptBlockShare = 1.0;
  Break(damage);
  EXPECT_EQ(RequestedSlots(), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_EQ(modal.Messages().size(), 1u);
}

TEST_F(FaultyLink, LostRepliesAreAskedForAgainThenReported) {
  sim::Misbehaviour drop;
  drop.dropShare = 1.0;
  Break(drop);
  EXPECT_EQ(RequestedSlots(), (std::vector<int>{0, 0, 0, 0})); // the request and three repeats
  ASSERT_EQ(modal.Messages().size(), 1u);
  EXPECT_EQ(modal.Messages()[0].text, kLostPedalMessage);
}

} // namespace

namespace {

TEST_F(Transfers, FirmwareProgressFollowsTheChunks) {
  const std::string file = library.root + "/zorel.bin";
  std::vector<uint8_t> image(1000);
  for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 13 + 129);
  WriteFile(file, image);
  EXPECT_LT(ed().FirmwareProgress(), 0.0);
  modal.QueueFile(file);
  ASSERT_TRUE(ed().ChooseFirmwareFile());
  AwaitSnapshot();
  link->Pump(); // start message, loader ready
  h->Advance(100);
  link->Pump();
  EXPECT_NEAR(ed().FirmwareProgress(), 240.0 / 1143.0, 1e-9);
  link->Run(1000);
  EXPECT_LT(ed().FirmwareProgress(), 0.0);
}

} // namespace

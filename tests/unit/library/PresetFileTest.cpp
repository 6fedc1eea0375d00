// Preset files written and read back, the checks and confirmations of a
// load, the slot fix-up and which IR blocks get uploaded.

#include <cstring>

#include "LibraryTestSupport.h"
#include "library/PresetFile.h"
#include "library/PresetFileLoad.h"
#include "tests/support/ScriptedModalServices.h"

namespace zorel::lib {
namespace {

using test::ReadFileBytes;
using test::WriteFileBytes;

class PresetFileTest : public test::TempRootTest {
protected:
  void SetUp() override {
    test::TempRootTest::SetUp();
    cache = std::make_unique<SlotCache>(root, tables);
    for (int i = 0; i < kSoundParamCount; ++i) input.liveValues[i] = (i * 3) % 128;
    input.liveValues[kParamUserIR7Mode] = 0;
    input.liveValues[kParamUserIR8Mode] = 0;
    input.ir7NameText = "Seven";
    input.ir8NameText = "Eight";
  }

  IRBlockBytes StoreUserIR(int number, double level, const std::string& name) {
    std::vector<double> s(kIRBlockSamples, level);
    const IRBlockBytes block = BuildIRBlock(0x4000, PadName(name), s);
    cache->WriteIRSlot(number, block);
    return block;
  }

  void UseUserIRs(bool ir7, bool ir8) {
    input.liveValues[kParamUserIR7Mode] = ir7 ? 1 : 0;
    input.liveValues[kParamUserIR7PresetMSB] = 0;
    input.liveValues[kParamUserIR7Preset] = 5;
    input.liveValues[kParamUserIR8Mode] = ir8 ? 1 : 0;
    input.liveValues[kParamUserIR8PresetMSB] = 1;
    input.liveValues[kParamUserIR8Preset] = 5;
  }

  LibraryTables tables;
  std::unique_ptr<SlotCache> cache;
  PresetFileInput input;
  zorel::test::ScriptedModalServices modal{MessageBoxResult::kOK};
  PresetLoadContext context;
};

TEST_F(PresetFileTest, APresetWithoutUserIRsRoundTripsIn262Bytes) {
  const std::string path = root + "/My Tone.q3p";
  const PresetFileWriteResult w = WritePresetFile(path, input, *cache);
  ASSERT_TRUE(w.written);
  EXPECT_EQ(w.name, "My Tone");
  const std::vector<uint8_t> file = ReadFileBytes(path);
  ASSERT_EQ(file.size(), 262u);
  EXPECT_EQ(std::string(file.begin(), file.begin() + 6), std::string("ZOLP\x01\x00", 6));
  EXPECT_EQ(std::string(file.begin() + 6, file.begin() + 38), "My Tone" + std::string(25, ' '));
  EXPECT_EQ(std::string(file.begin() + 198, file.end()), std::string(64, ' '));
  for (size_t i = 112; i < 198; ++i) ASSERT_EQ(file[i], 0) << i;

  const LoadedPresetFile load = ReadPresetFile(path, context, modal);
  ASSERT_EQ(load.outcome, PresetLoadOutcome::kLoaded);
  EXPECT_EQ(load.name, "My Tone");
  EXPECT_TRUE(load.sendPresetNow);
  EXPECT_FALSE(load.firstBlock);
  EXPECT_FALSE(load.ir7Name);
  for (int i = 0; i < kSoundParamCount; ++i) {
    if (i >= kParamUserIR7PresetMSB && i <= kParamUserIR8Preset) continue; // fixed up
    EXPECT_EQ(load.values[i], input.liveValues[i]) << i;
  }
  EXPECT_TRUE(modal.Messages().empty());

  // Writing the same preset again gives the same bytes.
  WritePresetFile(path, input, *cache);
  EXPECT_EQ(ReadFileBytes(path), file);
}

TEST_F(PresetFileTest, EmbeddedIRsRoundTripAt2698And5134Bytes) {
  const IRBlockBytes ir7 = StoreUserIR(5, 0.25, "Seven IR");
  const IRBlockBytes ir8 = StoreUserIR(133, -0.25, "Eight IR");

  UseUserIRs(true, false);
  ASSERT_TRUE(WritePresetFile(root + "/one.q3p", input, *cache).written);
  std::vector<uint8_t> file = ReadFileBytes(root + "/one.q3p");
  ASSERT_EQ(file.size(), 2698u);
  EXPECT_TRUE(std::equal(ir7.begin(), ir7.end(), file.begin() + 262));
  EXPECT_EQ(std::string(file.begin() + 198, file.begin() + 230), "Seven" + std::string(27, ' '));
  EXPECT_EQ(std::string(file.begin() + 230, file.begin() + 262), std::string(32, ' '));

  UseUserIRs(true, true);
  ASSERT_TRUE(WritePresetFile(root + "/two.q3p", input, *cache).written);
  file = ReadFileBytes(root + "/two.q3p");
  ASSERT_EQ(file.size(), 5134u);
  EXPECT_TRUE(std::equal(ir8.begin(), ir8.end(), file.begin() + 2698));

  // Loading into slot 12: IR 7 goes to user IR 12, then IR 8 to 140.
  context.currentPresetSlot = 12;
  const LoadedPresetFile load = ReadPresetFile(root + "/two.q3p", context, modal);
  ASSERT_EQ(load.outcome, PresetLoadOutcome::kLoaded);
  ASSERT_TRUE(load.firstBlock);
  EXPECT_EQ(*load.firstBlock, ir7);
  EXPECT_EQ(load.firstUploadNumber, 12);
  EXPECT_TRUE(load.ir7Pending);
  EXPECT_TRUE(load.ir8Pending);
  EXPECT_FALSE(load.sendPresetNow);
  EXPECT_EQ(load.ir7Name, "Seven");
  EXPECT_EQ(load.ir8Name, "Eight");

  const PreparedIRUpload first =
      PrepareFileIRUpload(*cache, *load.firstBlock, load.firstUploadNumber);
  EXPECT_EQ(first.name, "Seven IR");
  EXPECT_EQ(ReadFileBytes(root + "/User IRs/013.dat").size(), kIRBlockSize);
  EXPECT_DOUBLE_EQ(tables.mIRBuffer[0], 0.25);

  const int second = load.values[kParamUserIR8PresetMSB] * 128 + load.values[kParamUserIR8Preset];
  EXPECT_EQ(second, 140);
  const auto upload8 = ReadSecondFileIR(root + "/two.q3p", *cache, second);
  ASSERT_TRUE(upload8);
  EXPECT_EQ(upload8->name, "Eight IR");
  EXPECT_DOUBLE_EQ(tables.mIRBuffer[0], -0.25);
  EXPECT_TRUE(test::Exists(root + "/User IRs/141.dat"));

  // With one block the second upload repeats it; a factory number is refused.
  EXPECT_EQ(ReadSecondFileIR(root + "/one.q3p", *cache, 140)->name, "Seven IR");
  EXPECT_FALSE(ReadSecondFileIR(root + "/two.q3p", *cache, 390));
}

TEST_F(PresetFileTest, MissingOrShortIRSlotFilesAreNotEmbedded) {
  UseUserIRs(true, true);
  StoreUserIR(133, 0.1, "Only Eight");
  WriteFileBytes(root + "/User IRs/006.dat", std::vector<uint8_t>(100, 1));
  ASSERT_TRUE(WritePresetFile(root + "/p.q3p", input, *cache).written);
  const std::vector<uint8_t> file = ReadFileBytes(root + "/p.q3p");
  EXPECT_EQ(file.size(), 2698u);
  EXPECT_EQ(std::string(file.begin() + 198, file.begin() + 203), "Seven") << "names still written";

  input.liveValues[kParamUserIR8PresetMSB] = 3; // a factory IR: never embedded
  input.liveValues[kParamUserIR7Mode] = 0;
  EXPECT_EQ(WritePresetFile(root + "/q.q3p", input, *cache).size, 262u);
}

TEST_F(PresetFileTest, AQvmpFileIsReadAndItsSlotsFixedUp) {
  PresetFileHeader header = BuildPresetFileHeader("Old", input);
  std::memcpy(header.data(), "QVMP", 4);
  header[38 + kParamUserIR7PresetMSB] = 0;
  header[38 + kParamUserIR7Preset] = 5;
  header[38 + kParamUserIR8PresetMSB] = 0;
  header[38 + kParamUserIR8Preset] = 9;
  context.currentPresetSlot = 12;
  const LoadedPresetFile load =
      PlanPresetFileLoad(std::vector<uint8_t>(header.begin(), header.end()), context, modal);
  ASSERT_EQ(load.outcome, PresetLoadOutcome::kLoaded);
  EXPECT_EQ(load.values[kParamUserIR7PresetMSB], 0);
  EXPECT_EQ(load.values[kParamUserIR7Preset], 12);
  EXPECT_EQ(load.values[kParamUserIR8PresetMSB], 1);
  EXPECT_EQ(load.values[kParamUserIR8Preset], 12);

  // A factory bank is left as it is.
  header[38 + kParamUserIR7PresetMSB] = 3;
  header[38 + kParamUserIR7Preset] = 2;
  const LoadedPresetFile factory =
      PlanPresetFileLoad(std::vector<uint8_t>(header.begin(), header.end()), context, modal);
  EXPECT_EQ(factory.values[kParamUserIR7PresetMSB], 3);
  EXPECT_EQ(factory.values[kParamUserIR7Preset], 2);
}

TEST_F(PresetFileTest, FilesItCannotReadAreRefusedWithTheirMessages) {
  std::vector<uint8_t> file(262, 0);
  std::memcpy(file.data(), "ZOLP", 4);
  file[4] = 1;
  file[5] = 1;
  EXPECT_EQ(PlanPresetFileLoad(file, context, modal).outcome,
            PresetLoadOutcome::kUnsupportedVersion);
  ASSERT_EQ(modal.Messages().size(), 1u);
  EXPECT_EQ(modal.Messages()[0].text, kMsgUnsupportedVersion);
  EXPECT_EQ(modal.Messages()[0].type, MessageBoxType::kOK);

  file[4] = 0;
  file[5] = 9;
  EXPECT_EQ(PlanPresetFileLoad(file, context, modal).outcome, PresetLoadOutcome::kLoaded);
  file[4] = 0xFF; // -1: version -10 + 9
  EXPECT_EQ(PlanPresetFileLoad(file, context, modal).outcome, PresetLoadOutcome::kLoaded);

  std::vector<uint8_t> shortFile(file.begin(), file.begin() + 100);
  const LoadedPresetFile unknown = PlanPresetFileLoad(shortFile, context, modal);
  EXPECT_EQ(unknown.outcome, PresetLoadOutcome::kUnknownFormat);
  EXPECT_EQ(unknown.pendingMessage, kMsgUnknownFileFormat);

  WriteFileBytes(root + "/huge.q3p", std::vector<uint8_t>(8192, 0));
  EXPECT_EQ(ReadPresetFile(root + "/huge.q3p", context, modal).outcome,
            PresetLoadOutcome::kIgnored);
  EXPECT_EQ(ReadPresetFile(root + "/none.q3p", context, modal).outcome,
            PresetLoadOutcome::kIgnored);
  EXPECT_EQ(modal.Messages().size(), 1u) << "only the version box was shown";
}

TEST_F(PresetFileTest, ConfirmationsComeBeforeAnythingIsApplied) {
  UseUserIRs(false, true);
  const PresetFileHeader header = BuildPresetFileHeader("X", input);
  const std::vector<uint8_t> file(header.begin(), header.end());

  context.presetModified = true;
  modal.QueueMessageAnswer(MessageBoxResult::kCancel);
  EXPECT_EQ(PlanPresetFileLoad(file, context, modal).outcome, PresetLoadOutcome::kCancelled);
  ASSERT_EQ(modal.Messages().size(), 1u);
  EXPECT_EQ(modal.Messages()[0].text, kMsgPresetNotSaved);

  // The current preset uses IR 8 and the file brings one.
  context.liveIR8Mode = 1;
  modal.QueueMessageAnswer(MessageBoxResult::kOK);
  modal.QueueMessageAnswer(MessageBoxResult::kCancel);
  EXPECT_EQ(PlanPresetFileLoad(file, context, modal).outcome, PresetLoadOutcome::kCancelled);
  ASSERT_EQ(modal.Messages().size(), 3u);
  EXPECT_EQ(modal.Messages()[2].text, kMsgOverwriteUserIR);
  EXPECT_EQ(modal.Messages()[2].type, MessageBoxType::kOKCancel);

  // With IR 7 on in the current preset only the file's IR 7 counts, and the
  // file has it off.
  context.liveIR7Mode = 1;
  modal.QueueMessageAnswer(MessageBoxResult::kOK);
  EXPECT_EQ(PlanPresetFileLoad(file, context, modal).outcome, PresetLoadOutcome::kLoaded);
  EXPECT_EQ(modal.Messages().size(), 4u);
}

// A file is checked whole before anything of it is asked about or sent: an
// IR cut short, one too many, bytes after the last block, a wrong format
// word or a level above 1 each refuse the file with what is wrong.
TEST_F(PresetFileTest, AFileWhoseIRsAreNotWholeIsRefusedBeforeAnythingIsAsked) {
  UseUserIRs(true, true);
  StoreUserIR(5, 0.5, "Seven");
  StoreUserIR(133, 0.25, "Eight");
  ASSERT_EQ(WritePresetFile(root + "/whole.q3p", input, *cache).size, 5134u);
  const std::vector<uint8_t> whole = ReadFileBytes(root + "/whole.q3p");
  modal.QueueMessageAnswer(MessageBoxResult::kOK);
  ASSERT_EQ(PlanPresetFileLoad(whole, context, modal).outcome, PresetLoadOutcome::kLoaded);

  auto refused = [&](std::vector<uint8_t> file, const std::string& start) {
    const size_t asked = modal.Messages().size();
    const LoadedPresetFile load = PlanPresetFileLoad(file, context, modal);
    EXPECT_EQ(load.outcome, PresetLoadOutcome::kDamaged) << start;
    EXPECT_EQ(load.pendingMessage.rfind(start, 0), 0u) << load.pendingMessage;
    EXPECT_FALSE(load.firstBlock);
    EXPECT_EQ(modal.Messages().size(), asked) << "nothing is asked of a damaged file";
  };
  std::vector<uint8_t> cut = whole;
  cut.resize(262 + 1000);
  refused(cut, "The preset file is damaged: it is 1262 bytes long");
  cut = whole;
  cut.pop_back();
  refused(cut, "The preset file is damaged: it is 5133 bytes long");
  std::vector<uint8_t> longer = whole;
  longer.push_back(0);
  refused(longer, "The preset file is damaged: it is 5135 bytes long");
  std::vector<uint8_t> format = whole;
  format[262 + 2436] = 2;
  refused(format, "IR 2 of the preset file is damaged: its format word is 2, not 1.");
  std::vector<uint8_t> loud = whole;
  loud[262 + 2] = 0x01;
  loud[262 + 3] = 0x80; // 32769
  refused(loud, "IR 1 of the preset file is damaged: its level word 32769 is above 32768.");
  // IR 8 switched off: its block belongs to no position.
  std::vector<uint8_t> extra = whole;
  extra[kPresetFileParamsOffset + kParamUserIR8Mode] = 0;
  refused(extra, "The preset file is damaged: it holds 2 IR(s), and its preset plays 1");

  WriteFileBytes(root + "/cut.q3p", cut);
  EXPECT_FALSE(ReadSecondFileIR(root + "/cut.q3p", *cache, 140));
}

TEST_F(PresetFileTest, ABlockNeverGoesToAPositionThatUsesAFactoryIR) {
  // IR 7 plays a factory IR (bank 3): the only block is IR 8's.
  UseUserIRs(true, true);
  input.liveValues[kParamUserIR7PresetMSB] = 3;
  input.liveValues[kParamUserIR7Preset] = 1;
  const IRBlockBytes ir8 = StoreUserIR(133, 0.5, "Eight");
  ASSERT_EQ(WritePresetFile(root + "/f.q3p", input, *cache).size, 2698u);

  context.currentPresetSlot = 20;
  const LoadedPresetFile load = ReadPresetFile(root + "/f.q3p", context, modal);
  ASSERT_TRUE(load.firstBlock);
  EXPECT_EQ(*load.firstBlock, ir8);
  EXPECT_EQ(load.firstUploadNumber, 148) << "user IR 128 + slot, not user IR 1";
  EXPECT_FALSE(load.ir7Pending);
  EXPECT_TRUE(load.ir8Pending);
}

TEST_F(PresetFileTest, AFailedSaveKeepsTheOldFile) {
  const std::string path = root + "/keep.q3p";
  WriteFileBytes(path, {1, 2, 3});
  const PresetFileWriteResult w = WritePresetFile(root + "/missing/folder/x.q3p", input, *cache);
  EXPECT_FALSE(w.written);
  EXPECT_TRUE(w.name.empty());
  EXPECT_EQ(ReadFileBytes(path), (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(PresetFileTest, PromptsStartFromTheLastFile) {
  std::string last;
  modal.QueueFile(root + "/Saved.q3p");
  EXPECT_EQ(ChoosePresetFileToSave(modal, last, "Fat Bottom"), root + "/Saved.q3p");
  EXPECT_EQ(last, root + "/Saved.q3p");
  EXPECT_EQ(modal.FilePrompts()[0].fileName, "Fat Bottom");
  EXPECT_EQ(modal.FilePrompts()[0].action, FileAction::kSave);
  EXPECT_EQ(modal.FilePrompts()[0].extensions, "q3p");

  EXPECT_FALSE(ChoosePresetFileToLoad(modal, last)) << "cancelled";
  EXPECT_EQ(modal.FilePrompts()[1].fileName, "Saved.q3p");
  EXPECT_EQ(modal.FilePrompts()[1].folder, root);
  EXPECT_EQ(last, root + "/Saved.q3p");

  EXPECT_EQ(PresetNameFromPath("/a.b/" + std::string(40, 'n') + ".q3p"), std::string(32, 'n'));
  EXPECT_EQ(PresetNameFromPath("/dir.x/plain"), "plain");
}

} // namespace
} // namespace zorel::lib

// Bulk files: what is written, what is read, and the import's questions.

#include "library/BulkFile.h"
#include "LibraryTestSupport.h"
#include "tests/support/ScriptedModalServices.h"

namespace zorel::lib {
namespace {

class BulkFileTest : public test::TempRootTest {
protected:
  // A recording of `presets` dumps and one IR dump, as an export collects it.
  std::vector<uint8_t> Export(int presets) {
    std::vector<uint8_t> bytes;
    for (int s = 0; s < presets; ++s) {
      std::vector<uint8_t> dump(267, static_cast<uint8_t>(s & 0x7F));
      dump[0] = 0xF0;
      dump[266] = 0xF7;
      bytes.insert(bytes.end(), dump.begin(), dump.end());
    }
    for (size_t len : {269u, 264u, 235u}) {
      std::vector<uint8_t> chunk(len, 0x11);
      chunk.front() = 0xF0;
      chunk.back() = 0xF7;
      bytes.insert(bytes.end(), chunk.begin(), chunk.end());
    }
    return bytes;
  }
  zorel::test::ScriptedModalServices modal{MessageBoxResult::kOK};
};

TEST_F(BulkFileTest, AnExportIsWrittenAndReadBackByteForByte) {
  const std::vector<uint8_t> bytes = Export(128);
  ASSERT_TRUE(WriteBulkFile(root + "/all.q3b", bytes));
  EXPECT_EQ(test::ReadFileBytes(root + "/all.q3b"), bytes);

  std::string last = root + "/all.q3b";
  modal.QueueMessageAnswer(MessageBoxResult::kOK);
  modal.QueueFile(root + "/all.q3b");
  const BulkImport import = ImportBulkFile(modal, last);
  ASSERT_TRUE(import.ready);
  EXPECT_EQ(import.bytes, bytes);
  EXPECT_EQ(import.messageCount, 131u);
  EXPECT_EQ(CountSysExMessages(std::vector<uint8_t>{0xF0, 1, 2, 3, 4, 5, 6, 7, 8, 0xF7}), 1u);
  ASSERT_EQ(modal.Messages().size(), 1u);
  EXPECT_EQ(modal.Messages()[0].text, kMsgOverwritePresets);
  EXPECT_EQ(modal.FilePrompts()[0].fileName, "all.q3b");
  EXPECT_EQ(modal.FilePrompts()[0].extensions, "q3b");
}

TEST_F(BulkFileTest, ImportStopsOnCancelAndIgnoresFilesItCannotTake) {
  std::string last;
  modal.QueueMessageAnswer(MessageBoxResult::kCancel);
  EXPECT_FALSE(ImportBulkFile(modal, last).ready);
  EXPECT_TRUE(modal.FilePrompts().empty()) << "no prompt after Cancel";

  std::vector<uint8_t> big(kBulkFileMaxSize + 1, 0xF0);
  test::WriteFileBytes(root + "/big.q3b", big);
  modal.QueueMessageAnswer(MessageBoxResult::kOK);
  modal.QueueFile(root + "/big.q3b");
  EXPECT_FALSE(ImportBulkFile(modal, last).ready);
  EXPECT_EQ(last, root + "/big.q3b");

  big.resize(kBulkFileMaxSize);
  test::WriteFileBytes(root + "/max.q3b", big);
  modal.QueueMessageAnswer(MessageBoxResult::kOK);
  modal.QueueFile(root + "/max.q3b");
  EXPECT_EQ(ImportBulkFile(modal, last).messageCount, kBulkFileMaxSize);

  test::WriteFileBytes(root + "/text.q3b", {'h', 'i'});
  modal.QueueMessageAnswer(MessageBoxResult::kOK);
  modal.QueueFile(root + "/text.q3b");
  // Read as it is: whether it is a backup is the import check's to say.
  EXPECT_TRUE(ImportBulkFile(modal, last).ready);
  EXPECT_EQ(modal.Messages().size(), 4u) << "only the confirmations";
}

TEST_F(BulkFileTest, ExportPromptStartsInTheLibraryWithTheDefaultName) {
  std::string last;
  modal.QueueFile(root + "/backup.q3b");
  EXPECT_TRUE(ChooseExportFile(modal, last, root));
  EXPECT_EQ(modal.FilePrompts()[0].fileName, "Zorel_Presets_and_IRs");
  EXPECT_EQ(modal.FilePrompts()[0].folder, root);
  EXPECT_EQ(modal.FilePrompts()[0].action, FileAction::kSave);
  EXPECT_EQ(last, root + "/backup.q3b");

  EXPECT_FALSE(ChooseExportFile(modal, last, root));
  EXPECT_EQ(modal.FilePrompts()[1].fileName, "backup.q3b");
  EXPECT_EQ(last, root + "/backup.q3b") << "a cancelled prompt keeps the last file";
}

} // namespace
} // namespace zorel::lib

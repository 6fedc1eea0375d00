#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/cli/CommandLine.h"
#include "app/cli/ConsoleModal.h"

using namespace zorel;
using namespace zorel::cli;

namespace {

std::optional<Invocation> Parse(std::vector<std::string> args, std::string* errorOut = nullptr) {
  std::string error;
  auto inv = ParseCommandLine(args, error);
  if (errorOut) *errorOut = error;
  return inv;
}

TEST(CommandLine, OptionsAndFileCommandsAreRead) {
  const auto inv = Parse({"--api", "jack", "--in", "Pedal Out:MIDI Out", "--timeout", "2.5",
                          "restore", "all.q3b", "--yes"});
  ASSERT_TRUE(inv);
  EXPECT_EQ(inv->api, MidiApiChoice::kJack);
  EXPECT_EQ(inv->inPort, "Pedal Out:MIDI Out");
  EXPECT_EQ(inv->outPort, "");
  EXPECT_DOUBLE_EQ(inv->timeoutSeconds, 2.5);
  EXPECT_EQ(inv->command, "restore");
  EXPECT_EQ(inv->file, "all.q3b");
  EXPECT_TRUE(inv->yes);
  EXPECT_FALSE(Parse({"status"})->yes);
}

TEST(CommandLine, BadUsageIsRefusedWithAReason) {
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"frobnicate"},
      {"backup"},
      {"backup", "a.q3b", "b.q3b"},
      {"status", "extra"},
      {"--api", "winmm", "status"},
      {"--timeout", "0", "status"},
      {"--timeout", "5s", "status"},
      {"--timeout", "nan", "status"},
      {"--in"},
      {"--in", "", "status"},
      {"--bogus", "status"},
  };
  for (const auto& args : bad) {
    std::string error;
    EXPECT_FALSE(Parse(args, &error)) << ::testing::PrintToString(args);
    EXPECT_FALSE(error.empty()) << ::testing::PrintToString(args);
  }
  std::string error = "x";
  EXPECT_FALSE(Parse({"status", "--help"}, &error));
  EXPECT_TRUE(error.empty()); // help, not an error
}

class Console : public ::testing::Test {
protected:
  void SetUp() override {
    out = std::tmpfile();
    dir = std::filesystem::temp_directory_path() / ("zorelctl-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
  }
  void TearDown() override {
    std::fclose(out);
    std::filesystem::remove_all(dir);
  }
  std::string Printed() {
    std::rewind(out);
    std::string text;
    for (int c; (c = std::fgetc(out)) != EOF;) text += static_cast<char>(c);
    return text;
  }
  FILE* out = nullptr;
  std::filesystem::path dir;
};

TEST_F(Console, ConfirmationsNeedYesAndSayWhatWouldBeOverwritten) {
  ConsoleModal without(out, false);
  EXPECT_EQ(without.ShowMessageDialog("Finished successfully!", "", MessageBoxType::kOK),
            MessageBoxResult::kOK);
  EXPECT_FALSE(without.Refused());
  EXPECT_EQ(
      without.ShowMessageDialog("This will overwrite the presets", "", MessageBoxType::kOKCancel),
      MessageBoxResult::kCancel);
  EXPECT_TRUE(without.Refused());
  const std::string printed = Printed();
  EXPECT_NE(printed.find("Finished successfully!\n"), std::string::npos);
  EXPECT_NE(printed.find("This will overwrite the presets"), std::string::npos);
  EXPECT_NE(printed.find("--yes"), std::string::npos);

  ConsoleModal with(out, true);
  EXPECT_EQ(with.ShowMessageDialog("Sure?", "", MessageBoxType::kOKCancel), MessageBoxResult::kOK);
  EXPECT_FALSE(with.Refused());
  EXPECT_EQ(with.Messages().size(), 1u);
}

TEST_F(Console, FilePromptsAnswerTheGivenPathOnceAndGuardExistingFiles) {
  const std::string existing = (dir / "old.q3b").string();
  std::ofstream(existing) << "x";
  ConsoleModal modal(out, false);
  std::string name = "ZorelBackup.q3b", folder = "/somewhere";
  modal.ChooseFileDialog(name, folder, FileAction::kSave, "q3b");
  EXPECT_EQ(name, ""); // nothing was asked for: cancelled

  modal.AnswerNextFilePrompt((dir / "new.q3b").string());
  modal.ChooseFileDialog(name, folder, FileAction::kSave, "q3b");
  EXPECT_EQ(name, (dir / "new.q3b").string());
  EXPECT_EQ(folder, dir.string());
  modal.ChooseFileDialog(name, folder, FileAction::kSave, "q3b");
  EXPECT_EQ(name, ""); // only once

  modal.AnswerNextFilePrompt(existing);
  modal.ChooseFileDialog(name, folder, FileAction::kSave, "q3b");
  EXPECT_EQ(name, "");
  EXPECT_TRUE(modal.Refused());
  modal.AnswerNextFilePrompt(existing);
  modal.ChooseFileDialog(name, folder, FileAction::kOpen, "q3b");
  EXPECT_EQ(name, existing); // opening an existing file is what it is for

  ConsoleModal yes(out, true);
  yes.AnswerNextFilePrompt(existing);
  yes.ChooseFileDialog(name, folder, FileAction::kSave, "q3b");
  EXPECT_EQ(name, existing);
}

} // namespace

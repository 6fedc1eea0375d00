#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "app/window/MenuCommands.h"

namespace zorel::window {
namespace {

TEST(MenuCommands, MnemonicsInGtkForm) {
  EXPECT_EQ(MnemonicText("&File"), "_File");
  EXPECT_EQ(MnemonicText("&Export All Presets from Zorel ..."),
            "_Export All Presets from Zorel ...");
  EXPECT_EQ(MnemonicText("Salt && Pepper"), "Salt & Pepper");
  EXPECT_EQ(MnemonicText("snake_case"), "snake__case");
  EXPECT_EQ(MnemonicText("trailing&"), "trailing_");
}

TEST(MenuCommands, FileAndHelpWithTheirItemsInOrderThenTheWindowsOwn) {
  const auto menus = MainMenuSpec();
  ASSERT_EQ(menus.size(), 4u);
  EXPECT_STREQ(menus[0].title, "&File");
  EXPECT_STREQ(menus[1].title, "&Help");
  std::vector<std::pair<std::string, int>> file;
  for (const MenuItemSpec& item : menus[0].items)
    file.emplace_back(item.text ? item.text : "-", item.command);
  const std::vector<std::pair<std::string, int>> expected = {
      {"&Import All Presets to Zorel...", 40033},
      {"&Export All Presets from Zorel ...", 40034},
      {"-", 0},
      {"&Firmware Update...", 40029},
      {"&Clear Cache Data", 40031},
      {"-", 0},
      {"&MIDI Settings...", 40006},
      {"&Zorel Global Settings...", 40030},
      {"-", 0},
      {"&Quit", 40007},
      {"-", 0},
      {"&Snapshots...", 40100},
  };
  EXPECT_EQ(file, expected);
  ASSERT_EQ(menus[1].items.size(), 2u);
  EXPECT_STREQ(menus[1].items[0].text, "&About");
  EXPECT_EQ(menus[1].items[0].command, 40005);
  EXPECT_STREQ(menus[1].items[1].text, "&Read Manual");
  EXPECT_EQ(menus[1].items[1].command, 40008);
  // Additions come after File and Help, with numbers of their own.
  EXPECT_STREQ(menus[2].title, "&Edit");
  EXPECT_STREQ(menus[3].title, "&Tools");
  ASSERT_EQ(menus[3].items.size(), 1u);
  EXPECT_STREQ(menus[3].items[0].text, "MIDI &Monitor...");
  EXPECT_EQ(menus[3].items[0].command, kCmdMidiMonitor);
  EXPECT_EQ(EditorMenuCommand(kCmdMidiMonitor), 0);
}

// File and Help keep their one shortcut; the editing comforts come after
// them, in a menu of their own, with shortcuts File and Help do not use.
TEST(MenuCommands, ShortcutsOfTheSpecifiedAndTheEditMenu) {
  std::vector<std::tuple<int, char, bool, char>> shortcuts;
  for (const MenuSpec& menu : MainMenuSpec()) {
    for (const MenuItemSpec& item : menu.items) {
      if (item.shortcutKey != 0 || item.secondKey != 0)
        shortcuts.emplace_back(item.command, item.shortcutKey, item.shortcutShift, item.secondKey);
    }
  }
  const std::vector<std::tuple<int, char, bool, char>> expected = {
      {kCmdMidiSettings, ',', false, 0},
      {kCmdUndo, 'z', false, 0},
      {kCmdRedo, 'z', true, 'y'},
  };
  EXPECT_EQ(shortcuts, expected);
  const MenuSpec& edit = MainMenuSpec()[2];
  EXPECT_STREQ(edit.title, "&Edit");
  ASSERT_EQ(edit.items.size(), 4u);
  EXPECT_EQ(edit.items[3].command, kCmdCompare);
  for (const MenuItemSpec& item : edit.items) EXPECT_EQ(EditorMenuCommand(item.command), 0);
}

TEST(MenuCommands, FileCommandsRouteToTheEditor) {
  const std::pair<int, int> routes[] = {
      {kCmdFirmwareUpdate, 1}, {kCmdGlobalSettings, 2},
      {kCmdClearCache, 3},     {kCmdImportAll, 5},
      {kCmdExportAll, 6},      {kCmdAbout, 0},
      {kCmdMidiSettings, 0},   {kCmdQuit, 0},
      {kCmdReadManual, 0},     {40032, 0},
  };
  for (const auto& [command, editor] : routes)
    EXPECT_EQ(EditorMenuCommand(command), editor) << command;
}

} // namespace
} // namespace zorel::window

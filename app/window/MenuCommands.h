#pragma once

#include <span>
#include <string>
#include <string_view>

namespace zorel::window {

// The main menu's command numbers; a port keeps them as they are.
enum MenuCommand {
  kCmdAbout = 40005,
  kCmdMidiSettings = 40006,
  kCmdQuit = 40007,
  kCmdReadManual = 40008,
  kCmdFirmwareUpdate = 40029,
  kCmdGlobalSettings = 40030,
  kCmdClearCache = 40031,
  kCmdImportAll = 40033,
  kCmdExportAll = 40034,
  // Beyond the original menu, in a section of their own after it.
  kCmdSnapshots = 40100,
  // The editing comforts, in a menu of their own after the others.
  kCmdUndo = 40101,
  kCmdRedo = 40102,
  kCmdCompare = 40103,
  kCmdMidiMonitor = 40104,
};

// One row of a menu: its text with "&" before the mnemonic, its command, or
// 0 for a separator; the shortcut is Ctrl (with Shift when `shortcutShift`)
// plus `shortcutKey` (0 for none), and Ctrl plus `secondKey` a second one.
struct MenuItemSpec {
  const char* text;
  int command;
  char shortcutKey = 0;
  bool shortcutShift = false;
  char secondKey = 0;
};

struct MenuSpec {
  const char* title;
  std::span<const MenuItemSpec> items;
};

// "_File" and "_Help" with their items, in order; then "_Edit" and
// "_Tools", the window's own additions in menus of their own.
std::span<const MenuSpec> MainMenuSpec();

// A menu text with "&" mnemonics in GTK's form: "&File" -> "_File"; a
// literal "_" is doubled and "&&" stands for "&".
std::string MnemonicText(std::string_view text);

// The editor's number for a File-menu command (1 firmware update, 2 global
// settings, 3 clear cache, 5 import all, 6 export all), 0 for the commands
// the window handles itself.
int EditorMenuCommand(int command);

} // namespace zorel::window

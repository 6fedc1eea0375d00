#include "app/window/MenuCommands.h"

namespace zorel::window {

namespace {

constexpr MenuItemSpec kFileItems[] = {
    {"&Import All Presets to Zorel...", kCmdImportAll},
    {"&Export All Presets from Zorel ...", kCmdExportAll},
    {nullptr, 0},
    {"&Firmware Update...", kCmdFirmwareUpdate},
    {"&Clear Cache Data", kCmdClearCache},
    {nullptr, 0},
    {"&MIDI Settings...", kCmdMidiSettings, ','},
    {"&Zorel Global Settings...", kCmdGlobalSettings},
    {nullptr, 0},
    {"&Quit", kCmdQuit},
    {nullptr, 0},
    {"&Snapshots...", kCmdSnapshots},
};

constexpr MenuItemSpec kHelpItems[] = {
    {"&About", kCmdAbout},
    {"&Read Manual", kCmdReadManual},
};

constexpr MenuItemSpec kEditItems[] = {
    {"&Undo", kCmdUndo, 'z'},
    {"&Redo", kCmdRedo, 'z', true, 'y'},
    {nullptr, 0},
    {"&Compare with Stored Preset", kCmdCompare},
};

// No shortcut: Ctrl+comma and the Edit menu's keys stay the only ones taken.
constexpr MenuItemSpec kToolsItems[] = {
    {"MIDI &Monitor...", kCmdMidiMonitor},
};

constexpr MenuSpec kMenus[] = {
    {"&File", kFileItems},
    {"&Help", kHelpItems},
    {"&Edit", kEditItems},
    {"&Tools", kToolsItems},
};

} // namespace

std::span<const MenuSpec> MainMenuSpec() {
  return kMenus;
}

std::string MnemonicText(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '&') {
      if (i + 1 < text.size() && text[i + 1] == '&') {
        out += '&';
        ++i;
      } else {
        out += '_';
      }
    } else if (c == '_') {
      out += "__";
    } else {
      out += c;
    }
  }
  return out;
}

int EditorMenuCommand(int command) {
  switch (command) {
  case kCmdFirmwareUpdate:
    return 1;
  case kCmdGlobalSettings:
    return 2;
  case kCmdClearCache:
    return 3;
  case kCmdImportAll:
    return 5;
  case kCmdExportAll:
    return 6;
  default:
    return 0;
  }
}

} // namespace zorel::window

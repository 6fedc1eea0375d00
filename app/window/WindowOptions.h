#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/host/MidiBackend.h"

namespace zorel::window {

// The command line of zorelcontrol (GTK's own options are taken out first).
struct WindowOptions {
  MidiApiChoice api = MidiApiChoice::kAuto;
  std::string inPort;        // empty: the port of settings.ini
  std::string outPort;       // empty: the port of settings.ini
  bool monitor = false;      // open the MIDI monitor with the window, before the ports
  bool dumpState = false;    // print what the running instance shows, then exit
  bool checkDisplay = false; // exit 0 when a window could open, 1 otherwise
  bool help = false;
};

extern const char* const kWindowUsage;

// The options, or nullopt with `error` saying what is wrong.
std::optional<WindowOptions> ParseWindowOptions(const std::vector<std::string>& args,
                                                std::string& error);

} // namespace zorel::window

#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/host/MidiBackend.h"

namespace zorel::cli {

// What one zorelctl run was asked to do.
struct Invocation {
  MidiApiChoice api = MidiApiChoice::kAuto;
  std::string inPort;  // empty: the port of settings.ini
  std::string outPort; // empty: the port of settings.ini
  double timeoutSeconds = 10.0;
  bool yes = false;
  bool monitor = false; // print every MIDI message both ways, as the monitor window lists them
  std::string command;
  std::string file; // the FILE of the file commands
};

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

extern const char* const kUsage;

// The invocation, or nullopt with `error` saying what is wrong (an empty
// error: help was asked for).
std::optional<Invocation> ParseCommandLine(const std::vector<std::string>& args,
                                           std::string& error);

} // namespace zorel::cli

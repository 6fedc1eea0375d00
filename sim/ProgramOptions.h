#pragma once

// Command line of zorel-virtual-pedal. Parsed here, in the library, so that
// the parsing is tested without MIDI ports.

#include <span>
#include <string>
#include <string_view>

#include "sim/Misbehaviour.h"

namespace zorel::sim {

enum class MidiApiChoice {
  Auto, // the ALSA sequencer where it can be opened, JACK otherwise
  Alsa,
  Jack,
};

struct ProgramOptions {
  MidiApiChoice api = MidiApiChoice::Auto;
  std::string clientName = "Zorel";
  std::string statePath;       // empty: a fresh pedal, nothing saved
  std::string logPath;         // empty: no log; "-": standard output
  std::string firmwareOutPath; // empty: received images are only kept in memory
  bool commands = false;       // read pedal-side commands from standard input
  bool help = false;
  PedalConfig config;
};

struct ParsedOptions {
  ProgramOptions options;
  std::string error; // empty when the command line was valid
};

// `args` without the program name.
ParsedOptions ParseProgramOptions(std::span<const std::string_view> args);

std::string ProgramHelpText();

// The names of the two virtual ports the program opens.
inline constexpr std::string_view kInputPortName = "MIDI In";
inline constexpr std::string_view kOutputPortName = "MIDI Out";

} // namespace zorel::sim

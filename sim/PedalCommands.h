#pragma once

// The pedal-side actions the program reads from standard input with
// --commands, one per line.

#include <optional>
#include <string>
#include <string_view>

namespace zorel::sim {

struct PedalCommand {
  enum class Kind { Knob, Filter, IRName, Save, Quit };
  Kind kind = Kind::Quit;
  int first = 0;  // knob: sound parameter index; irname: IR number
  int second = 0; // knob: value
};

// nullopt with a reason in `error` for a line that is not a command; an
// empty (or blank) line is not a command and sets no error.
std::optional<PedalCommand> ParsePedalCommand(std::string_view line, std::string& error);

} // namespace zorel::sim

#include "sim/PedalCommands.h"

#include <charconv>
#include <vector>

#include "protocol/codec/ParamIds.h"

namespace zorel::sim {

namespace {

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    const size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

std::optional<int> Integer(std::string_view word, int min, int max) {
  int value = 0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size() || value < min || value > max)
    return std::nullopt;
  return value;
}

} // namespace

std::optional<PedalCommand> ParsePedalCommand(std::string_view line, std::string& error) {
  error.clear();
  const auto words = Words(line);
  if (words.empty()) return std::nullopt;
  const std::string_view verb = words[0];
  auto expectArgs = [&](size_t n, const char* usage) {
    if (words.size() == n + 1) return true;
    error = std::string("usage: ") + usage;
    return false;
  };
  if (verb == "knob") {
    if (!expectArgs(2, "knob INDEX VALUE")) return std::nullopt;
    const auto index = Integer(words[1], 0, kNumPresetParams - 1);
    const auto value = Integer(words[2], 0, 127);
    if (!index || !value) {
      error = "knob expects a sound parameter 0..73 and a value 0..127";
      return std::nullopt;
    }
    return PedalCommand{PedalCommand::Kind::Knob, *index, *value};
  }
  if (verb == "irname") {
    if (!expectArgs(1, "irname NUMBER")) return std::nullopt;
    const auto number = Integer(words[1], 0, 16383);
    if (!number) {
      error = "irname expects an IR number";
      return std::nullopt;
    }
    return PedalCommand{PedalCommand::Kind::IRName, *number, 0};
  }
  if (verb == "filter" && expectArgs(0, "filter")) return PedalCommand{PedalCommand::Kind::Filter};
  if (verb == "save" && expectArgs(0, "save")) return PedalCommand{PedalCommand::Kind::Save};
  if (verb == "quit" && expectArgs(0, "quit")) return PedalCommand{PedalCommand::Kind::Quit};
  if (error.empty()) error = "unknown command \"" + std::string(verb) + "\"";
  return std::nullopt;
}

} // namespace zorel::sim

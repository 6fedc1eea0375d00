// zorelctl shell: line commands on standard input, run one after another on
// the thread that runs the editor's ticks, which keep running while a line
// is awaited.
#include <poll.h>
#include <strings.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/cli/Commands.h"
#include "app/cli/ParamValueText.h"
#include "app/cli/ShellWords.h"
#include "protocol/codec/EditorMessages.h"
#include "protocol/codec/ParamIds.h"

namespace zorel::cli {

namespace {

// Standard input a line at a time, without blocking the editor's ticks.
class LineReader {
public:
  // A complete line, or false at the end of input.
  bool Next(Session& session, std::string& line) {
    for (;;) {
      if (const size_t nl = mBuffer.find('\n'); nl != std::string::npos) {
        line = mBuffer.substr(0, nl);
        mBuffer.erase(0, nl + 1);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return true;
      }
      if (mEnd) {
        if (mBuffer.empty()) return false;
        line = std::move(mBuffer);
        mBuffer.clear();
        return true;
      }
      if (Session::Interrupted()) return false;
      pollfd fd{STDIN_FILENO, POLLIN, 0};
      if (::poll(&fd, 1, 2) > 0) {
        char chunk[4096];
        const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n <= 0)
          mEnd = true;
        else
          mBuffer.append(chunk, static_cast<size_t>(n));
      }
      session.RunFor(std::chrono::milliseconds(0));
    }
  }

private:
  std::string mBuffer;
  bool mEnd = false;
};

// The words from `first` on, joined by single blanks: "name My Preset"
// needs no quotes.
std::string Joined(const std::vector<std::string>& words, size_t first) {
  std::string text;
  for (size_t i = first; i < words.size(); ++i) text += (i > first ? " " : "") + words[i];
  return text;
}

bool ParseInt(const std::string& text, int& value) {
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < -1000000 || v > 1000000) return false;
  value = static_cast<int>(v);
  return true;
}

// A parameter by number, or by name when exactly one has it (names with
// spaces may be written with underscores).
int FindParam(ZorelControl& e, const std::string& text, std::string& error) {
  int index = -1;
  if (ParseInt(text, index)) {
    if (e.ParamAt(index) == nullptr) error = "no parameter " + text;
    return e.ParamAt(index) ? index : -1;
  }
  std::string wanted = text;
  for (char& c : wanted)
    if (c == '_') c = ' ';
  int found = -1;
  for (int i = 0; i < e.ParamCount(); ++i) {
    if (strcasecmp(e.ParamAt(i)->Name(), wanted.c_str()) != 0) continue;
    if (found >= 0) {
      error = "several parameters are named \"" + wanted + "\"; use the number";
      return -1;
    }
    found = i;
  }
  if (found < 0) error = "no parameter named \"" + wanted + "\"";
  return found;
}

std::string Describe(ZorelControl& e, int index) {
  const iplug::IParam* p = e.ParamAt(index);
  char text[iplug::IParam::kMaxTextLength * 2];
  p->FormatCurrentWithUnit(text);
  char line[512];
  std::snprintf(line, sizeof line, "%3d  %-28s %-24s (%s)", index, p->Name(), text,
                DescribeParamRange(*p).c_str());
  return line;
}

std::string LastOrNothing(const std::vector<std::string>& texts) {
  return texts.empty() ? std::string("not possible now") : texts.back();
}

int PatchOffset(ZorelControl& e) {
  return e.ParamAt(kParamPatchOffset)->Int();
}

// Presses and releases a button of the surface.
template <typename Button> void Click(Session& session, Button button) {
  session.Locked([&](ZorelControl& e) { (e.*button)(true); });
  session.Locked([&](ZorelControl& e) { (e.*button)(false); });
}

bool Page(Session& session, const std::vector<std::string>& w, void (ZorelControl::*open)(),
          void (ZorelControl::*close)()) {
  if (w.size() != 2 || (w[1] != "open" && w[1] != "close"))
    return Fail(w[0], "say \"" + w[0] + " open\" or \"" + w[0] + " close\"");
  session.Locked([&](ZorelControl& e) { (e.*(w[1] == "open" ? open : close))(); });
  return session.WaitSettled() || Fail(w[0], session.WaitFailure());
}

// One line of the shell: its words (the command first) and whether it
// ends the shell.
struct ShellLine {
  const std::vector<std::string>& words;
  bool quit = false;
  const std::string& Command() const { return words[0]; }
};

// A command of the shell. Rows without help text continue into the next
// row's line of the help ("up | down"); an empty help text prints the usage
// alone. Arguments are counted without the command; -1 takes any number.
struct ShellCommand {
  const char* name;
  const char* usage;
  const char* help;
  int minArgs;
  int maxArgs;
  bool (*run)(Session&, ShellLine&);
  bool listed = true;
};

bool Settle(Session& session, const std::string& cmd) {
  return session.WaitSettled() || Fail(cmd, session.WaitFailure());
}

bool Quit(Session&, ShellLine& line) {
  line.quit = true;
  return true;
}

bool Help(Session&, ShellLine&);

bool Status(Session& session, ShellLine&) {
  return PrintStatus(session);
}

bool Params(Session& session, ShellLine&) {
  session.Locked([](ZorelControl& e) {
    for (int i = 0; i < e.ParamCount(); ++i) std::printf("%s\n", Describe(e, i).c_str());
  });
  return true;
}

// get and set; the value may be a shown text of several words ("All pots
// engaged").
bool GetOrSet(Session& session, ShellLine& line) {
  const auto& w = line.words;
  const std::string& cmd = line.Command();
  std::string error;
  const int index = session.Locked([&](ZorelControl& e) { return FindParam(e, w[1], error); });
  if (index < 0) return Fail(cmd, error);
  if (cmd == "set") {
    const auto value = session.Locked(
        [&](ZorelControl& e) { return ParseParamValue(*e.ParamAt(index), Joined(w, 2), error); });
    if (!value) return Fail(cmd, error);
    session.Locked(
        [&](ZorelControl& e) { e.SetParameterValue(index, e.ParamAt(index)->Normalize(*value)); });
    if (!session.WaitSettled()) return Fail(cmd, session.WaitFailure());
  }
  session.Locked([&](ZorelControl& e) { std::printf("%s\n", Describe(e, index).c_str()); });
  return true;
}

// select N, store [N]: N as the pedal shows it.
bool SelectOrStore(Session& session, ShellLine& line) {
  const auto& w = line.words;
  const std::string& cmd = line.Command();
  int shown = 0;
  const bool given = w.size() == 2;
  if (given && !ParseInt(w[1], shown)) return Fail(cmd, "\"" + w[1] + "\" is no preset number");
  const int slot = session.Locked([&](ZorelControl& e) {
    return given ? shown - PatchOffset(e) : e.State().mCurrentPresetSlot;
  });
  if (slot < 0 || slot >= kPresetSlotCount) return Fail(cmd, "no preset " + w[1]);
  if (cmd == "select") {
    session.Locked([&](ZorelControl& e) { e.Sender().SendSelectPreset(slot); });
  } else {
    // As on the surface: arm, walk to the slot, press again.
    Click(session, &ZorelControl::StorePress);
    for (int steps = 0; steps < kPresetSlotCount; ++steps) {
      const int current =
          session.Locked([](ZorelControl& e) { return e.State().mCurrentPresetSlot; });
      if (current == slot) break;
      Click(session, slot > current ? &ZorelControl::PresetUp : &ZorelControl::PresetDown);
    }
    Click(session, &ZorelControl::StorePress);
  }
  return Settle(session, cmd);
}

bool UpOrDown(Session& session, ShellLine& line) {
  Click(session, line.Command() == "up" ? &ZorelControl::PresetUp : &ZorelControl::PresetDown);
  return Settle(session, line.Command());
}

bool Recall(Session& session, ShellLine& line) {
  Click(session, &ZorelControl::RecallPress);
  Click(session, &ZorelControl::RecallPress);
  return Settle(session, line.Command());
}

bool Name(Session& session, ShellLine& line) {
  const std::string name = Joined(line.words, 1);
  if (name.empty() || name.size() > 32)
    return Fail(line.Command(), "usage: name TEXT (up to 32 characters)");
  session.Locked([&](ZorelControl& e) { e.CommitPresetName(name); });
  return Settle(session, line.Command());
}

bool UndoOrRedo(Session& session, ShellLine& line) {
  const bool undo = line.Command() == "undo";
  const bool done = session.Locked([&](ZorelControl& e) { return undo ? e.Undo() : e.Redo(); });
  if (!done) return Fail(line.Command(), undo ? "nothing to undo" : "nothing to redo");
  return Settle(session, line.Command());
}

bool Compare(Session& session, ShellLine& line) {
  const size_t seen = session.Modal().Messages().size();
  if (!session.Locked([](ZorelControl& e) { return e.ToggleCompare(); })) {
    session.RunFor(std::chrono::milliseconds(100)); // the reason is a box of the next tick
    return Fail(line.Command(), LastOrNothing(session.MessagesSince(seen, 0)));
  }
  const bool comparing = session.Locked([](ZorelControl& e) { return e.Comparing(); });
  std::printf("%s\n",
              comparing ? "comparing: the stored preset is playing" : "back to the edited preset");
  return Settle(session, line.Command());
}

bool ImportWav(Session& session, ShellLine& line) {
  const std::string& cmd = line.Command();
  const std::string& file = line.words[1];
  const size_t seen = session.Modal().Messages().size();
  session.Modal().ClearRefused();
  session.Modal().AnswerNextFilePrompt(file);
  const bool started = session.Locked(
      [&](ZorelControl& e) { return cmd == "ir7" ? e.ImportWavForIR7() : e.ImportWavForIR8(); });
  if (!started) {
    session.RunFor(std::chrono::milliseconds(100));
    const auto texts = session.MessagesSince(seen, 0);
    return Fail(cmd, session.Modal().Refused() ? "not confirmed"
                     : texts.empty()           ? file + " was not imported"
                                               : texts.back());
  }
  const size_t confirmed = session.Modal().Messages().size();
  if (!session.WaitSettled()) return Fail(cmd, session.WaitFailure());
  const auto texts = session.MessagesSince(confirmed, 0);
  return texts.empty() || Fail(cmd, texts.back());
}

bool GlobalPage(Session& session, ShellLine& line) {
  return Page(session, line.words, &ZorelControl::OpenGlobalSettings,
              &ZorelControl::CloseGlobalSettings);
}

bool MidiCCPage(Session& session, ShellLine& line) {
  return Page(session, line.words, &ZorelControl::OpenMidiCCPage, &ZorelControl::CloseMidiCCPage);
}

bool ProgramMapPage(Session& session, ShellLine& line) {
  return Page(session, line.words, &ZorelControl::OpenProgramMapPage,
              &ZorelControl::CloseProgramMapPage);
}

bool FactoryResetCommand(Session& session, ShellLine& line) {
  const std::string& cmd = line.Command();
  const std::string& which = line.words[1];
  const int scope = which == "all"        ? kResetAll
                    : which == "presets"  ? kResetPresets
                    : which == "settings" ? kResetSettings
                                          : -1;
  if (scope < 0) return Fail(cmd, "usage: factory-reset all|presets|settings");
  session.Modal().ClearRefused();
  session.Locked([&](ZorelControl& e) { e.FactoryReset(scope); });
  if (session.Modal().Refused()) return Fail(cmd, "not confirmed");
  if (!session.WaitSettled()) return Fail(cmd, session.WaitFailure());
  // The pedal now holds other presets: read them as a new connection would.
  session.Locked([](ZorelControl& e) { e.Reconnect(); });
  return session.Connect() || Fail(cmd, session.WaitFailure());
}

bool ReconnectCommand(Session& session, ShellLine& line) {
  session.Locked([](ZorelControl& e) { e.Reconnect(); });
  return session.Connect() || Fail(line.Command(), session.WaitFailure());
}

bool Wait(Session& session, ShellLine& line) {
  double seconds = 1.0;
  if (line.words.size() == 2) {
    char* end = nullptr;
    seconds = std::strtod(line.words[1].c_str(), &end);
    if (*end != '\0' || !(seconds >= 0 && seconds <= 3600))
      return Fail(line.Command(), "\"" + line.words[1] + "\" is no number of seconds");
  }
  session.RunFor(std::chrono::milliseconds(static_cast<int64_t>(seconds * 1000)));
  return true;
}

bool BackupCommand(Session& session, ShellLine& line) {
  return Backup(session, line.words[1]);
}
bool RestoreCommand(Session& session, ShellLine& line) {
  return Restore(session, line.words[1]);
}
bool SavePresetCommand(Session& session, ShellLine& line) {
  return SavePreset(session, line.words[1]);
}
bool LoadPresetCommand(Session& session, ShellLine& line) {
  return LoadPreset(session, line.words[1]);
}
bool FirmwareCommand(Session& session, ShellLine& line) {
  return UpdateFirmware(session, line.words[1]);
}

// Every command of the shell, in the order the help lists them.
const ShellCommand kShellCommands[] = {
    {"status", "status", "the device lines", 0, 0, Status},
    {"params", "params", "every parameter: number, name, value", 0, -1, Params},
    {"get", "get PARAM", "one parameter (PARAM: its number or name)", 1, 1, GetOrSet},
    {"set", "set PARAM VALUE",
     "change a parameter as the control surface would; VALUE as\n"
     "the parameter shows it (441Hz, 1-128, Enabled) or its number",
     2, -1, GetOrSet},
    {"select", "select N", "preset N as the pedal shows it", 1, 1, SelectOrStore},
    {"up", "up", nullptr, 0, 0, UpOrDown},
    {"down", "down", "the preset buttons", 0, 0, UpOrDown},
    {"store", "store [N]", "store the edited preset into N (default: the current one)", 0, 1,
     SelectOrStore},
    {"recall", "recall", "reload the current preset, dropping edits", 0, 0, Recall},
    {"name", "name TEXT", "rename the current preset", 1, -1, Name},
    {"undo", "undo", nullptr, 0, 0, UndoOrRedo},
    {"redo", "redo",
     "take back / make again the last edit of the current preset\n"
     "(one \"set\", model choice or rename; a new preset starts afresh)",
     0, 0, UndoOrRedo},
    {"compare", "compare",
     "switch between the edited preset and its stored version,\n"
     "sending only the values that differ",
     0, 0, Compare},
    {"ir7", "ir7 FILE.wav", nullptr, 1, 1, ImportWav},
    {"ir8", "ir8 FILE.wav", "import a WAV as user IR 7 / IR 8 of the preset and upload it", 1, 1,
     ImportWav},
    {"global", "global open|close", "the global-settings page (set its parameters with \"set\")", 1,
     1, GlobalPage},
    {"midicc", "midicc open|close", "the MIDI controller page", 1, 1, MidiCCPage},
    {"progmap", "progmap open|close", "the program-change map page", 1, 1, ProgramMapPage},
    {"factory-reset", "factory-reset all|presets|settings", "", 1, 1, FactoryResetCommand},
    {"backup", "backup FILE", nullptr, 1, 1, BackupCommand},
    {"restore", "restore FILE", nullptr, 1, 1, RestoreCommand},
    {"save-preset", "save-preset FILE", nullptr, 1, 1, SavePresetCommand},
    {"load-preset", "load-preset FILE", nullptr, 1, 1, LoadPresetCommand},
    {"firmware", "firmware FILE", "", 1, 1, FirmwareCommand},
    {"reconnect", "reconnect", "connect again and read what changed", 0, -1, ReconnectCommand},
    {"wait", "wait [SECONDS]", "let the editor and the pedal run (default 1)", 0, 1, Wait},
    {"help", "help", nullptr, 0, -1, Help},
    {"quit", "quit", "", 0, -1, Quit},
    {"exit", "exit", "", 0, -1, Quit, false},
};

// The help, from the table: usages joined by " | " up to the row that
// carries the text, which starts in column 33 and continues there.
std::string ShellHelpText() {
  constexpr size_t kUsageWidth = 30;
  std::string text = "Commands (one per line):\n";
  std::string usages;
  for (const ShellCommand& c : kShellCommands) {
    if (!c.listed) continue;
    usages += (usages.empty() ? "" : " | ") + std::string(c.usage);
    if (c.help == nullptr) continue;
    std::string line = "  " + usages;
    usages.clear();
    const std::string help = c.help;
    if (!help.empty()) {
      line.resize(std::max(line.size() + 1, kUsageWidth + 2), ' ');
      for (char ch : help)
        line +=
            ch == '\n' ? std::string("\n") + std::string(kUsageWidth + 2, ' ') : std::string(1, ch);
    }
    text += line + "\n";
  }
  text += "Words with blanks go in quotes: ir7 \"Big Room.wav\" ('single' and \"double\", \\\" "
          "inside \"\").\n";
  return text;
}

bool Help(Session&, ShellLine&) {
  std::printf("%s", ShellHelpText().c_str());
  return true;
}

bool Execute(Session& session, const std::string& text, bool& quit) {
  // A comment may hold anything, an apostrophe included.
  const size_t start = text.find_first_not_of(" \t");
  if (start == std::string::npos || text[start] == '#') return true;
  std::string error;
  const auto words = SplitShellWords(text, error);
  if (!words) return Fail("usage", error + ": " + text);
  if (words->empty()) return true;
  ShellLine line{*words};
  const std::string& cmd = line.Command();
  for (const ShellCommand& c : kShellCommands) {
    if (cmd != c.name) continue;
    const int args = static_cast<int>(words->size()) - 1;
    if (args < c.minArgs || (c.maxArgs >= 0 && args > c.maxArgs))
      return Fail(cmd, std::string("usage: ") + c.usage);
    const bool ok = c.run(session, line);
    quit = line.quit;
    return ok;
  }
  return Fail(cmd, "unknown command (\"help\" lists them)");
}

} // namespace

bool RunShell(Session& session) {
  LineReader reader;
  bool allOk = true;
  bool quit = false;
  const bool prompt = ::isatty(STDIN_FILENO) != 0;
  std::string line;
  while (!quit) {
    if (prompt) {
      std::printf("zorel> ");
      std::fflush(stdout);
    }
    if (!reader.Next(session, line)) break;
    if (!Execute(session, line, quit)) allOk = false;
    std::fflush(stdout);
  }
  return allOk;
}

} // namespace zorel::cli

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

constexpr const char* kShellHelp = R"(Commands (one per line):
  status                        the device lines
  params                        every parameter: number, name, value
  get PARAM                     one parameter (PARAM: its number or name)
  set PARAM VALUE               change a parameter as the control surface would; VALUE as
                                the parameter shows it (441Hz, 1-128, Enabled) or its number
  select N                      preset N as the pedal shows it
  up | down                     the preset buttons
  store [N]                     store the edited preset into N (default: the current one)
  recall                        reload the current preset, dropping edits
  name TEXT                     rename the current preset
  undo | redo                   take back / make again the last edit of the current preset
                                (one "set", model choice or rename; a new preset starts afresh)
  compare                       switch between the edited preset and its stored version,
                                sending only the values that differ
  ir7 FILE.wav | ir8 FILE.wav   import a WAV as user IR 7 / IR 8 of the preset and upload it
  global open|close             the global-settings page (set its parameters with "set")
  midicc open|close             the MIDI controller page
  progmap open|close            the program-change map page
  factory-reset all|presets|settings
  backup FILE | restore FILE | save-preset FILE | load-preset FILE | firmware FILE
  reconnect                     connect again and read what changed
  wait [SECONDS]                let the editor and the pedal run (default 1)
  help | quit
Words with blanks go in quotes: ir7 "Big Room.wav" ('single' and "double", \" inside "").
)";

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

bool Execute(Session& session, const std::string& line, bool& quit) {
  // A comment may hold anything, an apostrophe included.
  const size_t start = line.find_first_not_of(" \t");
  if (start == std::string::npos || line[start] == '#') return true;
  std::string error;
  const auto words = SplitShellWords(line, error);
  if (!words) return Fail("usage", error + ": " + line);
  const std::vector<std::string>& w = *words;
  if (w.empty()) return true;
  const std::string& cmd = w[0];
  auto needs = [&](size_t n, const char* usage) {
    return w.size() == n + 1 || Fail(cmd, std::string("usage: ") + usage);
  };

  if (cmd == "quit" || cmd == "exit") {
    quit = true;
    return true;
  }
  if (cmd == "help") {
    std::printf("%s", kShellHelp);
    return true;
  }
  if (cmd == "status") return needs(0, "status") && PrintStatus(session);
  if (cmd == "params") {
    session.Locked([](ZorelControl& e) {
      for (int i = 0; i < e.ParamCount(); ++i) std::printf("%s\n", Describe(e, i).c_str());
    });
    return true;
  }
  if (cmd == "get" || cmd == "set") {
    // The value may be a shown text of several words ("All pots engaged").
    const bool fits = cmd == "get" ? w.size() == 2 : w.size() >= 3;
    if (!fits) return Fail(cmd, cmd == "get" ? "usage: get PARAM" : "usage: set PARAM VALUE");
    const int index = session.Locked([&](ZorelControl& e) { return FindParam(e, w[1], error); });
    if (index < 0) return Fail(cmd, error);
    if (cmd == "set") {
      const auto value = session.Locked(
          [&](ZorelControl& e) { return ParseParamValue(*e.ParamAt(index), Joined(w, 2), error); });
      if (!value) return Fail(cmd, error);
      session.Locked([&](ZorelControl& e) {
        e.SetParameterValue(index, e.ParamAt(index)->Normalize(*value));
      });
      if (!session.WaitSettled()) return Fail(cmd, session.WaitFailure());
    }
    session.Locked([&](ZorelControl& e) { std::printf("%s\n", Describe(e, index).c_str()); });
    return true;
  }
  if (cmd == "select" || cmd == "store") {
    int shown = 0;
    const bool given = w.size() == 2;
    if (w.size() > 2 || (cmd == "select" && !given))
      return Fail(cmd, cmd == "select" ? "usage: select N" : "usage: store [N]");
    if (given && !ParseInt(w[1], shown)) return Fail(cmd, "\"" + w[1] + "\" is no preset number");
    const int slot = session.Locked([&](ZorelControl& e) {
      return given ? shown - PatchOffset(e) : e.State().mCurrentPresetSlot;
    });
    if (slot < 0 || slot >= SessionState::kPresetSlots) return Fail(cmd, "no preset " + w[1]);
    if (cmd == "select") {
      session.Locked([&](ZorelControl& e) { e.Sender().SendSelectPreset(slot); });
    } else {
      // As on the surface: arm, walk to the slot, press again.
      Click(session, &ZorelControl::StorePress);
      for (int steps = 0; steps < SessionState::kPresetSlots; ++steps) {
        const int current =
            session.Locked([](ZorelControl& e) { return e.State().mCurrentPresetSlot; });
        if (current == slot) break;
        Click(session, slot > current ? &ZorelControl::PresetUp : &ZorelControl::PresetDown);
      }
      Click(session, &ZorelControl::StorePress);
    }
    return session.WaitSettled() || Fail(cmd, session.WaitFailure());
  }
  if (cmd == "up" || cmd == "down" || cmd == "recall") {
    if (!needs(0, cmd.c_str())) return false;
    if (cmd == "recall") {
      Click(session, &ZorelControl::RecallPress);
      Click(session, &ZorelControl::RecallPress);
    } else {
      Click(session, cmd == "up" ? &ZorelControl::PresetUp : &ZorelControl::PresetDown);
    }
    return session.WaitSettled() || Fail(cmd, session.WaitFailure());
  }
  if (cmd == "name") {
    const std::string name = Joined(w, 1);
    if (name.empty() || name.size() > 32)
      return Fail(cmd, "usage: name TEXT (up to 32 characters)");
    session.Locked([&](ZorelControl& e) { e.CommitPresetName(name); });
    return session.WaitSettled() || Fail(cmd, session.WaitFailure());
  }
  if (cmd == "undo" || cmd == "redo") {
    if (!needs(0, cmd.c_str())) return false;
    const bool done =
        session.Locked([&](ZorelControl& e) { return cmd == "undo" ? e.Undo() : e.Redo(); });
    if (!done) return Fail(cmd, cmd == "undo" ? "nothing to undo" : "nothing to redo");
    return session.WaitSettled() || Fail(cmd, session.WaitFailure());
  }
  if (cmd == "compare") {
    if (!needs(0, "compare")) return false;
    const size_t seen = session.Modal().Messages().size();
    if (!session.Locked([](ZorelControl& e) { return e.ToggleCompare(); })) {
      session.RunFor(std::chrono::milliseconds(100)); // the reason is a box of the next tick
      return Fail(cmd, LastOrNothing(session.MessagesSince(seen, 0)));
    }
    const bool comparing = session.Locked([](ZorelControl& e) { return e.Comparing(); });
    std::printf("%s\n", comparing ? "comparing: the stored preset is playing"
                                  : "back to the edited preset");
    return session.WaitSettled() || Fail(cmd, session.WaitFailure());
  }
  if (cmd == "ir7" || cmd == "ir8") {
    if (!needs(1, "ir7 FILE.wav | ir8 FILE.wav")) return false;
    const size_t seen = session.Modal().Messages().size();
    session.Modal().ClearRefused();
    session.Modal().AnswerNextFilePrompt(w[1]);
    const bool started = session.Locked(
        [&](ZorelControl& e) { return cmd == "ir7" ? e.ImportWavForIR7() : e.ImportWavForIR8(); });
    if (!started) {
      session.RunFor(std::chrono::milliseconds(100));
      const auto texts = session.MessagesSince(seen, 0);
      return Fail(cmd, session.Modal().Refused() ? "not confirmed"
                       : texts.empty()           ? w[1] + " was not imported"
                                                 : texts.back());
    }
    const size_t confirmed = session.Modal().Messages().size();
    if (!session.WaitSettled()) return Fail(cmd, session.WaitFailure());
    const auto texts = session.MessagesSince(confirmed, 0);
    return texts.empty() || Fail(cmd, texts.back());
  }
  if (cmd == "global")
    return Page(session, w, &ZorelControl::OpenGlobalSettings, &ZorelControl::CloseGlobalSettings);
  if (cmd == "midicc")
    return Page(session, w, &ZorelControl::OpenMidiCCPage, &ZorelControl::CloseMidiCCPage);
  if (cmd == "progmap")
    return Page(session, w, &ZorelControl::OpenProgramMapPage, &ZorelControl::CloseProgramMapPage);
  if (cmd == "factory-reset") {
    if (!needs(1, "factory-reset all|presets|settings")) return false;
    int scope = -1;
    if (w[1] == "all")
      scope = kResetAll;
    else if (w[1] == "presets")
      scope = kResetPresets;
    else if (w[1] == "settings")
      scope = kResetSettings;
    else
      return Fail(cmd, "usage: factory-reset all|presets|settings");
    session.Modal().ClearRefused();
    session.Locked([&](ZorelControl& e) { e.FactoryReset(scope); });
    if (session.Modal().Refused()) return Fail(cmd, "not confirmed");
    if (!session.WaitSettled()) return Fail(cmd, session.WaitFailure());
    // The pedal now holds other presets: read them as a new connection would.
    session.Locked([](ZorelControl& e) { e.Reconnect(); });
    return session.Connect() || Fail(cmd, session.WaitFailure());
  }
  if (cmd == "reconnect") {
    session.Locked([](ZorelControl& e) { e.Reconnect(); });
    return session.Connect() || Fail(cmd, session.WaitFailure());
  }
  if (cmd == "wait") {
    double seconds = 1.0;
    if (w.size() > 2) return Fail(cmd, "usage: wait [SECONDS]");
    if (w.size() == 2) {
      char* end = nullptr;
      seconds = std::strtod(w[1].c_str(), &end);
      if (*end != '\0' || !(seconds >= 0 && seconds <= 3600))
        return Fail(cmd, "\"" + w[1] + "\" is no number of seconds");
    }
    session.RunFor(std::chrono::milliseconds(static_cast<int64_t>(seconds * 1000)));
    return true;
  }
  if (cmd == "backup" || cmd == "restore" || cmd == "save-preset" || cmd == "load-preset" ||
      cmd == "firmware") {
    if (!needs(1, (cmd + " FILE").c_str())) return false;
    if (cmd == "backup") return Backup(session, w[1]);
    if (cmd == "restore") return Restore(session, w[1]);
    if (cmd == "save-preset") return SavePreset(session, w[1]);
    if (cmd == "load-preset") return LoadPreset(session, w[1]);
    return UpdateFirmware(session, w[1]);
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

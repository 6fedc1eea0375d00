#include "app/cli/CommandLine.h"

#include <cmath>
#include <cstdlib>

namespace zorel::cli {

const char* const kUsage =
    R"(Usage: zorelctl [--api alsa|jack] [--in PORT] [--out PORT] [--timeout SECONDS] [--monitor] COMMAND
  ports                       list MIDI input and output ports; "*" marks the pair the pedal answers on
  status                      connect, bring the library cache up to date, exit
  backup FILE.q3b             export all presets and the IRs they use
  restore FILE.q3b [--yes]    import a bulk file into the pedal, then read its presets back
  save-preset FILE.q3p        save the current preset (with its user IRs)
  load-preset FILE.q3p [--yes]
  firmware FILE.bin [--yes]
  snapshots                   list the snapshots in the library (date, operation, presets and IRs)
  restore-snapshot NAME [--yes]
                              put a snapshot back (NAME as listed, or its number), with the
                              global settings it holds, then read the presets back
  doctor                      check the MIDI link: 35 harmless requests, their round-trip
                              times, lost and damaged replies, and what they mean
  shell                       line commands on standard input: set a parameter, select, store, recall,
                              import a WAV into IR 7 / IR 8, global settings, factory reset,
                              undo / redo of edits, compare with the stored preset, ...
                              (quote words with blanks: ir7 "Big Room.wav"; "help" lists them)

zorelctl asks for the pedal the moment the ports are open (then every 3.3 s
until it answers), so a command on a pedal whose presets are all cached takes
about as long as the few messages it exchanges.

Without --in / --out the ports of settings.ini are used. When settings.ini
names none (or ports that are not there), zorelctl finds the pedal: it sends
the identity request to every output, listens on every input for about a
second, uses the pair on which the pedal answers and saves it in settings.ini.
--monitor prints every MIDI message of the command, both ways, one line each:
seconds since the start, "out" (to the pedal) or "in", length in bytes, and
what the message is ("request preset 10", "preset dump 10, checksum ok").
settings.ini and the library are in $ZOREL_HOME, else $XDG_DATA_HOME/ZorelControl, else
~/.local/share/ZorelControl. Every command prints the device lines the window
shows (DEVICE, VERSION, SERIAL) as soon as the pedal tells them. --timeout
(default 10) is how long zorelctl waits for the pedal to answer. Commands that overwrite something on the pedal or on
disk only go ahead with --yes. Before anything overwrites the pedal (restore,
load-preset, firmware, a store or factory reset in the shell), what it holds is
written to the library's Snapshots folder (the last 50 are kept); when no
snapshot can be written the command stops, unless --yes says to go on without.
Exit status: 0 success, 1 failure, 2 bad usage.
)";

namespace {

bool TakesFile(const std::string& command) {
  return command == "backup" || command == "restore" || command == "save-preset" ||
         command == "load-preset" || command == "firmware" || command == "restore-snapshot";
}

bool Known(const std::string& command) {
  return TakesFile(command) || command == "ports" || command == "status" || command == "shell" ||
         command == "snapshots" || command == "doctor";
}

} // namespace

std::optional<Invocation> ParseCommandLine(const std::vector<std::string>& args,
                                           std::string& error) {
  Invocation inv;
  std::vector<std::string> words;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](const char* option) -> const std::string* {
      if (i + 1 >= args.size()) {
        error = std::string(option) + " needs a value";
        return nullptr;
      }
      return &args[++i];
    };
    if (a == "-h" || a == "--help") {
      error.clear();
      return std::nullopt;
    }
    if (a == "--yes" || a == "-y") {
      inv.yes = true;
    } else if (a == "--monitor") {
      inv.monitor = true;
    } else if (a == "--api") {
      const std::string* v = value("--api");
      if (!v) return std::nullopt;
      if (*v == "alsa")
        inv.api = MidiApiChoice::kAlsa;
      else if (*v == "jack")
        inv.api = MidiApiChoice::kJack;
      else if (*v == "auto")
        inv.api = MidiApiChoice::kAuto;
      else {
        error = "--api takes alsa or jack, not \"" + *v + "\"";
        return std::nullopt;
      }
    } else if (a == "--in" || a == "--out") {
      const std::string* v = value(a.c_str());
      if (!v) return std::nullopt;
      if (v->empty()) {
        error = a + " needs a port name";
        return std::nullopt;
      }
      (a == "--in" ? inv.inPort : inv.outPort) = *v;
    } else if (a == "--timeout") {
      const std::string* v = value("--timeout");
      if (!v) return std::nullopt;
      char* end = nullptr;
      const double t = std::strtod(v->c_str(), &end);
      if (end == v->c_str() || *end != '\0' || !std::isfinite(t) || t <= 0 || t > 86400) {
        error = "--timeout takes a number of seconds, not \"" + *v + "\"";
        return std::nullopt;
      }
      inv.timeoutSeconds = t;
    } else if (a.size() > 1 && a[0] == '-') {
      error = "unknown option " + a;
      return std::nullopt;
    } else {
      words.push_back(a);
    }
  }
  if (words.empty()) {
    error = "no command given";
    return std::nullopt;
  }
  inv.command = words[0];
  if (!Known(inv.command)) {
    error = "unknown command \"" + inv.command + "\"";
    return std::nullopt;
  }
  const size_t wanted = TakesFile(inv.command) ? 2 : 1;
  if (words.size() != wanted) {
    error = wanted == 2
                ? inv.command + (inv.command == "restore-snapshot" ? " needs exactly one NAME"
                                                                   : " needs exactly one FILE")
                : inv.command + " takes no arguments";
    return std::nullopt;
  }
  if (wanted == 2) inv.file = words[1];
  return inv;
}

} // namespace zorel::cli

#include "sim/ProgramOptions.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <optional>

namespace zorel::sim {

namespace {

std::optional<double> ParseNumber(std::string_view text) {
  double value = 0.0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

using Setter = std::function<std::string(ProgramOptions&, std::string_view)>;

Setter ShareOf(double Misbehaviour::*member) {
  return [member](ProgramOptions& o, std::string_view v) -> std::string {
    const auto share = ParseNumber(v);
    if (!share || *share < 0.0 || *share > 1.0) return "expects a share between 0 and 1";
    o.config.misbehaviour.*member = *share;
    return {};
  };
}

std::optional<uint64_t> Milliseconds(std::string_view v) {
  const auto ms = ParseNumber(v);
  if (!ms || *ms < 0.0 || *ms > 3.6e6) return std::nullopt;
  return static_cast<uint64_t>(std::llround(*ms * 1000.0));
}

Setter MillisecondsOf(uint64_t Misbehaviour::*member) {
  return [member](ProgramOptions& o, std::string_view v) -> std::string {
    const auto us = Milliseconds(v);
    if (!us) return "expects milliseconds (0 to 3600000)";
    o.config.misbehaviour.*member = *us;
    return {};
  };
}

Setter Text(std::string ProgramOptions::*member) {
  return [member](ProgramOptions& o, std::string_view v) -> std::string {
    if (v.empty()) return "expects a value";
    o.*member = std::string(v);
    return {};
  };
}

const std::map<std::string_view, Setter>& ValueOptions() {
  static const std::map<std::string_view, Setter> options = {
      {"--api",
       [](ProgramOptions& o, std::string_view v) -> std::string {
         if (v == "auto")
           o.api = MidiApiChoice::Auto;
         else if (v == "alsa")
           o.api = MidiApiChoice::Alsa;
         else if (v == "jack")
           o.api = MidiApiChoice::Jack;
         else
           return "expects auto, alsa or jack";
         return {};
       }},
      {"--name", Text(&ProgramOptions::clientName)},
      {"--state", Text(&ProgramOptions::statePath)},
      {"--log", Text(&ProgramOptions::logPath)},
      {"--firmware-out", Text(&ProgramOptions::firmwareOutPath)},
      {"--seed",
       [](ProgramOptions& o, std::string_view v) -> std::string {
         uint64_t seed = 0;
         const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), seed);
         if (ec != std::errc() || end != v.data() + v.size()) return "expects a whole number";
         o.config.seed = seed;
         return {};
       }},
      {"--drop", ShareOf(&Misbehaviour::dropShare)},
      {"--corrupt-block", ShareOf(&Misbehaviour::corruptBlockShare)},
      {"--corrupt-transfer", ShareOf(&Misbehaviour::corruptTransferShare)},
      {"--corrupt-received", ShareOf(&Misbehaviour::corruptReceivedShare)},
      {"--cut", ShareOf(&Misbehaviour::cutShare)},
      {"--delay", MillisecondsOf(&Misbehaviour::delayUs)},
      {"--delay-jitter", MillisecondsOf(&Misbehaviour::delayJitterUs)},
      {"--ir-gap",
       [](ProgramOptions& o, std::string_view v) -> std::string {
         const auto us = Milliseconds(v);
         if (!us) return "expects milliseconds (0 to 3600000)";
         o.config.irChunkGapUs = *us;
         return {};
       }},
      {"--report-version",
       [](ProgramOptions& o, std::string_view v) -> std::string {
         const auto version = ParseNumber(v);
         const long tenths = version ? std::lround(*version * 10.0) : -1;
         if (tenths < 0 || tenths > 127) return "expects a version from 0.0 to 12.7";
         o.config.misbehaviour.reportedVersionTimes10 = static_cast<int>(tenths);
         return {};
       }},
  };
  return options;
}

} // namespace

ParsedOptions ParseProgramOptions(std::span<const std::string_view> args) {
  ParsedOptions parsed;
  ProgramOptions& o = parsed.options;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") {
      o.help = true;
      continue;
    }
    if (arg == "--ir-burst") {
      o.config.misbehaviour.irDumpBurst = true;
      continue;
    }
    if (arg == "--wire") {
      o.config.misbehaviour.wirePacing = true;
      continue;
    }
    if (arg == "--commands") {
      o.commands = true;
      continue;
    }
    std::string_view value;
    bool hasValue = false;
    if (const size_t eq = arg.find('='); eq != std::string_view::npos) {
      value = arg.substr(eq + 1);
      arg = arg.substr(0, eq);
      hasValue = true;
    }
    const auto option = ValueOptions().find(arg);
    if (option == ValueOptions().end()) {
      parsed.error = "unknown option " + std::string(arg);
      return parsed;
    }
    if (!hasValue) {
      if (i + 1 >= args.size()) {
        parsed.error = std::string(arg) + " expects a value";
        return parsed;
      }
      value = args[++i];
    }
    if (std::string problem = option->second(o, value); !problem.empty()) {
      parsed.error = std::string(arg) + " " + problem + " (got \"" + std::string(value) + "\")";
      return parsed;
    }
  }
  return parsed;
}

std::string ProgramHelpText() {
  return R"(Usage: zorel-virtual-pedal [options]

A virtual Dravix Movrant Zorel: opens one virtual MIDI input port ("MIDI In"
of the client NAME) and one virtual output port ("MIDI Out" of the client
"NAME Out") and answers the editor's SysEx messages as the pedal does. The
exact port names are printed at start-up; choose them in the editor's
Preferences (the editor's input is the pedal's "MIDI Out"). Runs until
SIGINT or SIGTERM, then saves the state and closes the ports.

MIDI:
  --api auto|alsa|jack    MIDI system (default auto: the ALSA sequencer where
                          it can be opened, JACK otherwise)
  --name NAME             client name of the ports (default "Zorel"); give
                          each pedal that runs at the same time its own

State and logging:
  --state FILE            keep the pedal in FILE: loaded at start (a fresh
                          factory pedal when FILE does not exist), saved
                          within a second of every change and at exit; a
                          damaged FILE is refused, not overwritten
  --log FILE              log every message both ways in hex ("-" for
                          standard output): time, in/out/drop, kind, length
  --firmware-out FILE     write every firmware image the loader accepts
  --commands              read pedal-side actions from standard input, one
                          per line: "knob INDEX VALUE" (a knob of sound
                          parameter INDEX, 0..73), "filter" (the FILTER
                          footswitch), "irname NUMBER" (send that IR's name
                          report), "save", "quit"

Misbehaviour (each independent; shares are probabilities 0..1 per message):
  --drop SHARE            lose outgoing messages
  --corrupt-block SHARE   send block messages (preset dumps, settings blocks,
                          IR name pages) with a wrong block checksum
  --corrupt-transfer SHARE
                          send the last chunk of IR dumps with a wrong
                          transfer checksum
  --corrupt-received SHARE
                          keep a received preset or parameter change with
                          one value changed (checksum made to match)
  --cut SHARE             cut messages short (tail lost, F7 kept)
  --delay MS              answer MS milliseconds late
  --delay-jitter MS       plus a random extra of up to MS milliseconds
  --ir-gap MS             gap between the chunks of an IR dump (default 20)
  --ir-burst              send the chunks of an IR dump in one burst
  --report-version V      report firmware version V (e.g. 0.9 or 12.0) in
                          the identity instead of the real one (1.1)
  --wire                  pace every outgoing byte at the MIDI wire rate
                          (31250 baud, 320 microseconds a byte)
  --seed N                seed of every random choice (default 1)

  -h, --help              this text
)";
}

} // namespace zorel::sim

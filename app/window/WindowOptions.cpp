#include "app/window/WindowOptions.h"

namespace zorel::window {

const char* const kWindowUsage =
    R"(Usage: zorelcontrol [--api alsa|jack] [--in PORT] [--out PORT] [--monitor]
       zorelcontrol --dump-state | --check-display | --help

Opens the ZorelControl window. Only one runs at a time: a second start
brings the running window to the front and exits.
  --api alsa|jack   the MIDI system (default: the ALSA sequencer where there
                    is one, else JACK)
  --in PORT         the pedal's MIDI port to read from, for this run only
  --out PORT        the pedal's MIDI port to write to, for this run only
  --monitor         open Tools > MIDI Monitor at the start, so that it lists
                    the whole connection from the first message
  --dump-state      print what the running window shows (controls, texts,
                    dialogs) and exit; 1 when none is running
  --check-display   exit 0 when a window can be opened here, 1 when not

Without --in / --out the ports chosen in File > MIDI Settings... are used;
when none are chosen (or they are not there), the window finds the pedal by
asking every port, uses the pair that answers and saves it.
settings.ini and the library are in $ZOREL_HOME, else
$XDG_DATA_HOME/ZorelControl, else ~/.local/share/ZorelControl.
)";

std::optional<WindowOptions> ParseWindowOptions(const std::vector<std::string>& args,
                                                std::string& error) {
  WindowOptions options;
  error.clear();
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string* {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        error = a + " needs a value";
        return nullptr;
      }
      return &args[++i];
    };
    if (a == "-h" || a == "--help") {
      options.help = true;
    } else if (a == "--monitor") {
      options.monitor = true;
    } else if (a == "--dump-state") {
      options.dumpState = true;
    } else if (a == "--check-display") {
      options.checkDisplay = true;
    } else if (a == "--api") {
      const std::string* v = value();
      if (v == nullptr) return std::nullopt;
      if (*v == "alsa") {
        options.api = MidiApiChoice::kAlsa;
      } else if (*v == "jack") {
        options.api = MidiApiChoice::kJack;
      } else if (*v == "auto") {
        options.api = MidiApiChoice::kAuto;
      } else {
        error = "--api takes alsa or jack, not \"" + *v + "\"";
        return std::nullopt;
      }
    } else if (a == "--in" || a == "--out") {
      const std::string* v = value();
      if (v == nullptr) return std::nullopt;
      (a == "--in" ? options.inPort : options.outPort) = *v;
    } else {
      error = "unknown argument \"" + a + "\"";
      return std::nullopt;
    }
  }
  return options;
}

} // namespace zorel::window

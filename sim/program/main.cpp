// zorel-virtual-pedal: the virtual pedal behind real MIDI ports.

#include <csignal>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "sim/FactoryContent.h"
#include "sim/ProgramOptions.h"
#include "sim/StateFile.h"
#include "sim/program/PedalRunner.h"

namespace {

zorel::sim::PedalRunner* gRunner = nullptr;

extern "C" void OnStopSignal(int) {
  if (gRunner) gRunner->RequestStop();
}

void InstallSignalHandlers() {
  struct sigaction action = {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
}

} // namespace

int main(int argc, char** argv) {
  using namespace zorel::sim;
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const ParsedOptions parsed = ParseProgramOptions(args);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "zorel-virtual-pedal: %s\nTry --help.\n", parsed.error.c_str());
    return 2;
  }
  const ProgramOptions& options = parsed.options;
  if (options.help) {
    std::fputs(ProgramHelpText().c_str(), stdout);
    return 0;
  }

  PedalState state = MakeFactoryState();
  if (!options.statePath.empty()) {
    std::string error;
    bool missing = false;
    if (auto loaded = LoadStateFile(options.statePath, error, missing)) {
      state = std::move(*loaded);
    } else if (!missing) {
      std::fprintf(stderr, "zorel-virtual-pedal: %s\n", error.c_str());
      return 1;
    }
  }

  std::FILE* log = nullptr;
  if (options.logPath == "-") {
    log = stdout;
  } else if (!options.logPath.empty()) {
    log = std::fopen(options.logPath.c_str(), "a");
    if (!log) {
      std::fprintf(stderr, "zorel-virtual-pedal: cannot open log %s\n", options.logPath.c_str());
      return 1;
    }
  }

  int status = 0;
  try {
    PedalRunner runner(options, std::move(state), log);
    gRunner = &runner;
    InstallSignalHandlers();
    const MidiPorts& ports = runner.Ports();
    std::printf("zorel-virtual-pedal: %s MIDI\n", ports.ApiName().c_str());
    std::printf("  editor input port:  %s\n", ports.EditorInputName().c_str());
    std::printf("  editor output port: %s\n", ports.EditorOutputName().c_str());
    std::fflush(stdout);
    if (!runner.Run()) status = 1;
    gRunner = nullptr;
  } catch (const std::exception& e) {
    gRunner = nullptr;
    std::fprintf(stderr, "zorel-virtual-pedal: %s\n", e.what());
    status = 1;
  }
  if (log && log != stdout) std::fclose(log);
  if (status == 0) std::printf("zorel-virtual-pedal: stopped\n");
  return status;
}

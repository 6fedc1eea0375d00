// zorelctl: the editor core without a window, for scripts and for users
// without a display. See kUsage in app/cli/CommandLine.cpp.
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "app/cli/CommandLine.h"
#include "app/cli/Commands.h"
#include "app/cli/ConsoleModal.h"
#include "app/cli/Session.h"

using namespace zorel::cli;

namespace {

void OnSignal(int) {
  Session::RequestInterrupt();
}

int Run(const Invocation& inv) {
  ConsoleModal modal(stdout, inv.yes);
  Session session(inv, modal);
  if (inv.command == "ports")
    return session.StartMidiOnly() && ListPorts(session) ? kExitOk : kExitFailed;
  if (inv.command == "snapshots") return ListSnapshots(session) ? kExitOk : kExitFailed;
  const bool readsFile =
      inv.command == "restore" || inv.command == "load-preset" || inv.command == "firmware";
  if (readsFile && !CheckInputFile(inv.command, inv.file)) return kExitFailed;
  if (!session.Start()) return kExitFailed;

  bool ok = false;
  if (inv.command == "firmware") {
    // The loader takes the image whatever the connection; a pedal that only
    // runs its loader still gets updated.
    ok = UpdateFirmware(session, inv.file);
  } else if (inv.command == "doctor") {
    // The link check needs no connection: it is what to run when there is none.
    ok = Doctor(session);
  } else if (!session.Connect()) {
    ok = Fail(inv.command, session.WaitFailure());
  } else if (inv.command == "status") {
    ok = true; // the device lines went out as they became known
  } else if (inv.command == "backup") {
    ok = Backup(session, inv.file);
  } else if (inv.command == "restore") {
    ok = Restore(session, inv.file);
  } else if (inv.command == "save-preset") {
    ok = SavePreset(session, inv.file);
  } else if (inv.command == "load-preset") {
    ok = LoadPreset(session, inv.file);
  } else if (inv.command == "restore-snapshot") {
    ok = RestoreSnapshot(session, inv.file);
  } else if (inv.command == "shell") {
    ok = RunShell(session);
  }
  session.Finish();
  return ok ? kExitOk : kExitFailed;
}

} // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto inv = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!inv) {
    if (error.empty()) {
      std::printf("%s", kUsage);
      return kExitOk;
    }
    std::fprintf(stderr, "zorelctl: %s\n%s", error.c_str(), kUsage);
    return kExitUsage;
  }
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  try {
    return Run(*inv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zorelctl: %s\n", e.what());
    return kExitFailed;
  }
}

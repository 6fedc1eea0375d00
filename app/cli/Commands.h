#pragma once

#include <string>

#include "app/cli/Session.h"

namespace zorel::cli {

// The commands of zorelctl, each on a started session. They print what the
// editor shows and, on failure, one line saying why; true on success.
bool ListPorts(Session& session);
// The device lines known so far; fails when not connected.
bool PrintStatus(Session& session);
bool Backup(Session& session, const std::string& file);
bool Restore(Session& session, const std::string& file);
bool SavePreset(Session& session, const std::string& file);
bool LoadPreset(Session& session, const std::string& file);
bool UpdateFirmware(Session& session, const std::string& file);
// The snapshots of the library, oldest first; needs no pedal.
bool ListSnapshots(Session& session);
bool RestoreSnapshot(Session& session, const std::string& name);
// The link check: its figures and what they mean.
bool Doctor(Session& session);

// Line commands on standard input until end of input or "quit"; true when
// every command succeeded.
bool RunShell(Session& session);

// The file a command reads, checked before anything else happens: a missing
// file, a folder, a pipe or a device is refused at once with its own
// message (a pipe would otherwise block the open).
bool CheckInputFile(const std::string& command, const std::string& file);

// "zorelctl: what: why" on standard error; returns false.
bool Fail(const std::string& what, const std::string& why);

} // namespace zorel::cli

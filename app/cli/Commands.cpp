#include "app/cli/Commands.h"

#include "library/FileReader.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "library/BulkFile.h"
#include "library/LibraryPaths.h"
#include "library/ModalServices.h"
#include "library/Snapshots.h"
#include "protocol/codec/SnapshotImage.h"

namespace zorel::cli {

namespace {

constexpr const char* kFinished = lib::kMsgFinished;
constexpr const char* kFirmwareFinished = "Firmware update finished.";
constexpr const char* kFirmwareFailed = "Error in update!";

bool Readable(const std::string& file) {
  return lib::FileReader(file).IsOpen();
}

} // namespace

bool CheckInputFile(const std::string& command, const std::string& file) {
  const lib::FileReader reader(file);
  if (reader.IsOpen()) return true;
  return Fail(command, lib::FileErrorMessage(reader.Error(), file, reader.SystemError()));
}

namespace {

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// The reason a transfer ended without success: its last message, if any.
std::string LastOr(const std::vector<std::string>& texts, const std::string& otherwise) {
  return texts.empty() ? otherwise : texts.back();
}

bool NotStarted(Session& session, const std::string& what, const std::string& otherwise) {
  return Fail(what, session.Modal().Refused() ? "not confirmed" : otherwise);
}

} // namespace

bool Fail(const std::string& what, const std::string& why) {
  std::fprintf(stderr, "zorelctl: %s: %s\n", what.c_str(), why.c_str());
  return false;
}

namespace {

// Waits for a snapshot that still reads from the pedal, then names the one
// written, if any.
bool AwaitSnapshot(Session& session, const std::string& what) {
  if (!session.WaitUntil([](ZorelControl& e) { return !e.SnapshotPending(); },
                         Session::Activity::kReceived))
    return Fail(what, "the snapshot before it was not finished: " + session.WaitFailure());
  const std::string path = session.Locked([](ZorelControl& e) { return e.LastSnapshotPath(); });
  if (!path.empty()) std::printf("Snapshot written: %s\n", lib::FileNamePart(path).c_str());
  return true;
}

} // namespace

bool ListPorts(Session& session) {
  AppHost& host = session.Host();
  // The pedal is asked which pair is its own, on port objects of the search's
  // own: whatever uses the ports now is not disturbed.
  const ProbeOutcome probe = host.ProbePorts();
  auto mark = [](bool pedal) { return pedal ? "* " : "  "; };
  std::printf("MIDI input ports (%s):\n", host.MidiApiName().c_str());
  for (size_t i = 1; i < host.MidiInNames().size(); ++i) {
    const std::string& name = host.MidiInNames()[i];
    std::printf("%s%s\n", mark(probe.ports && probe.ports->input == name), name.c_str());
  }
  std::printf("MIDI output ports (%s):\n", host.MidiApiName().c_str());
  for (size_t i = 1; i < host.MidiOutNames().size(); ++i) {
    const std::string& name = host.MidiOutNames()[i];
    std::printf("%s%s\n", mark(probe.ports && probe.ports->output == name), name.c_str());
  }
  std::printf(probe.ports ? "* the pedal answers on this pair\n"
                          : "The pedal answered on no port.\n");
  return true;
}

bool PrintStatus(Session& session) {
  session.PrintDeviceLines();
  if (!session.Locked([](ZorelControl& e) { return e.State().mConnected; }))
    return Fail("status", "not connected");
  return true;
}

bool Backup(Session& session, const std::string& file) {
  session.Modal().ClearRefused();
  session.Modal().AnswerNextFilePrompt(file);
  if (!session.Locked([](ZorelControl& e) { return e.StartExport(); }))
    return NotStarted(session, "backup", "the export did not start");
  const size_t seen = session.Modal().Messages().size();
  if (!session.WaitUntil([](ZorelControl& e) { return !e.State().mExporting; },
                         Session::Activity::kAny))
    return Fail("backup", session.WaitFailure());
  const auto texts = session.MessagesSince(seen);
  if (!Contains(texts, kFinished)) return Fail("backup", LastOr(texts, "the export ended early"));
  return true;
}

// An import under way: its end, the read-back of the pedal's presets, and
// the verdict of the checksum list against the file, read from the
// editor's result rather than from what its messages say.
bool AwaitImportVerdict(Session& session, const char* command) {
  using Result = TransferState::ImportResult;
  const size_t seen = session.Modal().Messages().size();
  auto result = [&] {
    return session.Locked([](ZorelControl& e) { return e.State().mImportResult; });
  };
  if (!session.WaitUntil(
          [](ZorelControl& e) {
            return !e.State().mImporting && !e.State().mImportFinishedPending;
          },
          Session::Activity::kAny))
    return Fail(command, session.WaitFailure());
  if (result() == Result::kFailed)
    return Fail(command, LastOr(session.MessagesSince(seen), "the import ended early"));
  // The pedal holds other presets now; the restore is done once the editor
  // has read them back as it would after any new connection.
  if (!session.AwaitReread())
    return Fail(command, "the import was sent, but " + session.WaitFailure());
  if (!session.WaitUntil([](ZorelControl& e) { return e.State().mImportResult != Result::kNone; },
                         Session::Activity::kNone))
    return Fail(command, "the import was sent, but " + session.WaitFailure());
  session.MessagesSince(seen, 200); // the verdict's boxes are printed
  if (result() == Result::kVerified) return true;
  return Fail(command,
              LastOr(session.MessagesSince(seen), "the pedal's presets were not verified"));
}

bool Restore(Session& session, const std::string& file) {
  if (!Readable(file)) return Fail("restore", file + " cannot be read");
  session.Modal().ClearRefused();
  session.Modal().AnswerNextFilePrompt(file);
  if (!session.Locked([](ZorelControl& e) { return e.ImportBulkFile(); }))
    return NotStarted(session, "restore", file + " holds no bulk data");
  const size_t asked = session.Modal().Messages().size();
  if (!AwaitSnapshot(session, "restore")) return false;
  if (!session.Locked([](ZorelControl& e) { return e.State().mImporting; }))
    return Fail("restore", LastOr(session.MessagesSince(asked, 200), "not started"));
  return AwaitImportVerdict(session, "restore");
}

bool SavePreset(Session& session, const std::string& file) {
  session.Modal().ClearRefused();
  session.Modal().AnswerNextFilePrompt(file);
  if (!session.Locked([](ZorelControl& e) { return e.SavePresetFile(); }))
    return NotStarted(session, "save-preset", file + " was not written");
  return true;
}

bool LoadPreset(Session& session, const std::string& file) {
  if (!Readable(file)) return Fail("load-preset", file + " cannot be read");
  const size_t seen = session.Modal().Messages().size();
  session.Modal().ClearRefused();
  session.Modal().AnswerNextFilePrompt(file);
  if (!session.Locked([](ZorelControl& e) { return e.LoadPresetFile(); })) {
    session.RunFor(std::chrono::milliseconds(100)); // a refusal's box comes with the next tick
    return NotStarted(session, "load-preset",
                      LastOr(session.MessagesSince(seen, 0), file + " was not loaded"));
  }
  // The preset's user IRs go up first, then the preset itself.
  const size_t confirmed = session.Modal().Messages().size();
  if (!session.WaitSettled()) return Fail("load-preset", session.WaitFailure());
  const auto texts = session.MessagesSince(confirmed, 0);
  if (!texts.empty()) return Fail("load-preset", texts.back());
  return true;
}

bool UpdateFirmware(Session& session, const std::string& file) {
  if (!Readable(file)) return Fail("firmware", file + " cannot be read");
  ConsoleModal& modal = session.Modal();
  modal.ClearRefused();
  // The editor checks the file and asks, naming its size and hash.
  const size_t seen = modal.Messages().size();
  modal.AnswerNextFilePrompt(file);
  session.Locked([](ZorelControl& e) { e.OpenFirmwarePage(); });
  if (!session.Locked([](ZorelControl& e) { return e.ChooseFirmwareFile(); })) {
    session.Locked([](ZorelControl& e) { e.CloseFirmwarePage(); });
    if (modal.Refused()) return Fail("firmware", "not confirmed");
    return Fail("firmware", LastOr(session.MessagesSince(seen), file + " was refused"));
  }
  // The loader answers the start message; then one chunk goes per tick and
  // the loader judges the image after the last.
  if (!session.WaitUntil([](ZorelControl& e) { return e.State().mFirmwareActive; },
                         Session::Activity::kReceived)) {
    session.Locked([](ZorelControl& e) { e.CloseFirmwarePage(); });
    return Fail("firmware", "the pedal's loader did not answer");
  }
  if (!session.WaitUntil([](ZorelControl& e) { return !e.State().mFirmwareActive; },
                         Session::Activity::kAny))
    return Fail("firmware", session.WaitFailure());
  if (!session.WaitUntil([](ZorelControl& e) { return !e.State().mConnected; },
                         Session::Activity::kNone))
    return Fail("firmware", "the pedal did not confirm the update");
  // Both the editor's "finished" and the loader's verdict are boxes of the
  // next ticks.
  session.RunFor(std::chrono::milliseconds(200));
  const auto texts = session.MessagesSince(seen, 0);
  if (Contains(texts, kFirmwareFailed) || !Contains(texts, kFirmwareFinished))
    return Fail("firmware", LastOr(texts, "the update failed"));
  return true;
}

bool ListSnapshots(Session& session) {
  // Only the folder is read: no pedal, no lock on the editor's state needed.
  lib::SnapshotStore store(session.Editor().Library().Root());
  const auto all = store.List();
  if (all.empty()) {
    std::printf("No snapshots in %s\n", store.Folder().c_str());
    return true;
  }
  std::printf("Snapshots in %s (oldest first):\n", store.Folder().c_str());
  int n = 0;
  for (const lib::SnapshotInfo& info : all) {
    const auto bytes = store.Read(info, 2 * lib::kBulkFileMaxSize);
    std::string held = "unreadable";
    if (bytes) {
      const SnapshotParts parts = SplitSnapshotImage(*bytes);
      if (!parts.ok)
        held = "damaged";
      else if (parts.WholePedal())
        held =
            "128 presets, " + std::to_string(parts.irNumbers.size()) + " user IRs, global settings";
      else
        held = std::to_string(parts.slots.size()) + " preset(s), " +
               std::to_string(parts.irNumbers.size()) + " user IR(s)";
    }
    std::printf("%3d  %s  %-24s %s\n      %s\n", ++n, info.when.c_str(), info.operation.c_str(),
                held.c_str(), info.name.c_str());
  }
  return true;
}

bool RestoreSnapshot(Session& session, const std::string& name) {
  session.Modal().ClearRefused();
  const size_t seen = session.Modal().Messages().size();
  if (!session.Locked([&](ZorelControl& e) { return e.RestoreSnapshot(name); })) {
    session.RunFor(std::chrono::milliseconds(100));
    return NotStarted(session, "restore-snapshot",
                      LastOr(session.MessagesSince(seen, 0), "the snapshot was not restored"));
  }
  if (!AwaitSnapshot(session, "restore-snapshot")) return false;
  if (!session.Locked([](ZorelControl& e) { return e.State().mImporting; }))
    return Fail("restore-snapshot", LastOr(session.MessagesSince(seen, 200), "not started"));
  return AwaitImportVerdict(session, "restore-snapshot");
}

bool Doctor(Session& session) {
  if (!session.Locked([](ZorelControl& e) { return e.StartLinkCheck(); }))
    return Fail("doctor", "the pedal is busy");
  std::printf("Checking the MIDI link with %d requests...\n", LinkCheck::kTotal);
  std::fflush(stdout);
  if (!session.WaitUntil([](ZorelControl& e) { return e.Doctor().Done(); },
                         Session::Activity::kAny))
    return Fail("doctor", session.WaitFailure());
  const LinkCheck::Result r = session.Locked([](ZorelControl& e) { return e.Doctor().Figures(); });
  std::printf("%s\n", LinkCheckReport(r).c_str());
  return r.lost == 0 && r.damaged == 0 && r.answered > 0;
}

} // namespace zorel::cli

#pragma once
// The library's "Snapshots" folder: what the pedal held before an operation
// overwrote it, one file per operation, kept so that it can be put back.
//
//   /Snapshots/2026-12-09_23-46-14_import.q3s
//
// The name carries the local date and time and the operation; a second
// snapshot within the same second gets "-2", "-3", ... after the operation.
// Each file is written whole or not at all (a temporary beside it, renamed
// into place once complete), and only the newest kKeep are kept: the oldest
// go first. What the bytes mean is the protocol's business.
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zorel::lib {

inline constexpr const char* kSnapshotsFolder = "/Snapshots/";
inline constexpr const char* kSnapshotExtension = ".q3s";

// Writes `bytes` to `path` so that a failure leaves no file behind; sets
// errno when it fails. ReplaceFileContents unless a test puts in another.
using SnapshotFileWriter = std::function<bool(const std::string&, std::span<const uint8_t>)>;

struct SnapshotInfo {
  std::string name;      // file name, without the folder
  std::string path;      // full path
  std::string when;      // "2026-12-09 23:46:14"
  std::string operation; // "import", "store-preset-12", ...
  uint64_t size = 0;
  uint64_t writtenNs = 0; // modification time, orders snapshots of one second
};

struct SnapshotWriteResult {
  bool written = false;
  std::string path;
  std::string error; // what went wrong, for the user, when not written
};

class SnapshotStore {
public:
  static constexpr int kKeep = 50;

  explicit SnapshotStore(std::string libraryRoot);
  std::string Folder() const;

  // Creates the folder when missing, writes the snapshot of `operation`
  // (letters, digits and '-' only; anything else becomes '-'), then removes
  // the oldest beyond kKeep and any temporary left by an earlier crash.
  SnapshotWriteResult Write(const std::string& operation, std::span<const uint8_t> bytes,
                            std::time_t when);
  // Oldest first.
  std::vector<SnapshotInfo> List() const;
  // By file name (with or without the extension) or by its number in
  // List() counted from 1; nothing when no such snapshot exists.
  std::optional<SnapshotInfo> Find(const std::string& nameOrNumber) const;
  // The whole file; nothing when it cannot be read or exceeds `maxSize`.
  std::optional<std::vector<uint8_t>> Read(const SnapshotInfo& info, size_t maxSize) const;

  void SetWriter(SnapshotFileWriter writer) { mWriter = std::move(writer); }

private:
  void Prune();

  std::string mRoot;
  SnapshotFileWriter mWriter;
};

// "2026-12-09_23-46-14_import.q3s" -> when and operation; false for names
// that are not a snapshot's.
bool ParseSnapshotName(const std::string& name, std::string& when, std::string& operation);

} // namespace zorel::lib

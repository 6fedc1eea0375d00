#pragma once

// Checks a backup (bulk) file before any of it is restored. An import that
// starts on a damaged file leaves the pedal half overwritten, so the whole
// file is checked first: split into messages exactly as the import splits
// them, every message whole (F0 ... F7, no byte of 0x80 or above inside),
// each a preset dump whose block checksum is right or an IR dump of a first
// chunk, nine middle chunks and a last chunk whose transfer checksum matches
// the stored data (the import recomputes the checksum it sends, so a damaged
// chunk would otherwise reach the pedal unnoticed), no preset or user IR
// twice, and nothing else. A file may hold any of the presets: what it holds
// is restored and the other presets stay as they are. A file of all 128
// presets is a whole backup, which also holds every user IR they use.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "protocol/codec/FileSniff.h"

namespace zorel {

enum class BulkProblem {
  kNone,
  kEmpty,          // no bytes at all
  kNotABackup,     // does not begin like the pedal's messages (`kind` tells more)
  kEndsEarly,      // the last message is cut off: bytes after the last F7
  kStrayBytes,     // bytes after the last message of an otherwise whole backup
  kGarbled,        // not F0 ... F7, a byte >= 0x80 inside, or a wrong length
  kForeignMessage, // neither a preset dump nor an IR dump chunk of the pedal
  kPresetChecksum, // a preset dump's block checksum does not match its data
  kPresetTwice,    // one preset slot dumped twice
  kIRIncomplete,   // an IR dump lacks chunks or has them out of order
  kIRChecksum,     // an IR dump's transfer checksum does not match its data
  kIRNotUser,      // an IR dump for a number outside the user IRs 0..255
  kIRTwice,        // one user IR dumped twice
  kIRMissing,      // a whole backup lacks a user IR that one of its presets uses
};

struct BulkCheckResult {
  BulkProblem problem = BulkProblem::kNone;
  FileKind kind = FileKind::kUnknown; // what the file looks like (kNotABackup)
  size_t messageCount = 0;            // messages as the import splits them
  int presetCount = 0;                // whole, checked preset dumps before the problem
  int irCount = 0;                    // whole, checked IR dumps before the problem
  std::vector<int> irNumbers;         // their numbers, in file order
  // Index (0-based) and byte offset of the message at fault; for a file that
  // ends too soon, messageCount and the offset where more was expected.
  size_t problemMessage = 0;
  size_t problemOffset = 0;
  std::string detail;      // technical, for logs: "message 65 at byte 17088: ..."
  std::string userMessage; // what to show; empty when the file is whole

  bool Ok() const { return problem == BulkProblem::kNone; }
};

// `patchOffset` (0 or 1, the pedal's patch offset setting) numbers the
// presets named in messages as the preset list shows them; user IRs are
// named by number + 1, as their slot files are.
BulkCheckResult CheckBulkImage(std::span<const uint8_t> image, int patchOffset = 1);

const char* ToString(BulkProblem problem);

} // namespace zorel

#pragma once

// The bulk file ("q3b"): the SysEx messages of a complete export laid end to
// end as the pedal sent them, the 128 preset dumps first, then the IR dumps
// of every user IR the presets use. No header; the number of messages is
// the number of F0 bytes. Sequencing the export and the import with the
// pedal belongs to the protocol; this is the file side.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "library/FileReader.h"
#include "library/ModalServices.h"

namespace zorel::lib {

// The size of the transfer buffer, and so the largest bulk file.
inline constexpr size_t kBulkFileMaxSize = 1048576;
inline constexpr const char* kDefaultBulkFileName = "Zorel_Presets_and_IRs";

size_t CountSysExMessages(std::span<const uint8_t> bytes);

// Writes an export. An existing file is replaced only once the new one is
// complete, so a failed export keeps the old file.
bool WriteBulkFile(const std::string& path, std::span<const uint8_t> bytes);

// The whole file, when it opens and holds at most 1048576 bytes.
std::optional<std::vector<uint8_t>> ReadBulkFile(const std::string& path);

// File prompt (save, "q3b") for an export, named after the last bulk file or
// "Zorel_Presets_and_IRs", starting in the library root. True when a file
// was chosen; its path is kept in `lastBulkFilePath`.
bool ChooseExportFile(IModalServices& modal, std::string& lastBulkFilePath,
                      const std::string& libraryRoot);

struct BulkImport {
  bool ready = false; // the editor may arm the import
  std::vector<uint8_t> bytes;
  size_t messageCount = 0;
  // Why a chosen file gave no bytes (kTooLarge above 1048576 bytes), for a
  // message of its own: FileErrorMessage(error, path, systemError, "a backup").
  FileError error = FileError::kNone;
  int systemError = 0;
};

// Confirmation, file prompt (open, "q3b") from `lastBulkFilePath`, and the
// file read whole. Cancel, no file, a file that does not load, one above
// 1048576 bytes or one without a single message leave `ready` false and
// nothing shown; `error` tells a file that did not load from the others.
BulkImport ImportBulkFile(IModalServices& modal, std::string& lastBulkFilePath);

} // namespace zorel::lib

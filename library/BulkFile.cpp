#include "library/BulkFile.h"

#include <algorithm>

#include "library/FileReader.h"
#include "library/FileWriter.h"
#include "library/LibraryPaths.h"

namespace zorel::lib {

size_t CountSysExMessages(std::span<const uint8_t> bytes) {
  return static_cast<size_t>(std::count(bytes.begin(), bytes.end(), uint8_t{0xF0}));
}

bool WriteBulkFile(const std::string& path, std::span<const uint8_t> bytes) {
  return ReplaceFileContents(path, bytes, Durability::kSynced);
}

std::optional<std::vector<uint8_t>> ReadBulkFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, kBulkFileMaxSize, bytes)) return std::nullopt;
  return bytes;
}

bool ChooseExportFile(IModalServices& modal, std::string& lastBulkFilePath,
                      const std::string& libraryRoot) {
  std::string fileName =
      lastBulkFilePath.empty() ? std::string(kDefaultBulkFileName) : FileNamePart(lastBulkFilePath);
  std::string folder = libraryRoot;
  modal.ChooseFileDialog(fileName, folder, FileAction::kSave, "q3b");
  if (fileName.empty()) return false;
  lastBulkFilePath = fileName;
  return true;
}

BulkImport ImportBulkFile(IModalServices& modal, std::string& lastBulkFilePath) {
  BulkImport import;
  if (modal.ShowMessageDialog(kMsgOverwritePresets, "", MessageBoxType::kOKCancel) !=
      MessageBoxResult::kOK)
    return import;
  std::string fileName = FileNamePart(lastBulkFilePath);
  std::string folder = FolderPart(lastBulkFilePath);
  modal.ChooseFileDialog(fileName, folder, FileAction::kOpen, "q3b");
  if (fileName.empty()) return import;
  lastBulkFilePath = fileName;
  WholeFile file = LoadWholeFile(fileName, kBulkFileMaxSize);
  if (!file.Ok()) {
    import.error = file.error;
    import.systemError = file.systemError;
    return import;
  }
  import.messageCount = CountSysExMessages(file.bytes);
  import.bytes = std::move(file.bytes);
  // Whether the bytes are a whole backup is for the caller's check to say,
  // with a message; here the file has only to load.
  import.ready = true;
  return import;
}

} // namespace zorel::lib

#include "library/PresetFileLoad.h"

#include <vector>

#include "library/FileReader.h"
#include "library/LibraryPaths.h"

namespace zorel::lib {

std::optional<std::string> ChoosePresetFileToSave(IModalServices& modal,
                                                  std::string& lastPresetFilePath,
                                                  const std::string& presetNameText) {
  std::string fileName = presetNameText;
  std::string folder = FolderPart(lastPresetFilePath);
  modal.ChooseFileDialog(fileName, folder, FileAction::kSave, "q3p");
  if (fileName.empty()) return std::nullopt;
  lastPresetFilePath = fileName;
  return fileName;
}

std::optional<std::string> ChoosePresetFileToLoad(IModalServices& modal,
                                                  std::string& lastPresetFilePath) {
  std::string fileName = FileNamePart(lastPresetFilePath);
  std::string folder = FolderPart(lastPresetFilePath);
  modal.ChooseFileDialog(fileName, folder, FileAction::kOpen, "q3p");
  if (fileName.empty()) return std::nullopt;
  lastPresetFilePath = fileName;
  return fileName;
}

namespace {

bool Confirmed(IModalServices& modal, const char* text) {
  return modal.ShowMessageDialog(text, "", MessageBoxType::kOKCancel) == MessageBoxResult::kOK;
}

} // namespace

LoadedPresetFile PlanPresetFileLoad(std::span<const uint8_t> file, const PresetLoadContext& context,
                                    IModalServices& modal) {
  LoadedPresetFile load;
  const ParsedPresetFile parsed = ParsePresetFile(file);
  load.size = parsed.size;
  if (parsed.status == PresetFileStatus::kUnknownFormat) {
    load.outcome = PresetLoadOutcome::kUnknownFormat;
    load.pendingMessage = kMsgUnknownFileFormat;
    return load;
  }
  if (parsed.status == PresetFileStatus::kUnsupportedVersion) {
    load.outcome = PresetLoadOutcome::kUnsupportedVersion;
    modal.ShowMessageDialog(kMsgUnsupportedVersion, "", MessageBoxType::kOK);
    return load;
  }
  // Checked whole before anything is asked or sent, as a backup is.
  if (std::string problem = PresetFileProblem(file); !problem.empty()) {
    load.outcome = PresetLoadOutcome::kDamaged;
    load.pendingMessage = problem + " Nothing was sent to the pedal.";
    return load;
  }
  load.outcome = PresetLoadOutcome::kCancelled;
  if (context.presetModified && !Confirmed(modal, kMsgPresetNotSaved)) return load;

  // The file's IR would replace the user IR the current preset has on.
  int tested = 0;
  if (context.liveIR7Mode >= 1)
    tested = parsed.Param(kParamUserIR7Mode);
  else if (context.liveIR8Mode >= 1)
    tested = parsed.Param(kParamUserIR8Mode);
  if (tested > 0 && !Confirmed(modal, kMsgOverwriteUserIR)) return load;

  auto& v = load.values;
  for (int i = 0; i < kSoundParamCount; ++i) v[i] = parsed.Param(i);
  // Slot fix-up: a user IR of the file always lands in this preset's own
  // user IRs, current slot for IR 7 and 128 + current slot for IR 8.
  if (v[kParamUserIR7PresetMSB] < 2) {
    v[kParamUserIR7PresetMSB] = 0;
    v[kParamUserIR7Preset] = context.currentPresetSlot;
  }
  if (v[kParamUserIR8PresetMSB] < 2) {
    v[kParamUserIR8PresetMSB] = 1;
    v[kParamUserIR8Preset] = context.currentPresetSlot;
  }

  load.outcome = PresetLoadOutcome::kLoaded;
  load.name = TrimName(parsed.Name());
  if (v[kParamUserIR7Mode] > 0) load.ir7Name = TrimName(parsed.IR7Name());
  if (v[kParamUserIR8Mode] > 0) load.ir8Name = TrimName(parsed.IR8Name());

  // A position whose bank is 2 or above uses a factory IR: the writer never
  // embeds a block for it, so a block in the file belongs to the other
  // position, and uploading it here would overwrite some unrelated user IR.
  const bool ir7FromFile = v[kParamUserIR7Mode] >= 1 && v[kParamUserIR7PresetMSB] < 2;
  const bool ir8FromFile = v[kParamUserIR8Mode] >= 1 && v[kParamUserIR8PresetMSB] < 2;
  // A block the file does not hold completely is absent.
  const std::optional<IRBlockBytes> first = PresetFileBlock(file, 0);
  if (first && ir7FromFile) {
    load.firstBlock = first;
    load.firstUploadNumber = v[kParamUserIR7Preset];
    load.ir7Pending = true;
    load.ir8Pending = v[kParamUserIR8Mode] != 0 && v[kParamUserIR8PresetMSB] < 2;
  } else if (first && ir8FromFile) {
    load.firstBlock = first;
    load.firstUploadNumber = v[kParamUserIR8PresetMSB] * 128 + v[kParamUserIR8Preset];
    load.ir8Pending = true;
  } else {
    load.sendPresetNow = true;
  }
  return load;
}

LoadedPresetFile ReadPresetFile(const std::string& path, const PresetLoadContext& context,
                                IModalServices& modal) {
  std::vector<uint8_t> file;
  if (!ReadWholeFile(path, kPresetFileSizeLimit - 1, file)) return {};
  return PlanPresetFileLoad(file, context, modal);
}

NameField LoadIRBlockIntoBuffer(const IRBlockBytes& block, LibraryTables& tables) {
  tables.mIRGain = IRBlockGain(block);
  IRBlockSamplesInto(block, tables.mIRBuffer);
  return IRBlockName(block);
}

PreparedIRUpload PrepareFileIRUpload(SlotCache& cache, const IRBlockBytes& block, int number) {
  const NameField name = LoadIRBlockIntoBuffer(block, cache.Tables());
  return PrepareIRUpload(cache, name, number);
}

std::optional<PreparedIRUpload> ReadSecondFileIR(const std::string& path, SlotCache& cache,
                                                 int number) {
  if (number < 0 || number >= kUserIRSlotCount) return std::nullopt;
  std::vector<uint8_t> file;
  if (!ReadWholeFile(path, kPresetFileSizeLimit - 1, file)) return std::nullopt;
  // The file is read again here: one that changed into a damaged one since
  // the load uploads nothing.
  if (!PresetFileProblem(file).empty()) return std::nullopt;
  const int blocks = ParsePresetFile(file).blockCount;
  if (blocks == 0) return std::nullopt;
  const std::optional<IRBlockBytes> block = PresetFileBlock(file, blocks == 2 ? 1 : 0);
  return PrepareFileIRUpload(cache, *block, number);
}

} // namespace zorel::lib

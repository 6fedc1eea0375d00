#pragma once

// Saving and loading preset files from the editor's side: the file prompts,
// the checks and confirmations of a load, the slot fix-up that lands any IR
// of the file in the current preset's own user IRs, and which IR blocks are
// then to be uploaded. Applying the values to the parameters, the name
// controls and sending to the pedal stay with the editor, which gets all it
// needs in LoadedPresetFile.

#include <array>
#include <optional>
#include <span>
#include <string>

#include "library/IRUpload.h"
#include "library/ModalServices.h"
#include "library/PresetFile.h"
#include "library/SlotCache.h"

namespace zorel::lib {

// File prompt (save, "q3p") named after the preset name field, in the
// folder of the last preset file. Returns the chosen path, also stored in
// `lastPresetFilePath`; nothing when the prompt was cancelled.
std::optional<std::string> ChoosePresetFileToSave(IModalServices& modal,
                                                  std::string& lastPresetFilePath,
                                                  const std::string& presetNameText);

// File prompt (open, "q3p") starting at the last preset file.
std::optional<std::string> ChoosePresetFileToLoad(IModalServices& modal,
                                                  std::string& lastPresetFilePath);

// Editor state a load looks at.
struct PresetLoadContext {
  bool presetModified = false;
  int liveIR7Mode = 0; // mLiveValues[40]
  int liveIR8Mode = 0; // mLiveValues[41]
  int currentPresetSlot = 0;
};

enum class PresetLoadOutcome {
  kIgnored,            // no such file, or 8192 bytes or more: the editor says it could not be read
  kUnknownFormat,      // pendingMessage holds the box for the next idle tick
  kUnsupportedVersion, // the box has been shown
  kDamaged,            // pendingMessage says what is wrong; nothing was asked or sent
  kCancelled,          // the user declined a confirmation
  kLoaded,
};

struct LoadedPresetFile {
  PresetLoadOutcome outcome = PresetLoadOutcome::kIgnored;
  std::string pendingMessage;
  uint64_t size = 0;
  // Parameters 0..73 as signed file bytes, after the slot fix-up.
  std::array<int, kSoundParamCount> values{};
  std::string name;                   // trimmed, for the preset name field
  std::optional<std::string> ir7Name; // trimmed, when the file's parameter 40 > 0
  std::optional<std::string> ir8Name; // trimmed, when the file's parameter 41 > 0

  // No IR to upload: send the preset to the pedal now (when connected).
  bool sendPresetNow = false;
  // Otherwise the block to load into the IR buffer and upload first, to
  // user IR firstUploadNumber; ir8Pending asks for ReadSecondFileIR once
  // the pedal has stored the first.
  std::optional<IRBlockBytes> firstBlock;
  int firstUploadNumber = 0;
  bool ir7Pending = false;
  bool ir8Pending = false;
};

// Checks and plans a load from the file's bytes. Confirmations go through
// `modal`; Cancel ends with kCancelled.
LoadedPresetFile PlanPresetFileLoad(std::span<const uint8_t> file, const PresetLoadContext& context,
                                    IModalServices& modal);

// Reads the file at `path` (under 8192 bytes) and plans its load.
LoadedPresetFile ReadPresetFile(const std::string& path, const PresetLoadContext& context,
                                IModalServices& modal);

// An IR block of a preset file into the IR buffer: gain into mIRGain,
// samples into mIRBuffer[0..1199]. Returns the block's name.
NameField LoadIRBlockIntoBuffer(const IRBlockBytes& block, LibraryTables& tables);

// Loads `block` and prepares its upload to `number` (slot file written).
PreparedIRUpload PrepareFileIRUpload(SlotCache& cache, const IRBlockBytes& block, int number);

// The second IR of a preset file, for user IR `number` (parameter 55 x 128 +
// parameter 56): the block after the first when the file holds two, the
// only block when it holds one. Nothing when the file holds none, or when
// `number` is not a user IR.
std::optional<PreparedIRUpload> ReadSecondFileIR(const std::string& path, SlotCache& cache,
                                                 int number);

} // namespace zorel::lib

#pragma once

// What the editor knows of each operation that overwrites the pedal, in
// the order of the Overwrite enumerators: one row each, read by the
// snapshot guard and by the note after a write.
#include <array>
#include <cstddef>

#include "editor/ZorelControl.h"

namespace zorel {

struct OverwriteInfo {
  Overwrite op;
  const char* description; // "No snapshot could be taken before this <...>"
  const char* fileTag;     // the snapshot file's operation; slot + 1 follows when perSlot
  bool perSlot;
  bool wholePedal;      // the snapshot holds every preset, the IRs they play, the settings
  const char* storedAs; // "Preset 03 was stored on the pedal <...>." after a write preset
};

inline constexpr std::array<OverwriteInfo, 11> kOverwrites = {{
    {Overwrite::kImport, "import", "import", false, true, ""},
    {Overwrite::kRestoreSnapshot, "restore of a snapshot", "restore-snapshot", false, true, ""},
    {Overwrite::kFactoryReset, "factory reset", "factory-reset", false, true, ""},
    {Overwrite::kStore, "store", "store-preset-", true, false, ""},
    {Overwrite::kLoadPresetFile, "preset file load", "load-preset-", true, false,
     "from the preset file"},
    {Overwrite::kFirmware, "firmware update", "firmware", false, true, ""},
    {Overwrite::kAmpModel, "amp model choice", "amp-model-preset-", true, false,
     "with the amp model's values"},
    {Overwrite::kAmbienceType, "ambience type choice", "ambience-preset-", true, false,
     "with the ambience type's values"},
    {Overwrite::kRename, "rename", "rename-preset-", true, false, "under its new name"},
    {Overwrite::kUndo, "undo", "undo-preset-", true, false, "as it was before"},
    {Overwrite::kImportIR, "IR import", "import-user-ir-", true, false, ""},
}};

constexpr const OverwriteInfo& InfoOf(Overwrite op) {
  return kOverwrites[static_cast<size_t>(op)];
}

// The rows stand in the enumerators' order.
constexpr bool RowsInOrder() {
  for (size_t i = 0; i < kOverwrites.size(); ++i)
    if (static_cast<size_t>(kOverwrites[i].op) != i) return false;
  return true;
}
static_assert(RowsInOrder());

} // namespace zorel

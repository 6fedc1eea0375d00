#pragma once

#include "plugin/IModalServices.h"

// The modal dialogs the library's file operations need are those of
// plugin/IModalServices.h; the control surface implements them with native
// dialogs and tests with a scripted implementation.

namespace zorel::lib {

// Texts of the boxes, exactly as the user sees them.
inline constexpr const char* kMsgFinished = "Finished successfully!";
inline constexpr const char* kMsgUnknownFileFormat = "Unknown file format.";
inline constexpr const char* kMsgUnsupportedVersion =
    "Unsupported file version. \nPlease update the Zorel Editor \nto the latest version.";
inline constexpr const char* kMsgPresetNotSaved =
    "Current Preset not saved. \nContinue without saving?";
inline constexpr const char* kMsgOverwriteUserIR =
    "This operation will overwrite the currently selected User IR. \nContinue without saving?";
inline constexpr const char* kMsgOverwritePresets =
    "This operation will overwrite the current Presets!\nAre you sure to continue?";

} // namespace zorel::lib

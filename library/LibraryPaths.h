#pragma once

// Where the library lives and how its files are named. The root is
// $ZOREL_HOME when set (tests point it at a temporary folder), else
// $XDG_DATA_HOME/ZorelControl, else ~/.local/share/ZorelControl. Under it:
//
//   /Presets/      001.dat .. 128.dat   preset payloads (256 bytes)
//   /User IRs/     001.dat .. 256.dat   IR blocks (2436 bytes)
//   /Factory IRs/  001.dat .. 008.dat   IR blocks, plus the factory WAV files
//
// Paths are UTF-8 strings built as root + folder + file name.

#include <string>
#include <vector>

namespace zorel::lib {

inline constexpr const char* kPresetsFolder = "/Presets/";
inline constexpr const char* kUserIRsFolder = "/User IRs/";
inline constexpr const char* kFactoryIRsFolder = "/Factory IRs/";

// IR numbers as the pedal sends them: 0..255 user IRs, 384..391 factory IRs.
inline constexpr int kFirstFactoryIRNumber = 384;

std::string LibraryRootPath();

// Creates the root with any missing parents. The settings-file code does
// this at start-up; everything else creates only one folder level.
bool CreateLibraryRoot(const std::string& root);

// "%03d.dat" of slot + 1.
std::string SlotFileName(int slot);

std::string PresetSlotPath(const std::string& root, int slot);
std::string UserIRSlotPath(const std::string& root, int number);
std::string FactoryIRSlotPath(const std::string& root, int index);

// Folder and file for an IR number: n >= 384 is factory file (n mod 128) + 1,
// anything else user file n + 1.
std::string IRFolderFor(int number);
std::string IRSlotPathFor(const std::string& root, int number);

// Creates one folder level; an existing folder is fine. Failures are
// ignored by every caller, so only the result tells.
bool CreateFolder(const std::string& path);

// The regular files of a folder (no directories), names sorted ascending
// byte-wise, so that "001.dat" comes first whatever the file system does.
std::vector<std::string> ListFiles(const std::string& folder);

bool DeleteFile(const std::string& path);

// The part of a path after its last '/' (the whole path when it has none).
std::string FileNamePart(const std::string& path);
// Everything before the last '/' (empty when the path has none).
std::string FolderPart(const std::string& path);

} // namespace zorel::lib

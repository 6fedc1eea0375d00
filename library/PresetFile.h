#pragma once

// The preset file ("q3p"): one preset with the names of its two user-IR
// positions and, optionally, the IR blocks of those IRs.
//
//   0    4   magic "ZOLP" ("QVMP" also read)
//   4    1   version major (1)       5   1   version minor (0)
//   6    32  preset name, space padded
//   38   74  parameters 0..73, one byte each
//   112  86  zero
//   198  32  name of IR 7 (spaces when parameter 40 is 0)
//   230  32  name of IR 8 (spaces when parameter 41 is 0)
//   262  2436 optional IR block of IR 7, then optional IR block of IR 8
//
// So a file is 262, 2698 or 5134 bytes.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "library/IRBlock.h"
#include "library/SlotCache.h"

namespace zorel::lib {

inline constexpr size_t kPresetFileHeaderSize = 262;
inline constexpr size_t kPresetFileNameOffset = 6;
inline constexpr size_t kPresetFileParamsOffset = 38;
inline constexpr size_t kPresetFileIR7NameOffset = 198;
inline constexpr size_t kPresetFileIR8NameOffset = 230;
// Files of this size or more are not preset files and are ignored unread.
inline constexpr uint64_t kPresetFileSizeLimit = 8192;
inline constexpr int kSoundParamCount = 74;

// Parameter indices the file format cares about.
inline constexpr int kParamUserIR7Mode = 40;
inline constexpr int kParamUserIR8Mode = 41;
inline constexpr int kParamUserIR7PresetMSB = 53;
inline constexpr int kParamUserIR7Preset = 54;
inline constexpr int kParamUserIR8PresetMSB = 55;
inline constexpr int kParamUserIR8Preset = 56;

using PresetFileHeader = std::array<uint8_t, kPresetFileHeaderSize>;

// The preset name a file gets: the last path component without its
// extension, at most 32 bytes.
std::string PresetNameFromPath(const std::string& path);

// What the editor hands over to save the preset being edited.
struct PresetFileInput {
  std::array<int, kSoundParamCount> liveValues{}; // mLiveValues[0..73]
  std::string ir7NameText;                        // IR 7 name control
  std::string ir8NameText;                        // IR 8 name control
};

// The 262 header bytes for `name`; IR names only where their mode is on.
PresetFileHeader BuildPresetFileHeader(std::string_view name, const PresetFileInput& input);

// The whole file: the header, then the IR 7 block and the IR 8 block of
// those positions that are on, use a user IR (bank 0 or 1) and whose slot
// file holds exactly one block.
std::vector<uint8_t> BuildPresetFile(std::string_view name, const PresetFileInput& input,
                                     const SlotCache& cache);

struct PresetFileWriteResult {
  bool written = false;
  std::string name; // for the preset name field, once written
  size_t size = 0;
};

// Writes the file for `path`. An existing file is replaced only once the new
// one is complete, so a failed save keeps the old file.
PresetFileWriteResult WritePresetFile(const std::string& path, const PresetFileInput& input,
                                      const SlotCache& cache);

enum class PresetFileStatus { kOk, kUnknownFormat, kUnsupportedVersion };

struct ParsedPresetFile {
  PresetFileStatus status = PresetFileStatus::kUnknownFormat;
  PresetFileHeader header{};  // zero beyond the file's end
  uint64_t size = 0;          // bytes in the file
  int blockCount = 0;         // complete IR blocks after the header (0..2)
  int Param(int index) const; // the byte of parameter `index`, signed
  NameField Name() const;
  NameField IR7Name() const;
  NameField IR8Name() const;
};

// Checks the magic ("ZOLP" or "QVMP") and the version (major x 10 + minor,
// signed bytes, at most 10). Files shorter than the header read as zeros.
ParsedPresetFile ParsePresetFile(std::span<const uint8_t> file);

// What makes a file of a known format and version unfit to load, for the
// user; "" when it is whole. A file is checked whole before anything of it
// reaches the pedal: its size is one the writer makes (the header, with
// none, one or two IR blocks), it holds no IR block that its preset does
// not take from the file, and each block has its format word and a level
// factor of at most 1.
std::string PresetFileProblem(std::span<const uint8_t> file);

// IR block `index` (0 or 1) of a file, when the file holds it completely.
std::optional<IRBlockBytes> PresetFileBlock(std::span<const uint8_t> file, int index);

} // namespace zorel::lib

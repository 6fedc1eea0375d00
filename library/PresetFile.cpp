#include "library/PresetFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "library/FileWriter.h"
#include "library/LibraryPaths.h"

namespace zorel::lib {

namespace {

void PutName(PresetFileHeader& header, size_t offset, std::string_view text) {
  const NameField field = PadName(text);
  std::memcpy(header.data() + offset, field.data(), field.size());
}

NameField NameAt(const PresetFileHeader& header, size_t offset) {
  NameField field;
  std::memcpy(field.data(), header.data() + offset, field.size());
  return field;
}

// The block of one IR position, when the writer embeds it.
std::optional<IRBlockBytes> EmbeddedBlock(const SlotCache& cache, const PresetFileInput& input,
                                          int mode, int bank, int index) {
  const auto& v = input.liveValues;
  if (v[mode] < 1 || v[bank] < 0 || v[bank] > 1) return std::nullopt;
  return cache.ReadUserIRBlock(v[bank] * 128 + v[index]);
}

} // namespace

std::string PresetNameFromPath(const std::string& path) {
  std::string name = FileNamePart(path);
  if (const size_t dot = name.rfind('.'); dot != std::string::npos) name.resize(dot);
  if (name.size() > kNameFieldLength) name.resize(kNameFieldLength);
  return name;
}

PresetFileHeader BuildPresetFileHeader(std::string_view name, const PresetFileInput& input) {
  PresetFileHeader header{};
  std::memcpy(header.data(), "ZOLP", 4);
  header[4] = 1;
  header[5] = 0;
  PutName(header, kPresetFileNameOffset, name);
  for (int i = 0; i < kSoundParamCount; ++i)
    header[kPresetFileParamsOffset + i] = static_cast<uint8_t>(input.liveValues[i] & 0xFF);
  PutName(header, kPresetFileIR7NameOffset,
          input.liveValues[kParamUserIR7Mode] > 0 ? input.ir7NameText : "");
  PutName(header, kPresetFileIR8NameOffset,
          input.liveValues[kParamUserIR8Mode] > 0 ? input.ir8NameText : "");
  return header;
}

std::vector<uint8_t> BuildPresetFile(std::string_view name, const PresetFileInput& input,
                                     const SlotCache& cache) {
  const PresetFileHeader header = BuildPresetFileHeader(name, input);
  std::vector<uint8_t> file(header.begin(), header.end());
  for (const auto& block :
       {EmbeddedBlock(cache, input, kParamUserIR7Mode, kParamUserIR7PresetMSB, kParamUserIR7Preset),
        EmbeddedBlock(cache, input, kParamUserIR8Mode, kParamUserIR8PresetMSB,
                      kParamUserIR8Preset)}) {
    if (block) file.insert(file.end(), block->begin(), block->end());
  }
  return file;
}

PresetFileWriteResult WritePresetFile(const std::string& path, const PresetFileInput& input,
                                      const SlotCache& cache) {
  PresetFileWriteResult result;
  const std::string name = PresetNameFromPath(path);
  const std::vector<uint8_t> file = BuildPresetFile(name, input, cache);
  if (!ReplaceFileContents(path, file)) return result;
  result.written = true;
  result.name = name;
  result.size = file.size();
  return result;
}

int ParsedPresetFile::Param(int index) const {
  return static_cast<int8_t>(header[kPresetFileParamsOffset + index]);
}
NameField ParsedPresetFile::Name() const {
  return NameAt(header, kPresetFileNameOffset);
}
NameField ParsedPresetFile::IR7Name() const {
  return NameAt(header, kPresetFileIR7NameOffset);
}
NameField ParsedPresetFile::IR8Name() const {
  return NameAt(header, kPresetFileIR8NameOffset);
}

ParsedPresetFile ParsePresetFile(std::span<const uint8_t> file) {
  ParsedPresetFile parsed;
  parsed.size = file.size();
  if (file.size() >= kPresetFileHeaderSize)
    std::copy_n(file.begin(), kPresetFileHeaderSize, parsed.header.begin());
  parsed.blockCount = file.size() < kPresetFileHeaderSize
                          ? 0
                          : static_cast<int>(std::min<size_t>(
                                2, (file.size() - kPresetFileHeaderSize) / kIRBlockSize));
  const bool knownMagic = std::memcmp(parsed.header.data(), "ZOLP", 4) == 0 ||
                          std::memcmp(parsed.header.data(), "QVMP", 4) == 0;
  if (!knownMagic) return parsed;
  const int version =
      static_cast<int8_t>(parsed.header[4]) * 10 + static_cast<int8_t>(parsed.header[5]);
  parsed.status = version > 10 ? PresetFileStatus::kUnsupportedVersion : PresetFileStatus::kOk;
  return parsed;
}

std::string PresetFileProblem(std::span<const uint8_t> file) {
  const ParsedPresetFile parsed = ParsePresetFile(file);
  char text[240];
  const size_t blocks = file.size() < kPresetFileHeaderSize
                            ? 0
                            : (file.size() - kPresetFileHeaderSize) / kIRBlockSize;
  if (file.size() < kPresetFileHeaderSize || blocks > 2 ||
      file.size() != kPresetFileHeaderSize + blocks * kIRBlockSize) {
    std::snprintf(text, sizeof text,
                  "The preset file is damaged: it is %zu bytes long, and a preset file holds %zu "
                  "bytes, or %zu or %zu with its IRs.",
                  file.size(), kPresetFileHeaderSize, kPresetFileHeaderSize + kIRBlockSize,
                  kPresetFileHeaderSize + 2 * kIRBlockSize);
    return text;
  }
  // The writer embeds an IR only for a position that plays a user IR.
  auto fromFile = [&](int mode, int msb) {
    return parsed.Param(mode) >= 1 && parsed.Param(msb) < 2;
  };
  const size_t used = (fromFile(kParamUserIR7Mode, kParamUserIR7PresetMSB) ? 1 : 0) +
                      (fromFile(kParamUserIR8Mode, kParamUserIR8PresetMSB) ? 1 : 0);
  if (blocks > used) {
    std::snprintf(text, sizeof text,
                  "The preset file is damaged: it holds %zu IR(s), and its preset plays %zu user "
                  "IR(s) of its own.",
                  blocks, used);
    return text;
  }
  for (size_t k = 0; k < blocks; ++k) {
    const IRBlockBytes block = *PresetFileBlock(file, static_cast<int>(k));
    const unsigned format = block[0] | (block[1] << 8);
    const unsigned gain = IRBlockGainWord(block);
    if (format != 1) {
      std::snprintf(text, sizeof text,
                    "IR %zu of the preset file is damaged: its format word is %u, not 1.", k + 1,
                    format);
      return text;
    }
    if (gain > 32768) {
      std::snprintf(text, sizeof text,
                    "IR %zu of the preset file is damaged: its level word %u is above 32768.",
                    k + 1, gain);
      return text;
    }
  }
  return {};
}

std::optional<IRBlockBytes> PresetFileBlock(std::span<const uint8_t> file, int index) {
  const size_t offset = kPresetFileHeaderSize + static_cast<size_t>(index) * kIRBlockSize;
  if (index < 0 || file.size() < offset + kIRBlockSize) return std::nullopt;
  IRBlockBytes block;
  std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(offset), kIRBlockSize, block.begin());
  return block;
}

} // namespace zorel::lib

#include "library/SlotCache.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "library/FileReader.h"
#include "library/FileWriter.h"
#include "library/LibraryPaths.h"

namespace zorel::lib {

namespace {

constexpr size_t kNameProbeSize = 64;

bool FileOpens(const std::string& path) {
  return FileReader(path).IsOpen();
}

bool HoldsOneIRBlock(const std::string& path) {
  FileReader reader(path);
  return reader.IsOpen() && reader.Size() == kIRBlockSize;
}

void DeleteFilesWithADot(const std::string& folder) {
  for (const std::string& name : ListFiles(folder)) {
    if (name.find('.') != std::string::npos) DeleteFile(folder + name);
  }
}

} // namespace

std::string PresetRowText(int displayNumber, std::span<const uint8_t> nameBytes) {
  char number[16];
  std::snprintf(number, sizeof number, " %02d ", displayNumber);
  std::string text = number;
  for (uint8_t b : nameBytes) {
    if (b == 0) break;
    text.push_back(static_cast<char>(b));
  }
  return text;
}

void SlotCache::SetRow(int row, std::string text) {
  mTables.mPresetRowTexts[row] = std::move(text);
  if (mView) mView->SetPresetRowText(row, mTables.mPresetRowTexts[row]);
}

std::optional<std::array<uint8_t, kPresetPayloadSize>> SlotCache::ReadPresetSlot(int slot) const {
  if (slot < 0 || slot >= kPresetSlotCount) return std::nullopt;
  FileReader reader(PresetSlotPath(mRoot, slot));
  std::array<uint8_t, kPresetPayloadSize> payload{};
  uint8_t extra = 0;
  // A file cut short, or longer than one payload, is no stored preset.
  if (!reader.IsOpen() || reader.Read(payload.data(), payload.size()) != payload.size() ||
      reader.Read(&extra, 1) != 0)
    return std::nullopt;
  return payload;
}

void SlotCache::RefreshPresetList(int patchOffset) {
  for (int slot = 0; slot < kPresetSlotCount; ++slot) {
    std::array<uint8_t, kPresetPayloadSize> payload{};
    FileReader reader(PresetSlotPath(mRoot, slot));
    if (reader.IsOpen()) {
      reader.Read(payload.data(), payload.size());
      SetRow(slot, PresetRowText(slot + patchOffset,
                                 std::span(payload).subspan(kPayloadNameOffset, kNameFieldLength)));
    } else {
      SetRow(slot, PresetRowText(slot + patchOffset, {}));
    }
    mTables.mPresetChecksums[slot] = ComputeBlockChecksum(payload);
  }
}

int SlotCache::ScanPresetFolder(int patchOffset) {
  const std::string folder = mRoot + kPresetsFolder;
  if (!FileOpens(folder + SlotFileName(0))) {
    CreateFolder(folder);
    return 0;
  }
  int accepted = 0;
  for (const std::string& name : ListFiles(folder)) {
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || name.compare(dot, std::string::npos, ".dat") != 0) continue;
    if (accepted < kPresetSlotCount) {
      std::array<uint8_t, kPayloadNameOffset + kNameFieldLength> head{};
      // Only the first 34 bytes count: the two fixed bytes and the name.
      FileReader reader(folder + name);
      reader.Read(head.data(), head.size());
      SetRow(accepted,
             PresetRowText(accepted + patchOffset, std::span(head).subspan(kPayloadNameOffset)));
    }
    ++accepted;
  }
  return accepted;
}

void SlotCache::WritePresetSlot(int slot, std::span<const uint8_t, kPresetPayloadSize> payload,
                                uint8_t checksumHigh, uint8_t checksumLow) {
  if (slot < 0 || slot >= kPresetSlotCount) return;
  // The folder normally exists from start-up; making sure costs one call and
  // keeps a folder removed behind the editor's back from losing dumps.
  CreateFolder(mRoot + kPresetsFolder);
  ReplaceFileContents(PresetSlotPath(mRoot, slot), payload, Durability::kCache);
  mTables.mPresetChecksums[slot] = {checksumHigh, checksumLow};
  mTables.mPresetFetchFlags[slot] = false;
}

bool SlotCache::UserIRSlotExists(int number) const {
  return HoldsOneIRBlock(UserIRSlotPath(mRoot, number));
}

bool SlotCache::FactoryIRSlotExists(int index) const {
  return HoldsOneIRBlock(FactoryIRSlotPath(mRoot, index));
}

bool SlotCache::LoadIRSlotFile(const std::string& path) {
  FileReader reader(path);
  if (!reader.IsOpen() || reader.Size() != kIRBlockSize) return false;
  IRBlockBytes block{};
  if (reader.Read(block.data(), block.size()) != block.size()) return false;
  mTables.mIRGain = IRBlockGain(block);
  IRBlockSamplesInto(block, mTables.mIRBuffer);
  return true;
}

bool SlotCache::LoadUserIRSlot(int number) {
  return LoadIRSlotFile(UserIRSlotPath(mRoot, number));
}

bool SlotCache::LoadFactoryIRSlot(int index) {
  return LoadIRSlotFile(FactoryIRSlotPath(mRoot, index));
}

bool SlotCache::ReadNameField(const std::string& path, NameField& name) const {
  FileReader reader(path);
  if (!reader.IsOpen()) return false;
  // A short file leaves zero bytes where it ends, as the fixed probe did.
  std::array<uint8_t, kNameProbeSize> probe{};
  reader.Read(probe.data(), probe.size());
  std::memcpy(name.data(), probe.data() + kIRBlockNameOffset, kNameFieldLength);
  return true;
}

void SlotCache::ReadUserIRName(int number) {
  if (number < 0 || number >= kUserIRNameCount) return;
  NameField name;
  mTables.mUserIRNames[number] =
      ReadNameField(UserIRSlotPath(mRoot, number), name) ? TrimName(name) : EmptySlotName(number);
}

void SlotCache::ReadFactoryIRName(int index) {
  if (index < 0 || index >= kFactoryIRCount) return;
  NameField name;
  if (ReadNameField(FactoryIRSlotPath(mRoot, index), name))
    mTables.mCabinetNames[index + 1] = TrimName(name);
}

bool SlotCache::WriteIRSlot(int number, std::span<const uint8_t> bytes) {
  CreateFolder(mRoot + IRFolderFor(number));
  return ReplaceFileContents(IRSlotPathFor(mRoot, number), bytes, Durability::kCache);
}

bool SlotCache::StoreIRDump(int number, std::span<const uint8_t> bytes) {
  if (number < 0 || bytes.size() != kIRBlockSize) return false;
  const bool stored = WriteIRSlot(number, bytes);
  // Only factory IRs 0..7 have a cabinet entry; numbers above 391 are
  // stored but name nothing.
  if (stored && number >= kFirstFactoryIRNumber) ReadFactoryIRName(number % 128);
  return stored;
}

void SlotCache::ForgetIRSlot(int number) {
  if (number >= 0) DeleteFile(IRSlotPathFor(mRoot, number));
}

void SlotCache::ClearCache() {
  for (const char* folder : {kPresetsFolder, kUserIRsFolder, kFactoryIRsFolder})
    DeleteFilesWithADot(mRoot + folder);
}

void SlotCache::ClearPedalContent() {
  for (const char* folder : {kPresetsFolder, kUserIRsFolder}) DeleteFilesWithADot(mRoot + folder);
}

std::optional<IRBlockBytes> SlotCache::ReadUserIRBlock(int number) const {
  FileReader reader(UserIRSlotPath(mRoot, number));
  if (!reader.IsOpen() || reader.Size() != kIRBlockSize) return std::nullopt;
  IRBlockBytes block{};
  if (reader.Read(block.data(), block.size()) != block.size()) return std::nullopt;
  return block;
}

} // namespace zorel::lib

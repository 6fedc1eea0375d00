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

std::optional<std::vector<uint8_t>> SlotCache::ReadTrusted(const std::string& path,
                                                           size_t size) const {
  std::vector<uint8_t> bytes;
  // A file cut short, or longer than it should be, is no stored slot.
  if (!ReadWholeFile(path, size, bytes) || bytes.size() != size || !mManifest.Vouches(path, bytes))
    return std::nullopt;
  return bytes;
}

std::optional<std::array<uint8_t, kPresetPayloadSize>> SlotCache::ReadPresetSlot(int slot) const {
  if (slot < 0 || slot >= kPresetSlotCount) return std::nullopt;
  return ReadTrustedBlock<kPresetPayloadSize>(PresetSlotPath(mRoot, slot));
}

void SlotCache::RefreshPresetList(int patchOffset) {
  // Room for a payload and more, so a file that is too long is read whole
  // and refused by the record, not cut to fit.
  constexpr uint64_t kLargestRead = 4096;
  for (int slot = 0; slot < kPresetSlotCount; ++slot) {
    std::array<uint8_t, kPresetPayloadSize> payload{};
    const std::string path = PresetSlotPath(mRoot, slot);
    std::vector<uint8_t> bytes;
    if (ReadWholeFile(path, kLargestRead, bytes) && mManifest.Vouches(path, bytes)) {
      // A short file counts its missing bytes as zero, as the pedal's
      // checksum of it would.
      std::copy_n(bytes.begin(), std::min(bytes.size(), payload.size()), payload.begin());
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

bool SlotCache::WritePresetSlot(int slot, std::span<const uint8_t, kPresetPayloadSize> payload,
                                uint8_t checksumHigh, uint8_t checksumLow) {
  if (slot < 0 || slot >= kPresetSlotCount) return false;
  // The folder normally exists from start-up; making sure costs one call and
  // keeps a folder removed behind the editor's back from losing dumps.
  CreateFolder(mRoot + kPresetsFolder);
  const std::string path = PresetSlotPath(mRoot, slot);
  mTables.mPresetFetchFlags[slot] = false;
  if (!ReplaceFileContents(path, payload, Durability::kCache)) return false;
  mManifest.Record(path, payload);
  mTables.mPresetChecksums[slot] = {checksumHigh, checksumLow};
  return true;
}

bool SlotCache::UserIRSlotExists(int number) const {
  return ReadTrusted(UserIRSlotPath(mRoot, number), kIRBlockSize).has_value();
}

bool SlotCache::FactoryIRSlotExists(int index) const {
  return ReadTrusted(FactoryIRSlotPath(mRoot, index), kIRBlockSize).has_value();
}

bool SlotCache::LoadIRSlotFile(const std::string& path) {
  const auto block = ReadTrustedBlock<kIRBlockSize>(path);
  if (!block) return false;
  mTables.mIRGain = IRBlockGain(*block);
  IRBlockSamplesInto(*block, mTables.mIRBuffer);
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
  const std::string path = IRSlotPathFor(mRoot, number);
  if (!ReplaceFileContents(path, bytes, Durability::kCache)) return false;
  mManifest.Record(path, bytes);
  return true;
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
  if (number < 0) return;
  const std::string path = IRSlotPathFor(mRoot, number);
  // A file that stays keeps its entry, so that it is still checked.
  if (DeleteFile(path)) mManifest.Forget(path);
}

void SlotCache::ClearCache() {
  for (const char* folder : {kPresetsFolder, kUserIRsFolder, kFactoryIRsFolder}) {
    DeleteFilesWithADot(mRoot + folder);
    mManifest.ForgetFolder(mRoot + folder);
  }
}

void SlotCache::ClearPedalContent() {
  for (const char* folder : {kPresetsFolder, kUserIRsFolder}) {
    DeleteFilesWithADot(mRoot + folder);
    mManifest.ForgetFolder(mRoot + folder);
  }
}

std::optional<IRBlockBytes> SlotCache::ReadUserIRBlock(int number) const {
  return ReadTrustedBlock<kIRBlockSize>(UserIRSlotPath(mRoot, number));
}

bool SlotCache::HoldsIRBlock(int number, std::span<const uint8_t> block) const {
  if (number < 0 || block.size() != kIRBlockSize) return false;
  const auto bytes = ReadTrusted(IRSlotPathFor(mRoot, number), kIRBlockSize);
  return bytes && std::equal(bytes->begin(), bytes->end(), block.begin());
}

} // namespace zorel::lib

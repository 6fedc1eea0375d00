#include "editor/LibraryCache.h"

#include "formats/NameText.h"
#include "library/CabinetResponse.h"
#include "library/LibraryPaths.h"
#include "library/LibraryTables.h"
#include "library/SlotCache.h"

namespace zorel {

using namespace lib;

LibraryCache::LibraryCache(std::string root)
    : mRoot(std::move(root)), mTables(std::make_unique<LibraryTables>()),
      mSlots(std::make_unique<SlotCache>(mRoot, *mTables)) {
  CreateLibraryRoot(mRoot);
  // Rows the slot cache rebuilds (scans, refreshes) come back through
  // SetPresetRowText, the one path that tells the preset list.
  mSlots->SetView(this);
}

LibraryCache::~LibraryCache() = default;

std::string LibraryCache::DefaultRoot() {
  return LibraryRootPath();
}

bool LibraryCache::WritePresetSlot(int slot, std::span<const uint8_t> payload, uint8_t high,
                                   uint8_t low) {
  if (slot < 0 || slot >= kPresetSlotCount || payload.size() != kPresetPayloadSize) return false;
  return mSlots->WritePresetSlot(
      slot, std::span<const uint8_t, kPresetPayloadSize>(payload.data(), kPresetPayloadSize), high,
      low);
}

std::string LibraryCache::PresetSlotFile(int slot) const {
  return PresetSlotPath(mRoot, slot);
}

bool LibraryCache::ChecksumDiffers(int slot, uint8_t high, uint8_t low) const {
  const auto& c = mTables->mPresetChecksums[static_cast<size_t>(slot)];
  return c.high != high || c.low != low;
}

bool LibraryCache::FetchFlag(int slot) const {
  return mTables->mPresetFetchFlags[static_cast<size_t>(slot)];
}

void LibraryCache::SetFetchFlag(int slot, bool fetch) {
  mTables->mPresetFetchFlags[static_cast<size_t>(slot)] = fetch;
}

void LibraryCache::SetPresetRowText(int slot, const std::string& text) {
  mTables->mPresetRowTexts[static_cast<size_t>(slot)] = text;
  if (mOnPresetRowText) mOnPresetRowText(slot, text);
}

bool LibraryCache::UserIRSlotExists(int number) const {
  return mSlots->UserIRSlotExists(number);
}

void LibraryCache::StoreIRDump(int number, std::span<const uint8_t> bytes) {
  mSlots->StoreIRDump(number, bytes);
}

bool LibraryCache::HoldsIR(int number, std::span<const uint8_t> block) const {
  return mSlots->HoldsIRBlock(number, block);
}

void LibraryCache::ShowCabinetResponse(int irValue) {
  const CabinetInputs in = mCabinetInputs ? mCabinetInputs() : CabinetInputs{};
  CabinetSources sources;
  sources.userIR7Mode = in.userIR7Mode;
  sources.userIR8Mode = in.userIR8Mode;
  sources.userIR7Number = in.userIR7Number;
  sources.userIR8Number = in.userIR8Number;
  FillCabinetResponse(*mSlots, irValue, sources);
}

const std::string& LibraryCache::CabinetName(int index) const {
  return mTables->mCabinetNames[static_cast<size_t>(index)];
}

void LibraryCache::ClearCache() {
  mSlots->ClearCache();
}

void LibraryCache::RefreshPresetList() {
  mSlots->RefreshPresetList(mPatchOffset ? mPatchOffset() : 0);
}

int LibraryCache::ScanPresetFolder() {
  return mSlots->ScanPresetFolder(mPatchOffset ? mPatchOffset() : 0);
}

void LibraryCache::ReadUserIRName(int number) {
  mSlots->ReadUserIRName(number);
}

std::string LibraryCache::CachedUserIRName(int number) {
  if (number < 0 || number >= lib::kUserIRNameCount || !mSlots->UserIRSlotExists(number)) return {};
  mSlots->ReadUserIRName(number);
  return NameFieldText(UserIRName(number));
}

const std::string& LibraryCache::UserIRName(int number) const {
  return mTables->mUserIRNames[static_cast<size_t>(number) % mTables->mUserIRNames.size()];
}

const std::string& LibraryCache::PresetRowText(int slot) const {
  return mTables->mPresetRowTexts[static_cast<size_t>(slot)];
}

} // namespace zorel

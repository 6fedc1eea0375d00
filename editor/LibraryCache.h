#pragma once

#include <functional>
#include <memory>
#include <string>

#include "library/SlotCache.h"
#include "protocol/PresetCache.h"

namespace zorel {

namespace lib {
struct LibraryTables;
class SlotCache;
} // namespace lib

// The protocol's view of the library on disk: the slot cache under the
// library root and its tables. Kept apart from the editor's header so that
// the protocol's and the library's names never meet in one file.
class LibraryCache : public IPresetCache, private lib::ILibraryView {
public:
  // Values the cabinet response depends on: modes and numbers of user IRs 7/8.
  struct CabinetInputs {
    int userIR7Mode = 0, userIR8Mode = 0, userIR7Number = 0, userIR8Number = 0;
  };

  explicit LibraryCache(std::string root);
  // $ZOREL_HOME, else $XDG_DATA_HOME/ZorelControl, else ~/.local/share/ZorelControl.
  static std::string DefaultRoot();
  ~LibraryCache() override;

  bool WritePresetSlot(int slot, std::span<const uint8_t> payload, uint8_t checksumHigh,
                       uint8_t checksumLow) override;
  std::string PresetSlotFile(int slot) const override;
  bool ChecksumDiffers(int slot, uint8_t high, uint8_t low) const override;
  bool FetchFlag(int slot) const override;
  void SetFetchFlag(int slot, bool fetch) override;
  void SetPresetRowText(int slot, const std::string& text) override;
  bool UserIRSlotExists(int number) const override;
  std::string CachedUserIRName(int number) override;
  void StoreIRDump(int number, std::span<const uint8_t> bytes) override;
  bool HoldsIR(int number, std::span<const uint8_t> block) const override;
  // Fills the IR working buffer for position `irValue` of parameter 14.
  void ShowCabinetResponse(int irValue);
  const std::string& CabinetName(int index) const override;
  void ClearCache() override;
  void RefreshPresetList() override;

  void ReadUserIRName(int number);
  const std::string& UserIRName(int number) const;
  const std::string& PresetRowText(int slot) const;
  int ScanPresetFolder();

  // Read when the cabinet response or the preset list is rebuilt.
  std::function<CabinetInputs()> mCabinetInputs;
  std::function<int()> mPatchOffset;
  // Told of every preset-row text that changes (a dump, a scan, a refresh).
  std::function<void(int slot, const std::string& text)> mOnPresetRowText;
  const std::string& Root() const { return mRoot; }
  lib::LibraryTables& Tables() { return *mTables; }
  lib::SlotCache& Slots() { return *mSlots; }

private:
  std::string mRoot;
  std::unique_ptr<lib::LibraryTables> mTables;
  std::unique_ptr<lib::SlotCache> mSlots;
};

} // namespace zorel

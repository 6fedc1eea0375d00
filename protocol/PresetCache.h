#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace zorel {

// What the reply handling and the device tick need of the library on disk:
// the slot cache of presets and IRs and its tables. The editor adapts its
// library to this, so the protocol does not depend on how files are kept.
class IPresetCache {
public:
  virtual ~IPresetCache() = default;

  // Stores a preset payload from the pedal: slot file, checksum entry, and
  // the slot's fetch flag cleared. False when the file could not be
  // written; the checksum entry then keeps what the disk holds.
  virtual bool WritePresetSlot(int slot, std::span<const uint8_t> payload, uint8_t checksumHigh,
                               uint8_t checksumLow) = 0;
  // Where the library keeps preset `slot`, for messages.
  virtual std::string PresetSlotFile(int slot) const = 0;
  virtual bool ChecksumDiffers(int slot, uint8_t high, uint8_t low) const = 0;
  virtual bool FetchFlag(int slot) const = 0;
  virtual void SetFetchFlag(int slot, bool fetch) = 0;
  virtual void SetPresetRowText(int slot, const std::string& text) = 0;

  virtual bool UserIRSlotExists(int number) const = 0;
  // The name of the user IR the cache holds in slot `number`, trailing
  // spaces removed; "" when the cache holds none.
  virtual std::string CachedUserIRName(int number) = 0;
  virtual void StoreIRDump(int number, std::span<const uint8_t> bytes) = 0;
  // Whether the cache holds IR `number` as `block`, in a file it trusts.
  virtual bool HoldsIR(int number, std::span<const uint8_t> block) const = 0;
  virtual const std::string& CabinetName(int index) const = 0;
  // Deletes the cached files and rebuilds the preset list from what is left.
  virtual void ClearCache() = 0;
  virtual void RefreshPresetList() = 0;
};

} // namespace zorel

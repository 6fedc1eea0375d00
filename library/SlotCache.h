#pragma once

// The slot files of the library: one preset payload per preset slot, one IR
// block per user or factory IR, and the operations that read, write, test
// and delete them while keeping LibraryTables in step. A file that does not
// open, or no longer holds what the library wrote (SlotManifest), counts as
// absent; writes say whether they succeeded.
//
// Called from the user-interface thread and from the thread that handles the
// pedal's replies (WritePresetSlot, StoreIRDump, UserIRSlotExists,
// RefreshPresetList); the caller keeps the two from overlapping.

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "library/IRBlock.h"
#include "library/LibraryTables.h"
#include "library/SlotManifest.h"

namespace zorel::lib {

// What the library tells a control surface, when one is open.
class ILibraryView {
public:
  virtual ~ILibraryView() = default;
  virtual void SetPresetRowText(int row, const std::string& text) = 0;
};

class SlotCache {
public:
  SlotCache(std::string root, LibraryTables& tables)
      : mRoot(std::move(root)), mTables(tables), mManifest(mRoot) {}

  const std::string& Root() const { return mRoot; }
  LibraryTables& Tables() { return mTables; }
  void SetView(ILibraryView* view) { mView = view; }

  // Rows and checksums of all 128 slots from their files; rows are numbered
  // slot + patchOffset (parameter 91, 0 or 1).
  void RefreshPresetList(int patchOffset);

  // Rows in the order of the sorted listing of the preset folder, or the
  // folder created when "001.dat" is missing. Returns the number of ".dat"
  // files accepted; 128 or more ends a bulk read in progress.
  int ScanPresetFolder(int patchOffset);

  // Stores a payload from the pedal (folder created one level, the file
  // replaced whole, never left half written) with its checksum, and clears
  // the slot's fetch flag so that a bulk read goes on. When the file cannot
  // be written the checksum entry keeps what the disk holds, so the slot is
  // asked for again, and the call returns false.
  bool WritePresetSlot(int slot, std::span<const uint8_t, kPresetPayloadSize> payload,
                       uint8_t checksumHigh, uint8_t checksumLow);

  // The payload of a preset slot file, when the file holds exactly one.
  std::optional<std::array<uint8_t, kPresetPayloadSize>> ReadPresetSlot(int slot) const;

  // An IR slot exists when its file holds exactly one IR block: a file cut
  // short by a lost chunk or an interrupted write counts as absent, so the
  // IR is fetched again instead of being kept wrong for good.
  bool UserIRSlotExists(int number) const;
  bool FactoryIRSlotExists(int index) const;

  // An IR slot file of exactly 2436 bytes sets mIRGain and mIRBuffer[0..1199];
  // any other size leaves both unchanged. Return whether it loaded.
  bool LoadUserIRSlot(int number);
  bool LoadFactoryIRSlot(int index);

  // mUserIRNames[number] from the file's name field, or "Empty Slot %d".
  void ReadUserIRName(int number);
  // mCabinetNames[index + 1] from the factory slot file, when it opens.
  void ReadFactoryIRName(int index);

  // An IR dump from the pedal, stored only when it is one whole IR block
  // (2436 bytes); anything else is refused and leaves the slot file as it
  // was. A factory IR also renames its cabinet. Whether the transfer's
  // checksum was right is the receiver's to check (IRTransferIntact of the
  // codec) before it calls this: the checksum is over the packed bytes,
  // which never reach the library. Returns whether the IR was stored.
  bool StoreIRDump(int number, std::span<const uint8_t> bytes);

  // Removes the slot file of an IR whose content on the pedal is no longer
  // known (an import that touched it, whether it completed or not), so that
  // it counts as absent and is fetched again.
  void ForgetIRSlot(int number);

  // Deletes every file with a '.' in its name from the three folders; the
  // folders and files without a dot stay.
  void ClearCache();

  // Deletes the files with a '.' in their names from the preset and user IR
  // folders: what mirrors one particular pedal. The factory IRs are the
  // same on every pedal and stay.
  void ClearPedalContent();

  // The whole IR block of a user IR slot file, when it is exactly 2436 bytes.
  std::optional<IRBlockBytes> ReadUserIRBlock(int number) const;
  // Whether the slot file of IR `number` (user or factory) holds `block`.
  bool HoldsIRBlock(int number, std::span<const uint8_t> block) const;

  // Creates the IR's folder (one level) and replaces its slot file with the
  // bytes. Returns whether the file was written.
  bool WriteIRSlot(int number, std::span<const uint8_t> bytes);

private:
  // The whole file at `path` when it is exactly `size` bytes and the record
  // vouches for it.
  std::optional<std::vector<uint8_t>> ReadTrusted(const std::string& path, size_t size) const;
  // The same into a block of its size.
  template <size_t N>
  std::optional<std::array<uint8_t, N>> ReadTrustedBlock(const std::string& path) const {
    const auto bytes = ReadTrusted(path, N);
    if (!bytes) return std::nullopt;
    std::array<uint8_t, N> block{};
    std::copy(bytes->begin(), bytes->end(), block.begin());
    return block;
  }
  bool LoadIRSlotFile(const std::string& path);
  bool ReadNameField(const std::string& path, NameField& name) const;
  void SetRow(int row, std::string text);

  std::string mRoot;
  LibraryTables& mTables;
  SlotManifest mManifest;
  ILibraryView* mView = nullptr;
};

// " %02d " with the display number, followed by the name bytes up to the
// first zero byte.
std::string PresetRowText(int displayNumber, std::span<const uint8_t> nameBytes);

} // namespace zorel::lib

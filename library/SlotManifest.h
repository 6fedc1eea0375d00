#pragma once

// The library's record of the slot files it wrote: the SHA-256 of each, in
// one file at the library root ("slot-files.sha256", in the format that
// `sha256sum -c` checks). The pedal's checksums are plain sums, blind to
// bytes swapped in a file or changed in pairs; the record is not. A slot
// file that no longer matches its entry counts as absent, so it is read
// from the pedal again instead of being kept wrong for good. A file without
// an entry (a library from before the record was kept, factory IRs the
// installer wrote) is taken as it is.
//
// The record is replaced whole after every change, so a crash leaves
// either the old or the new one: a slot file newer than its entry then
// merely counts as absent.

#include <cstdint>
#include <map>
#include <span>
#include <string>

#include "library/Sha256.h"

namespace zorel::lib {

class SlotManifest {
public:
  static constexpr const char* kFileName = "/slot-files.sha256";

  // Reads the record of the library at `root`, when there is one.
  explicit SlotManifest(std::string root);

  // Whether `bytes`, read from `path`, may be taken for what the library
  // wrote there.
  bool Vouches(const std::string& path, std::span<const uint8_t> bytes) const;
  // `path` now holds `bytes`. False when the record could not be saved:
  // the file then has no entry and is taken as it is.
  bool Record(const std::string& path, std::span<const uint8_t> bytes);
  // `path` was deleted.
  void Forget(const std::string& path);
  // Every file in the folder `folderPath` (ending in '/') was deleted.
  void ForgetFolder(const std::string& folderPath);

private:
  // The path relative to the root, as the record names it; empty when the
  // path is not under the root.
  std::string Key(const std::string& path) const;
  bool Save() const;

  std::string mRoot;
  std::map<std::string, Sha256Digest> mDigests;
};

} // namespace zorel::lib

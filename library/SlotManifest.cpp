#include "library/SlotManifest.h"

#include <cstdio>

#include "library/FileReader.h"
#include "library/FileWriter.h"

namespace zorel::lib {

namespace {

// A library of 128 presets and 392 IRs keeps about 40 KB of record; a
// larger file is not one.
constexpr uint64_t kMaxRecordSize = 1 << 20;
constexpr size_t kHexDigits = 2 * sizeof(Sha256Digest);

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "<64 hex digits>  <path>", as sha256sum prints it; anything else is
// skipped, so a damaged line costs only its own entry.
bool ParseLine(std::string_view line, std::string& key, Sha256Digest& digest) {
  if (line.size() < kHexDigits + 3 || line.substr(kHexDigits, 2) != "  ") return false;
  for (size_t i = 0; i < digest.size(); ++i) {
    const int high = HexValue(line[2 * i]);
    const int low = HexValue(line[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    digest[i] = static_cast<uint8_t>(high * 16 + low);
  }
  key = std::string(line.substr(kHexDigits + 2));
  return true;
}

} // namespace

SlotManifest::SlotManifest(std::string root) : mRoot(std::move(root)) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(mRoot + kFileName, kMaxRecordSize, bytes)) return;
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string key;
    Sha256Digest digest{};
    if (ParseLine(text.substr(start, end - start), key, digest)) mDigests[key] = digest;
    start = end + 1;
  }
}

std::string SlotManifest::Key(const std::string& path) const {
  if (path.size() <= mRoot.size() + 1 || path.compare(0, mRoot.size(), mRoot) != 0 ||
      path[mRoot.size()] != '/')
    return {};
  return path.substr(mRoot.size() + 1);
}

bool SlotManifest::Vouches(const std::string& path, std::span<const uint8_t> bytes) const {
  const auto entry = mDigests.find(Key(path));
  return entry == mDigests.end() || entry->second == Sha256(bytes);
}

bool SlotManifest::Record(const std::string& path, std::span<const uint8_t> bytes) {
  const std::string key = Key(path);
  if (key.empty()) return false;
  mDigests[key] = Sha256(bytes);
  if (Save()) return true;
  // An entry only this process knows would call a good file damaged after
  // the next start, or vouch for a file the next run changed: better none.
  mDigests.erase(key);
  return false;
}

void SlotManifest::Forget(const std::string& path) {
  if (mDigests.erase(Key(path)) > 0) Save();
}

void SlotManifest::ForgetFolder(const std::string& folderPath) {
  const std::string prefix = Key(folderPath);
  if (prefix.empty()) return;
  bool changed = false;
  for (auto it = mDigests.lower_bound(prefix);
       it != mDigests.end() && it->first.compare(0, prefix.size(), prefix) == 0;) {
    it = mDigests.erase(it);
    changed = true;
  }
  if (changed) Save();
}

bool SlotManifest::Save() const {
  std::string text;
  text.reserve(mDigests.size() * (kHexDigits + 24));
  for (const auto& [key, digest] : mDigests) {
    char hex[3];
    for (uint8_t b : digest) {
      std::snprintf(hex, sizeof hex, "%02x", b);
      text += hex;
    }
    text += "  ";
    text += key;
    text += '\n';
  }
  return ReplaceFileContents(mRoot + kFileName,
                             std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()),
                             Durability::kCache);
}

} // namespace zorel::lib

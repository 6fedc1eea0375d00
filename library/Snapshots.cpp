#include "library/Snapshots.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include "library/FileReader.h"
#include "library/FileWriter.h"
#include "library/LibraryPaths.h"

namespace zorel::lib {

namespace {

constexpr size_t kStampLength = 19; // "2026-12-09_23-46-14"

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string CleanOperation(const std::string& operation) {
  std::string out;
  for (char c : operation) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    out.push_back(plain ? c : '-');
  }
  return out.empty() ? std::string("snapshot") : out;
}

bool IsDigits(const std::string& s, size_t from, size_t count) {
  for (size_t i = from; i < from + count; ++i)
    if (i >= s.size() || s[i] < '0' || s[i] > '9') return false;
  return true;
}

uint64_t SizeOf(const std::string& path, uint64_t* modifiedNs) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return 0;
  *modifiedNs = static_cast<uint64_t>(st.st_mtim.tv_sec) * 1000000000ull +
                static_cast<uint64_t>(st.st_mtim.tv_nsec);
  return static_cast<uint64_t>(st.st_size);
}

} // namespace

bool ParseSnapshotName(const std::string& name, std::string& when, std::string& operation) {
  if (!EndsWith(name, kSnapshotExtension)) return false;
  const std::string stem = name.substr(0, name.size() - std::strlen(kSnapshotExtension));
  if (stem.size() < kStampLength + 2 || stem[kStampLength] != '_') return false;
  if (!IsDigits(stem, 0, 4) || stem[4] != '-' || !IsDigits(stem, 5, 2) || stem[7] != '-' ||
      !IsDigits(stem, 8, 2) || stem[10] != '_' || !IsDigits(stem, 11, 2) || stem[13] != '-' ||
      !IsDigits(stem, 14, 2) || stem[16] != '-' || !IsDigits(stem, 17, 2))
    return false;
  when = stem.substr(0, 10) + " " + stem.substr(11, 2) + ":" + stem.substr(14, 2) + ":" +
         stem.substr(17, 2);
  operation = stem.substr(kStampLength + 1);
  return true;
}

SnapshotStore::SnapshotStore(std::string libraryRoot)
    : mRoot(std::move(libraryRoot)),
      mWriter([](const std::string& path, std::span<const uint8_t> bytes) {
        return ReplaceFileContents(path, bytes, Durability::kSynced);
      }) {}

std::string SnapshotStore::Folder() const {
  return mRoot + kSnapshotsFolder;
}

SnapshotWriteResult SnapshotStore::Write(const std::string& operation,
                                         std::span<const uint8_t> bytes, std::time_t when) {
  SnapshotWriteResult result;
  const std::string folder = Folder();
  CreateFolder(mRoot);
  if (!CreateFolder(folder.substr(0, folder.size() - 1))) {
    result.error = "the folder " + folder + " cannot be created (" + std::strerror(errno) + ")";
    return result;
  }
  std::tm local{};
  localtime_r(&when, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
  const std::string base = folder + stamp + "_" + CleanOperation(operation);
  std::string path = base + kSnapshotExtension;
  for (int n = 2; FileReader(path).IsOpen() && n < 1000; ++n)
    path = base + "-" + std::to_string(n) + kSnapshotExtension;
  errno = 0;
  if (!mWriter(path, bytes)) {
    const int error = errno;
    result.error = "it could not be written to " + folder + " (" +
                   (error ? std::strerror(error) : "write failed") + ")";
    return result;
  }
  result.written = true;
  result.path = path;
  Prune();
  return result;
}

void SnapshotStore::Prune() {
  const std::string folder = Folder();
  for (const std::string& name : ListFiles(folder)) {
    // A temporary is only ever left by a writer that died mid-way; one
    // process at a time holds the library, so none is being written now.
    if (name.find(".tmp-") != std::string::npos) DeleteFile(folder + name);
  }
  const std::vector<SnapshotInfo> all = List();
  const size_t keep = static_cast<size_t>(kKeep);
  for (size_t i = 0; i + keep < all.size(); ++i) DeleteFile(all[i].path);
}

std::vector<SnapshotInfo> SnapshotStore::List() const {
  std::vector<SnapshotInfo> out;
  const std::string folder = Folder();
  for (const std::string& name : ListFiles(folder)) {
    SnapshotInfo info;
    if (!ParseSnapshotName(name, info.when, info.operation)) continue;
    info.name = name;
    info.path = folder + name;
    info.size = SizeOf(info.path, &info.writtenNs);
    out.push_back(std::move(info));
  }
  // The names sort by the second; within one second the file's own time
  // tells which came first.
  std::stable_sort(out.begin(), out.end(), [](const SnapshotInfo& a, const SnapshotInfo& b) {
    if (a.when != b.when) return a.when < b.when;
    return a.writtenNs < b.writtenNs;
  });
  return out;
}

std::optional<SnapshotInfo> SnapshotStore::Find(const std::string& nameOrNumber) const {
  const std::vector<SnapshotInfo> all = List();
  if (!nameOrNumber.empty() && IsDigits(nameOrNumber, 0, nameOrNumber.size()) &&
      nameOrNumber.size() < 6) {
    const size_t n = std::stoul(nameOrNumber);
    if (n >= 1 && n <= all.size()) return all[n - 1];
    return std::nullopt;
  }
  const std::string wanted = FileNamePart(nameOrNumber);
  for (const SnapshotInfo& info : all)
    if (info.name == wanted || info.name == wanted + kSnapshotExtension) return info;
  return std::nullopt;
}

std::optional<std::vector<uint8_t>> SnapshotStore::Read(const SnapshotInfo& info,
                                                        size_t maxSize) const {
  WholeFile file = LoadWholeFile(info.path, maxSize);
  if (!file.Ok()) return std::nullopt;
  return std::move(file.bytes);
}

} // namespace zorel::lib

#include "library/LibraryPaths.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorel::lib {

namespace {

std::string EnvOrEmpty(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string StripTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

} // namespace

std::string LibraryRootPath() {
  if (std::string home = EnvOrEmpty("ZOREL_HOME"); !home.empty()) return StripTrailingSlashes(home);
  if (std::string data = EnvOrEmpty("XDG_DATA_HOME"); !data.empty())
    return StripTrailingSlashes(data) + "/ZorelControl";
  std::string home = EnvOrEmpty("HOME");
  if (home.empty()) home = ".";
  return StripTrailingSlashes(home) + "/.local/share/ZorelControl";
}

bool CreateLibraryRoot(const std::string& root) {
  if (root.empty()) return false;
  for (size_t i = 1; i <= root.size(); ++i) {
    if (i < root.size() && root[i] != '/') continue;
    const std::string prefix = root.substr(0, i);
    if (::mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  struct stat st {};
  return ::stat(root.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string SlotFileName(int slot) {
  char name[16];
  std::snprintf(name, sizeof name, "%03d.dat", slot + 1);
  return name;
}

std::string PresetSlotPath(const std::string& root, int slot) {
  return root + kPresetsFolder + SlotFileName(slot);
}

std::string UserIRSlotPath(const std::string& root, int number) {
  return root + kUserIRsFolder + SlotFileName(number);
}

std::string FactoryIRSlotPath(const std::string& root, int index) {
  return root + kFactoryIRsFolder + SlotFileName(index);
}

std::string IRFolderFor(int number) {
  return number >= kFirstFactoryIRNumber ? kFactoryIRsFolder : kUserIRsFolder;
}

std::string IRSlotPathFor(const std::string& root, int number) {
  return number >= kFirstFactoryIRNumber ? FactoryIRSlotPath(root, number % 128)
                                         : UserIRSlotPath(root, number);
}

bool CreateFolder(const std::string& path) {
  const std::string folder = StripTrailingSlashes(path);
  if (::mkdir(folder.c_str(), 0755) == 0) return true;
  struct stat st {};
  return errno == EEXIST && ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> ListFiles(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return names;
  const std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    bool regular = entry->d_type == DT_REG;
    if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
      struct stat st {};
      regular = ::stat((base + name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }
    if (regular) names.push_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

bool DeleteFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

std::string FileNamePart(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderPart(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace zorel::lib

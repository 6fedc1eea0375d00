#include "library/FactoryContent.h"

#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

#include "library/FileReader.h"
#include "library/FileWriter.h"
#include "library/LibraryPaths.h"

extern char** environ;

namespace zorel::lib {

namespace {

// The factory install collects more before writing than other uses.
constexpr int kFactoryWriterBuffers = 16;

} // namespace

int InstallFactoryIRs(const std::string& root, const ResourceLookup& resources) {
  const std::string folder = root + kFactoryIRsFolder;
  if (FileReader(folder + kFactoryIRResources[0].fileName).IsOpen()) return 0;
  CreateFolder(folder);
  int written = 0;
  for (const FactoryIRResource& resource : kFactoryIRResources) {
    const std::span<const uint8_t> bytes =
        resources ? resources(resource.id) : std::span<const uint8_t>{};
    if (bytes.empty()) continue;
    if (WriteWholeFile(folder + resource.fileName, bytes, kFactoryWriterBuffers)) ++written;
  }
  return written;
}

std::string ManualPath(const std::string& root) {
  return root + "/" + kManualFileName;
}

bool WriteManualIfMissing(const std::string& root, const ResourceLookup& resources) {
  const std::string path = ManualPath(root);
  if (FileReader(path).IsOpen()) return true;
  const std::span<const uint8_t> bytes =
      resources ? resources(kManualResourceId) : std::span<const uint8_t>{};
  if (bytes.empty()) return false;
  // A manual cut short by a failed write must not be taken for a whole one
  // the next time, so it goes in under its name only once complete.
  return ReplaceFileContents(path, bytes);
}

bool OpenWithDesktopViewer(const std::string& path, const std::string& opener) {
  std::vector<char*> argv{const_cast<char*>(opener.c_str()), const_cast<char*>(path.c_str()),
                          nullptr};
  pid_t pid = 0;
  if (::posix_spawnp(&pid, opener.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
    return false;
  // Reap the opener whenever it ends, without holding up the caller.
  std::thread([pid] {
    int status = 0;
    ::waitpid(pid, &status, 0);
  }).detach();
  return true;
}

bool OpenManual(const std::string& root, const ResourceLookup& resources,
                const DocumentLauncher& launch) {
  if (!WriteManualIfMissing(root, resources)) return false;
  return launch ? launch(ManualPath(root)) : OpenWithDesktopViewer(ManualPath(root));
}

} // namespace zorel::lib

#pragma once

// Creates a file (an existing one is truncated) and writes it in order
// through a few 8 KiB buffers. Paths are UTF-8, passed to the file system
// unchanged. Only regular files are written: a path naming a pipe or a
// device is refused without waiting (opening a FIFO would block until a
// reader came). While open, the writer holds an exclusive advisory lock
// when it can get one, so that a FileReader in another process knows the
// file may still change.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zorel::lib {

class FileWriter {
public:
  static constexpr size_t kBufferSize = 8192;

  // `buffers` sets how much is collected before it goes to the file (the
  // factory install passes 16, every other use 4).
  explicit FileWriter(const std::string& path, int buffers = 4);
  ~FileWriter(); // writes what is left and closes
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  bool IsOpen() const { return mFd >= 0; }

  // Appends n bytes; returns n, or 0 when the file is not open.
  size_t Write(const void* buffer, size_t n);
  size_t Write(std::span<const uint8_t> bytes) { return Write(bytes.data(), bytes.size()); }

  uint64_t Position() const { return mPosition; }

  // Writes the buffered bytes and closes the file; with `sync` it first
  // forces them to the disk (for files renamed into place afterwards).
  // Returns true only when every byte written so far reached the file; the
  // destructor does the same without telling.
  bool Close(bool sync = false);

private:
  bool FlushBuffer();

  int mFd = -1;
  bool mFailed = false;
  uint64_t mPosition = 0;
  std::vector<uint8_t> mBuffer;
  size_t mBuffered = 0;
};

// How hard ReplaceFileContents works to have the new bytes survive a crash.
enum class Durability {
  kSynced, // on disk before the rename: files the user made or will need
  kCache,  // not forced: a slot file lost in a crash is fetched again
};

// Replaces `path` with `bytes` so that a failure at any point leaves the
// old file as it was and no reader ever sees a partly written one: the
// bytes go to a temporary file of a name no other writer uses, in the same
// folder ("<name>.tmp-XXXXXX", created exclusively), which is renamed over
// the old one only once complete, and removed when anything fails. Two
// processes replacing the same file therefore never write into one
// temporary; the last rename wins with a whole file.
bool ReplaceFileContents(const std::string& path, std::span<const uint8_t> bytes,
                         Durability durability = Durability::kSynced);

// The temporary ReplaceFileContents writes: an exclusively created new file
// beside `path`, open for writing (the caller closes `fd`). Nothing when
// none could be created.
struct TempFile {
  int fd = -1;
  std::string path;
};
std::optional<TempFile> CreateTempFileBeside(const std::string& path);

// Creates or overwrites `path` with `bytes` in place (factory content).
// Returns true when all bytes were written.
bool WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes, int buffers = 4);

} // namespace zorel::lib

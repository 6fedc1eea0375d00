#pragma once

// Reads an existing file from start to end. Every use in the editor opens a
// file, reads at most about a megabyte and closes it within one call, so a
// plain buffered reader is all it takes; read-ahead would buy nothing here.
//
// Paths are UTF-8 and go to the file system unchanged. Only regular files
// are opened: a pipe, socket or device could block the caller for good (a
// FIFO waits in open() for a writer), so they are refused without being
// opened, and the file is opened non-blocking in case the path changes in
// between. A file that another process holds an exclusive lock on (a
// FileWriter elsewhere) is still opened; the reader then re-reads the size
// on every Size() call because the file may still be growing.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "library/ByteReader.h"

namespace zorel::lib {

// Why a file could not be read. Callers that show a message get distinct
// texts from FileErrorMessage; the slot cache takes every one as "absent".
enum class FileError {
  kNone,
  kNotFound,    // no such file, or a folder on its path is missing
  kIsDirectory, // a folder
  kNotRegular,  // a pipe, socket or device
  kTooLarge,    // larger than the caller's limit for what it is for
  kUnreadable,  // no permission, or the system failed to read it
};

class FileReader final : public ByteReader {
public:
  explicit FileReader(const std::string& path);
  ~FileReader() override;
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  bool IsOpen() const { return mFd >= 0; }
  // Why the file did not open (kNone when it did), and the errno behind it.
  FileError Error() const { return mError; }
  int SystemError() const { return mSystemError; }
  // True when the file was opened while a writer held it.
  bool SharedWrite() const { return mSharedWrite; }

  size_t Read(void* buffer, size_t n) override;
  void SetPosition(uint64_t p) override;
  uint64_t Position() const override { return mPosition; }
  uint64_t Size() override;

private:
  static constexpr size_t kBufferSize = 8192;

  bool Fill();
  void Refuse(FileError error, int systemError);

  int mFd = -1;
  FileError mError = FileError::kNone;
  int mSystemError = 0;
  bool mSharedWrite = false;
  uint64_t mSize = 0;
  uint64_t mPosition = 0;
  // mBuffer holds the file bytes from mBufferStart, mBufferLength of them.
  std::vector<uint8_t> mBuffer;
  uint64_t mBufferStart = 0;
  size_t mBufferLength = 0;
};

// A whole file, or why it could not be had.
struct WholeFile {
  FileError error = FileError::kNone;
  int systemError = 0;
  std::vector<uint8_t> bytes;
  bool Ok() const { return error == FileError::kNone; }
};

// Reads a whole file of at most maxSize bytes; a larger one is kTooLarge,
// and one that yields fewer bytes than its size (cut while being read, or
// a failed read) is kUnreadable rather than passed on short.
WholeFile LoadWholeFile(const std::string& path, uint64_t maxSize);

// The same, for callers that only need to know whether it worked: false
// (and `out` empty) when the file does not load.
bool ReadWholeFile(const std::string& path, uint64_t maxSize, std::vector<uint8_t>& out);

// The message for a file that could not be read, naming it:
//   kNotFound    The file "<path>" does not exist.
//   kIsDirectory "<path>" is a folder, not a file.
//   kNotRegular  "<path>" is not an ordinary file (it is a pipe, a socket or
//                a device), so it cannot be read.
//   kTooLarge    The file "<path>" is too large to be <purpose>.
//                (without a purpose: The file "<path>" is too large.)
//   kUnreadable  The file "<path>" could not be read: <system reason>.
//                (without one: The file "<path>" could not be read.)
//   kNone        (empty)
std::string FileErrorMessage(FileError error, const std::string& path, int systemError = 0,
                             std::string_view purpose = {});

} // namespace zorel::lib

#pragma once

// Reads an existing file from start to end. Every use in the editor opens a
// file, reads at most about a megabyte and closes it within one call, so a
// plain buffered reader is all it takes; read-ahead would buy nothing here.
//
// Paths are UTF-8 and go to the file system unchanged. A file that another
// process holds an exclusive lock on (a FileWriter elsewhere) is still
// opened; the reader then re-reads the size on every Size() call because
// the file may still be growing.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "library/ByteReader.h"

namespace zorel::lib {

class FileReader final : public ByteReader {
public:
  explicit FileReader(const std::string& path);
  ~FileReader() override;
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  bool IsOpen() const { return mFd >= 0; }
  // True when the file was opened while a writer held it.
  bool SharedWrite() const { return mSharedWrite; }

  size_t Read(void* buffer, size_t n) override;
  void SetPosition(uint64_t p) override;
  uint64_t Position() const override { return mPosition; }
  uint64_t Size() override;

private:
  static constexpr size_t kBufferSize = 8192;

  bool Fill();

  int mFd = -1;
  bool mSharedWrite = false;
  uint64_t mSize = 0;
  uint64_t mPosition = 0;
  // mBuffer holds the file bytes from mBufferStart, mBufferLength of them.
  std::vector<uint8_t> mBuffer;
  uint64_t mBufferStart = 0;
  size_t mBufferLength = 0;
};

// Reads a whole file of at most maxSize bytes. Returns false (and leaves
// `out` empty) when the file does not open or is larger.
bool ReadWholeFile(const std::string& path, uint64_t maxSize, std::vector<uint8_t>& out);

} // namespace zorel::lib

#include "library/FileReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorel::lib {

size_t MemoryReader::Read(void* buffer, size_t n) {
  const size_t available = static_cast<size_t>(mBytes.size() - mPosition);
  const size_t count = std::min(n, available);
  if (count > 0) std::memcpy(buffer, mBytes.data() + mPosition, count);
  mPosition += count;
  return count;
}

FileReader::FileReader(const std::string& path) {
  if (path.empty()) return;
  mFd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (mFd < 0) return;
  struct stat st {};
  if (::fstat(mFd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(mFd);
    mFd = -1;
    return;
  }
  // The advisory lock stands in for a read-only share mode: a writer that
  // holds the exclusive lock makes this a shared-write open.
  if (::flock(mFd, LOCK_SH | LOCK_NB) != 0) mSharedWrite = (errno == EWOULDBLOCK);
  mSize = static_cast<uint64_t>(st.st_size);
  mBuffer.resize(kBufferSize);
}

FileReader::~FileReader() {
  if (mFd >= 0) ::close(mFd); // also drops the advisory lock
}

uint64_t FileReader::Size() {
  if (mFd < 0) return 0;
  if (mSharedWrite) {
    struct stat st {};
    mSize = ::fstat(mFd, &st) == 0 ? static_cast<uint64_t>(st.st_size) : 0;
  }
  return mSize;
}

void FileReader::SetPosition(uint64_t p) {
  if (mFd < 0) return;
  mPosition = std::min(p, Size());
}

bool FileReader::Fill() {
  mBufferStart = mPosition;
  mBufferLength = 0;
  for (;;) {
    const ssize_t got = ::pread(mFd, mBuffer.data(), mBuffer.size(), static_cast<off_t>(mPosition));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false; // end of file, or a failed read ends the data here
    mBufferLength = static_cast<size_t>(got);
    return true;
  }
}

size_t FileReader::Read(void* buffer, size_t n) {
  if (mFd < 0 || n == 0) return 0;
  auto* out = static_cast<uint8_t*>(buffer);
  size_t copied = 0;
  while (copied < n) {
    const bool inBuffer = mPosition >= mBufferStart && mPosition < mBufferStart + mBufferLength;
    if (!inBuffer && !Fill()) break;
    const size_t offset = static_cast<size_t>(mPosition - mBufferStart);
    const size_t count = std::min(n - copied, mBufferLength - offset);
    std::memcpy(out + copied, mBuffer.data() + offset, count);
    copied += count;
    mPosition += count;
  }
  return copied;
}

bool ReadWholeFile(const std::string& path, uint64_t maxSize, std::vector<uint8_t>& out) {
  out.clear();
  FileReader reader(path);
  if (!reader.IsOpen()) return false;
  const uint64_t size = reader.Size();
  if (size > maxSize) return false;
  out.resize(static_cast<size_t>(size));
  out.resize(reader.Read(out.data(), out.size()));
  return true;
}

} // namespace zorel::lib

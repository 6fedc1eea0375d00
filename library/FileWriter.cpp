#include "library/FileWriter.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace zorel::lib {

namespace {

bool WriteAll(int fd, const uint8_t* data, size_t n) {
  while (n > 0) {
    const ssize_t done = ::write(fd, data, n);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    data += done;
    n -= static_cast<size_t>(done);
  }
  return true;
}

} // namespace

FileWriter::FileWriter(const std::string& path, int buffers) {
  if (path.empty()) return;
  // Truncate only after the lock attempt, so a reader that checks the lock
  // never sees a cut file without knowing that it is being written.
  mFd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  if (mFd < 0) return;
  (void)::flock(mFd, LOCK_EX | LOCK_NB); // best effort: readers never block a write
  if (::ftruncate(mFd, 0) != 0) {
    ::close(mFd);
    mFd = -1;
    return;
  }
  mBuffer.resize(kBufferSize * static_cast<size_t>(buffers < 1 ? 1 : buffers));
}

FileWriter::~FileWriter() {
  if (mFd < 0) return;
  FlushBuffer();
  ::close(mFd);
}

bool FileWriter::FlushBuffer() {
  if (mBuffered > 0 && !mFailed) mFailed = !WriteAll(mFd, mBuffer.data(), mBuffered);
  mBuffered = 0;
  return !mFailed;
}

size_t FileWriter::Write(const void* buffer, size_t n) {
  if (mFd < 0) return 0;
  const auto* in = static_cast<const uint8_t*>(buffer);
  size_t left = n;
  while (left > 0) {
    const size_t count = std::min(left, mBuffer.size() - mBuffered);
    std::memcpy(mBuffer.data() + mBuffered, in, count);
    mBuffered += count;
    in += count;
    left -= count;
    if (mBuffered == mBuffer.size()) FlushBuffer();
  }
  mPosition += n;
  return n;
}

bool FileWriter::Close(bool sync) {
  if (mFd < 0) return false;
  bool ok = FlushBuffer();
  if (sync) ok = (::fsync(mFd) == 0) && ok;
  ok = (::close(mFd) == 0) && ok;
  mFd = -1;
  return ok;
}

namespace {

bool WriteFile(const std::string& path, std::span<const uint8_t> bytes, int buffers, bool sync) {
  FileWriter writer(path, buffers);
  if (!writer.IsOpen()) return false;
  writer.Write(bytes);
  return writer.Close(sync);
}

} // namespace

bool WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes, int buffers) {
  return WriteFile(path, bytes, buffers, false);
}

bool ReplaceFileContents(const std::string& path, std::span<const uint8_t> bytes) {
  if (path.empty()) return false;
  static std::atomic<unsigned> counter{0};
  char suffix[48];
  std::snprintf(suffix, sizeof suffix, ".part-%ld-%u", static_cast<long>(::getpid()),
                counter.fetch_add(1));
  const std::string temp = path + suffix;
  if (!WriteFile(temp, bytes, 4, true)) {
    ::unlink(temp.c_str());
    return false;
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

} // namespace zorel::lib

#include "library/FileWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
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
  // Non-blocking: a FIFO without a reader fails at once instead of waiting.
  mFd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
  if (mFd < 0) return;
  struct stat st {};
  if (::fstat(mFd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(mFd);
    mFd = -1;
    return;
  }
  if (const int flags = ::fcntl(mFd, F_GETFL); flags >= 0)
    (void)::fcntl(mFd, F_SETFL, flags & ~O_NONBLOCK);
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

bool WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes, int buffers) {
  FileWriter writer(path, buffers);
  if (!writer.IsOpen()) return false;
  writer.Write(bytes);
  return writer.Close();
}

std::optional<TempFile> CreateTempFileBeside(const std::string& path) {
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  // Seeded once from the system's entropy; the process id is mixed into
  // every name so that a forked child does not repeat its parent's names.
  // The exclusive create settles any collision that remains.
  static std::mutex mutex;
  static std::mt19937_64 random{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    uint64_t bits = 0;
    {
      std::lock_guard<std::mutex> lock(mutex);
      bits = random() ^ (static_cast<uint64_t>(::getpid()) * 0x9E3779B97F4A7C15ull);
    }
    std::string name = path + ".tmp-";
    for (int i = 0; i < 6; ++i, bits /= sizeof kLetters - 1)
      name.push_back(kLetters[bits % (sizeof kLetters - 1)]);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) return TempFile{fd, std::move(name)};
    if (errno != EEXIST) return std::nullopt;
  }
  return std::nullopt;
}

bool ReplaceFileContents(const std::string& path, std::span<const uint8_t> bytes,
                         Durability durability) {
  if (path.empty()) return false;
  std::optional<TempFile> temp = CreateTempFileBeside(path);
  if (!temp) return false;
  bool ok = WriteAll(temp->fd, bytes.data(), bytes.size());
  if (ok && durability == Durability::kSynced) ok = ::fsync(temp->fd) == 0;
  ok = (::close(temp->fd) == 0) && ok;
  if (ok) ok = ::rename(temp->path.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp->path.c_str());
  return ok;
}

} // namespace zorel::lib

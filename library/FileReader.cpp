#include "library/FileReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace zorel::lib {

size_t MemoryReader::Read(void* buffer, size_t n) {
  const size_t available = static_cast<size_t>(mBytes.size() - mPosition);
  const size_t count = std::min(n, available);
  if (count > 0) std::memcpy(buffer, mBytes.data() + mPosition, count);
  mPosition += count;
  return count;
}

namespace {

FileError ErrorOfErrno(int error) {
  switch (error) {
  case ENOENT:
  case ENOTDIR:
    return FileError::kNotFound;
  case EISDIR:
    return FileError::kIsDirectory;
  case ENXIO:
  case ENODEV:
    return FileError::kNotRegular;
  default:
    return FileError::kUnreadable;
  }
}

FileError ErrorOfType(mode_t mode) {
  if (S_ISREG(mode)) return FileError::kNone;
  return S_ISDIR(mode) ? FileError::kIsDirectory : FileError::kNotRegular;
}

} // namespace

FileReader::FileReader(const std::string& path) {
  if (path.empty()) {
    Refuse(FileError::kNotFound, ENOENT);
    return;
  }
  // Look before opening: opening a FIFO waits for a writer, and opening a
  // device can have effects of its own.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    Refuse(ErrorOfErrno(errno), errno);
    return;
  }
  if (const FileError type = ErrorOfType(st.st_mode); type != FileError::kNone) {
    Refuse(type, 0);
    return;
  }
  // Non-blocking, in case the path was swapped for a FIFO in between.
  mFd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (mFd < 0) {
    Refuse(ErrorOfErrno(errno), errno);
    return;
  }
  if (::fstat(mFd, &st) != 0) {
    Refuse(FileError::kUnreadable, errno);
    return;
  }
  if (const FileError type = ErrorOfType(st.st_mode); type != FileError::kNone) {
    Refuse(type, 0);
    return;
  }
  // A regular file reads the same either way; blocking reads are the
  // contract, should a file system make a difference.
  if (const int flags = ::fcntl(mFd, F_GETFL); flags >= 0)
    (void)::fcntl(mFd, F_SETFL, flags & ~O_NONBLOCK);
  // The advisory lock stands in for a read-only share mode: a writer that
  // holds the exclusive lock makes this a shared-write open.
  if (::flock(mFd, LOCK_SH | LOCK_NB) != 0) mSharedWrite = (errno == EWOULDBLOCK);
  mSize = static_cast<uint64_t>(st.st_size);
  mBuffer.resize(kBufferSize);
}

void FileReader::Refuse(FileError error, int systemError) {
  if (mFd >= 0) ::close(mFd);
  mFd = -1;
  mError = error;
  mSystemError = systemError;
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

WholeFile LoadWholeFile(const std::string& path, uint64_t maxSize) {
  WholeFile file;
  FileReader reader(path);
  if (!reader.IsOpen()) {
    file.error = reader.Error();
    file.systemError = reader.SystemError();
    return file;
  }
  const uint64_t size = reader.Size();
  if (size > maxSize) {
    file.error = FileError::kTooLarge;
    return file;
  }
  file.bytes.resize(static_cast<size_t>(size));
  if (reader.Read(file.bytes.data(), file.bytes.size()) != file.bytes.size()) {
    file.bytes.clear();
    file.error = FileError::kUnreadable;
    file.systemError = EIO;
  }
  return file;
}

bool ReadWholeFile(const std::string& path, uint64_t maxSize, std::vector<uint8_t>& out) {
  WholeFile file = LoadWholeFile(path, maxSize);
  out = std::move(file.bytes);
  return file.Ok();
}

std::string FileErrorMessage(FileError error, const std::string& path, int systemError,
                             std::string_view purpose) {
  const std::string quoted = "\"" + path + "\"";
  switch (error) {
  case FileError::kNone:
    return {};
  case FileError::kNotFound:
    return "The file " + quoted + " does not exist.";
  case FileError::kIsDirectory:
    return quoted + " is a folder, not a file.";
  case FileError::kNotRegular:
    return quoted +
           " is not an ordinary file (it is a pipe, a socket or a device), so it cannot be read.";
  case FileError::kTooLarge:
    return purpose.empty()
               ? "The file " + quoted + " is too large."
               : "The file " + quoted + " is too large to be " + std::string(purpose) + ".";
  case FileError::kUnreadable:
    return systemError == 0
               ? "The file " + quoted + " could not be read."
               : "The file " + quoted +
                     " could not be read: " + std::system_category().message(systemError) + ".";
  }
  return {};
}

} // namespace zorel::lib

#include "library/LibraryLock.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "library/LibraryPaths.h"

namespace zorel::lib {

namespace {

// The decimal process id at the start of the file, 0 when there is none.
pid_t ReadPid(int fd) {
  char text[32] = {};
  const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
  if (n <= 0) return 0;
  char* end = nullptr;
  const long pid = std::strtol(text, &end, 10);
  return end != text && pid > 0 ? static_cast<pid_t>(pid) : 0;
}

void WritePid(int fd, pid_t pid) {
  const std::string text = std::to_string(pid) + "\n";
  if (::ftruncate(fd, 0) == 0) (void)!::pwrite(fd, text.data(), text.size(), 0);
}

} // namespace

bool LibraryLock::TryAcquire() {
  if (Held()) return true;
  mOwnerPid = 0;
  mSystemError = 0;
  CreateLibraryRoot(mRoot);
  const std::string path = mRoot + kLibraryLockFile;
  // O_NONBLOCK and O_NOFOLLOW: a FIFO or a link put in its place must not
  // hold up the start or lock something else.
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    mSystemError = fd < 0 ? errno : EINVAL;
    if (fd >= 0) ::close(fd);
    mState = LibraryLockState::kUnavailable;
    return false;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    if (error == EWOULDBLOCK) {
      mOwnerPid = ReadPid(fd);
      mState = LibraryLockState::kHeldElsewhere;
    } else {
      mSystemError = error;
      mState = LibraryLockState::kUnavailable;
    }
    ::close(fd);
    return false;
  }
  mFd = fd;
  mOwnerPid = ::getpid();
  WritePid(mFd, mOwnerPid);
  mState = LibraryLockState::kHeld;
  return true;
}

void LibraryLock::Release() {
  if (mFd >= 0) {
    // A forked child shares the lock and must not erase its parent's id;
    // only the process that took the lock clears it.
    if (Held() && mOwnerPid == ::getpid()) (void)!::ftruncate(mFd, 0);
    ::close(mFd);
    mFd = -1;
  }
  mState = LibraryLockState::kFree;
  mOwnerPid = 0;
}

std::string LibraryLock::Message() const {
  switch (mState) {
  case LibraryLockState::kHeldElsewhere:
    return (mOwnerPid > 0 ? "Another ZorelControl (process " + std::to_string(mOwnerPid) + ")"
                          : std::string("Another ZorelControl")) +
           " is using the library at " + mRoot + "; close it first.";
  case LibraryLockState::kUnavailable:
    return "The library at " + mRoot +
           " cannot be locked: " + std::system_category().message(mSystemError) + ".";
  case LibraryLockState::kFree:
  case LibraryLockState::kHeld:
    break;
  }
  return {};
}

} // namespace zorel::lib

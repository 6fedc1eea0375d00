#pragma once

// One library is used by one editor process at a time. Two editors on one
// library overwrite each other's slot files and settings, and two on the
// same pedal ports answer each other's messages without end; so the window
// and zorelctl both take this lock before they touch the library, and the
// second one is told plainly who holds it.
//
// The lock is a non-blocking flock on "<root>/.lock", which holds the
// holder's process id for the message. The kernel drops the lock when the
// holder's process ends, however it ends, so a crashed editor never leaves
// a stale lock behind. The file itself is never removed: removing it would
// let two processes lock two different files of the same name.

#include <string>
#include <sys/types.h>

namespace zorel::lib {

inline constexpr const char* kLibraryLockFile = "/.lock";

enum class LibraryLockState {
  kFree,          // not taken yet, or released
  kHeld,          // this object holds it
  kHeldElsewhere, // another process (or another object of this one) holds it
  kUnavailable,   // the lock file could not be made or locked
};

class LibraryLock {
public:
  explicit LibraryLock(std::string root) : mRoot(std::move(root)) {}
  ~LibraryLock() { Release(); }
  LibraryLock(const LibraryLock&) = delete;
  LibraryLock& operator=(const LibraryLock&) = delete;

  // Takes the lock without waiting (creating the root when it is missing).
  // True when this object holds it afterwards.
  bool TryAcquire();
  void Release();

  bool Held() const { return mState == LibraryLockState::kHeld; }
  LibraryLockState State() const { return mState; }
  const std::string& Root() const { return mRoot; }
  // The holder's process id as it wrote it, when held elsewhere (0 when it
  // could not be read: the holder may not have written it yet).
  pid_t OwnerPid() const { return mOwnerPid; }

  // Why the lock was not taken, for the user; empty otherwise:
  //   Another ZorelControl (process 1234) is using the library at <root>;
  //   close it first.
  //   Another ZorelControl is using the library at <root>; close it first.
  //   The library at <root> cannot be locked: <system reason>.
  std::string Message() const;

private:
  std::string mRoot;
  LibraryLockState mState = LibraryLockState::kFree;
  int mFd = -1;
  pid_t mOwnerPid = 0;  // the holder: this process once held, the other one when refused
  int mSystemError = 0; // behind kUnavailable
};

} // namespace zorel::lib

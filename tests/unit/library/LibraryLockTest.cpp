// One library, one editor process: the lock, its holder's id in the
// message, and its release when the holder ends however it ends.

#include <sys/wait.h>
#include <unistd.h>

#include "LibraryTestSupport.h"
#include "library/LibraryLock.h"

namespace zorel::lib {
namespace {

class LibraryLockTest : public test::TempRootTest {};

std::string HeldMessage(pid_t pid, const std::string& root) {
  return "Another ZorelControl (process " + std::to_string(pid) + ") is using the library at " +
         root + "; close it first.";
}

TEST_F(LibraryLockTest, ASecondTakerIsToldWhoHoldsIt) {
  LibraryLock first(root), second(root);
  EXPECT_EQ(first.State(), LibraryLockState::kFree);
  ASSERT_TRUE(first.TryAcquire());
  EXPECT_TRUE(first.TryAcquire()) << "taking it again is a no-op";
  EXPECT_TRUE(first.Message().empty());
  const std::string id = std::to_string(::getpid()) + "\n";
  EXPECT_EQ(test::ReadFileBytes(root + "/.lock"), std::vector<uint8_t>(id.begin(), id.end()));

  EXPECT_FALSE(second.TryAcquire());
  EXPECT_EQ(second.State(), LibraryLockState::kHeldElsewhere);
  EXPECT_EQ(second.OwnerPid(), ::getpid());
  EXPECT_EQ(second.Message(), HeldMessage(::getpid(), root));

  first.Release();
  EXPECT_TRUE(test::ReadFileBytes(root + "/.lock").empty());
  EXPECT_TRUE(second.TryAcquire());
  EXPECT_TRUE(second.Held());
}

TEST_F(LibraryLockTest, AcrossProcesses) {
  // Parent holds: a child is refused and told the parent's id.
  {
    LibraryLock mine(root);
    ASSERT_TRUE(mine.TryAcquire());
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      LibraryLock theirs(root);
      const bool refused = !theirs.TryAcquire() && theirs.OwnerPid() == parent &&
                           theirs.Message() == HeldMessage(parent, root);
      ::_exit(refused ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(mine.Held()) << "the child's inherited descriptor changes nothing";
  }
  // Child holds, then dies without releasing: the parent is refused while it
  // lives and gets the lock once it is gone.
  int ready[2], quit[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(quit), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    LibraryLock theirs(root);
    const char ok = theirs.TryAcquire() ? 'y' : 'n';
    (void)!::write(ready[1], &ok, 1);
    char c = 0;
    (void)!::read(quit[0], &c, 1);
    ::_exit(0); // no destructor: as a crash would end it
  }
  char ok = 0;
  ASSERT_EQ(::read(ready[0], &ok, 1), 1);
  ASSERT_EQ(ok, 'y');
  LibraryLock mine(root);
  EXPECT_FALSE(mine.TryAcquire());
  EXPECT_EQ(mine.OwnerPid(), child);
  EXPECT_EQ(mine.Message(), HeldMessage(child, root));
  (void)!::write(quit[1], "q", 1);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(mine.TryAcquire());
  for (int fd : {ready[0], ready[1], quit[0], quit[1]}) ::close(fd);
}

TEST_F(LibraryLockTest, ALibraryThatCannotBeLockedSaysWhy) {
  test::WriteFileBytes(root + "/file", {1});
  LibraryLock lock(root + "/file/library");
  EXPECT_FALSE(lock.TryAcquire());
  EXPECT_EQ(lock.State(), LibraryLockState::kUnavailable);
  EXPECT_EQ(lock.Message(),
            "The library at " + root + "/file/library cannot be locked: Not a directory.");
}

} // namespace
} // namespace zorel::lib

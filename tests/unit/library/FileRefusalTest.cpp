// Files that cannot be read are refused at once, each for its own reason,
// and never block: a FIFO, a device, a folder, a missing or oversized file.

#include <chrono>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

#include "LibraryTestSupport.h"
#include "library/FileReader.h"
#include "library/FileWriter.h"

namespace zorel::lib {
namespace {

class FileRefusalTest : public test::TempRootTest {
protected:
  std::string Fifo() {
    const std::string path = root + "/pipe.q3b";
    EXPECT_EQ(::mkfifo(path.c_str(), 0644), 0);
    return path;
  }
};

// Runs `work` on another thread and fails instead of hanging when it has
// not returned within two seconds; `unblock` then frees it.
template <typename Work, typename Unblock>
void ReturnsAtOnce(Work work, Unblock unblock, const char* what) {
  auto done = std::async(std::launch::async, work);
  if (done.wait_for(std::chrono::seconds(2)) != std::future_status::ready) {
    ADD_FAILURE() << what << " blocked";
    unblock();
  }
  done.get();
}

TEST_F(FileRefusalTest, EachReasonIsToldApart) {
  test::WriteFileBytes(root + "/ok.bin", {1, 2, 3});
  test::WriteFileBytes(root + "/file", {1});
  struct Case {
    std::string path;
    FileError error;
  };
  const Case cases[] = {
      {root + "/ok.bin", FileError::kNone},
      {root + "/missing.bin", FileError::kNotFound},
      {root + "/no/such/folder/f.bin", FileError::kNotFound},
      {root + "/file/below-a-file", FileError::kNotFound},
      {"", FileError::kNotFound},
      {root, FileError::kIsDirectory},
      {"/dev/null", FileError::kNotRegular},
      {Fifo(), FileError::kNotRegular},
  };
  for (const Case& c : cases) {
    FileReader reader(c.path);
    EXPECT_EQ(reader.Error(), c.error) << c.path;
    EXPECT_EQ(reader.IsOpen(), c.error == FileError::kNone) << c.path;
    EXPECT_EQ(LoadWholeFile(c.path, 100).error, c.error) << c.path;
  }
  EXPECT_EQ(LoadWholeFile(root + "/ok.bin", 3).bytes, (std::vector<uint8_t>{1, 2, 3}));
  const WholeFile large = LoadWholeFile(root + "/ok.bin", 2);
  EXPECT_EQ(large.error, FileError::kTooLarge);
  EXPECT_TRUE(large.bytes.empty());
}

TEST_F(FileRefusalTest, AFifoIsRefusedAtOnceWithOrWithoutAWriter) {
  const std::string path = Fifo();
  auto unblock = [&] {
    const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK);
    if (fd >= 0) ::close(fd);
  };
  ReturnsAtOnce([&] { EXPECT_EQ(FileReader(path).Error(), FileError::kNotRegular); }, unblock,
                "reading a FIFO");
  ReturnsAtOnce([&] { EXPECT_FALSE(FileWriter(path).IsOpen()); }, unblock, "writing a FIFO");
  // With someone at the other end, still refused rather than read.
  const int other = ::open(path.c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(other, 0);
  ReturnsAtOnce([&] { EXPECT_FALSE(FileReader(path).IsOpen()); }, unblock, "reading a FIFO");
  ReturnsAtOnce([&] { EXPECT_FALSE(FileWriter(path).IsOpen()); }, unblock, "writing a FIFO");
  ::close(other);
  std::vector<uint8_t> bytes;
  EXPECT_FALSE(ReadWholeFile(path, 1 << 20, bytes));
}

TEST_F(FileRefusalTest, AWriterRefusesADevice) {
  EXPECT_FALSE(FileWriter("/dev/null").IsOpen());
}

TEST_F(FileRefusalTest, MessagesNameTheFileAndTheReason) {
  const std::string p = "/home/me/backup.q3b";
  struct Case {
    FileError error;
    int systemError;
    const char* purpose;
    std::string text;
  };
  const Case cases[] = {
      {FileError::kNone, 0, "", ""},
      {FileError::kNotFound, ENOENT, "", "The file \"" + p + "\" does not exist."},
      {FileError::kIsDirectory, 0, "", "\"" + p + "\" is a folder, not a file."},
      {FileError::kNotRegular, 0, "",
       "\"" + p +
           "\" is not an ordinary file (it is a pipe, a socket or a device), so it cannot be "
           "read."},
      {FileError::kTooLarge, 0, "a backup", "The file \"" + p + "\" is too large to be a backup."},
      {FileError::kTooLarge, 0, "", "The file \"" + p + "\" is too large."},
      {FileError::kUnreadable, EACCES, "",
       "The file \"" + p + "\" could not be read: Permission denied."},
      {FileError::kUnreadable, 0, "", "The file \"" + p + "\" could not be read."},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FileErrorMessage(c.error, p, c.systemError, c.purpose), c.text);
}

} // namespace
} // namespace zorel::lib

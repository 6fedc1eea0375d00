// The file reader and writer contracts, and replacing a file safely.

#include <csignal>
#include <future>
#include <set>
#include <sys/resource.h>
#include <sys/wait.h>

#include "LibraryTestSupport.h"
#include "library/FileReader.h"
#include "library/FileWriter.h"

namespace zorel::lib {
namespace {

using test::ReadFileBytes;

class FileIOTest : public test::TempRootTest {};

std::vector<uint8_t> Pattern(size_t n) {
  std::vector<uint8_t> bytes(n);
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

TEST_F(FileIOTest, WriterOutlastsItsBuffersAndReaderReadsBackAcrossBlocks) {
  // More than 4 x 8 KiB, and not a multiple of the block size.
  const std::vector<uint8_t> data = Pattern(100003);
  const std::string path = root + "/big.bin";
  {
    FileWriter writer(path, 4);
    ASSERT_TRUE(writer.IsOpen());
    size_t at = 0;
    for (size_t step : {1u, 8191u, 8193u, 50000u}) at += writer.Write(data.data() + at, step);
    EXPECT_EQ(writer.Write(data.data() + at, data.size() - at), data.size() - at);
  }
  EXPECT_EQ(ReadFileBytes(path), data);

  FileReader reader(path);
  ASSERT_TRUE(reader.IsOpen());
  EXPECT_EQ(reader.Size(), data.size());
  std::vector<uint8_t> back(data.size() + 10);
  size_t got = 0;
  for (size_t step : {3u, 8192u, 10000u}) got += reader.Read(back.data() + got, step);
  got += reader.Read(back.data() + got, back.size() - got);
  EXPECT_EQ(got, data.size());
  back.resize(got);
  EXPECT_EQ(back, data);
  EXPECT_EQ(reader.Read(back.data(), 1), 0u);
}

TEST_F(FileIOTest, ReaderPositionIsClampedAndReadsFollowIt) {
  const std::vector<uint8_t> data = Pattern(20000);
  test::WriteFileBytes(root + "/f.bin", data);
  FileReader reader(root + "/f.bin");
  uint8_t b = 0;
  reader.SetPosition(16385);
  ASSERT_EQ(reader.Read(&b, 1), 1u);
  EXPECT_EQ(b, data[16385]);
  reader.SetPosition(5); // backwards, out of the buffered block
  ASSERT_EQ(reader.Read(&b, 1), 1u);
  EXPECT_EQ(b, data[5]);
  reader.SetPosition(1ull << 40);
  EXPECT_EQ(reader.Position(), data.size());
  EXPECT_EQ(reader.Read(&b, 1), 0u);
}

TEST_F(FileIOTest, ClosedObjectsReadAndWriteNothing) {
  FileReader missing(root + "/nothing.bin");
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_EQ(missing.Size(), 0u);
  uint8_t b = 0;
  EXPECT_EQ(missing.Read(&b, 1), 0u);
  EXPECT_FALSE(FileReader(root).IsOpen()) << "a folder is not a file";

  FileWriter nowhere(root + "/no/such/folder/f.bin");
  EXPECT_FALSE(nowhere.IsOpen());
  EXPECT_EQ(nowhere.Write(&b, 1), 0u);
  EXPECT_FALSE(nowhere.Close());
}

TEST_F(FileIOTest, WriterTruncatesAnExistingFile) {
  test::WriteFileBytes(root + "/f.bin", Pattern(5000));
  ASSERT_TRUE(WriteWholeFile(root + "/f.bin", std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(ReadFileBytes(root + "/f.bin"), (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(FileIOTest, ReaderOfAFileBeingWrittenSeesItGrow) {
  const std::string path = root + "/growing.bin";
  FileWriter writer(path, 1);
  ASSERT_TRUE(writer.IsOpen());
  FileReader reader(path);
  ASSERT_TRUE(reader.IsOpen());
  EXPECT_TRUE(reader.SharedWrite());
  const std::vector<uint8_t> data = Pattern(3 * FileWriter::kBufferSize);
  writer.Write(data);
  EXPECT_GE(reader.Size(), 2 * FileWriter::kBufferSize);
}

// Lowers the file size limit so that writes fail part-way, as on a full disk.
class FileSizeLimit {
public:
  explicit FileSizeLimit(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &mOld);
    rlimit limit = mOld;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &mOld); }

private:
  rlimit mOld{};
};

TEST_F(FileIOTest, AFailedReplaceKeepsTheOldFileAndLeavesNoTemporary) {
  const std::string path = root + "/keep.q3b";
  const std::vector<uint8_t> old = Pattern(1000);
  test::WriteFileBytes(path, old);
  {
    FileSizeLimit limit(4096);
    EXPECT_FALSE(WriteWholeFile(root + "/plain.bin", Pattern(10000))) << "failure must be seen";
    EXPECT_FALSE(ReplaceFileContents(path, Pattern(10000)));
  }
  EXPECT_EQ(ReadFileBytes(path), old);
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(root)) ++entries;
  EXPECT_EQ(entries, 2) << "only keep.q3b and plain.bin";

  EXPECT_TRUE(ReplaceFileContents(path, Pattern(10000)));
  EXPECT_EQ(ReadFileBytes(path), Pattern(10000));
}

bool IsTemporary(const std::string& name) {
  return name.find(".tmp-") != std::string::npos;
}

int CountTemporaries(const std::string& folder) {
  int count = 0;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    count += IsTemporary(e.path().filename().string());
  return count;
}

TEST_F(FileIOTest, TemporariesHaveNamesNoOtherWriterUses) {
  const std::string path = root + "/settings.ini";
  std::set<std::string> names;
  std::vector<TempFile> temps;
  for (int i = 0; i < 200; ++i) {
    std::optional<TempFile> temp = CreateTempFileBeside(path);
    ASSERT_TRUE(temp);
    EXPECT_EQ(temp->path.rfind(path + ".tmp-", 0), 0u) << temp->path;
    EXPECT_EQ(temp->path.size(), path.size() + 11);
    names.insert(temp->path);
    temps.push_back(*temp);
  }
  EXPECT_EQ(names.size(), 200u);
  for (const TempFile& t : temps) {
    ::close(t.fd);
    ::unlink(t.path.c_str());
  }
  EXPECT_FALSE(CreateTempFileBeside(root + "/no/such/folder/f"));
}

TEST_F(FileIOTest, ProcessesReplacingOneFileNeverCollide) {
  // Four processes and two threads each replace settings.ini 100 times with
  // contents of their own and lengths of their own: every replace succeeds,
  // the file is always one whole content, and no temporary is left.
  const std::string path = root + "/settings.ini";
  auto content = [](int writer) {
    return std::vector<uint8_t>(1000 + 3000 * static_cast<size_t>(writer),
                                static_cast<uint8_t>('a' + writer));
  };
  auto writeMany = [&](int writer) {
    int failures = 0;
    for (int i = 0; i < 100; ++i)
      failures += !ReplaceFileContents(path, content(writer), Durability::kCache);
    return failures;
  };
  std::vector<pid_t> children;
  for (int writer = 0; writer < 4; ++writer) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) ::_exit(writeMany(writer) == 0 ? 0 : 1);
    children.push_back(pid);
  }
  auto a = std::async(std::launch::async, writeMany, 4);
  auto b = std::async(std::launch::async, writeMany, 5);
  std::set<std::vector<uint8_t>> seen;
  for (int i = 0; i < 200; ++i) {
    const std::vector<uint8_t> now = ReadFileBytes(path);
    if (!now.empty()) seen.insert(now);
  }
  EXPECT_EQ(a.get(), 0);
  EXPECT_EQ(b.get(), 0);
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  seen.insert(ReadFileBytes(path));
  for (const auto& bytes : seen) {
    bool whole = false;
    for (int writer = 0; writer < 6; ++writer) whole = whole || bytes == content(writer);
    EXPECT_TRUE(whole) << "a reader saw " << bytes.size() << " bytes";
  }
  EXPECT_EQ(CountTemporaries(root), 0);
}

} // namespace
} // namespace zorel::lib

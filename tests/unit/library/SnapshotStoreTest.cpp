#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "library/LibraryPaths.h"
#include "library/Snapshots.h"
#include "tests/unit/library/LibraryTestSupport.h"

namespace zorel::lib {
namespace {

std::vector<uint8_t> Bytes(size_t n, uint8_t v) {
  return std::vector<uint8_t>(n, v);
}

using SnapshotStoreTest = test::TempRootTest;

TEST_F(SnapshotStoreTest, NamesCarryTimeAndOperationAndTheOldestGoFirst) {
  SnapshotStore store(root);
  const std::time_t t0 = 1700000000;
  const auto first = store.Write("store preset/5", Bytes(10, 1), t0);
  ASSERT_TRUE(first.written) << first.error;
  std::string when, operation;
  ASSERT_TRUE(ParseSnapshotName(FileNamePart(first.path), when, operation));
  EXPECT_EQ(operation, "store-preset-5"); // odd characters never reach the name
  // A second one in the same second gets a name of its own.
  const auto second = store.Write("import", Bytes(20, 2), t0);
  ASSERT_TRUE(second.written);
  EXPECT_NE(first.path, second.path);
  ASSERT_EQ(store.List().size(), 2u);
  EXPECT_EQ(store.List()[0].path, first.path); // in the order they were written
  EXPECT_EQ(store.Find("2")->path, second.path);
  EXPECT_EQ(store.Find(FileNamePart(first.path))->path, first.path);
  EXPECT_FALSE(store.Find("3").has_value());
  EXPECT_FALSE(store.Find("nonsense").has_value());
  EXPECT_EQ(*store.Read(*store.Find("2"), 100), Bytes(20, 2));

  for (int i = 0; i < SnapshotStore::kKeep + 5; ++i)
    store.Write("firmware", Bytes(5, 3), t0 + 10 + i);
  const auto all = store.List();
  ASSERT_EQ(all.size(), static_cast<size_t>(SnapshotStore::kKeep));
  EXPECT_EQ(all.front().operation, "firmware"); // both early ones went first
}

TEST_F(SnapshotStoreTest, AFailedWriteLeavesNothingAndSaysWhy) {
  SnapshotStore store(root);
  // A writer that fails half-way, as a full disk does.
  store.SetWriter([](const std::string&, std::span<const uint8_t>) {
    errno = ENOSPC;
    return false;
  });
  const auto result = store.Write("import", Bytes(10, 1), 1700000000);
  EXPECT_FALSE(result.written);
  EXPECT_NE(result.error.find("No space left on device"), std::string::npos) << result.error;
  EXPECT_TRUE(ListFiles(store.Folder()).empty());
  // A temporary left by a writer that died is cleared by the next write.
  store.SetWriter([](const std::string& path, std::span<const uint8_t> bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), 1);
    return true;
  });
  std::ofstream(store.Folder() + "x.q3s.tmp-ABCDEF") << "half";
  ASSERT_TRUE(store.Write("import", Bytes(10, 1), 1700000001).written);
  EXPECT_EQ(ListFiles(store.Folder()).size(), 1u);
  // Names that are not a snapshot's are neither listed nor removed.
  std::ofstream(store.Folder() + "notes.txt") << "mine";
  EXPECT_EQ(store.List().size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(store.Folder() + "notes.txt"));
}

} // namespace
} // namespace zorel::lib

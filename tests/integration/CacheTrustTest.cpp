// What the library may believe of its own slot files: a file changed behind
// its back is read from the pedal again, and a slot it cannot write ends the
// read with a message instead of a cache that claims to be in sync.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include "library/LibraryPaths.h"
#include "protocol/codec/EditorMessages.h"
#include "tests/integration/PedalLink.h"
#include "tests/support/ScriptedModalServices.h"

namespace zorel::test {
namespace {

Bytes ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Whether the editor asked for preset `slot` among the messages it sent.
bool AskedFor(const Link& link, int slot) {
  for (const Bytes& m : link.Commands(kCmdRequestPreset))
    if (m.size() > 7 && m[7] == slot) return true;
  return false;
}

void Sync(const std::string& root, VirtualPedal& pedal) {
  HeadlessEditor h(nullptr, root);
  Link link{h, pedal, {}};
  link.Run(1000);
  ASSERT_TRUE(h.Editor().State().mCacheInSync);
}

TEST(CacheRecord, APresetFileWhoseSumStillMatchesButWhoseBytesChangedIsReadAgain) {
  TempLibrary library;
  VirtualPedal pedal;
  Sync(library.root, pedal);

  // Two different bytes of the name swapped: the pedal's plain sum cannot
  // tell, the library's record can.
  const std::string path = lib::PresetSlotPath(library.root, 5);
  Bytes bytes = ReadAll(path);
  ASSERT_EQ(bytes.size(), 256u);
  size_t other = 3;
  while (other < 34 && bytes[other] == bytes[2]) ++other;
  ASSERT_LT(other, 34u);
  std::swap(bytes[2], bytes[other]);
  WriteFile(path, bytes);

  HeadlessEditor h(nullptr, library.root);
  Link link{h, pedal, {}};
  link.Run(1000);
  EXPECT_TRUE(h.Editor().State().mCacheInSync);
  EXPECT_TRUE(AskedFor(link, 5));
  EXPECT_FALSE(AskedFor(link, 4)) << "only the changed file is read again";
  const auto& expected = pedal.State().presets[5];
  EXPECT_EQ(ReadAll(path), Bytes(expected.begin(), expected.end()));
}

TEST(CacheRecord, ASlotTheLibraryCannotWriteEndsTheReadWithAMessage) {
  TempLibrary library;
  VirtualPedal pedal;
  std::filesystem::create_directories(lib::PresetSlotPath(library.root, 7));
  for (int run = 0; run < 2; ++run) {
    HeadlessEditor h(nullptr, library.root);
    ScriptedModalServices modal{MessageBoxResult::kOK};
    h.Editor().SetModalServices(&modal);
    Link link{h, pedal, {}};
    link.Run(1000);
    EXPECT_TRUE(h.Editor().State().mConnected);
    EXPECT_FALSE(h.Editor().State().mCacheInSync) << "run " << run;
    EXPECT_TRUE(AskedFor(link, 7)) << "run " << run;
    ASSERT_EQ(modal.Messages().size(), 1u) << "run " << run;
    EXPECT_NE(modal.Messages()[0].text.find(lib::PresetSlotPath(library.root, 7)),
              std::string::npos);
    // The other slots were stored all the same.
    EXPECT_TRUE(std::filesystem::is_regular_file(lib::PresetSlotPath(library.root, 8)));
  }
}

} // namespace
} // namespace zorel::test

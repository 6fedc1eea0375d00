// The editor core against the in-process virtual pedal, with the manual
// clock: the connection sequence, the bulk read and its failure paths.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "protocol/codec/EditorMessages.h"
#include "protocol/codec/ParamIds.h"
#include "sim/VirtualPedal.h"
#include "tests/integration/PedalLink.h"
#include "tests/support/HeadlessEditor.h"

using namespace zorel;
using zorel::sim::VirtualPedal;
using namespace zorel::test;

namespace {

bool Connected(HeadlessEditor& h) {
  return h.Editor().State().mConnected;
}

void ExpectEditBufferMirrored(HeadlessEditor& h, const VirtualPedal& pedal) {
  for (int i = 0; i < kNumPresetParams; ++i) {
    EXPECT_EQ(h.Editor().ParamAt(i)->Int(), pedal.State().editBuffer[34 + static_cast<size_t>(i)])
        << i;
    EXPECT_EQ(h.Editor().State().mLiveValues[static_cast<size_t>(i)], h.Editor().ParamAt(i)->Int())
        << i;
  }
}

TEST(Connection, EmptyCacheReadsEveryPresetThenTheEditBuffer) {
  TempLibrary library;
  VirtualPedal pedal;
  {
    HeadlessEditor h(nullptr, library.root);
    Link link{h, pedal, {}};
    link.Run(1000); // the identity request goes out on the first tick
    ASSERT_TRUE(Connected(h));
    EXPECT_FALSE(h.Editor().State().mBulkLoading);
    EXPECT_FALSE(h.Editor().State().mSendSuppressed);
    EXPECT_EQ(link.Commands(kCmdBeginBulkMode).size(), 1u);
    EXPECT_EQ(link.Commands(kCmdRequestPreset).size(), 129u); // 128 slots, then the current one
    for (int slot = 1; slot <= 128; ++slot) {
      char name[32];
      std::snprintf(name, sizeof name, "/Presets/%03d.dat", slot);
      ASSERT_TRUE(std::filesystem::exists(h.LibraryRoot() + name)) << name;
    }
    ExpectEditBufferMirrored(h, pedal);
    EXPECT_FALSE(h.Editor().State().mPresetModified);
  }

  // A second connection to the unchanged pedal reads nothing but the edit buffer.
  HeadlessEditor again(nullptr, library.root);
  Link second{again, pedal, {}};
  second.Run(4000);
  ASSERT_TRUE(Connected(again));
  std::vector<Bytes> expected = {
      {0xF0, 0x00, 0x51, 0x21, 0x05, 0x55, 0x0B, 0x0F, 0xF7},
      {0xF0, 0x00, 0x51, 0x21, 0x05, 0x55, 0x0B, 0x03, 0xF7},
      {0xF0, 0x00, 0x51, 0x21, 0x05, 0x55, 0x0B, 0x00, 0xF7},
      {0xF0, 0x00, 0x51, 0x21, 0x05, 0x5B, 0x0B, 0xF7},
      {0xF0, 0x00, 0x51, 0x21, 0x05, 0x40, 0x0B, static_cast<uint8_t>(pedal.State().currentProgram),
       0xF7},
  };
  EXPECT_EQ(second.log, expected);
  ExpectEditBufferMirrored(again, pedal);
}

TEST(Connection, OnlyChangedSlotsAreRead) {
  TempLibrary library;
  VirtualPedal pedal;
  {
    HeadlessEditor h(nullptr, library.root);
    Link link{h, pedal, {}};
    link.Run(4000);
    ASSERT_TRUE(Connected(h));
  }
  for (int slot : {4, 9, 100})
    pedal.Model().MutableState().presets[static_cast<size_t>(slot)][20] ^= 0x01;

  HeadlessEditor again(nullptr, library.root);
  Link second{again, pedal, {}};
  second.Run(4000);
  std::vector<int> requested;
  for (const Bytes& m : second.Commands(kCmdRequestPreset)) requested.push_back(m[7]);
  EXPECT_EQ(second.Commands(kCmdBeginBulkMode).size(), 1u);
  EXPECT_EQ(requested, (std::vector<int>{4, 9, 100, pedal.State().currentProgram}));
}

// Nobody answers: the identity request goes out on the first tick after
// start, a reconnect or a port change, then every 33rd tick.
TEST(Connection, IdentityGoesOutAtOnceThenEvery33Ticks) {
  HeadlessEditor h;
  const auto identities = [&] {
    int n = 0;
    for (const Bytes& m : h.TakeSent())
      if (m.size() == 9 && m[5] == 0x55 && m[7] == 0x0F) ++n;
    return n;
  };
  h.Advance(100);
  EXPECT_EQ(identities(), 1);
  h.Advance(3200);
  EXPECT_EQ(identities(), 0);
  h.Advance(100);
  EXPECT_EQ(identities(), 1); // 3.3 s after the first

  h.Advance(1000);
  h.Editor().Reconnect();
  h.Advance(100);
  EXPECT_EQ(identities(), 1);
  h.Advance(3200);
  EXPECT_EQ(identities(), 0);

  h.Editor().PortsChanged();
  h.Advance(100);
  EXPECT_EQ(identities(), 1);

  // Not while connecting is not wanted (the global settings page is open).
  h.Editor().OpenGlobalSettings();
  h.TakeSent();
  h.Editor().PortsChanged();
  h.Advance(5000);
  EXPECT_EQ(identities(), 0);
}

TEST(Connection, CorruptChecksumsAreHandled) {
  HeadlessEditor h;
  VirtualPedal pedal;
  Link link{h, pedal, {}};
  link.Run(4000);
  ASSERT_TRUE(Connected(h));
  const int before = h.Editor().ParamAt(kParamGain)->Int();

  // A single dump with a bad checksum moves the selection but changes no value.
  Bytes dump = pedal.Exchange(BuildRequestPreset(7)).at(0);
  dump[42 + kParamGain] = static_cast<uint8_t>((before + 5) & 0x7F);
  h.Receive(dump);
  EXPECT_EQ(h.Editor().State().mCurrentPresetSlot, 7);
  EXPECT_EQ(h.Editor().ParamAt(kParamGain)->Int(), before);

  // During a bulk read a bad dump asks for the same slot again.
  h.Editor().State().mBulkLoading = true;
  h.Editor().State().mBulkSlot = 7;
  h.Editor().State().mAwaited = TransferState::Awaited::kPreset; // as the request left it
  h.Editor().State().mAwaitedNumber = 7;
  h.TakeSent();
  h.Receive(dump);
  EXPECT_EQ(h.TakeSent(),
            (std::vector<Bytes>{{0xF0, 0x00, 0x51, 0x21, 0x05, 0x40, 0x0B, 7, 0xF7}}));
}

} // namespace

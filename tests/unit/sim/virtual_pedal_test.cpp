// Timing and misbehaviour of the virtual pedal on its caller-advanced clock.

#include <gtest/gtest.h>

#include <set>

#include "sim/VirtualPedal.h"
#include "tests/unit/sim/SimTestSupport.h"

namespace zorel::sim::test {
namespace {

const Bytes kRequestIR0 = Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x69, 0x0B, 0x00, 0x00, 0xF7});

PedalConfig With(Misbehaviour mb, uint64_t seed = 1) {
  PedalConfig config;
  config.misbehaviour = mb;
  config.seed = seed;
  return config;
}

TEST(VirtualPedalTiming, AnswersAreDueWhenTheMessageArrives) {
  VirtualPedal pedal;
  pedal.AdvanceTo(5000);
  pedal.Receive(IdentityRequest());
  EXPECT_EQ(pedal.NextDueTime(), 5000u);
  const auto replies = pedal.Collect();
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0][7], 0x0F);
  EXPECT_EQ(pedal.PendingCount(), 0u);
}

TEST(VirtualPedalTiming, DelayHoldsAnswersBackInOrder) {
  Misbehaviour mb;
  mb.delayUs = 30000;
  VirtualPedal pedal(With(mb));
  pedal.Receive(RequestPreset(1));
  pedal.AdvanceTo(10000);
  pedal.Receive(RequestPreset(2));
  pedal.AdvanceTo(29999);
  EXPECT_TRUE(pedal.Collect().empty());
  pedal.AdvanceTo(30000);
  auto first = pedal.Collect();
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0][7], 1);
  pedal.AdvanceTo(39999);
  EXPECT_TRUE(pedal.Collect().empty());
  pedal.AdvanceTo(40000);
  EXPECT_EQ(pedal.Collect().at(0)[7], 2);
}

TEST(VirtualPedalTiming, JitterStaysInItsBoundsAndNeverReorders) {
  Misbehaviour mb;
  mb.delayUs = 1000;
  mb.delayJitterUs = 50000;
  // Messages closer together than the jitter must still come out in order;
  // messages further apart show the jitter itself.
  for (uint64_t spacing : {100u, 60000u}) {
    VirtualPedal pedal(With(mb, 7));
    for (int slot = 0; slot < 50; ++slot) {
      pedal.Receive(RequestPreset(slot));
      pedal.Advance(spacing);
    }
    std::vector<std::pair<uint64_t, int>> delivered; // due time, slot
    pedal.SetObserver([&](const TraceEvent& e) {
      if (e.direction == TraceDirection::Out) delivered.emplace_back(e.timeUs, e.bytes[7]);
    });
    pedal.CollectAll();
    ASSERT_EQ(delivered.size(), 50u);
    std::set<uint64_t> offsets;
    for (int slot = 0; slot < 50; ++slot) {
      const auto [due, got] = delivered[static_cast<size_t>(slot)];
      const uint64_t sent = spacing * static_cast<uint64_t>(slot);
      EXPECT_EQ(got, slot) << "never reordered";
      EXPECT_GE(due, sent + 1000u);
      EXPECT_LE(due, sent + 51000u);
      offsets.insert(due - sent);
    }
    if (spacing > mb.delayJitterUs) {
      EXPECT_GT(offsets.size(), 40u) << "the jitter varies";
    }
  }
}

TEST(VirtualPedalTiming, IRDumpChunksAreSpacedUnlessBurst) {
  VirtualPedal paced;
  paced.Receive(kRequestIR0);
  std::vector<uint64_t> times;
  while (auto due = paced.NextDueTime()) {
    paced.AdvanceTo(*due);
    for (size_t i = 0, n = paced.Collect().size(); i < n; ++i) times.push_back(*due);
  }
  ASSERT_EQ(times.size(), 11u);
  for (size_t i = 0; i < times.size(); ++i) EXPECT_EQ(times[i], i * kDefaultIRChunkGapUs);

  Misbehaviour mb;
  mb.irDumpBurst = true;
  VirtualPedal burst(With(mb));
  burst.Receive(kRequestIR0);
  EXPECT_EQ(burst.Collect().size(), 11u) << "all eleven at once";
}

TEST(VirtualPedalTiming, WirePacingTakes320MicrosecondsPerByte) {
  Misbehaviour mb;
  mb.wirePacing = true;
  VirtualPedal pedal(With(mb));
  pedal.Receive(IdentityRequest());
  pedal.Receive(RequestPreset(0));
  EXPECT_EQ(pedal.NextDueTime(), 267u * 320u);
  pedal.AdvanceTo(267u * 320u);
  EXPECT_EQ(pedal.Collect().size(), 1u);
  EXPECT_EQ(pedal.NextDueTime(), 2u * 267u * 320u) << "the second waits for the wire";

  // An IR dump on the wire: each chunk after the previous one's last byte.
  VirtualPedal dump(With(mb));
  dump.Receive(kRequestIR0);
  dump.CollectAll();
  EXPECT_EQ(dump.Now(), (269u + 9u * 264u + 235u) * 320u);
}

TEST(VirtualPedalMisbehaviour, DropShareIsSeededAndRoughlyKept) {
  Misbehaviour mb;
  mb.dropShare = 0.3;
  auto run = [&](uint64_t seed) {
    VirtualPedal pedal(With(mb, seed));
    std::vector<int> received;
    for (int i = 0; i < 1000; ++i)
      if (!pedal.Exchange(RequestPreset(i % 128)).empty()) received.push_back(i);
    EXPECT_EQ(pedal.DroppedCount() + received.size(), 1000u);
    return received;
  };
  const auto a = run(1);
  EXPECT_GT(a.size(), 630u);
  EXPECT_LT(a.size(), 770u);
  EXPECT_EQ(run(1), a) << "same seed, same losses";
  EXPECT_NE(run(2), a);

  mb.dropShare = 1.0;
  VirtualPedal silent(With(mb));
  EXPECT_TRUE(silent.Exchange(IdentityRequest()).empty());
}

TEST(VirtualPedalMisbehaviour, CorruptBlockChecksumOnlyOnBlocks) {
  Misbehaviour mb;
  mb.corruptBlockShare = 1.0;
  VirtualPedal pedal(With(mb));
  const Bytes dump = pedal.Exchange(RequestPreset(3)).at(0);
  EXPECT_FALSE(BlockSumOk(dump));
  EXPECT_TRUE(std::equal(dump.begin(), dump.begin() + 264,
                         pedal.Model().Receive(RequestPreset(3))[0].begin()))
      << "only the checksum changed";
  EXPECT_LT(dump[265], 0x80);
  EXPECT_FALSE(BlockSumOk(pedal.Exchange(IdentityRequest()).at(0)));
  const auto chunks = pedal.Exchange(kRequestIR0);
  EXPECT_EQ(chunks, pedal.Model().Receive(kRequestIR0)) << "IR chunks untouched";
}

TEST(VirtualPedalMisbehaviour, CorruptTransferChecksumOnlyOnTheLastChunk) {
  Misbehaviour mb;
  mb.corruptTransferShare = 1.0;
  VirtualPedal pedal(With(mb));
  const auto good = pedal.Model().Receive(kRequestIR0);
  const auto bad = pedal.Exchange(kRequestIR0);
  ASSERT_EQ(bad.size(), 11u);
  for (size_t i = 0; i < 10; ++i) EXPECT_EQ(bad[i], good[i]);
  EXPECT_NE(bad[10][bad[10].size() - 2], good[10][good[10].size() - 2]);
  EXPECT_EQ(Bytes(bad[10].begin(), bad[10].end() - 2), Bytes(good[10].begin(), good[10].end() - 2));
  EXPECT_TRUE(BlockSumOk(pedal.Exchange(RequestPreset(0)).at(0)));
}

TEST(VirtualPedalMisbehaviour, CutMessagesKeepTheirStartAndAnEnd) {
  Misbehaviour mb;
  mb.cutShare = 1.0;
  VirtualPedal pedal(With(mb, 3));
  for (int slot = 0; slot < 20; ++slot) {
    const Bytes good = pedal.Model().Receive(RequestPreset(slot)).at(0);
    const Bytes cut = pedal.Exchange(RequestPreset(slot)).at(0);
    ASSERT_LT(cut.size(), good.size());
    ASSERT_GE(cut.size(), 2u);
    EXPECT_EQ(cut.back(), 0xF7);
    EXPECT_TRUE(std::equal(cut.begin(), cut.end() - 1, good.begin()));
  }
}

TEST(VirtualPedalMisbehaviour, ReportedVersion) {
  for (int version : {9, 120, 127}) {
    Misbehaviour mb;
    mb.reportedVersionTimes10 = version;
    VirtualPedal pedal(With(mb));
    const Bytes id = pedal.Exchange(IdentityRequest()).at(0);
    EXPECT_EQ(id[6], version);
    EXPECT_TRUE(BlockSumOk(id));
  }
  VirtualPedal pedal;
  Misbehaviour mb;
  mb.reportedVersionTimes10 = 5;
  pedal.SetMisbehaviour(mb);
  EXPECT_EQ(pedal.Exchange(IdentityRequest()).at(0)[6], 5);
  pedal.SetMisbehaviour({});
  EXPECT_EQ(pedal.Exchange(IdentityRequest()).at(0)[6], 11);
}

TEST(VirtualPedalTrace, ObserverSeesEveryMessageEveryWay) {
  Misbehaviour mb;
  mb.dropShare = 1.0;
  VirtualPedal pedal(With(mb));
  std::vector<TraceDirection> seen;
  pedal.SetObserver([&](const TraceEvent& e) { seen.push_back(e.direction); });
  pedal.Exchange(IdentityRequest());
  pedal.SetMisbehaviour({});
  pedal.Exchange(IdentityRequest());
  pedal.TurnKnob(0, 1);
  pedal.CollectAll();
  EXPECT_EQ(seen, (std::vector<TraceDirection>{TraceDirection::In, TraceDirection::Dropped,
                                               TraceDirection::In, TraceDirection::Out,
                                               TraceDirection::Out}));
}

} // namespace
} // namespace zorel::sim::test

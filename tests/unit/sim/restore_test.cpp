// The acknowledgements an import relies on. The editor counts one step per
// 0x71/0x7D/0x73, steps over 0x78 itself, stops on 0x72/0x7E, and ends the
// import when the count reaches the number of messages on a 0x71/0x7D.

#include <gtest/gtest.h>

#include "sim/PedalModel.h"
#include "tests/unit/sim/SimTestSupport.h"

namespace zorel::sim::test {
namespace {

// The restore transformation as the table gives it, with the running sum R.
Bytes Restore(Bytes m, uint32_t& r) {
  switch (m[5]) {
  case 0x41:
    m[5] = 0x7F;
    break;
  case 0x60:
    m[5] = 0x77;
    r = Sum(m, 12, 268);
    break;
  case 0x65:
    m[5] = 0x78;
    r += Sum(m, 7, 263);
    break;
  case 0x66:
    m[5] = 0x79;
    r += Sum(m, 7, m.size() - 3);
    r &= 0x3FFF;
    m[m.size() - 3] = static_cast<uint8_t>(r >> 7);
    m[m.size() - 2] = static_cast<uint8_t>(r & 0x7F);
    break;
  default:
    break;
  }
  return m;
}

// What an export collects: the 128 dumps, then the dumps of the user IRs
// the presets use (IR 7 / IR 8 on and numbered below 256), ascending.
std::vector<Bytes> Export(PedalModel& pedal) {
  std::vector<Bytes> messages;
  std::vector<bool> needed(256, false);
  for (int slot = 0; slot < 128; ++slot) {
    const Bytes dump = pedal.Receive(RequestPreset(slot)).at(0);
    if (dump[82] && dump[95] * 128 + dump[96] < 256) needed[dump[95] * 128 + dump[96]] = true;
    if (dump[83] && dump[97] * 128 + dump[98] < 256) needed[dump[97] * 128 + dump[98]] = true;
    messages.push_back(dump);
  }
  for (int n = 0; n < 256; ++n) {
    if (!needed[static_cast<size_t>(n)]) continue;
    for (Bytes& chunk :
         pedal.Receive(Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x69, 0x0B, n >> 7, n & 0x7F, 0xF7})))
      messages.push_back(chunk);
  }
  return messages;
}

enum class Outcome { Finished, Failed, Stalled };

// Runs the editor's counting against `pedal`.
Outcome Import(PedalModel& pedal, const std::vector<Bytes>& stored, size_t& sent) {
  uint32_t r = 0;
  size_t index = 0;
  sent = 0;
  while (index < stored.size()) {
    const Bytes m = Restore(stored[index], r);
    const auto replies = pedal.Receive(m);
    ++sent;
    if (m[5] == 0x78) {
      EXPECT_TRUE(replies.empty()) << "middle chunks are not acknowledged";
      ++index;
      continue;
    }
    if (replies.size() != 1) return Outcome::Stalled;
    const uint8_t ack = replies[0][5];
    EXPECT_EQ(replies[0], ShortReply(ack));
    if (ack == 0x72 || ack == 0x7E) return Outcome::Failed;
    if (ack != 0x71 && ack != 0x7D && ack != 0x73) return Outcome::Stalled;
    ++index;
    if (index == stored.size()) return ack == 0x73 ? Outcome::Stalled : Outcome::Finished;
  }
  return Outcome::Stalled;
}

TEST(Import, ExportedPedalRestoresCompletelyAndFinishes) {
  PedalModel source;
  // Make the source differ from a factory pedal in presets and user IRs.
  source.MutableState().presets[10][2] = 'Z';
  source.MutableState().userIRs[3][40] = 0x55;
  const std::vector<Bytes> stored = Export(source);
  ASSERT_GT(stored.size(), 128u + 11u);

  PedalModel target;
  target.MutableState().presets[10][2] = 'A';
  target.MutableState().userIRs[3][40] = 0;
  size_t sent = 0;
  EXPECT_EQ(Import(target, stored, sent), Outcome::Finished);
  EXPECT_EQ(sent, stored.size());
  EXPECT_EQ(target.State().presets, source.State().presets);
  EXPECT_EQ(target.State().userIRs[3], source.State().userIRs[3]);
}

TEST(Import, AcknowledgementsPerMessage) {
  PedalModel pedal;
  const Bytes dump = pedal.Receive(RequestPreset(4)).at(0);
  uint32_t r = 0;
  EXPECT_EQ(pedal.Receive(Restore(dump, r)), std::vector<Bytes>{ShortReply(0x7D)});
  const auto chunks =
      pedal.Receive(Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x69, 0x0B, 0x00, 0x05, 0xF7}));
  EXPECT_EQ(pedal.Receive(Restore(chunks[0], r)), std::vector<Bytes>{ShortReply(0x73)});
  for (size_t i = 1; i < 10; ++i) EXPECT_TRUE(pedal.Receive(Restore(chunks[i], r)).empty());
  EXPECT_EQ(pedal.Receive(Restore(chunks[10], r)), std::vector<Bytes>{ShortReply(0x71)});
}

TEST(Import, DamagedMessagesFailTheImport) {
  PedalModel pedal;
  uint32_t r = 0;
  Bytes dump = Restore(pedal.Receive(RequestPreset(4)).at(0), r);
  dump[50] ^= 1;
  EXPECT_EQ(pedal.Receive(dump), std::vector<Bytes>{ShortReply(0x7E)});

  auto chunks = pedal.Receive(Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x69, 0x0B, 0x00, 0x05, 0xF7}));
  std::vector<Bytes> restored;
  for (const Bytes& c : chunks) restored.push_back(Restore(c, r));
  restored[3][100] ^= 1; // a middle chunk changed on the way
  const IRBlock before = pedal.State().userIRs[5];
  for (const Bytes& m : restored) pedal.Receive(m);
  EXPECT_EQ(pedal.State().userIRs[5], before);
  EXPECT_EQ(pedal.Receive(restored[10]), std::vector<Bytes>{ShortReply(0x72)})
      << "no transfer running";

  // An IR restore to a number without a slot fails at once.
  Bytes bad = restored[0];
  bad[7] = 0x02; // 2 x 128 + 0 = 256
  bad[8] = 0x00;
  EXPECT_EQ(pedal.Receive(bad), std::vector<Bytes>{ShortReply(0x72)});
}

TEST(Import, RestoringTheCurrentProgramReloadsTheEditBuffer) {
  PedalModel pedal;
  Bytes payload(pedal.State().presets[0].begin(), pedal.State().presets[0].end());
  payload[2] = 'R';
  EXPECT_EQ(pedal.Receive(BlockMessage(0x7F, 0, payload)), std::vector<Bytes>{ShortReply(0x7D)});
  EXPECT_EQ(pedal.State().editBuffer[2], 'R');
}

} // namespace
} // namespace zorel::sim::test

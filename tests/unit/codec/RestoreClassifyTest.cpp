// Restoring stored messages, splitting bulk buffers, and classifying
// messages by length and bytes.

#include <gtest/gtest.h>

#include "protocol/codec/Classify.h"
#include "protocol/codec/EditorMessages.h"
#include "protocol/codec/IrTransfer.h"
#include "protocol/codec/PedalMessages.h"
#include "protocol/codec/Restore.h"
#include "protocol/codec/SettingsBlocks.h"
#include "tests/unit/codec/TestBytes.h"

namespace zorel {
namespace {

using test::Hex;
using test::Pattern;
using test::Vec;

std::vector<std::vector<uint8_t>> StoredIRDump() {
  std::array<uint8_t, kIRBlockSize> block{};
  const auto bytes = Pattern(kIRBlockSize, 11);
  std::copy(bytes.begin(), bytes.end(), block.begin());
  return BuildIRTransfer(17, block);
}

TEST(Restore, PresetDumpOnlyChangesItsCommand) {
  PresetPayload payload{};
  payload[2] = 'X';
  const auto dump = BuildPresetDump(4, payload);
  RestoreState state;
  const auto out = RestoreMessage(dump, state);
  ASSERT_TRUE(out);
  auto expected = Vec(dump);
  expected[5] = 0x7F;
  EXPECT_EQ(*out, expected);
  EXPECT_EQ(ClassifyEditorMessage(*out), EditorKind::RestorePreset);
}

TEST(Restore, IRChunksGetRestoreCommandsAndARecomputedChecksum) {
  auto stored = StoredIRDump();
  const auto original = stored.back();
  // A stored last chunk whose checksum was damaged is sent with the right one.
  stored.back()[stored.back().size() - 3] = 0;
  stored.back()[stored.back().size() - 2] = 0;
  RestoreState state{12345}; // left over from an earlier IR: must not leak in
  std::vector<std::vector<uint8_t>> sent;
  for (const auto& m : stored) sent.push_back(*RestoreMessage(m, state));
  EXPECT_EQ(sent[0][5], 0x77);
  for (size_t i = 1; i < 10; ++i) EXPECT_EQ(sent[i][5], 0x78);
  EXPECT_EQ(sent[10][5], 0x79);
  const size_t n = original.size();
  EXPECT_EQ(sent[10][n - 3], original[n - 3]);
  EXPECT_EQ(sent[10][n - 2], original[n - 2]);
  EXPECT_LT(state.runningSum, 0x4000u);
  // Apart from byte 5 and the checksum, the bytes are as stored.
  for (size_t i = 0; i < 10; ++i) {
    auto expect = stored[i];
    expect[5] = sent[i][5];
    EXPECT_EQ(sent[i], expect);
  }
}

TEST(Restore, OtherMessagesPassAndUnsafeOnesAreRefused) {
  RestoreState state;
  const auto foreign = Hex("F0 7E 00 06 01 F7");
  EXPECT_EQ(*RestoreMessage(foreign, state), foreign);
  const auto ack = Vec(BuildShortReply(0x41)); // too short to matter, still ours
  EXPECT_EQ((*RestoreMessage(ack, state))[5], 0x7F);

  EXPECT_FALSE(RestoreMessage(Hex("F0 00 51 21 05 41 0B 80 F7"), state)); // status byte inside
  EXPECT_FALSE(RestoreMessage(Hex("F0 00 51 21 05 41 0B 01"), state));    // no F7
  EXPECT_FALSE(RestoreMessage(Hex("00 51 21 05 41 0B 01 F7"), state));    // no F0
  auto chunks = StoredIRDump();
  EXPECT_FALSE(RestoreMessage(std::span(chunks[0]).last(200), state));
  chunks[0].erase(chunks[0].begin() + 20); // 268 bytes: the sum would overrun
  EXPECT_FALSE(RestoreMessage(chunks[0], state));
  EXPECT_FALSE(RestoreMessage(Hex("F0 00 51 21 05 66 0B 01 02 F7"), state)); // r = 0
}

TEST(Restore, SplitStopsAtTheLastCompleteMessage) {
  const auto buffer = Hex("F0 01 F7 F0 02 03 F7 F0 04");
  const auto parts = SplitStoredMessages(buffer);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(Vec(parts[0]), Hex("F0 01 F7"));
  EXPECT_EQ(Vec(parts[1]), Hex("F0 02 03 F7"));
  EXPECT_TRUE(SplitStoredMessages({}).empty());
}

TEST(Classify, LengthFamiliesAndAcknowledgements) {
  struct Case {
    const char* hex;
    IncomingKind kind;
  };
  const Case cases[] = {
      {"F0 00 51 21 05 63 0B F7", IncomingKind::Unknown}, // sub-id present: not an ack
      {"F0 00 51 21 05 63 F7", IncomingKind::ReadyForIRData},
      {"F0 00 51 21 05 57 F7", IncomingKind::Finished},
      {"F0 00 51 21 05 5F F7", IncomingKind::ParameterAccepted},
      {"F0 00 51 21 05 61 F7", IncomingKind::IRStored},
      {"F0 00 51 21 05 62 F7", IncomingKind::Error},
      {"F0 00 51 21 05 71 F7", IncomingKind::WriteAcknowledged},
      {"F0 00 51 21 05 7D F7", IncomingKind::WriteAcknowledged},
      {"F0 00 51 21 05 72 F7", IncomingKind::WriteFailed},
      {"F0 00 51 21 05 7E F7", IncomingKind::WriteFailed},
      {"F0 00 51 21 05 73 F7", IncomingKind::WriteAcknowledgedMore},
      {"F0 00 51 21 05 99 F7", IncomingKind::Unknown},
      {"F0 00 51 21 04 12 F7", IncomingKind::LoaderReady},
      {"F0 00 51 21 04 14 F7", IncomingKind::UpdateComplete},
      {"F0 00 51 21 04 15 F7", IncomingKind::UpdateFailed},
      {"F0 00 51 21 05 51 0B 03 7F F7", IncomingKind::ParameterReport},
      {"F0 00 51 21 05 51 0B 03 F7", IncomingKind::Unknown},  // value missing
      {"00 00 51 21 05 63 F7", IncomingKind::ReadyForIRData}, // byte 0 not inspected
      {"F0 00 52 21 05 63 F7", IncomingKind::Unknown},
      {"F0 00 51 21 06 63 F7", IncomingKind::Unknown},
      {"F0 00 51 21 05", IncomingKind::Unknown},
      {"", IncomingKind::Unknown},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ClassifyIncoming(Hex(c.hex)), c.kind) << c.hex << " -> " << ToString(c.kind);

  const auto report = ParseParameterReport(BuildParameterReport(77, 0));
  ASSERT_TRUE(report);
  EXPECT_EQ(report->number, 77);
  EXPECT_EQ(report->value, 0);
}

TEST(Classify, LongMessagesByLengthThenCommand) {
  BlockData data{};
  EXPECT_EQ(ClassifyIncoming(BuildSettingsBlock(3, data)), IncomingKind::SettingsBlock);
  EXPECT_EQ(ClassifyIncoming(BuildIdentityBlock(11, "S")), IncomingKind::SettingsBlock);
  EXPECT_EQ(ClassifyIncoming(BuildWritePreset(0, data)), IncomingKind::Unknown);
  const auto chunks = StoredIRDump();
  EXPECT_EQ(ClassifyIncoming(chunks[0]), IncomingKind::IRDumpFirst);
  EXPECT_EQ(ClassifyIncoming(chunks[1]), IncomingKind::IRDumpMiddle);
  EXPECT_EQ(ClassifyIncoming(chunks[10]), IncomingKind::IRDumpLast);
  // A 42-byte last chunk (r = 32) is the chunk, not a name report.
  std::vector<uint8_t> last42(chunks[10].begin(), chunks[10].begin() + 39);
  last42.insert(last42.end(), {0x01, 0x02, 0xF7});
  EXPECT_EQ(ClassifyIncoming(last42), IncomingKind::IRDumpLast);
  // A first chunk too short to carry its IR number and size.
  EXPECT_EQ(ClassifyIncoming(std::span(chunks[0]).first(12)), IncomingKind::Unknown);
  // Editor messages with their lengths cut are not recognised by the pedal.
  const auto requestIR = BuildRequestIR(1);
  EXPECT_EQ(ClassifyEditorMessage(std::span(requestIR).first(9)), EditorKind::Unknown);
  EXPECT_EQ(ClassifyEditorMessage(BuildIdentityRequest()), EditorKind::RequestSettings);
  EXPECT_EQ(ClassifyEditorMessage(Hex("F0 00 51 21 05 55 0C 0F F7")), EditorKind::Unknown);
}

} // namespace
} // namespace zorel

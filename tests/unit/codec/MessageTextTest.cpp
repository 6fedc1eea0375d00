// The monitor's descriptions: one row per message family, both directions,
// and the chunk counting across whole transfers.
#include <gtest/gtest.h>

#include "TestBytes.h"
#include "protocol/codec/Codec.h"
#include "protocol/codec/MessageText.h"

using namespace zorel;
using zorel::test::Hex;
using zorel::test::Vec;

namespace {

constexpr auto kOut = TrafficDirection::kToPedal;
constexpr auto kIn = TrafficDirection::kFromPedal;

struct Row {
  TrafficDirection direction;
  std::vector<uint8_t> message;
  const char* text;
};

std::string Describe(TrafficDirection d, std::span<const uint8_t> m) {
  TrafficContext context;
  return DescribeMessage(d, m, context);
}

BlockMessage CorruptChecksum(BlockMessage m) {
  m[kBlockChecksumOffset + 1] ^= 0x01;
  return m;
}

TEST(MessageText, EachMessageOfEitherDirectionHasItsOwnWords) {
  std::array<uint8_t, kPresetPayloadSize> payload{};
  const BlockMessage dump = BuildPresetDump(10, payload);
  const std::array<std::string_view, kIRNamesPerPage> names{"a", "b", "c", "d", "e", "f", "g", "h"};
  const std::vector<Row> rows = {
      {kOut, Vec(BuildIdentityRequest()), "identity request"},
      {kOut, Vec(BuildRequestPreset(10)), "request preset 10"},
      {kOut, Vec(BuildSelectPreset(23)), "select preset 23"},
      {kOut, Vec(BuildSetParameter(20, 70)), "set parameter 20 to 70"},
      {kOut, Vec(BuildStoreProgram(5)), "store into preset 5"},
      {kOut, Vec(BuildRequestSettings(3)), "request preset checksum list"},
      {kOut, Vec(BuildBulkMode(true)), "bulk mode on"},
      {kOut, Vec(BuildBulkMode(false)), "bulk mode off"},
      {kOut, Vec(BuildEditorClosing()), "editor closing"},
      {kOut, Vec(BuildRequestIR(385)), "request IR 385"},
      {kOut, Vec(BuildRequestIRNames(4)), "request IR names page 4"},
      {kOut, Vec(BuildFactoryReset(kResetPresets)), "factory reset of the presets"},
      {kOut, Vec(BuildWritePreset(7, payload)), "write preset 7, checksum ok"},
      {kOut, Vec(BuildLoaderStart()), "start firmware loader"},
      {kIn, Vec(dump), "preset dump 10, checksum ok"},
      {kIn, Vec(CorruptChecksum(dump)), "preset dump 10, checksum bad"},
      {kIn, Vec(BuildIdentityBlock(11, "SN1")), "identity, version 1.1, checksum ok"},
      {kIn, Vec(BuildIRNamePage(2, names)), "IR name page 2, checksum ok"},
      {kIn, Vec(BuildIRNameReport("Big Room")), "IR name report \"Big Room\""},
      {kIn, Vec(BuildParameterReport(77, 1)), "parameter report 77 = 1"},
      {kIn, Vec(BuildShortReply(kCmdParameterAccepted)), "parameter accepted"},
      {kIn, Vec(BuildShortReply(kCmdReadyForIRData)), "ready for IR data"},
      {kIn, Vec(BuildShortReply(kCmdWriteAckAlt)), "write acknowledged"},
      {kIn, Vec(BuildLoaderReply(kCmdLoaderReady)), "loader ready"},
      // The same bytes mean different things, or nothing, in the other direction.
      {kIn, Vec(BuildRequestPreset(10)), "unknown pedal message 0x40"},
      {kOut, Vec(dump), "unknown pedal message 0x41"},
      {kIn, Hex("F0 00 51 21 05 63 0B F7"), "unknown pedal message 0x63"},
      {kIn, Hex("F0 7E 7F 06 02 F7"), "foreign SysEx"},
      {kIn, Hex("B0 07 64"), "control change 7 = 100, channel 1"},
      {kIn, Hex("C3 05"), "program change 5, channel 4"},
      {kIn, {}, "empty message"},
  };
  for (const Row& row : rows) EXPECT_EQ(Describe(row.direction, row.message), row.text) << row.text;
}

TEST(MessageText, ChunksOfAWholeTransferAreCountedFromTheFirst) {
  const auto block = test::Pattern(kIRBlockSize);
  IRTransferSender upload(12, std::span<const uint8_t, kIRBlockSize>(block.data(), kIRBlockSize));
  TrafficContext context;
  std::vector<std::string> texts;
  while (!upload.Done()) texts.push_back(DescribeMessage(kOut, upload.NextChunk(), context));
  ASSERT_EQ(texts.size(), 11u);
  EXPECT_EQ(texts.front(), "IR upload chunk 1 of 11 (IR 12)");
  EXPECT_EQ(texts[2], "IR upload chunk 3 of 11");
  EXPECT_EQ(texts.back(), "IR upload chunk 11 of 11");

  // A dump coming back at the same time is counted apart from the upload.
  const auto first = BuildIRFirstChunk(300, kIRPackedSize, std::span(block).first(256));
  EXPECT_EQ(DescribeMessage(kIn, first, context), "IR dump chunk 1 of 11 (IR 300)");
  EXPECT_EQ(DescribeMessage(kIn, BuildIRMiddleChunk(std::span(block).first(256)), context),
            "IR dump chunk 2 of 11");
  // A transfer whose first chunk was missed still reads sensibly.
  TrafficContext fresh;
  EXPECT_EQ(DescribeMessage(kIn, BuildIRMiddleChunk(std::span(block).first(256)), fresh),
            "IR dump chunk 1");

  const std::vector<uint8_t> image = test::Pattern(1000);
  FirmwareTransferSender firmware(image);
  std::vector<std::string> chunks;
  while (!firmware.Done()) chunks.push_back(DescribeMessage(kOut, firmware.NextChunk(), context));
  ASSERT_EQ(chunks.size(), 5u);
  EXPECT_EQ(chunks.front(), "firmware chunk 1 of 5");
  EXPECT_EQ(chunks.back(), "firmware chunk 5 of 5");
  // The next transfer starts counting again.
  IRTransferSender again(13, std::span<const uint8_t, kIRBlockSize>(block.data(), kIRBlockSize));
  EXPECT_EQ(DescribeMessage(kOut, again.NextChunk(), context), "IR upload chunk 1 of 11 (IR 13)");
}

TEST(MessageText, LinesHaveFixedColumnsAndTheIdentityReplyIsRecognised) {
  TrafficContext context;
  EXPECT_EQ(FormatTrafficLine(1.2345, kOut, BuildRequestPreset(10), context),
            "    1.234  out     9  request preset 10");
  EXPECT_EQ(FormatTrafficLine(12.0, kIn, BuildPresetDump(3, std::array<uint8_t, 256>{}), context),
            "   12.000  in    267  preset dump 3, checksum ok");
  EXPECT_TRUE(IsIdentityReply(BuildIdentityBlock(11, "X")));
  EXPECT_TRUE(IsIdentityReply(CorruptChecksum(BuildIdentityBlock(11, "X"))));
  EXPECT_FALSE(IsIdentityReply(BuildSettingsBlock(0, BlockData{})));
  EXPECT_FALSE(IsIdentityReply(BuildIdentityRequest()));
  EXPECT_FALSE(IsIdentityReply(std::span<const uint8_t>{}));
}

} // namespace

// The editor's messages, byte for byte, and the 7-bit safety of their bodies.

#include <gtest/gtest.h>

#include "protocol/codec/Classify.h"
#include "protocol/codec/EditorMessages.h"
#include "protocol/codec/Names.h"
#include "protocol/codec/ParamIds.h"
#include "tests/unit/codec/TestBytes.h"

namespace zorel {
namespace {

using test::Hex;
using test::Vec;

TEST(EditorMessages, ShortMessagesAreByteExact) {
  EXPECT_EQ(Vec(BuildIdentityRequest()), Hex("F0 00 51 21 05 55 0B 0F F7"));
  EXPECT_EQ(Vec(BuildRequestSettings(0)), Hex("F0 00 51 21 05 55 0B 00 F7"));
  EXPECT_EQ(Vec(BuildRequestPreset(5)), Hex("F0 00 51 21 05 40 0B 05 F7"));
  EXPECT_EQ(Vec(BuildSelectPreset(127)), Hex("F0 00 51 21 05 23 0B 7F F7"));
  EXPECT_EQ(Vec(BuildBulkMode(true)), Hex("F0 00 51 21 05 5A 0B F7"));
  EXPECT_EQ(Vec(BuildBulkMode(false)), Hex("F0 00 51 21 05 5B 0B F7"));
  EXPECT_EQ(Vec(BuildEditorClosing()), Hex("F0 00 51 21 05 5F 0B F7"));
  EXPECT_EQ(Vec(BuildFactoryReset(kResetSettings)), Hex("F0 00 51 21 05 56 0B 02 F7"));
  EXPECT_EQ(Vec(BuildFactoryReset(kResetPresets)), Hex("F0 00 51 21 05 56 0B 01 F7"));
  EXPECT_EQ(Vec(BuildRequestIR(200)), Hex("F0 00 51 21 05 69 0B 01 48 F7"));
  EXPECT_EQ(Vec(BuildRequestIR(385)), Hex("F0 00 51 21 05 69 0B 03 01 F7"));
  EXPECT_EQ(Vec(BuildRequestIR(0)), Hex("F0 00 51 21 05 69 0B 00 00 F7"));
  EXPECT_EQ(Vec(BuildRequestIRNames(4)), Hex("F0 00 51 21 05 6A 0B 04 F7"));
}

TEST(EditorMessages, SetParameterUsesThePedalNumbering) {
  EXPECT_EQ(Vec(BuildSetSoundParameter(kParamReverbRoomSize, 70)),
            Hex("F0 00 51 21 05 50 0B 14 46 F7")); // index 16 -> device number 20
  EXPECT_EQ(Vec(BuildSetSoundParameter(kParamAnalogSim, 64)), Hex("F0 00 51 21 05 50 0B 0F 40 F7"));
  EXPECT_EQ(BuildSetSoundParameter(kParamHighFreq, 1)[7], 77);
  EXPECT_EQ(Vec(BuildStoreProgram(42)), Hex("F0 00 51 21 05 50 0B 12 2A F7"));
  EXPECT_EQ(Vec(BuildFilterSwitch(true)), Hex("F0 00 51 21 05 50 0B 13 01 F7"));
  EXPECT_EQ(Vec(BuildSetParameter(3, 0)), Hex("F0 00 51 21 05 50 0B 03 00 F7"));
}

TEST(EditorMessages, OutOfRangeArgumentsNeverBreakTheFrame) {
  for (int v : {-1, 128, 200, 255, 1000, -129}) {
    EXPECT_TRUE(IsWellFormedSysEx(BuildSetParameter(v, v)));
    EXPECT_TRUE(IsWellFormedSysEx(BuildSelectPreset(v)));
    EXPECT_TRUE(IsWellFormedSysEx(BuildRequestIR(v * 100)));
    EXPECT_NE(ClassifyEditorMessage(BuildSetParameter(v, v)), EditorKind::Unknown);
  }
}

PresetContent SampleContent() {
  PresetContent c;
  c.name = "Crunchy";
  for (int i = 0; i < kNumPresetParams; ++i) c.values[static_cast<size_t>(i)] = i;
  c.values[kParamUserIR7Mode] = 1;
  c.values[kParamUserIR8Mode] = 0;
  c.ir7Name = "Big Room";
  c.ir8Name = "ignored while IR 8 is off";
  return c;
}

TEST(WritePreset, LayoutOfTheWholeMessage) {
  const PresetContent c = SampleContent();
  const auto m = BuildWritePreset(9, c);
  ASSERT_EQ(m.size(), 267u);
  EXPECT_EQ(Vec(std::span(m).first(10)), Hex("F0 00 51 21 05 20 0B 09 01 00"));
  EXPECT_EQ(std::string(m.begin() + 10, m.begin() + 42), "Crunchy" + std::string(25, ' '));
  for (size_t i = 0; i < kNumPresetParams; ++i) ASSERT_EQ(m[42 + i], c.values[i]) << i;
  for (size_t o = 116; o < 200; ++o) ASSERT_EQ(m[o], 0) << o;
  EXPECT_EQ(std::string(m.begin() + 200, m.begin() + 232), "Big Room" + std::string(24, ' '));
  EXPECT_EQ(std::string(m.begin() + 232, m.begin() + 264), std::string(32, ' '));
  EXPECT_TRUE(BlockChecksumOk(m));
  EXPECT_EQ(m[266], 0xF7);
  EXPECT_EQ(ClassifyEditorMessage(m), EditorKind::WritePreset);
}

TEST(WritePreset, NamesAreCutToThirtyTwoAndPadded) {
  PresetContent c = SampleContent();
  const std::string forty = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd";
  c.name = forty;
  c.values[kParamUserIR7Mode] = 0; // its name is blanked, whatever the display holds
  c.values[kParamUserIR8Mode] = 1;
  c.ir8Name = "abc";
  const auto m = BuildWritePreset(0, c);
  EXPECT_EQ(std::string(m.begin() + 10, m.begin() + 42), forty.substr(0, 32));
  EXPECT_EQ(std::string(m.begin() + 200, m.begin() + 232), std::string(32, ' '));
  EXPECT_EQ(std::string(m.begin() + 232, m.begin() + 264), "abc" + std::string(29, ' '));
}

TEST(WritePreset, NonAsciiNamesStaySevenBit) {
  PresetContent c = SampleContent();
  c.name = "Caf\xC3\xA9 \xF0\x9F\x8E\xB8 Lead"; // "Café 🎸 Lead"
  c.ir7Name = "Stra\xC3\x9F"
              "e\x01";
  const auto m = BuildWritePreset(1, c);
  EXPECT_TRUE(IsWellFormedSysEx(m));
  EXPECT_TRUE(BlockChecksumOk(m));
  EXPECT_EQ(std::string(m.begin() + 10, m.begin() + 21), "Caf? ? Lead");
  EXPECT_EQ(std::string(m.begin() + 200, m.begin() + 207), "Stra?e?");
}

TEST(WritePreset, RawPayloadIsMaskedAndChecksummedAsSent) {
  PresetPayload payload{};
  payload.fill(0xFF); // e.g. a damaged slot file
  const auto m = BuildWritePreset(3, payload);
  EXPECT_TRUE(IsWellFormedSysEx(m));
  EXPECT_TRUE(BlockChecksumOk(m));
  EXPECT_EQ(m[100], 0x7F);
}

TEST(Names, SanitizeReplacesEachNonPrintableCharacterOnce) {
  EXPECT_EQ(SanitizeName("Plain ASCII ~!"), "Plain ASCII ~!");
  EXPECT_EQ(SanitizeName("\xC3\xA9"), "?"); // 2-byte sequence
  EXPECT_EQ(SanitizeName("\xE2\x82\xAC"
                         "5"),
            "?5");                               // 3-byte sequence
  EXPECT_EQ(SanitizeName("a\x80\x80z"), "a??z"); // stray continuation bytes
  EXPECT_EQ(SanitizeName("x\xC3"), "x?");        // cut sequence at the end
  EXPECT_EQ(SanitizeName("\xC3Q"), "?Q");        // lead without continuation
  EXPECT_EQ(SanitizeName(std::string("t\tn\x7F\0", 5)), "t?n??");
  // The cut at 32 counts characters, so the last visible one is whole.
  std::array<uint8_t, 32> field{};
  WriteNameField(field, std::string(31, 'x') + "\xC3\xA9"
                                               "yz");
  EXPECT_EQ(std::string(field.begin(), field.end()), std::string(31, 'x') + "?");
}

TEST(Names, TrimRemovesTrailingSpacesButKeepsBlankNames) {
  EXPECT_EQ(TrimName("Bright" + std::string(26, ' ')), "Bright");
  EXPECT_EQ(TrimName("A" + std::string(31, ' ')), "A");
  EXPECT_EQ(TrimName(" two words  "), " two words");
  EXPECT_EQ(TrimName(std::string(32, ' ')), std::string(32, ' '));
}

} // namespace
} // namespace zorel

// Settings blocks, preset payload parsing and IR name pages: the byte maps
// of the 256 data bytes in both directions.

#include <gtest/gtest.h>

#include "protocol/codec/Classify.h"
#include "protocol/codec/IrNames.h"
#include "protocol/codec/PedalMessages.h"
#include "protocol/codec/PresetPayload.h"
#include "protocol/codec/SettingsBlocks.h"
#include "tests/unit/codec/TestBytes.h"

namespace zorel {
namespace {

using test::Hex;
using test::Vec;

GlobalSettings DistinctSettings() {
  GlobalSettings s;
  s.currentProgram = 77;
  int v = 1;
  for (const auto& f : kGlobalSettingsFields) s.*f.member = v++; // 1..15 in offset order
  return s;
}

TEST(GlobalSettingsBlock, WriteLayout) {
  GlobalSettings s = DistinctSettings();
  s.tunerFrequency = 13; // 441 Hz
  s.editPotDisplayMode = 1;
  const auto m = BuildGlobalSettingsBlock(s);
  EXPECT_EQ(Vec(std::span(m).first(8)), Hex("F0 00 51 21 05 52 0B 00"));
  // Message offsets 8..25: program, 89..93, 2 (not 94's value), 95..98, 33..35, 0, 0, 99, 100.
  EXPECT_EQ(Vec(std::span(m).subspan(8, 18)),
            Hex("4D 01 02 03 04 05 02 07 0D 09 0A 0B 0C 0D 00 00 0E 0F"));
  for (size_t o = 26; o < 264; ++o) ASSERT_EQ(m[o], 0) << o;
  EXPECT_TRUE(BlockChecksumOk(m));
  EXPECT_EQ(ClassifyEditorMessage(m), EditorKind::WriteSettings);
}

TEST(GlobalSettingsBlock, ReadNormalisesTheDisplayModeByte) {
  BlockData data = BuildGlobalSettingsData(DistinctSettings());
  data[6] = 5; // message offset 14
  GlobalSettings read = ParseGlobalSettings(data);
  EXPECT_EQ(read.editPotDisplayMode, 1);
  data[6] = 0;
  EXPECT_EQ(ParseGlobalSettings(data).editPotDisplayMode, 0);
  // Every other field comes back from its own offset.
  GlobalSettings expected = DistinctSettings();
  read = ParseGlobalSettings(BuildGlobalSettingsData(expected));
  for (const auto& f : kGlobalSettingsFields) {
    if (f.param == kParamEditPotDisplayMode) continue;
    EXPECT_EQ(read.*f.member, expected.*f.member);
  }
  EXPECT_EQ(read.currentProgram, 77);
}

TEST(MidiAndMapBlocks, WriteOnlyWhatTheEditorOwns) {
  const auto cc = BuildMidiCCBlock({10, 11, 12, 13, 14, 15, 16, 17});
  EXPECT_EQ(Vec(std::span(cc).subspan(5, 11)), Hex("52 0B 01 0A 0B 0C 0D 0E 0F 10 11"));
  for (size_t o = 16; o < 264; ++o) ASSERT_EQ(cc[o], 0) << o;
  EXPECT_TRUE(BlockChecksumOk(cc));

  ProgramMap map{};
  for (int k = 0; k < kProgramMapSize; ++k) map[static_cast<size_t>(k)] = 127 - k;
  const auto pm = BuildProgramMapBlock(map);
  EXPECT_EQ(pm[7], 2);
  EXPECT_EQ(pm[8], 127);
  EXPECT_EQ(pm[135], 0);
  const auto back = ParseProgramMap(ViewBlock(pm)->data);
  for (int k = 0; k < kProgramMapSize; ++k) ASSERT_EQ(back[static_cast<size_t>(k)], 127 - k);
  for (size_t o = 136; o < 264; ++o) ASSERT_EQ(pm[o], 0) << o;
}

TEST(MidiAndMapBlocks, ReadSixteenAssignments) {
  BlockData data{};
  for (size_t i = 0; i < 20; ++i) data[i] = static_cast<uint8_t>(40 + i);
  const auto values = ParseMidiAssignments(data);
  ASSERT_EQ(values.size(), 16u); // 101..116, nothing past
  EXPECT_EQ(values[0], 40);
  EXPECT_EQ(values[15], 55);
  EXPECT_EQ(kMidiAssignmentFirstParam + kMidiAssignmentCount - 1, kParamJack1Polarity);
}

TEST(PedalBlocks, ChecksumListAndIdentity) {
  PresetChecksumList list{};
  list[0] = {0x7E, 0x00};
  list[127] = {0x01, 0x02};
  const auto m = BuildSettingsBlock(kSettingsChecksumList, BuildChecksumListData(list));
  EXPECT_EQ(m[8], 0x7E);
  EXPECT_EQ(m[262], 0x01);
  EXPECT_EQ(m[263], 0x02);
  EXPECT_EQ(ParseChecksumList(ViewBlock(m)->data), list);

  const auto id = BuildIdentityBlock(11, "ZRL-000123");
  EXPECT_EQ(id[6], 11); // the version replaces the sub-id
  EXPECT_EQ(id[7], 15);
  const auto view = ViewBlock(id);
  ASSERT_TRUE(view && view->checksumOk);
  const Identity identity = ParseIdentity(*view);
  EXPECT_EQ(identity.firmwareVersionTimes10, 11);
  EXPECT_EQ(identity.serial, "ZRL-000123" + std::string(22, ' '));
  EXPECT_EQ(std::string(id.begin() + 232, id.begin() + 242), "ZRL-000123");
}

TEST(PresetPayload, ParseReadsNamesValuesAndIRNumbers) {
  PresetContent c;
  c.name = "Lead";
  c.values[kParamUserIR7Mode] = 1;
  c.values[kParamUserIR7PresetMSB] = 1;
  c.values[kParamUserIR7Preset] = 72; // IR 200
  c.values[kParamUserIR8Mode] = 1;
  c.values[kParamUserIR8PresetMSB] = 0;
  c.values[kParamUserIR8Preset] = 5;
  c.values[kParamReverbExtensionFactor] = 5;
  c.ir7Name = "Seven";
  c.ir8Name = "Eight";
  const PresetPayload p = BuildPresetPayload(c);
  EXPECT_EQ(p[74], 1); // parameter 40 at data offset 74
  EXPECT_EQ(p[87], 1);
  EXPECT_EQ(p[88], 72);
  EXPECT_EQ(PayloadUserIR7Number(p), 200);
  EXPECT_EQ(PayloadUserIR8Number(p), 5);
  EXPECT_TRUE(PayloadUserIR7On(p) && PayloadUserIR8On(p));
  const ParsedPreset parsed = ParsePresetPayload(p);
  EXPECT_EQ(TrimName(parsed.name), "Lead");
  EXPECT_EQ(parsed.values[kParamReverbExtensionFactor], 5);
  EXPECT_EQ(TrimName(parsed.ir7Name), "Seven");
  EXPECT_EQ(TrimName(parsed.ir8Name), "Eight");
  // The dump carries the payload at message offset 8 with the slot at 7.
  const auto dump = BuildPresetDump(12, p);
  EXPECT_EQ(dump[7], 12);
  EXPECT_TRUE(std::equal(p.begin(), p.end(), dump.begin() + 8));
  EXPECT_EQ(ClassifyIncoming(dump), IncomingKind::PresetDump);
}

TEST(IRNames, PageRowsNumberTheirBankPositions) {
  std::array<std::string_view, 8> names = {"Alpha", "", "Gamma", "", "", "", "", "Theta"};
  const auto m = BuildIRNamePage(5, names);
  ASSERT_EQ(ClassifyIncoming(m), IncomingKind::IRNamePage);
  const auto page = ParseIRNamePage(m);
  ASSERT_TRUE(page);
  EXPECT_EQ(page->page, 5);
  EXPECT_EQ(IRNamePosition(5, 0), 8); // page 5 = positions 8..15 of bank 1
  EXPECT_EQ(IRNameRowText(*page, 0), "Alpha");
  EXPECT_EQ(IRNameRowText(*page, 1), "Empty Slot 10");
  EXPECT_EQ(IRNameRowText(*page, 7), "Theta");
  EXPECT_FALSE(IsLastIRNamePageOfBank(5));
  EXPECT_TRUE(IsLastIRNamePageOfBank(7));

  auto noSubId = m;
  noSubId[6] = 0x0C;
  EXPECT_FALSE(ParseIRNamePage(noSubId));
  EXPECT_EQ(ClassifyIncoming(noSubId), IncomingKind::Unknown);
}

TEST(IRNames, ReportCarriesOneName) {
  const auto m = BuildIRNameReport("Isle V30");
  ASSERT_EQ(m.size(), 42u);
  EXPECT_EQ(Vec(std::span(m).first(7)), Hex("F0 00 51 21 05 7B 0B"));
  EXPECT_EQ(m[41], 0xF7);
  ASSERT_EQ(ClassifyIncoming(m), IncomingKind::IRNameReport);
  EXPECT_EQ(TrimName(*ParseIRNameReport(m)), "Isle V30");
  EXPECT_FALSE(ParseIRNameReport(std::span(m).first(41)));
}

} // namespace
} // namespace zorel

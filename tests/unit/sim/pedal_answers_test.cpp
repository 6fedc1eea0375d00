// The pedal's answers to presets, parameters, settings and resets, checked
// byte by byte.

#include <gtest/gtest.h>

#include <string>

#include "sim/PedalModel.h"
#include "tests/unit/sim/SimTestSupport.h"

namespace zorel::sim::test {
namespace {

class PedalAnswers : public ::testing::Test {
protected:
  std::vector<Bytes> Send(const Bytes& m) { return pedal.Receive(m); }
  Bytes Only(const Bytes& m) {
    auto replies = Send(m);
    EXPECT_EQ(replies.size(), 1u);
    return replies.empty() ? Bytes{} : replies.front();
  }
  PedalModel pedal;
};

TEST_F(PedalAnswers, IdentityCarriesVersionTypeAndSerial) {
  const Bytes id = Only(IdentityRequest());
  ASSERT_EQ(id.size(), 267u);
  EXPECT_EQ(Bytes(id.begin(), id.begin() + 6), Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x52}));
  EXPECT_EQ(id[6], 11);   // version 1.1 x 10 instead of the sub-id
  EXPECT_EQ(id[7], 0x0F); // type 15
  EXPECT_EQ(std::string(id.begin() + 232, id.begin() + 264), pedal.State().serial);
  EXPECT_EQ(pedal.State().serial.size(), 32u);
  EXPECT_TRUE(BlockSumOk(id));
}

TEST_F(PedalAnswers, PresetDumpAndChecksumListAgree) {
  const Bytes list = Only(RequestSettings(3));
  ASSERT_EQ(list.size(), 267u);
  EXPECT_EQ(list[5], 0x52);
  EXPECT_EQ(list[7], 3);
  EXPECT_TRUE(BlockSumOk(list));
  for (int slot : {0, 5, 77, 127}) {
    const Bytes dump = Only(RequestPreset(slot));
    ASSERT_EQ(dump.size(), 267u);
    EXPECT_EQ(Bytes(dump.begin(), dump.begin() + 8),
              Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x41, 0x0B, slot}));
    EXPECT_TRUE(BlockSumOk(dump));
    const uint32_t s = Sum(dump, 8, 264);
    EXPECT_EQ(list[8 + 2 * slot], (s >> 7) & 0x7F) << slot;
    EXPECT_EQ(list[9 + 2 * slot], s & 0x7F) << slot;
    EXPECT_TRUE(std::equal(dump.begin() + 8, dump.begin() + 264,
                           pedal.State().presets[static_cast<size_t>(slot)].begin()));
  }
}

TEST_F(PedalAnswers, SelectionLoadsTheProgramAndAnswersWithItsDump) {
  const Bytes dump = Only(Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x23, 0x0B, 0x17, 0xF7}));
  EXPECT_EQ(dump[5], 0x41);
  EXPECT_EQ(dump[7], 0x17);
  EXPECT_EQ(pedal.State().currentProgram, 0x17);
  EXPECT_EQ(pedal.State().editBuffer, pedal.State().presets[0x17]);
  EXPECT_EQ(Only(RequestSettings(0))[8], 0x17); // type 0 reports the current program
}

TEST_F(PedalAnswers, EditsChangeTheEditBufferAndStoreWritesIt) {
  // Parameter 16 (device 20) to 70 and parameter 15 (device 15) to 64.
  EXPECT_TRUE(Send(SetParameter(0x14, 0x46)).empty());
  EXPECT_TRUE(Send(SetParameter(0x0F, 0x40)).empty());
  EXPECT_EQ(pedal.State().editBuffer[34 + 16], 70);
  EXPECT_EQ(pedal.State().editBuffer[34 + 15], 64);
  EXPECT_NE(pedal.State().presets[0][34 + 16], 70) << "nothing stored yet";
  // Device numbers 16 and 17 and those above 77 belong to nothing.
  const auto before = pedal.State().editBuffer;
  for (int number : {16, 17, 78, 127}) EXPECT_TRUE(Send(SetParameter(number, 5)).empty());
  EXPECT_EQ(pedal.State().editBuffer, before);

  // 18 = store into program 9: the answer is program 9's dump, with the edit.
  const Bytes dump = Only(SetParameter(0x12, 9));
  EXPECT_EQ(dump[5], 0x41);
  EXPECT_EQ(dump[7], 9);
  EXPECT_EQ(dump[8 + 34 + 16], 70);
  EXPECT_EQ(pedal.State().currentProgram, 9);
  const Bytes list = Only(RequestSettings(3));
  EXPECT_EQ(list[8 + 18], dump[264]);
  EXPECT_EQ(list[9 + 18], dump[265]);
}

TEST_F(PedalAnswers, UserIRNumbersAreAcceptedOthersAreSilent) {
  // 53..56 are device numbers 57..60; each is answered F0 00 51 21 05 5F F7.
  for (int number = 57; number <= 60; ++number)
    EXPECT_EQ(Send(SetParameter(number, 1)), std::vector<Bytes>{ShortReply(0x5F)}) << number;
  EXPECT_TRUE(Send(SetParameter(56, 1)).empty());
  EXPECT_TRUE(Send(SetParameter(61, 1)).empty());
}

TEST_F(PedalAnswers, EditBufferIRNamesFollowTheIRSelection) {
  // IR 7 on, number 1 x 128 + 2 = 130 (a factory user IR).
  Send(SetParameter(44, 1));
  Send(SetParameter(57, 1));
  Send(SetParameter(58, 2));
  const auto& eb = pedal.State().editBuffer;
  EXPECT_EQ(std::string(eb.begin() + 192, eb.begin() + 224),
            IRBlockName(pedal.State().userIRs[130]));
  Send(SetParameter(44, 0)); // mode off: 32 spaces
  EXPECT_EQ(std::string(eb.begin() + 192, eb.begin() + 224), std::string(32, ' '));
}

TEST_F(PedalAnswers, FilterSwitchIsKeptWithoutAnswer) {
  EXPECT_TRUE(Send(SetParameter(19, 1)).empty());
  EXPECT_TRUE(pedal.State().filterOn);
  EXPECT_TRUE(Send(SetParameter(19, 0)).empty());
  EXPECT_FALSE(pedal.State().filterOn);
}

TEST_F(PedalAnswers, PresetWriteStoresSilentlyAndRefusesABadChecksum) {
  Bytes payload(256, 0x20);
  payload[0] = 1;
  payload[1] = 0;
  for (int i = 0; i < 74; ++i) payload[34 + i] = static_cast<uint8_t>(i);
  Bytes write = BlockMessage(0x20, 42, payload);
  EXPECT_TRUE(Send(write).empty());
  EXPECT_TRUE(std::equal(payload.begin(), payload.end(), pedal.State().presets[42].begin()));
  const Bytes dump = Only(RequestPreset(42));
  EXPECT_TRUE(std::equal(dump.begin() + 8, dump.begin() + 264, payload.begin()));

  write[100] = 0x7F; // data changed, checksum not
  EXPECT_EQ(Send(write), std::vector<Bytes>{ShortReply(0x62)});
  EXPECT_EQ(pedal.State().presets[42][92], 58);
}

TEST_F(PedalAnswers, WritingTheCurrentProgramAlsoChangesTheEditBuffer) {
  Bytes payload(pedal.State().presets[0].begin(), pedal.State().presets[0].end());
  payload[2] = 'X';
  Send(BlockMessage(0x20, 0, payload));
  EXPECT_EQ(pedal.State().editBuffer[2], 'X');
}

TEST_F(PedalAnswers, GlobalSettingsWriteAndRead) {
  Bytes data(256, 0);
  data[0] = 99; // the editor's program: does not switch programs
  for (int d = 1; d <= 13; ++d) data[static_cast<size_t>(d)] = static_cast<uint8_t>(d);
  data[6] = 2; // what the editor always writes there
  data[8] = 13;
  data[14] = 5;
  data[16] = 1;
  data[17] = 1;
  data[200] = 9;
  EXPECT_TRUE(Send(BlockMessage(0x52, 0, data)).empty());
  const Bytes block = Only(RequestSettings(0));
  EXPECT_TRUE(BlockSumOk(block));
  EXPECT_EQ(block[7], 0);
  EXPECT_EQ(block[8], 0) << "still on program 0";
  for (int d = 1; d <= 13; ++d) EXPECT_EQ(block[8 + d], data[static_cast<size_t>(d)]) << d;
  EXPECT_EQ(block[8 + 14], 0);
  EXPECT_EQ(block[8 + 16], 1);
  EXPECT_EQ(block[8 + 17], 1);
  EXPECT_EQ(block[8 + 200], 0);
}

TEST_F(PedalAnswers, FactoryGlobalSettings) {
  const Bytes block = Only(RequestSettings(0));
  EXPECT_EQ(block[8 + 8], 12); // tuner 440 Hz
  EXPECT_EQ(block[8 + 11], 127);
  EXPECT_EQ(block[8 + 12], 127);
  EXPECT_EQ(block[8 + 13], 127);
}

TEST_F(PedalAnswers, ControllerAssignmentsKeepTheJackSetUp) {
  pedal.MutableState().midiAssignments[12] = 1; // JACK2 in switch mode
  Bytes data(256, 0);
  for (int k = 0; k < 8; ++k) data[static_cast<size_t>(k)] = static_cast<uint8_t>(20 + k);
  EXPECT_TRUE(Send(BlockMessage(0x52, 1, data)).empty());
  const Bytes block = Only(RequestSettings(1));
  EXPECT_EQ(block[7], 1);
  for (int k = 0; k < 8; ++k) EXPECT_EQ(block[8 + k], 20 + k);
  EXPECT_EQ(block[8 + 12], 1);
}

TEST_F(PedalAnswers, ProgramMapWriteAndRead) {
  EXPECT_EQ(Only(RequestSettings(2))[8 + 5], 5) << "identity map from the factory";
  Bytes data(256, 0);
  for (int k = 0; k < 128; ++k) data[static_cast<size_t>(k)] = static_cast<uint8_t>(127 - k);
  EXPECT_TRUE(Send(BlockMessage(0x52, 2, data)).empty());
  const Bytes block = Only(RequestSettings(2));
  for (int k = 0; k < 128; ++k) EXPECT_EQ(block[8 + k], 127 - k);
  EXPECT_EQ(block[8 + 128], 0);
}

TEST_F(PedalAnswers, SettingsWriteWithBadChecksumIsRefused) {
  Bytes data(256, 0);
  data[5] = 7;
  Bytes write = BlockMessage(0x52, 0, data);
  write[264] ^= 1;
  EXPECT_EQ(Send(write), std::vector<Bytes>{ShortReply(0x62)});
  EXPECT_EQ(Only(RequestSettings(0))[8 + 5], 0);
}

TEST_F(PedalAnswers, UnknownRequestsAndForeignMessagesGetNoAnswer) {
  EXPECT_TRUE(Send(RequestSettings(4)).empty());
  EXPECT_TRUE(Send(Hex({0xF0, 0x00, 0x51, 0x22, 0x05, 0x40, 0x0B, 0x00, 0xF7})).empty());
  EXPECT_TRUE(Send(Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x40, 0x0B, 0x00, 0x00, 0xF7})).empty());
  EXPECT_TRUE(Send(Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x40, 0x0B, 0x00})).empty()) << "no F7";
  EXPECT_TRUE(Send(Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x40, 0x0C, 0x00, 0xF7})).empty());
}

TEST_F(PedalAnswers, BulkModeAndEditorClosing) {
  EXPECT_TRUE(Send(Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x5A, 0x0B, 0xF7})).empty());
  EXPECT_TRUE(pedal.BulkMode());
  EXPECT_TRUE(Send(Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x5B, 0x0B, 0xF7})).empty());
  EXPECT_FALSE(pedal.BulkMode());
  EXPECT_TRUE(Send(Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x5F, 0x0B, 0xF7})).empty());
  EXPECT_TRUE(pedal.EditorClosed());
  Send(IdentityRequest());
  EXPECT_FALSE(pedal.EditorClosed());
}

TEST_F(PedalAnswers, FactoryResetsRestoreTheirScopeAndAnswerFinished) {
  const PedalState fresh = pedal.State();
  auto reset = [&](int scope) {
    return Send(Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x56, 0x0B, scope, 0xF7}));
  };
  auto spoil = [&] {
    PedalState& s = pedal.MutableState();
    s.presets[3][2] = 'Q';
    s.globalData[5] = 9;
    s.programMap[1] = 7;
    s.userIRs[0][4] = 'Q';
  };
  spoil();
  EXPECT_EQ(reset(1), std::vector<Bytes>{ShortReply(0x57)});
  EXPECT_EQ(pedal.State().presets, fresh.presets);
  EXPECT_EQ(pedal.State().globalData[5], 9) << "settings untouched by a presets reset";

  spoil();
  EXPECT_EQ(reset(2), std::vector<Bytes>{ShortReply(0x57)});
  EXPECT_EQ(pedal.State().globalData, fresh.globalData);
  EXPECT_EQ(pedal.State().programMap, fresh.programMap);
  EXPECT_EQ(pedal.State().presets[3][2], 'Q') << "presets untouched by a settings reset";

  spoil();
  pedal.MutableState().serial = std::string(32, 'S');
  EXPECT_EQ(reset(0), std::vector<Bytes>{ShortReply(0x57)});
  PedalState expected = fresh;
  expected.serial = std::string(32, 'S');
  EXPECT_TRUE(pedal.State() == expected) << "everything but the unit's identity";
  EXPECT_TRUE(reset(3).empty());
}

TEST_F(PedalAnswers, KnobAndFootswitchReports) {
  const auto knob = pedal.TurnKnob(5, 100);
  EXPECT_EQ(knob,
            std::vector<Bytes>{Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x51, 0x0B, 5, 100, 0xF7})});
  EXPECT_EQ(pedal.State().editBuffer[34 + 5], 100);
  const bool was = pedal.State().filterOn;
  const auto press = pedal.PressFilter();
  EXPECT_EQ(press, std::vector<Bytes>{
                       Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x51, 0x0B, 77, was ? 0 : 1, 0xF7})});
  EXPECT_NE(pedal.State().filterOn, was);
  EXPECT_TRUE(pedal.TurnKnob(74, 1).empty());
}

} // namespace
} // namespace zorel::sim::test

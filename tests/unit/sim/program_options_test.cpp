// The program's command line, its stdin commands and its log lines.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/PedalCommands.h"
#include "sim/ProgramOptions.h"
#include "sim/TraceFormat.h"

namespace zorel::sim::test {
namespace {

ParsedOptions Parse(std::vector<std::string_view> args) {
  return ParseProgramOptions(args);
}

TEST(ProgramOptions, DefaultsAreAWellBehavedPedal) {
  const ParsedOptions p = Parse({});
  ASSERT_TRUE(p.error.empty());
  EXPECT_EQ(p.options.api, MidiApiChoice::Auto);
  EXPECT_EQ(p.options.clientName, "Zorel");
  EXPECT_EQ(p.options.config.misbehaviour.dropShare, 0.0);
  EXPECT_FALSE(p.options.config.misbehaviour.reportedVersionTimes10);
  EXPECT_EQ(p.options.config.irChunkGapUs, kDefaultIRChunkGapUs);
}

TEST(ProgramOptions, EverySettingIsReachable) {
  const ParsedOptions p = Parse({"--api",
                                 "jack",
                                 "--name=Pedal2",
                                 "--state",
                                 "s.bin",
                                 "--log",
                                 "-",
                                 "--firmware-out",
                                 "fw.bin",
                                 "--commands",
                                 "--seed",
                                 "42",
                                 "--drop",
                                 "0.25",
                                 "--corrupt-block=0.5",
                                 "--corrupt-transfer",
                                 "1",
                                 "--cut",
                                 "0.125",
                                 "--delay",
                                 "12.5",
                                 "--delay-jitter",
                                 "3",
                                 "--ir-gap",
                                 "0",
                                 "--ir-burst",
                                 "--report-version",
                                 "0.9",
                                 "--wire"});
  ASSERT_TRUE(p.error.empty()) << p.error;
  const ProgramOptions& o = p.options;
  const Misbehaviour& mb = o.config.misbehaviour;
  EXPECT_EQ(o.api, MidiApiChoice::Jack);
  EXPECT_EQ(o.clientName, "Pedal2");
  EXPECT_EQ(o.statePath, "s.bin");
  EXPECT_EQ(o.logPath, "-");
  EXPECT_EQ(o.firmwareOutPath, "fw.bin");
  EXPECT_TRUE(o.commands);
  EXPECT_EQ(o.config.seed, 42u);
  EXPECT_EQ(mb.dropShare, 0.25);
  EXPECT_EQ(mb.corruptBlockShare, 0.5);
  EXPECT_EQ(mb.corruptTransferShare, 1.0);
  EXPECT_EQ(mb.cutShare, 0.125);
  EXPECT_EQ(mb.delayUs, 12500u);
  EXPECT_EQ(mb.delayJitterUs, 3000u);
  EXPECT_EQ(o.config.irChunkGapUs, 0u);
  EXPECT_TRUE(mb.irDumpBurst);
  EXPECT_EQ(mb.reportedVersionTimes10, 9);
  EXPECT_TRUE(mb.wirePacing);
  EXPECT_EQ(Parse({"--report-version", "12"}).options.config.misbehaviour.reportedVersionTimes10,
            120);
}

TEST(ProgramOptions, BadInputIsReported) {
  for (const std::vector<std::string_view>& args :
       std::vector<std::vector<std::string_view>>{{"--drop", "1.5"},
                                                  {"--drop"},
                                                  {"--cut", "x"},
                                                  {"--api", "oss"},
                                                  {"--report-version", "13"},
                                                  {"--delay", "-1"},
                                                  {"--seed", "1x"},
                                                  {"--bogus"},
                                                  {"--state="}}) {
    EXPECT_FALSE(Parse(args).error.empty()) << args[0];
  }
}

TEST(ProgramOptions, HelpDocumentsEveryOption) {
  const std::string help = ProgramHelpText();
  for (const char* option :
       {"--api", "--name", "--state", "--log", "--firmware-out", "--commands", "--seed", "--drop",
        "--corrupt-block", "--corrupt-transfer", "--cut", "--delay", "--delay-jitter", "--ir-gap",
        "--ir-burst", "--report-version", "--wire", "--help", "SIGTERM"})
    EXPECT_NE(help.find(option), std::string::npos) << option;
  EXPECT_TRUE(Parse({"-h"}).options.help);
}

TEST(PedalCommands, Lines) {
  std::string error;
  auto knob = ParsePedalCommand("knob 5 100", error);
  ASSERT_TRUE(knob);
  EXPECT_EQ(knob->kind, PedalCommand::Kind::Knob);
  EXPECT_EQ(knob->first, 5);
  EXPECT_EQ(knob->second, 100);
  EXPECT_EQ(ParsePedalCommand("  filter\r", error)->kind, PedalCommand::Kind::Filter);
  EXPECT_EQ(ParsePedalCommand("irname 385", error)->first, 385);
  EXPECT_EQ(ParsePedalCommand("quit", error)->kind, PedalCommand::Kind::Quit);
  EXPECT_FALSE(ParsePedalCommand("", error));
  EXPECT_TRUE(error.empty());
  for (const char* bad : {"knob 74 1", "knob 1 128", "knob 1", "filter now", "jump"}) {
    EXPECT_FALSE(ParsePedalCommand(bad, error)) << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }
}

TEST(TraceFormat, OneLineWithKindAndHex) {
  const std::vector<uint8_t> request = {0xF0, 0x00, 0x51, 0x21, 0x05, 0x55, 0x0B, 0x0F, 0xF7};
  const std::string line = FormatTrace(TraceEvent{1500000, TraceDirection::In, request});
  EXPECT_NE(line.find("1.500000 in"), std::string::npos) << line;
  EXPECT_NE(line.find("RequestSettings"), std::string::npos) << line;
  EXPECT_NE(line.find("F0 00 51 21 05 55 0B 0F F7"), std::string::npos) << line;
  const std::vector<uint8_t> ack = {0xF0, 0x00, 0x51, 0x21, 0x05, 0x63, 0xF7};
  EXPECT_NE(FormatTrace(TraceEvent{0, TraceDirection::Out, ack}).find("ReadyForIRData"),
            std::string::npos);
}

} // namespace
} // namespace zorel::sim::test

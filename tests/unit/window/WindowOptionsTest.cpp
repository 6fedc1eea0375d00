#include <gtest/gtest.h>

#include "app/window/WindowOptions.h"

namespace zorel::window {
namespace {

TEST(WindowOptions, Parsing) {
  std::string error;
  auto o = ParseWindowOptions(
      {"--api", "jack", "--in", "Pedal Out:MIDI Out", "--out", "Pedal:MIDI In"}, error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(o->api, MidiApiChoice::kJack);
  EXPECT_EQ(o->inPort, "Pedal Out:MIDI Out");
  EXPECT_EQ(o->outPort, "Pedal:MIDI In");
  EXPECT_FALSE(o->dumpState);

  o = ParseWindowOptions({}, error);
  ASSERT_TRUE(o);
  EXPECT_EQ(o->api, MidiApiChoice::kAuto);
  EXPECT_TRUE(o->inPort.empty());

  EXPECT_TRUE(ParseWindowOptions({"--dump-state"}, error)->dumpState);
  EXPECT_TRUE(ParseWindowOptions({"--check-display"}, error)->checkDisplay);
  EXPECT_TRUE(ParseWindowOptions({"-h"}, error)->help);

  const std::vector<std::vector<std::string>> bad = {
      {"--api", "oss"}, {"--api"}, {"--in"}, {"--out", ""}, {"status"}, {"--timeout", "3"}};
  for (const auto& args : bad) {
    EXPECT_FALSE(ParseWindowOptions(args, error)) << args[0];
    EXPECT_FALSE(error.empty()) << args[0];
  }
}

} // namespace
} // namespace zorel::window

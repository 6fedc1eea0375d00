// Finding the pedal among the MIDI ports, by the search alone and through
// the host at start-up and on demand; and the monitor's view of a whole
// connection through the host's ports.
#include <gtest/gtest.h>

#include <fstream>

#include "AppHostTestSupport.h"
#include "FakeMidiBus.h"
#include "app/host/PedalProbe.h"
#include "app/host/ProfileFile.h"
#include "protocol/codec/Classify.h"
#include "protocol/codec/EditorMessages.h"
#include "protocol/codec/MessageText.h"

using namespace zorel;
using namespace zorel::test;

namespace {

using namespace std::chrono_literals;

// Ports of a crowded system: a synth, a port another program holds, a
// loopback that answers nothing, the pedal, and one of our own.
void Crowd(FakeMidiBus& bus) {
  bus.inPorts = {"Synth:out", "Busy:out", "Loop:out", "Zorel Out:MIDI Out",
                 "RtMidi Output Client:RtMidi Output"};
  bus.outPorts = {"Synth:in", "Busy:in", "Loop:in", "Zorel:MIDI In",
                  "RtMidi Input Client:RtMidi Input"};
  bus.refused = {"Busy:out", "Busy:in"};
  bus.pedalOut = "Zorel:MIDI In";
  bus.pedalIn = "Zorel Out:MIDI Out";
}

ProbeOutcome Probe(FakeMidiBus& bus, ProbeOptions options = {}) {
  options.listen = 300ms;
  options.ownPortPrefixes = {"RtMidi Input Client", "RtMidi Output Client"};
  return ProbeForPedal([&] { return bus.MakeIn(); }, [&] { return bus.MakeOut(); }, options);
}

bool OnlyIdentityRequests(const std::vector<FakeMidiBus::Bytes>& sent) {
  const auto identity = BuildIdentityRequest();
  for (const auto& m : sent)
    if (!std::equal(m.begin(), m.end(), identity.begin(), identity.end())) return false;
  return true;
}

TEST(PedalProbe, FindsThePedalsPairAmongPortsThatNeverAnswerOrWillNotOpen) {
  for (const int delayMs : {0, 5, 40}) {
    FakeMidiBus bus;
    Crowd(bus);
    bus.delayMs = delayMs;
    const ProbeOutcome outcome = Probe(bus);
    bus.JoinAll();
    ASSERT_TRUE(outcome.ports) << "delay " << delayMs;
    EXPECT_EQ(outcome.ports->input, "Zorel Out:MIDI Out");
    EXPECT_EQ(outcome.ports->output, "Zorel:MIDI In");
    EXPECT_EQ(outcome.inputsListened, 3u);
    EXPECT_EQ(outcome.outputsAsked, 3u);
    // The ports that would not open are named, each once.
    ASSERT_EQ(outcome.notes.size(), 2u);
    EXPECT_NE(outcome.notes[0].find("\"Busy:out\""), std::string::npos);
    EXPECT_NE(outcome.notes[1].find("\"Busy:in\""), std::string::npos);
    // Nothing but the identity request went anywhere, and nothing to ourselves.
    for (const char* port : {"Synth:in", "Loop:in", "Zorel:MIDI In"}) {
      EXPECT_FALSE(bus.SentTo(port).empty()) << port;
      EXPECT_TRUE(OnlyIdentityRequests(bus.SentTo(port))) << port;
    }
    EXPECT_TRUE(bus.SentTo("RtMidi Input Client:RtMidi Input").empty());
    EXPECT_TRUE(bus.SentTo("Busy:in").empty());
    // Every input the search opened is closed again.
    EXPECT_EQ(bus.OpenInputs(), 0u);
  }
}

TEST(PedalProbe, WithoutAPedalOrWithoutPortsNothingIsFound) {
  FakeMidiBus bus;
  Crowd(bus);
  bus.pedalOut.clear(); // the pedal is switched off
  ProbeOutcome outcome = Probe(bus);
  EXPECT_FALSE(outcome.ports);
  // Asked a second time only after a silent first round, then left alone.
  EXPECT_EQ(bus.SentTo("Synth:in").size(), 2u);

  FakeMidiBus empty;
  outcome = Probe(empty);
  EXPECT_FALSE(outcome.ports);
  EXPECT_EQ(outcome.outputsAsked, 0u);

  // The pedal as the only output: found in the first round.
  FakeMidiBus single;
  single.inPorts = {"Synth:out", "Zorel Out:MIDI Out"};
  single.outPorts = {"Zorel:MIDI In"};
  single.pedalOut = "Zorel:MIDI In";
  single.pedalIn = "Zorel Out:MIDI Out";
  outcome = Probe(single);
  single.JoinAll();
  ASSERT_TRUE(outcome.ports);
  EXPECT_EQ(outcome.ports->input, "Zorel Out:MIDI Out");
  EXPECT_EQ(single.SentTo("Zorel:MIDI In").size(), 1u);
}

class PedalSearch : public HostFixture {
protected:
  AppHost& MakeBusHost(std::string in = {}, std::string out = {}) {
    AppHost::Options options;
    options.midi = bus.Factory();
    options.audio = FakeAudioFactory(audio);
    options.libraryRoot = root;
    options.modal = &modal;
    options.midiInPort = std::move(in);
    options.midiOutPort = std::move(out);
    options.probe.listen = 300ms;
    host = std::make_unique<AppHost>(std::move(options));
    return *host;
  }
  std::string Stored(const char* key) {
    ProfileFile f;
    f.Load(SettingsPath());
    return f.Get("midi", key).value_or("");
  }
  // The host before the bus: its ports are the bus's.
  FakeMidiBus bus;
  void TearDown() override {
    host.reset();
    bus.JoinAll();
    HostFixture::TearDown();
  }
};

TEST_F(PedalSearch, AtStartPortsThatAreNotThereLeadToThePedalWhichIsSavedAndTold) {
  Crowd(bus);
  std::ofstream(SettingsPath()) << "[midi]\nindev=Old Interface\noutdev=Old Interface\n";
  AppHost& h = MakeBusHost();
  h.InitHost();
  EXPECT_EQ(h.OpenMidiInPort(), "Zorel Out:MIDI Out");
  EXPECT_EQ(h.OpenMidiOutPort(), "Zorel:MIDI In");
  EXPECT_EQ(Stored("indev"), "Zorel Out:MIDI Out");
  EXPECT_EQ(Stored("outdev"), "Zorel:MIDI In");
  ASSERT_EQ(modal.Messages().size(), 1u);
  EXPECT_EQ(modal.Messages()[0].caption, "Find Pedal");
  EXPECT_NE(modal.Messages()[0].text.find("\"Zorel Out:MIDI Out\""), std::string::npos);
  EXPECT_NE(modal.Messages()[0].text.find("\"Zorel:MIDI In\""), std::string::npos);
  host.reset();
  bus.JoinAll();

  // The next start opens the stored pair and asks nobody else.
  const size_t askedBefore = bus.SentTo("Synth:in").size();
  AppHost& again = MakeBusHost();
  again.InitHost();
  EXPECT_EQ(again.OpenMidiOutPort(), "Zorel:MIDI In");
  EXPECT_EQ(bus.SentTo("Synth:in").size(), askedBefore);
}

TEST_F(PedalSearch, PortsGivenForTheRunAreNeverSearchedAndTheUserAsksOnDemand) {
  Crowd(bus);
  AppHost& h = MakeBusHost("Synth:out", "Synth:in");
  h.InitHost();
  EXPECT_TRUE(bus.SentTo("Loop:in").empty());
  EXPECT_EQ(h.OpenMidiOutPort(), "Synth:in");

  // Find Pedal in Preferences: the pedal's pair replaces the ports in use.
  EXPECT_TRUE(h.FindPedal(AppHost::FindMode::kOnDemand));
  EXPECT_EQ(h.OpenMidiInPort(), "Zorel Out:MIDI Out");
  EXPECT_EQ(h.OpenMidiOutPort(), "Zorel:MIDI In");
  EXPECT_EQ(Stored("outdev"), "Zorel:MIDI In");

  // The pedal switched off: the user hears so, and nothing changes.
  bus.pedalOut.clear();
  EXPECT_FALSE(h.FindPedal(AppHost::FindMode::kOnDemand));
  EXPECT_EQ(h.OpenMidiOutPort(), "Zorel:MIDI In");
  EXPECT_EQ(Stored("outdev"), "Zorel:MIDI In");
  ASSERT_FALSE(modal.Messages().empty());
  EXPECT_NE(modal.Messages().back().text.find("did not answer"), std::string::npos);
}

// The monitor lists the search too: an identity request to every output
// asked, and the pedal's answer.
TEST_F(PedalSearch, TheMonitorShowsTheSearchsOwnMessages) {
  Crowd(bus);
  AppHost& h = MakeBusHost("Synth:out", "Synth:in");
  h.InitHost();
  h.Traffic().Start();
  h.Traffic().Take();
  ASSERT_TRUE(h.FindPedal(AppHost::FindMode::kOnDemand));
  const auto request = BuildIdentityRequest();
  size_t asked = 0, answers = 0;
  for (const TrafficLog::Entry& e : h.Traffic().Take()) {
    if (e.direction == TrafficDirection::kToPedal &&
        std::equal(e.bytes.begin(), e.bytes.end(), request.begin(), request.end()))
      ++asked;
    if (e.direction == TrafficDirection::kFromPedal && IsIdentityReply(e.bytes)) ++answers;
  }
  EXPECT_GE(asked, 2u); // more than one output was asked
  EXPECT_GE(answers, 1u);
  h.Traffic().Stop();
}

TEST_F(PedalSearch, AtStartWithoutAPedalNothingIsSaidAndTheStoredChoiceStays) {
  Crowd(bus);
  bus.pedalOut.clear();
  AppHost& h = MakeBusHost();
  h.InitHost();
  EXPECT_TRUE(modal.Messages().empty());
  EXPECT_EQ(h.OpenMidiOutPort(), "");
  EXPECT_EQ(Stored("outdev"), "off");
}

// The monitor's lines of a whole connection (identity, checksum list, the
// bulk read of every preset) are the messages that passed the ports, in
// their order, each described as the codec classifies it.
TEST_F(PedalSearch, TheMonitorShowsAWholeConnectionAsItPassedThePorts) {
  Crowd(bus);
  bus.delayMs = 0;
  AppHost& h = MakeBusHost("Zorel Out:MIDI Out", "Zorel:MIDI In");
  h.InitHost();
  // Closed: nothing is kept.
  ASSERT_FALSE(h.Traffic().Active());
  h.SendMidiBytes(BuildRequestPreset(1).data(), 9);
  bus.JoinAll();
  h.FallbackDrain();
  EXPECT_TRUE(h.Traffic().Take().empty());

  const uint64_t receivedBefore = h.MessagesReceived();
  h.Traffic().Start();
  for (int i = 0; i < 2000 && !h.Editor().State().mCacheInSync; ++i) clock.Advance(10);
  ASSERT_TRUE(h.Editor().State().mConnected);
  ASSERT_TRUE(h.Editor().State().mCacheInSync);
  clock.Advance(500);

  const std::vector<TrafficLog::Entry> entries = h.Traffic().Take();
  std::vector<FakeMidiBus::Bytes> sent, heard;
  TrafficFormatter formatter;
  TrafficContext context;
  std::vector<std::string> lines;
  double last = 0;
  for (const TrafficLog::Entry& e : entries) {
    (e.direction == TrafficDirection::kToPedal ? sent : heard).push_back(e.bytes);
    EXPECT_GE(e.seconds, last);
    last = e.seconds;
    const std::string line = formatter.Line(e);
    // The line is the time, the direction, the length and the codec's words.
    EXPECT_EQ(line.substr(11, 3), e.direction == TrafficDirection::kToPedal ? "out" : "in ");
    EXPECT_EQ(std::stoul(line.substr(15, 5)), e.bytes.size());
    EXPECT_EQ(line.substr(22), DescribeMessage(e.direction, e.bytes, context));
    lines.push_back(line.substr(22));
  }
  const auto toPedal = bus.SentTo("Zorel:MIDI In");
  EXPECT_EQ(sent, std::vector<FakeMidiBus::Bytes>(toPedal.end() - sent.size(), toPedal.end()));
  EXPECT_EQ(heard.size(), h.MessagesReceived() - receivedBefore);

  auto position = [&](const std::string& text) {
    return std::find(lines.begin(), lines.end(), text) - lines.begin();
  };
  const long identity = position("identity request");
  const long reply = std::find_if(lines.begin(), lines.end(),
                                  [](const std::string& l) {
                                    return l.rfind("identity, version", 0) == 0 &&
                                           l.find("checksum ok") != std::string::npos;
                                  }) -
                     lines.begin();
  ASSERT_LT(identity, static_cast<long>(lines.size()));
  ASSERT_LT(reply, static_cast<long>(lines.size()));
  EXPECT_LT(identity, reply);
  EXPECT_LT(reply, position("request preset checksum list"));
  EXPECT_LT(position("bulk mode on"), position("preset dump 127, checksum ok"));
  EXPECT_LT(position("preset dump 0, checksum ok"), position("bulk mode off"));
  // Every slot of the bulk read is there.
  for (int slot = 0; slot < 128; ++slot)
    EXPECT_LT(position("preset dump " + std::to_string(slot) + ", checksum ok"),
              static_cast<long>(lines.size()))
        << slot;

  h.Traffic().Stop();
  h.SendMidiBytes(BuildRequestPreset(1).data(), 9);
  EXPECT_TRUE(h.Traffic().Take().empty());
}

} // namespace

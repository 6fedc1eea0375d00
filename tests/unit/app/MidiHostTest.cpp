#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <future>
#include <iterator>
#include <thread>

#include "AppHostTestSupport.h"
#include "app/host/ProfileFile.h"
#include "protocol/codec/EditorMessages.h"
#include "protocol/codec/Frame.h"
#include "sim/VirtualPedal.h"

using namespace zorel;
using namespace zorel::test;

namespace {

Bytes SysEx(size_t size) {
  Bytes m(size, 0x01);
  m.front() = 0xF0;
  m.back() = 0xF7;
  return m;
}

class MidiHost : public HostFixture {
protected:
  // A host with both ports open and a stream on the fake card.
  AppHost& Started() {
    midi.inPorts = {"Pedal Out"};
    midi.outPorts = {"Pedal In"};
    audio.devices = {FakeAudioWorld::Device("Card", 2, 0, true)};
    AppHost& h = MakeHost("Pedal Out", "Pedal In");
    h.InitHost();
    EXPECT_TRUE(h.TryChangeAudio());
    return h;
  }
};

TEST_F(MidiHost, MessagesAreQueuedBySizeAndOversizeOrFullRingsDrop) {
  AppHost& h = Started();
  ZorelControl& e = h.Editor();
  EXPECT_FALSE(midi.ignoresSysEx);
  midi.Deliver({0xF0, 0xF7});       // two bytes: a short message, even so
  midi.Deliver({0x90, 60, 100});    // a note
  midi.Deliver({0xF0, 1, 2, 0xF7}); // four bytes: SysEx
  EXPECT_EQ(e.PendingMidiInput(), 2u);
  EXPECT_EQ(e.PendingSysExInput(), 1u);
  midi.Deliver(SysEx(512));
  midi.Deliver(SysEx(513));
  midi.Deliver({});
  EXPECT_EQ(e.PendingSysExInput(), 2u);
  EXPECT_EQ(e.DroppedSysExInput(), 1u);
  EXPECT_EQ(h.MessagesReceived(), 5u);

  audio.Run(64);
  EXPECT_EQ(e.PendingMidiInput(), 0u);
  EXPECT_EQ(e.PendingSysExInput(), 0u);

  for (int i = 0; i < iplug::IPlugAPP::kMidiInSlots; ++i) midi.Deliver({0xB0, 1, 2});
  EXPECT_EQ(e.PendingMidiInput(), iplug::IPlugAPP::kMidiInSlots - 1u);
  EXPECT_EQ(e.DroppedMidiInput(), 1u);
  for (int i = 0; i < iplug::IPlugAPP::kSysExInSlots; ++i) midi.Deliver(SysEx(8));
  EXPECT_EQ(e.PendingSysExInput(), iplug::IPlugAPP::kSysExInSlots - 1u);
  EXPECT_EQ(e.DroppedSysExInput(), 2u);
}

// Over USB the chunks of IR dumps arrive back to back, before the next
// audio buffer drains anything: each must still come out whole.
TEST_F(MidiHost, ABurstOfIRDumpsIsStoredWhole) {
  AppHost& h = Started();
  sim::VirtualPedal pedal;
  const auto identity = BuildIdentityRequest();
  for (const Bytes& m : pedal.Exchange(identity)) midi.Deliver(m);
  audio.Run(512);
  ASSERT_TRUE(h.Editor().State().mConnected);

  std::vector<Bytes> burst;
  const int numbers[] = {0, 1, 2, 3, 4};
  for (int n : numbers) {
    const auto msg = BuildRequestIR(n);
    for (Bytes& m : pedal.Exchange(msg)) burst.push_back(std::move(m));
  }
  ASSERT_EQ(burst.size(), 5u * 11u);
  for (const Bytes& m : burst) midi.Deliver(m);
  audio.Run(512);
  EXPECT_EQ(h.Editor().DroppedSysExInput(), 0u);
  for (int n : numbers) {
    char name[32];
    std::snprintf(name, sizeof name, "/User IRs/%03d.dat", n + 1);
    std::ifstream in(root + name, std::ios::binary);
    const Bytes stored((std::istreambuf_iterator<char>(in)), {});
    const auto& expected = pedal.State().userIRs[static_cast<size_t>(n)];
    EXPECT_EQ(stored, Bytes(expected.begin(), expected.end())) << "IR " << n;
  }
}

TEST_F(MidiHost, PortsAreChosenByExactName) {
  midi.inPorts = {"zorel out", "Zorel Out", "Zorel Out 2"};
  midi.outPorts = {"Zorel In"};
  std::ofstream(SettingsPath()) << "[midi]\nindev=Zorel Out\noutdev=ZOREL IN\n";
  AppHost& h = MakeHost();
  h.InitHost();
  ASSERT_EQ(h.MidiInNames(),
            (std::vector<std::string>{"off", "zorel out", "Zorel Out", "Zorel Out 2"}));
  EXPECT_EQ(midi.openIn, "Zorel Out");
  EXPECT_EQ(h.OpenMidiInPort(), "Zorel Out");
  // A name that differs in case only is no match: off, and so in the file.
  EXPECT_EQ(midi.openOut, "");
  EXPECT_EQ(h.mSettings.mMidiOutDevice, "off");
  ProfileFile f;
  f.Load(SettingsPath());
  EXPECT_EQ(f.Get("midi", "outdev"), "off");
  EXPECT_EQ(f.Get("midi", "indev"), "Zorel Out");
  EXPECT_FALSE(h.SendMidiBytes(Bytes{0xF0, 0xF7}.data(), 2)); // no output port: nothing sent

  EXPECT_TRUE(h.SelectMidiDevice(MidiDirection::kInput, "Zorel Out 2"));
  EXPECT_EQ(midi.openIn, "Zorel Out 2");
  EXPECT_TRUE(h.SelectMidiDevice(MidiDirection::kInput, "off"));
  EXPECT_EQ(midi.openIn, "");
  EXPECT_TRUE(h.SelectMidiDevice(MidiDirection::kOutput, "Zorel In"));
  EXPECT_EQ(midi.ownPortNames.back(), "RtMidi Output");
  EXPECT_TRUE(modal.Messages().empty()); // a vanished port turns off silently
}

TEST_F(MidiHost, AOneOffPortLeavesTheStoredChoiceAndAMissingOneIsReported) {
  midi.inPorts = {"Pedal Out"};
  midi.outPorts = {"Pedal In"};
  std::ofstream(SettingsPath()) << "[midi]\nindev=Stored Out\noutdev=Stored In\n";
  AppHost& h = MakeHost("Pedal Out", "Elsewhere");
  h.InitHost();
  EXPECT_EQ(midi.openIn, "Pedal Out");
  EXPECT_EQ(midi.openOut, "");
  ASSERT_EQ(modal.Messages().size(), 1u);
  EXPECT_NE(modal.Messages()[0].text.find("Elsewhere"), std::string::npos);
  ProfileFile f;
  f.Load(SettingsPath());
  EXPECT_EQ(f.Get("midi", "indev"), "Stored Out");
  EXPECT_EQ(f.Get("midi", "outdev"), "Stored In");

  // Preferences shows the port in use; Cancel keeps the file as it was.
  const AppHost::PreferenceRows rows = h.BeginPreferences();
  EXPECT_EQ(h.MidiInNames()[static_cast<size_t>(rows.input)], "Pedal Out");
  h.CancelPreferences();
  EXPECT_EQ(midi.openIn, "Pedal Out");
  f.Load(SettingsPath());
  EXPECT_EQ(f.Get("midi", "indev"), "Stored Out");
}

TEST_F(MidiHost, APortThatWillNotOpenLeavesThatDirectionClosedAndSaysSo) {
  midi.inPorts = {"Busy Out"};
  midi.outPorts = {"Busy In", "Free In"};
  midi.refusedPorts = {"Busy Out", "Busy In"};
  std::ofstream(SettingsPath()) << "[midi]\nindev=Busy Out\noutdev=Free In\n";
  AppHost& h = MakeHost();
  h.InitHost();
  EXPECT_EQ(midi.openIn, "");
  EXPECT_EQ(h.OpenMidiInPort(), "");
  EXPECT_EQ(midi.openOut, "Free In");
  ASSERT_EQ(modal.Messages().size(), 1u);
  EXPECT_NE(modal.Messages()[0].text.find("port busy"), std::string::npos);
  EXPECT_EQ(h.mSettings.mMidiInDevice, "Busy Out"); // still the user's choice

  EXPECT_FALSE(h.SelectMidiDevice(MidiDirection::kOutput, "Busy In"));
  EXPECT_EQ(h.OpenMidiOutPort(), "");
  EXPECT_FALSE(h.SendMidiBytes(Bytes{0xF0, 0xF7}.data(), 2));
}

TEST_F(MidiHost, NoMidiSystemLeavesTheHostRunningWithoutPorts) {
  midi.failToStart = true;
  AppHost& h = MakeHost();
  h.InitHost();
  EXPECT_FALSE(h.HasMidiIn());
  EXPECT_TRUE(h.MidiInNames().empty());
  EXPECT_FALSE(h.SelectMidiDevice(MidiDirection::kInput, "off"));
  EXPECT_FALSE(h.SendMidiBytes(Bytes{0xF0, 0xF7}.data(), 2));
}

// The user-interface thread and the audio thread both send, while the
// user switches ports: the port never has two senders at once.
TEST_F(MidiHost, SendsFromTwoThreadsNeverOverlap) {
  AppHost& h = Started();
  midi.outPorts.push_back("Other In");
  std::atomic<bool> stop{false};
  auto sender = [&] {
    const Bytes m = SysEx(9);
    while (!stop) h.Editor().SendSysEx({0, 9, m.data()});
  };
  std::thread a(sender), b(sender);
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  for (int i = 0; h.MessagesSent() < 2000 && std::chrono::steady_clock::now() < end; ++i)
    h.SelectMidiDevice(MidiDirection::kOutput, i % 2 ? "Pedal In" : "Other In", false);
  stop = true;
  a.join();
  b.join();
  EXPECT_FALSE(midi.overlapped);
  EXPECT_GT(h.MessagesSent(), 0u);
}

// Opening a port can take the MIDI system a long time; a send from the audio
// thread meanwhile must not wait for it (it finds no port and returns).
TEST_F(MidiHost, ASendWhileThePortIsBeingOpenedReturnsAtOnce) {
  AppHost& h = Started();
  midi.outPorts.push_back("Other In");
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::atomic<bool> opening{false};
  midi.onOpenOut = [&] {
    opening = true;
    released.wait();
  };
  std::thread change([&] { h.SelectMidiDevice(MidiDirection::kOutput, "Other In", false); });
  while (!opening) std::this_thread::yield();
  std::atomic<bool> returned{false};
  std::thread audio([&] {
    const Bytes m = SysEx(9);
    h.Editor().SendSysEx({0, 9, m.data()});
    returned = true;
  });
  for (int i = 0; i < 500 && !returned; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(returned) << "the send waited for the port to open";
  release.set_value();
  audio.join();
  change.join();
  midi.onOpenOut = nullptr;
  EXPECT_EQ(midi.openOut, "Other In");
}

} // namespace

// The pedal on the fake MIDI system: what the host sent reaches it, and its
// answers come back through the input port and the audio stream.
class MidiHostWithPedal : public MidiHost {
protected:
  void Carry() {
    std::vector<Bytes> sent;
    {
      std::lock_guard<std::mutex> lock(midi.sentMutex);
      sent.swap(midi.sent);
    }
    for (const Bytes& m : sent) {
      if (midi.openOut.empty()) continue; // nowhere to go
      for (const Bytes& reply : pedal.Exchange(m))
        if (!deaf) midi.Deliver(reply);
    }
    audio.Run(64);
  }
  bool RunUntil(const std::function<bool()>& done, int limitMs = 20000) {
    for (int t = 0; t < limitMs; t += 100) {
      if (done()) return true;
      clock.Advance(100);
      Carry();
    }
    return done();
  }
  std::vector<std::string> Shown(AppHost& h) {
    h.Editor().OnIdle();
    std::vector<std::string> texts;
    for (const auto& m : modal.Messages()) texts.push_back(m.text);
    modal.Clear();
    return texts;
  }
  sim::VirtualPedal pedal;
  bool deaf = false; // the input hears nothing, the output still sends
};

TEST_F(MidiHostWithPedal, APedalWhosePortsGoIsShownGoneAndConnectsAgainWhenTheyReturn) {
  AppHost& h = Started();
  ZorelControl& e = h.Editor();
  ASSERT_TRUE(RunUntil([&] { return e.State().mConnected && !e.State().mBulkLoading; }));
  Shown(h);

  // Unplugged: both ports leave the list.
  midi.inPorts.clear();
  midi.outPorts.clear();
  clock.Advance(AppHost::kPortWatchMs);
  EXPECT_FALSE(e.State().mConnected);
  EXPECT_EQ(midi.openIn, "");
  EXPECT_EQ(midi.openOut, "");
  const auto gone = Shown(h);
  ASSERT_EQ(gone.size(), 1u);
  EXPECT_EQ(gone[0].rfind("The pedal is gone: its MIDI input \"Pedal Out\" and output "
                          "\"Pedal In\" disappeared.",
                          0),
            0u)
      << gone[0];
  // An edit now reaches nobody, and says nothing new.
  e.SetParameterValue(kParamDrive, 0.9);
  clock.Advance(AppHost::kPortWatchMs);
  EXPECT_TRUE(Shown(h).empty());

  // Plugged in again: opened by name, and the connection runs as at start.
  midi.inPorts = {"Pedal Out"};
  midi.outPorts = {"Pedal In"};
  const size_t opensBefore = midi.ownPortNames.size();
  ASSERT_TRUE(RunUntil([&] { return e.State().mConnected; }));
  EXPECT_EQ(midi.ownPortNames.size(), opensBefore + 2);
  EXPECT_EQ(midi.openIn, "Pedal Out");
  EXPECT_EQ(midi.openOut, "Pedal In");
  EXPECT_EQ(Shown(h), (std::vector<std::string>{"The pedal's MIDI ports are back: connecting."}));

  // RECONNECT opens both ports anew and connects again.
  e.Reconnect();
  EXPECT_EQ(midi.ownPortNames.size(), opensBefore + 4);
  EXPECT_FALSE(e.State().mConnected);
  ASSERT_TRUE(RunUntil([&] { return e.State().mConnected; }));
}

TEST_F(MidiHostWithPedal, APortChosenWhileAbsentIsOpenedWhenItAppearsAndARefusalIsToldOnce) {
  midi.inPorts = {};
  midi.outPorts = {"Pedal In"};
  audio.devices = {FakeAudioWorld::Device("Card", 2, 0, true)};
  AppHost& h = MakeHost("Pedal Out", "Pedal In");
  h.InitHost();
  ASSERT_TRUE(h.TryChangeAudio());
  ASSERT_EQ(Shown(h).size(), 1u); // "There is no MIDI input port named ..."
  midi.inPorts = {"Pedal Out"};
  midi.refusedPorts = {"Pedal Out"};
  clock.Advance(AppHost::kPortWatchMs);
  ASSERT_EQ(Shown(h).size(), 1u); // could not be opened: port busy
  clock.Advance(5 * AppHost::kPortWatchMs);
  EXPECT_TRUE(Shown(h).empty()); // and not again every second
  midi.refusedPorts.clear();
  h.Editor().Reconnect();
  EXPECT_EQ(midi.openIn, "Pedal Out");
  ASSERT_TRUE(RunUntil([&] { return h.Editor().State().mConnected; }));
}

TEST_F(MidiHostWithPedal, AnInputThatHearsNothingIsOpenedAgainOnceAndTheConnectionThenProceeds) {
  AppHost& h = Started();
  ZorelControl& e = h.Editor();
  h.Traffic().Start();
  deaf = true;
  const size_t opensBefore = midi.ownPortNames.size();
  const int pairsBefore = midi.pairsMade;
  auto identityRequests = [&] {
    int n = 0;
    for (const auto& entry : h.Traffic().Take())
      if (entry.direction == TrafficDirection::kToPedal && entry.bytes.size() == 9 &&
          entry.bytes[5] == kCmdRequestSettings && entry.bytes[7] == 0x0F)
        ++n;
    return n;
  };
  // Three requests go unanswered; the fourth goes out, at its usual time, on
  // ports opened anew.
  int asked = 0;
  ASSERT_TRUE(RunUntil([&] {
    asked += identityRequests();
    return midi.ownPortNames.size() > opensBefore;
  }));
  EXPECT_EQ(asked, DeviceTick::kPollsBeforeReopen + 1);
  EXPECT_EQ(midi.ownPortNames.size(), opensBefore + 2);
  // On new clients: a JACK client stuck after an xrun hears nothing however
  // often its port is opened.
  EXPECT_EQ(midi.pairsMade, pairsBefore + 1);
  EXPECT_EQ(Shown(h), (std::vector<std::string>{"The pedal did not answer 3 identity requests: "
                                                "the MIDI ports were opened again."}));
  // Still silent: the ports are not opened again and again.
  RunUntil([] { return false; }, 20000);
  EXPECT_EQ(midi.ownPortNames.size(), opensBefore + 2);
  EXPECT_TRUE(Shown(h).empty());
  // The input hears again: the connection proceeds as usual.
  deaf = false;
  ASSERT_TRUE(RunUntil([&] { return e.State().mConnected; }));
}

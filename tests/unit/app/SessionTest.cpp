// zorelctl's session on the real editor core and host, the MIDI ports wired
// to the in-process virtual pedal; real time, as zorelctl runs.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "AppHostTestSupport.h"
#include "app/cli/Commands.h"
#include "app/cli/Session.h"
#include "library/LibraryPaths.h"
#include "protocol/codec/EditorMessages.h"
#include "protocol/codec/PresetPayload.h"
#include "sim/FactoryContent.h"
#include "sim/VirtualPedal.h"

using namespace zorel;
using namespace zorel::cli;
using namespace zorel::test;
using zorel::sim::VirtualPedal;

namespace {

// The pedal at the far end of the ports: every message sent reaches it, its
// answers come back at once. A deaf wire carries nothing more.
struct PedalWire {
  explicit PedalWire(sim::PedalConfig config = {}) : pedal(config) {
    world.inPorts = {"Pedal Out"};
    world.outPorts = {"Pedal In"};
  }
  void Carry(std::span<const uint8_t> message) {
    if (deaf) return;
    if (deafAfter &&
        std::equal(message.begin(), message.end(), deafAfter->begin(), deafAfter->end()))
      deaf = true;
    for (const Bytes& reply : pedal.Exchange(message)) world.Deliver(reply);
  }

  FakeMidiWorld world;
  VirtualPedal pedal;
  bool deaf = false;
  std::optional<Bytes> deafAfter; // the last message the pedal hears
};

class WireOut final : public FakePorts<IMidiOutPort> {
public:
  explicit WireOut(PedalWire& wire)
      : FakePorts(wire.world, wire.world.outPorts, wire.world.openOut), mWire(wire) {}
  bool Send(const uint8_t* data, size_t size) override {
    mWire.Carry(std::span(data, size));
    return true;
  }

private:
  PedalWire& mWire;
};

class SessionOnPedal : public ::testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "zorelctl-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root = pattern;
    out = std::tmpfile();
  }
  void TearDown() override {
    session.reset();
    std::fclose(out);
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }

  // The wire outlives the session, whose host lets go of the ports last.
  Session& Open(double timeoutSeconds, sim::PedalConfig config = {}) {
    wire = std::make_unique<PedalWire>(config);
    Invocation inv;
    inv.inPort = "Pedal Out";
    inv.outPort = "Pedal In";
    inv.timeoutSeconds = timeoutSeconds;
    inv.yes = true;
    modal = std::make_unique<ConsoleModal>(out, true);
    AppHost::Options backends;
    backends.midi = [this](const std::string&, const std::string&) {
      MidiObjects objects;
      objects.in = std::make_unique<FakeMidiIn>(wire->world);
      objects.out = std::make_unique<WireOut>(*wire);
      objects.apiName = "Fake";
      return objects;
    };
    backends.audio = FakeAudioFactory(audio); // no devices: the host drains on its timer
    backends.libraryRoot = root;
    session = std::make_unique<Session>(inv, *modal, std::move(backends));
    EXPECT_TRUE(session->Start());
    return *session;
  }

  std::string Printed() {
    std::fflush(out);
    std::rewind(out);
    std::string text;
    for (int c; (c = std::fgetc(out)) != EOF;) text += static_cast<char>(c);
    return text;
  }
  static int Count(const std::string& text, const std::string& line) {
    int n = 0;
    for (size_t at = text.find(line + "\n"); at != std::string::npos;
         at = text.find(line + "\n", at + 1))
      n += at == 0 || text[at - 1] == '\n';
    return n;
  }

  // A bulk file of two presets of a pedal whose preset 5 has another name.
  std::string BulkFileWithRenamedPreset(bool zeroPreset7 = false) {
    // A whole backup (every preset; no user IRs in use, so no IR dumps),
    // since the import refuses anything less.
    sim::PedalState state = sim::MakeFactoryState();
    for (auto& p : state.presets) {
      p[PayloadParamOffset(kParamUserIR7Mode)] = 0;
      p[PayloadParamOffset(kParamUserIR8Mode)] = 0;
    }
    state.presets[5][2] = 'Z'; // the first letter of the name
    if (zeroPreset7) state.presets[7].fill(0);
    VirtualPedal source({}, state);
    const std::string file = root + "/two.q3b";
    std::ofstream f(file, std::ios::binary);
    for (int slot = 0; slot < 128; ++slot)
      for (const Bytes& dump : source.Exchange(BuildRequestPreset(slot)))
        f.write(reinterpret_cast<const char*>(dump.data()),
                static_cast<std::streamsize>(dump.size()));
    return file;
  }

  std::string root;
  FILE* out = nullptr;
  FakeAudioWorld audio;
  std::unique_ptr<PedalWire> wire;
  std::unique_ptr<ConsoleModal> modal;
  std::unique_ptr<Session> session;
};

TEST_F(SessionOnPedal, RestoreReturnsOnceThePresetsAreReadBack) {
  Session& s = Open(10);
  ASSERT_TRUE(s.Connect()) << s.WaitFailure();
  const std::string file = BulkFileWithRenamedPreset();

  ASSERT_TRUE(Restore(s, file)) << s.WaitFailure();
  EXPECT_EQ(wire->pedal.State().presets[5][2], 'Z');
  EXPECT_TRUE(s.Locked([](ZorelControl& e) { return e.State().mConnected; }));
  // The cache was emptied by the import and is whole again, with the
  // restored preset as the pedal now holds it.
  for (int slot = 0; slot < 128; ++slot)
    ASSERT_TRUE(std::filesystem::exists(lib::PresetSlotPath(root, slot))) << slot;
  std::ifstream slot5(lib::PresetSlotPath(root, 5), std::ios::binary);
  std::string payload((std::istreambuf_iterator<char>(slot5)), {});
  ASSERT_GT(payload.size(), 2u);
  EXPECT_EQ(payload[2], 'Z');

  // Each device line went out once, as soon as it was known; reconnecting
  // after the import repeats none.
  const std::string printed = Printed();
  EXPECT_EQ(Count(printed, kDeviceLine), 1) << printed;
  EXPECT_EQ(Count(printed, "VERSION: 1.1"), 1) << printed;
  EXPECT_EQ(Count(printed, "Finished successfully!"), 1) << printed;
  EXPECT_LT(printed.find("VERSION: 1.1"), printed.find("Finished successfully!"));
}

// The library keeps no file for an all-zero preset (its checksum is that of
// an absent file); the read-back counts it as there.
TEST_F(SessionOnPedal, ARestoredAllZeroPresetNeedsNoSlotFile) {
  Session& s = Open(10);
  ASSERT_TRUE(s.Connect()) << s.WaitFailure();
  ASSERT_TRUE(Restore(s, BulkFileWithRenamedPreset(true))) << s.WaitFailure();
  EXPECT_EQ(wire->pedal.State().presets[7], PresetPayload{});
  EXPECT_FALSE(std::filesystem::exists(lib::PresetSlotPath(root, 7)));
  EXPECT_EQ(Count(Printed(), "Finished successfully!"), 1);
}

// A pedal that keeps other values than it was sent: one message says so,
// and none says the restore went well.
TEST_F(SessionOnPedal, ARestoreThePedalDidNotTakeAsSentSaysOnlyWhatDiffers) {
  Session& s = Open(10);
  ASSERT_TRUE(s.Connect()) << s.WaitFailure();
  const std::string file = BulkFileWithRenamedPreset();
  sim::Misbehaviour corrupting;
  corrupting.corruptReceivedShare = 1.0;
  wire->pedal.SetMisbehaviour(corrupting);
  EXPECT_FALSE(Restore(s, file));
  const std::string printed = Printed();
  EXPECT_EQ(Count(printed, "Finished successfully!"), 0) << printed;
  EXPECT_NE(printed.find("The pedal does not hold what the backup holds in presets "),
            std::string::npos)
      << printed;
}

TEST_F(SessionOnPedal, RestoreFailsClearlyWhenThePedalDoesNotComeBack) {
  Session& s = Open(1);
  ASSERT_TRUE(s.Connect()) << s.WaitFailure();
  // The pedal hears the import to its end, then nothing more.
  const auto bulkOff = BuildBulkMode(false);
  wire->deafAfter = Bytes(bulkOff.begin(), bulkOff.end());

  EXPECT_FALSE(Restore(s, BulkFileWithRenamedPreset()));
  EXPECT_TRUE(wire->deaf);
  EXPECT_EQ(wire->pedal.State().presets[5][2], 'Z');
  EXPECT_NE(s.WaitFailure().find("did not connect again within the time-out"), std::string::npos)
      << s.WaitFailure();
}

TEST_F(SessionOnPedal, ARefusedPedalStillShowsItsDeviceLines) {
  sim::PedalConfig config;
  config.misbehaviour.reportedVersionTimes10 = 9;
  Session& s = Open(2, config);
  EXPECT_FALSE(s.Connect());
  EXPECT_EQ(s.WaitFailure(), "the pedal refused the connection");
  const std::string printed = Printed();
  EXPECT_EQ(Count(printed, kDeviceLine), 1) << printed;
  EXPECT_EQ(Count(printed, "VERSION: 0.9"), 1) << printed;
  EXPECT_EQ(printed.find("SERIAL:"), std::string::npos) << printed;
}

} // namespace

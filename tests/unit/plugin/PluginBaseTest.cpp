#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "plugin/IPlugAPP.h"
#include "plugin/IPlugQueue.h"
#include "plugin/Timer.h"

using namespace iplug;

namespace {

PluginConfig TestConfig(int nParams) {
  PluginConfig c;
  c.nParams = nParams;
  c.nPresets = 1;
  c.channelIOStr = "0-2";
  c.vendorVersion = 0x00010100;
  c.plugDoesMidiIn = true;
  c.plugDoesMidiOut = true;
  c.plugHasUI = true;
  c.plugMinWidth = 5760;
  c.plugMaxWidth = 640;
  c.plugMinHeight = 400;
  c.plugMaxHeight = 3600;
  return c;
}

struct Recorder : IMidiOutput {
  std::vector<std::vector<uint8_t>> sent;
  bool SendMidiBytes(const uint8_t* d, size_t n) override {
    sent.emplace_back(d, d + n);
    return true;
  }
};

// A base with a few parameters that records its notifications.
class TestPlug : public IPlugAPP {
public:
  explicit TestPlug(IMidiOutput* out, int nParams = 4) : IPlugAPP(out, TestConfig(nParams)) {
    for (int i = 0; i < nParams; ++i) ParamAt(i)->DefineInteger("p", 0, 0, 127);
  }
  void OnParamChange(int idx) override { changes.push_back(idx); }
  void OnIdle() override { ++idles; }
  void ProcessSysEx(const SysExMessage& msg) override {
    sysex.emplace_back(msg.mData, msg.mData + msg.mSize);
  }
  void ProcessMidiMsg(const MidiMessage& msg) override { shortMsgs.push_back(msg.mStatus); }
  std::vector<int> changes;
  std::vector<std::vector<uint8_t>> sysex;
  std::vector<uint8_t> shortMsgs;
  int idles = 0;
};

class PluginBase : public ::testing::Test {
protected:
  void SetUp() override { SetTimerService(&clock); }
  void TearDown() override { SetTimerService(nullptr); }
  ManualTimerService clock;
  Recorder out;
};

TEST(IPlugQueue, HoldsOneLessThanItsSlotsAndDropsWhenFull) {
  IPlugQueue<int, 513> q;
  for (int i = 0; i < 512; ++i) EXPECT_TRUE(q.Push(i));
  EXPECT_FALSE(q.Push(999));
  EXPECT_EQ(q.Count(), 512u);
  int v = -1;
  EXPECT_TRUE(q.Pop(v));
  EXPECT_EQ(v, 0);
  EXPECT_TRUE(q.Push(512)); // room again, and the order holds across the wrap
  for (int i = 1; i <= 512; ++i) {
    ASSERT_TRUE(q.Pop(v));
    EXPECT_EQ(v, i);
  }
  EXPECT_FALSE(q.Pop(v));
}

TEST_F(PluginBase, ParamAtBoundsAndSizesFromConfig) {
  TestPlug plug(&out, 151);
  EXPECT_EQ(plug.ParamCount(), 151);
  EXPECT_EQ(plug.ParamAt(151), nullptr);
  EXPECT_EQ(plug.ParamAt(-1), nullptr);
  EXPECT_NE(plug.ParamAt(150), nullptr);
  EXPECT_EQ(plug.GetMinWidth(), 640); // pairs are ordered whatever the config says
  EXPECT_EQ(plug.GetMaxWidth(), 5760);
  EXPECT_EQ(plug.MaxNOutputChannels(), 2);
  EXPECT_EQ(plug.MaxNInputChannels(), 0);
  EXPECT_EQ(plug.GetBlockSize(), 512);
  EXPECT_EQ(plug.GetSampleRate(), 48000.0);
  EXPECT_EQ(plug.GetPluginVersionStr(), "v1.1.0");
  EXPECT_EQ(plug.NPresets(), 1);
  EXPECT_EQ(plug.GetPreset(0).mName, "empty");
}

TEST_F(PluginBase, SerializeRoundTripAndShortChunk) {
  TestPlug plug(&out, 151);
  for (int i = 0; i < 151; ++i) plug.ParamAt(i)->Store(i % 128);
  std::vector<uint8_t> chunk;
  ASSERT_TRUE(plug.SerializeParams(chunk));
  ASSERT_EQ(chunk.size(), 1208u);
  double first;
  std::memcpy(&first, chunk.data() + 8, 8); // little-endian on this machine
  EXPECT_EQ(first, 1.0);

  TestPlug other(&out, 151);
  EXPECT_EQ(other.UnserializeParams(chunk, 0), 1208);
  for (int i = 0; i < 151; ++i) EXPECT_EQ(other.ParamAt(i)->Current(), i % 128);
  EXPECT_EQ(other.changes.size(), 151u); // the reset is announced

  TestPlug shortRead(&out, 151);
  std::vector<uint8_t> cut(chunk.begin(), chunk.begin() + 1207);
  EXPECT_EQ(shortRead.UnserializeParams(cut, 0), -1);
  EXPECT_EQ(shortRead.ParamAt(149)->Current(), 149 % 128);
  EXPECT_EQ(shortRead.ParamAt(150)->Current(), 0.0);
  EXPECT_EQ(shortRead.changes.size(), 151u);

  // Values outside a range are conformed on the way in.
  double big = 300.7;
  std::memcpy(chunk.data(), &big, 8);
  other.UnserializeParams(chunk, 0);
  EXPECT_EQ(other.ParamAt(0)->Current(), 127.0);
}

TEST_F(PluginBase, QueuedUpdatesDropWhenFullAndDrainOnTick) {
  TestPlug plug(&out);
  for (int i = 0; i < 513; ++i) plug.QueueUIParameterUpdate(1, 0.5, true);
  EXPECT_EQ(plug.PendingUIParameterUpdates(), 512u);
  plug.OnBaseTick();
  EXPECT_EQ(plug.PendingUIParameterUpdates(), 0u);
  EXPECT_EQ(plug.idles, 1);
}

TEST_F(PluginBase, SetParameterValueStoresAndNotifies) {
  TestPlug plug(&out);
  plug.SetParameterValue(2, 1.0);
  EXPECT_EQ(plug.ParamAt(2)->Current(), 127.0);
  ASSERT_EQ(plug.changes.size(), 1u);
  EXPECT_EQ(plug.changes[0], 2);
  plug.SetParameterValue(99, 1.0); // no such parameter: nothing happens
  EXPECT_EQ(plug.changes.size(), 1u);
}

TEST_F(PluginBase, MidiInputIsQueuedAndDrainedInOrder) {
  TestPlug plug(&out);
  const uint8_t note[3] = {0x90, 60, 100};
  const uint8_t a[8] = {0xF0, 0, 0x51, 0x21, 0x05, 0x57, 0x00, 0xF7};
  const uint8_t b[8] = {0xF0, 0, 0x51, 0x21, 0x05, 0x61, 0x00, 0xF7};
  std::vector<uint8_t> tooLong(513, 0xF0);
  plug.QueueMidiInput(note, 3);
  plug.QueueMidiInput(a, 8);
  plug.QueueMidiInput(b, 8);
  plug.QueueMidiInput(tooLong.data(), tooLong.size());
  plug.QueueMidiInput(note, 0);
  plug.ProcessQueuedMidiInput();
  ASSERT_EQ(plug.sysex.size(), 2u);
  EXPECT_EQ(plug.sysex[0][5], 0x57);
  EXPECT_EQ(plug.sysex[1][5], 0x61);
  EXPECT_EQ(plug.shortMsgs, std::vector<uint8_t>{0x90});

  EXPECT_EQ(plug.DroppedSysExInput(), 1u); // the 513-byte one
}

TEST_F(PluginBase, FullSysExRingDropsAndCountsUntilDrained) {
  TestPlug plug(&out);
  const uint8_t a[8] = {0xF0, 0, 0x51, 0x21, 0x05, 0x57, 0x00, 0xF7};
  const size_t capacity = IPlugAPP::kSysExInSlots - 1;
  // Room for several IR dumps of 11 chunks between two drains.
  EXPECT_GE(capacity, 3u * 11u);
  for (size_t i = 0; i < capacity; ++i) EXPECT_TRUE(plug.QueueMidiInput(a, 8));
  EXPECT_FALSE(plug.QueueMidiInput(a, 8));
  EXPECT_EQ(plug.PendingSysExInput(), capacity);
  EXPECT_EQ(plug.DroppedSysExInput(), 1u);
  plug.ProcessQueuedMidiInput();
  EXPECT_EQ(plug.sysex.size(), capacity);
  EXPECT_TRUE(plug.QueueMidiInput(a, 8));
  EXPECT_EQ(plug.DroppedSysExInput(), 1u);
}

TEST_F(PluginBase, SendsGoToTheHostUnlessMidiOutIsOff) {
  TestPlug plug(&out);
  const uint8_t msg[3] = {0xF0, 0x01, 0xF7};
  EXPECT_TRUE(plug.SendSysEx({0, 3, msg}));
  ASSERT_EQ(out.sent.size(), 1u);
  EXPECT_EQ(out.sent[0], std::vector<uint8_t>(msg, msg + 3));
  plug.SetMidiOutput(nullptr);
  EXPECT_FALSE(plug.SendSysEx({0, 3, msg}));
}

TEST_F(PluginBase, TimersTickOnTheManualClock) {
  int ticks = 0;
  auto t = Timer::Create([&](Timer&) { ++ticks; }, 100);
  TestPlug plug(&out); // its base timer ticks every 20 ms
  clock.Advance(100);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(plug.idles, 5);
  clock.Advance(99);
  EXPECT_EQ(ticks, 1);
  clock.Advance(1);
  EXPECT_EQ(ticks, 2);
  t.reset();
  clock.Advance(500);
  EXPECT_EQ(ticks, 2);
}

TEST_F(PluginBase, TimerStoppedFromItsOwnCallback) {
  int ticks = 0;
  const size_t before = Timer::LiveTimerCount();
  auto t = Timer::Create(
      [&](Timer& self) {
        if (++ticks == 2) self.Stop();
      },
      10);
  EXPECT_EQ(Timer::LiveTimerCount(), before + 1);
  clock.Advance(100);
  EXPECT_EQ(ticks, 2);
  EXPECT_FALSE(t->IsRunning());
  EXPECT_EQ(Timer::LiveTimerCount(), before);
}

} // namespace

namespace {

// A timer owned by a static outlives main; stopping it at exit must not touch
// anything already destroyed.
std::unique_ptr<iplug::Timer> gTimerStoppedAtExit;

TEST(TimerLifetime, TimerHeldByAStaticStopsSafelyAtExit) {
  gTimerStoppedAtExit = iplug::Timer::Create([](iplug::Timer&) {}, 100);
  EXPECT_TRUE(gTimerStoppedAtExit->IsRunning());
}

} // namespace

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "AppHostTestSupport.h"
#include "app/host/ProfileFile.h"

using namespace zorel;
using namespace zorel::test;

namespace {

const Bytes kReply = {0xF0, 0x00, 0x51, 0x21, 0x05, 0x61, 0x00, 0xF7};

class AudioHost : public HostFixture {
protected:
  AppHost& Init(std::vector<AudioDeviceInfo> devices, const std::string& settings = {}) {
    audio.devices = std::move(devices);
    if (!settings.empty()) std::ofstream(SettingsPath()) << settings;
    AppHost& h = MakeHost();
    h.InitHost();
    return h;
  }
  bool AllSilent(const std::vector<std::vector<double>>& channels) {
    for (const auto& c : channels)
      for (double v : c)
        if (v != 0.0) return false;
    return true;
  }
};

TEST_F(AudioHost, AnAbsentOutputNameFallsBackToTheDefaultAndIsWrittenBack) {
  AppHost& h =
      Init({FakeAudioWorld::Device("Mic", 0, 2), FakeAudioWorld::Device("Speakers", 2, 0, true)},
           "[audio]\noutdev=Unplugged Card\nbuffer=256\nsr=48000\n");
  ASSERT_TRUE(h.TryChangeAudio());
  EXPECT_EQ(h.mSettings.mAudioOutDevice, "Speakers");
  EXPECT_EQ(audio.request.outputDevice, 1);
  EXPECT_EQ(audio.request.outputChannels, 2u);
  EXPECT_EQ(audio.request.inputChannels, 0u);
  EXPECT_EQ(audio.request.sampleRate, 48000u);
  EXPECT_EQ(audio.buffer, 256u);
  EXPECT_EQ(h.mSettingsActive, h.mSettings);
  ProfileFile f;
  f.Load(SettingsPath());
  EXPECT_EQ(f.Get("audio", "outdev"), "Speakers");
  EXPECT_TRUE(modal.Messages().empty());
}

// The stream asks for no input channels: a machine without any input still
// gets its stream (and with it the pedal's replies).
TEST_F(AudioHost, NoInputDeviceIsNoReasonToGoWithoutAStream) {
  AppHost& h = Init({FakeAudioWorld::Device("Speakers", 2, 0, true)});
  EXPECT_TRUE(h.TryChangeAudio());
  EXPECT_TRUE(h.StreamRunning());
  EXPECT_TRUE(modal.Messages().empty());
}

TEST_F(AudioHost, WithoutAnOutputTheUserIsToldAndMidiIsReadAnyway) {
  AppHost& h = Init({FakeAudioWorld::Device("Mic", 0, 2, true)});
  EXPECT_FALSE(h.TryChangeAudio());
  EXPECT_FALSE(h.StreamRunning());
  ASSERT_EQ(modal.Messages().size(), 1u);
  EXPECT_EQ(modal.Messages()[0].text, kMsgCheckSoundcard);

  h.OnMidiInput(kReply.data(), kReply.size());
  EXPECT_EQ(h.Editor().PendingSysExInput(), 1u);
  clock.Advance(AppHost::kFallbackDrainMs);
  EXPECT_EQ(h.Editor().PendingSysExInput(), 0u);
  EXPECT_TRUE(h.FallbackActive());
}

TEST_F(AudioHost, AStreamThatFailsToOpenIsNoStream) {
  audio.refuseOpen = true;
  AppHost& h = Init({FakeAudioWorld::Device("Speakers", 2, 0, true)});
  EXPECT_FALSE(h.TryChangeAudio());
  EXPECT_FALSE(h.StreamRunning());
  EXPECT_TRUE(modal.Messages().empty()); // printed only
  h.OnMidiInput(kReply.data(), kReply.size());
  clock.Advance(AppHost::kFallbackDrainMs);
  EXPECT_EQ(h.Editor().PendingSysExInput(), 0u);
}

// Whatever buffer size the device grants, every frame is written exactly
// once and the queues are drained on the 64-frame grid of the stream.
TEST_F(AudioHost, SubBlocksRunOnAcrossBuffersOfAnySize) {
  audio.grantedBuffer = 100;
  AppHost& h = Init({FakeAudioWorld::Device("Speakers", 2, 0, true)});
  ASSERT_TRUE(h.TryChangeAudio());
  EXPECT_EQ(h.StreamBufferSize(), 100u);
  EXPECT_EQ(h.Editor().GetBlockSize(), AppHost::kSubBlockFrames);
  for (unsigned frames : {100u, 100u, 37u, 1u, 512u, 90u})
    EXPECT_TRUE(AllSilent(audio.Run(frames))) << frames;
  EXPECT_EQ(h.SampleCounter(), 840u);

  // 840 frames in: the next sub-block starts at 896. A message queued now
  // waits until then.
  h.OnMidiInput(kReply.data(), kReply.size());
  audio.Run(55); // frames 840..894
  EXPECT_EQ(h.Editor().PendingSysExInput(), 1u);
  audio.Run(1); // frame 895
  EXPECT_EQ(h.Editor().PendingSysExInput(), 1u);
  audio.Run(1); // frame 896: a new sub-block
  EXPECT_EQ(h.Editor().PendingSysExInput(), 0u);
}

TEST_F(AudioHost, TheCallbackLeavesMessagesQueuedWhileTheEditorIsBusy) {
  AppHost& h = Init({FakeAudioWorld::Device("Speakers", 2, 0, true)});
  ASSERT_TRUE(h.TryChangeAudio());
  h.OnMidiInput(kReply.data(), kReply.size());
  {
    std::unique_lock<iplug::EditorLock> lock(h.Editor().EditorLock());
    // The callback runs on its own thread and must not wait for the lock.
    std::thread audioThread([&] { audio.Run(512); });
    audioThread.join();
    EXPECT_EQ(h.Editor().PendingSysExInput(), 1u);
  }
  audio.Run(512);
  EXPECT_EQ(h.Editor().PendingSysExInput(), 0u);
}

TEST_F(AudioHost, ClosingFadesOutThroughTheCallback) {
  AppHost& h = Init({FakeAudioWorld::Device("Speakers", 2, 0, true)});
  ASSERT_TRUE(h.TryChangeAudio());
  std::atomic<bool> run{true};
  std::thread stream([&] {
    while (run) {
      audio.Run(64);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  h.CloseAudio();
  run = false;
  stream.join();
  EXPECT_FALSE(audio.open);
  EXPECT_FALSE(h.StreamRunning());
}

// A stream that stopped calling back (a vanished server) neither hangs the
// close nor keeps the pedal's replies queued.
TEST_F(AudioHost, AStalledStreamIsClosedInBoundedTimeAndMidiFallsBack) {
  AppHost& h = Init({FakeAudioWorld::Device("Speakers", 2, 0, true)});
  ASSERT_TRUE(h.TryChangeAudio());
  audio.Run(64);
  h.OnMidiInput(kReply.data(), kReply.size());
  h.FallbackDrain();
  EXPECT_EQ(h.Editor().PendingSysExInput(), 1u); // the stream is expected to drain it
  std::this_thread::sleep_for(std::chrono::milliseconds(AppHost::kStallMs + 20));
  h.FallbackDrain();
  EXPECT_EQ(h.Editor().PendingSysExInput(), 0u);

  const auto start = std::chrono::steady_clock::now();
  h.CloseAudio();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_FALSE(audio.open);
}

} // namespace

#pragma once

// Stand-ins for the MIDI and audio libraries, so the host's logic runs
// without devices: port lists, refusals, recorded sends, and a stream whose
// callback the test calls by hand.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/host/AppHost.h"
#include "library/ModalServices.h"
#include "plugin/Timer.h"
#include "tests/support/ScriptedModalServices.h"

namespace zorel::test {

using Bytes = std::vector<uint8_t>;

// What the fake MIDI system offers and records; shared with the test, which
// keeps it after the host took the port objects.
struct FakeMidiWorld {
  std::vector<std::string> inPorts;
  std::vector<std::string> outPorts;
  std::vector<std::string> refusedPorts; // OpenPort fails for these
  bool failToStart = false;
  std::string openIn; // "" = closed
  std::string openOut;
  std::vector<std::string> ownPortNames; // the names we opened ports under
  int pairsMade = 0;                     // input and output objects made together
  std::mutex sentMutex;
  std::vector<Bytes> sent;
  IMidiInPort::Handler handler;
  std::atomic<int> inSend{0};
  std::atomic<bool> overlapped{false};
  bool ignoresSysEx = true;
  std::function<void()> onOpenOut; // runs inside the output's OpenPort

  // A message arriving at the input port, as the library's thread delivers it.
  void Deliver(const Bytes& message) {
    if (handler && !openIn.empty()) handler(message.data(), message.size());
  }
};

template <typename Base> class FakePorts : public Base {
public:
  FakePorts(FakeMidiWorld& world, std::vector<std::string>& ports, std::string& open)
      : mWorld(world), mPorts(ports), mOpen(open) {}
  unsigned PortCount() override { return static_cast<unsigned>(mPorts.size()); }
  std::string PortName(unsigned i) override { return i < mPorts.size() ? mPorts[i] : ""; }
  bool OpenPort(unsigned i, const std::string& own, std::string& error) override {
    for (const std::string& r : mWorld.refusedPorts) {
      if (r == mPorts.at(i)) {
        error = "port busy";
        return false;
      }
    }
    mOpen = mPorts.at(i);
    mWorld.ownPortNames.push_back(own);
    return true;
  }
  void ClosePort() override { mOpen.clear(); }

protected:
  FakeMidiWorld& mWorld;
  std::vector<std::string>& mPorts;
  std::string& mOpen;
};

class FakeMidiIn final : public FakePorts<IMidiInPort> {
public:
  explicit FakeMidiIn(FakeMidiWorld& w) : FakePorts(w, w.inPorts, w.openIn) {}
  void SetHandler(Handler h) override { mWorld.handler = std::move(h); }
  void CancelHandler() override { mWorld.handler = nullptr; }
  void IgnoreTypes(bool sysex, bool, bool) override { mWorld.ignoresSysEx = sysex; }
};

class FakeMidiOut final : public FakePorts<IMidiOutPort> {
public:
  explicit FakeMidiOut(FakeMidiWorld& w) : FakePorts(w, w.outPorts, w.openOut) {}
  // Changing the port while a send is inside would pull it from under it.
  bool OpenPort(unsigned i, const std::string& own, std::string& error) override {
    if (mWorld.inSend.load() != 0) mWorld.overlapped = true;
    if (mWorld.onOpenOut) mWorld.onOpenOut();
    return FakePorts::OpenPort(i, own, error);
  }
  void ClosePort() override {
    if (mWorld.inSend.load() != 0) mWorld.overlapped = true;
    FakePorts::ClosePort();
  }
  bool Send(const uint8_t* data, size_t size) override {
    // Two threads inside at once would interleave bytes on a real port.
    if (mWorld.inSend.fetch_add(1) != 0) mWorld.overlapped = true;
    {
      std::lock_guard<std::mutex> lock(mWorld.sentMutex);
      mWorld.sent.emplace_back(data, data + size);
    }
    std::this_thread::yield();
    mWorld.inSend.fetch_sub(1);
    return !mOpen.empty();
  }
};

inline MidiFactory FakeMidiFactory(FakeMidiWorld& world) {
  return [&world](const std::string&, const std::string&) {
    MidiObjects objects;
    if (world.failToStart) {
      objects.errors.push_back("no MIDI here");
      return objects;
    }
    objects.in = std::make_unique<FakeMidiIn>(world);
    objects.out = std::make_unique<FakeMidiOut>(world);
    objects.apiName = "Fake";
    ++world.pairsMade;
    return objects;
  };
}

// The fake audio system's devices and its one stream.
struct FakeAudioWorld {
  std::vector<AudioDeviceInfo> devices;
  std::vector<int> createdForDriver;
  bool refuseOpen = false;
  unsigned grantedBuffer = 0; // 0: grant what is asked
  // The last stream.
  bool open = false;
  bool running = false;
  AudioStreamRequest request;
  unsigned buffer = 0;
  IAudioSystem::Callback callback = nullptr;
  void* user = nullptr;

  static AudioDeviceInfo Device(const std::string& name, unsigned outs, unsigned ins,
                                bool isDefault = false) {
    AudioDeviceInfo d;
    d.probed = true;
    d.name = name;
    d.outputChannels = outs;
    d.inputChannels = ins;
    d.isDefaultOutput = isDefault && outs > 0;
    d.isDefaultInput = isDefault && ins > 0;
    return d;
  }

  // One callback of `frames` frames; the output the host wrote, per channel.
  std::vector<std::vector<double>> Run(unsigned frames, double fill = 1.0) {
    std::vector<double> out(request.outputChannels * frames, fill);
    callback(out.data(), nullptr, frames, user);
    std::vector<std::vector<double>> channels;
    for (unsigned c = 0; c < request.outputChannels; ++c)
      channels.emplace_back(out.begin() + c * frames, out.begin() + (c + 1) * frames);
    return channels;
  }
};

class FakeAudio final : public IAudioSystem {
public:
  explicit FakeAudio(FakeAudioWorld& w) : mWorld(w) {}
  std::string ApiName() override { return "Fake"; }
  unsigned DeviceCount() override { return static_cast<unsigned>(mWorld.devices.size()); }
  AudioDeviceInfo DeviceInfo(unsigned i) override { return mWorld.devices.at(i); }
  void OpenStream(const AudioStreamRequest& request, unsigned& buffer, Callback cb,
                  void* user) override {
    if (mWorld.refuseOpen) throw std::runtime_error("device refused");
    if (mWorld.grantedBuffer != 0) buffer = mWorld.grantedBuffer;
    mWorld.request = request;
    mWorld.buffer = buffer;
    mWorld.callback = cb;
    mWorld.user = user;
    mWorld.open = true;
  }
  void StartStream() override { mWorld.running = true; }
  void StopStream() override { mWorld.running = false; }
  void CloseStream() override {
    mWorld.running = false;
    mWorld.open = false;
  }
  bool IsStreamOpen() override { return mWorld.open; }
  bool IsStreamRunning() override { return mWorld.running; }

private:
  FakeAudioWorld& mWorld;
};

inline AudioFactory FakeAudioFactory(FakeAudioWorld& world) {
  return [&world](int driver) -> std::unique_ptr<IAudioSystem> {
    world.createdForDriver.push_back(driver);
    return std::make_unique<FakeAudio>(world);
  };
}

// A fresh library folder, a manual clock, and a host on the fakes.
class HostFixture : public ::testing::Test {
protected:
  void SetUp() override {
    iplug::SetTimerService(&clock);
    ZorelControl::SetShutdownWaitMs(0);
    std::string pattern = (std::filesystem::temp_directory_path() / "zorel-app-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root = pattern;
  }
  void TearDown() override {
    host.reset();
    iplug::SetTimerService(nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }

  AppHost& MakeHost(std::string inOverride = {}, std::string outOverride = {}) {
    AppHost::Options options;
    options.midi = FakeMidiFactory(midi);
    options.audio = FakeAudioFactory(audio);
    options.libraryRoot = root;
    options.modal = &modal;
    options.midiInPort = std::move(inOverride);
    options.midiOutPort = std::move(outOverride);
    options.findPedalAtStart = findPedalAtStart;
    options.probe.listen = std::chrono::milliseconds(300);
    host = std::make_unique<AppHost>(std::move(options));
    return *host;
  }
  std::string SettingsPath() const { return root + "/settings.ini"; }

  iplug::ManualTimerService clock;
  std::string root;
  FakeMidiWorld midi;
  FakeAudioWorld audio;
  test::ScriptedModalServices modal{MessageBoxResult::kOK};
  std::unique_ptr<AppHost> host;
  // Off unless a test is about it: the search asks every port and waits.
  bool findPedalAtStart = false;
};

} // namespace zorel::test

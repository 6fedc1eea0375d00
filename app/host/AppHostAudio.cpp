// The audio half of the host. The editor makes no sound: the stream exists
// because its callback is where incoming MIDI reaches the editor, every 64
// frames.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <thread>

#include "app/host/AppHost.h"

namespace zorel {

namespace {

constexpr const char* kSkippedDeviceName = "Generic Low Latency ASIO Driver";
constexpr const char* kStreamClientName = "ZorelControl";
constexpr unsigned kFallbackBufferSize = 512;
constexpr unsigned kMaxBufferSize = 16384;
// How long CloseAudio waits for the callback to fade out before it stops the
// stream regardless: a stream that stopped calling back would otherwise hang
// the user-interface thread for good. A live stream calls back once per
// buffer, so a few buffers' time is plenty.
constexpr int kMinStopWaitMs = 200;
constexpr int kStopWaitBuffers = 8;

void OnBuffer(double* output, const double* input, unsigned frames, void* host) {
  static_cast<AppHost*>(host)->OnAudioBuffer(output, input, frames);
}

// Multiplies n frames by a ramp from 0 to 1 (up) or 1 to 0.
void Fade(double* samples, unsigned n, bool up) {
  if (n == 0) return;
  for (unsigned i = 0; i < n; ++i) {
    const double x = static_cast<double>(i) / n;
    samples[i] *= up ? x : 1.0 - x;
  }
}

} // namespace

void AppHost::CreateAudio() {
  CloseAudio();
  mAudio.reset();
  mAudioApiName.clear();
  try {
    mAudio = mOptions.audio(mSettings.mDriver);
    if (mAudio) mAudioApiName = mAudio->ApiName();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "audio: %s\n", e.what());
    mAudio.reset();
  }
}

void AppHost::ListAudioDevices() {
  mDeviceNames.clear();
  mDeviceRates.clear();
  mDevicePreferredRate.clear();
  mInputDevices.clear();
  mOutputDevices.clear();
  // Defaults of an earlier audio object would name devices this one may not
  // have, so they are looked up afresh with the list.
  mDefaultInput = -1;
  mDefaultOutput = -1;
  if (!mAudio) return;
  unsigned count = 0;
  try {
    count = mAudio->DeviceCount();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "audio: %s\n", e.what());
  }
  for (unsigned i = 0; i < count; ++i) {
    const AudioDeviceInfo info = mAudio->DeviceInfo(i);
    // Names stay indexed by device number, skipped devices included (with
    // a name no settings file can match).
    mDeviceNames.push_back(info.probed ? info.name : std::string());
    mDeviceRates.push_back(info.sampleRates);
    mDevicePreferredRate.push_back(info.preferredSampleRate);
    if (!info.probed || info.name == kSkippedDeviceName) {
      std::fprintf(stderr, "%s: Probe Status = Unsuccessful\n", info.name.c_str());
      continue;
    }
    const int n = static_cast<int>(i);
    if (info.inputChannels > 0) mInputDevices.push_back(n);
    if (info.outputChannels > 0) mOutputDevices.push_back(n);
    if (info.isDefaultInput && info.inputChannels > 0) mDefaultInput = n;
    if (info.isDefaultOutput && info.outputChannels > 0) mDefaultOutput = n;
  }
}

int AppHost::FindDevice(const std::string& name, const std::vector<int>& candidates) const {
  if (name.empty()) return -1;
  for (int n : candidates)
    if (mDeviceNames[static_cast<size_t>(n)] == name) return n;
  return -1;
}

bool AppHost::TryChangeAudio() {
  // JACK, like ASIO, is one device for both directions: the output's name
  // selects the input too.
  const bool oneDevice = mSettings.mDriver == 1;
  int input =
      FindDevice(oneDevice ? mSettings.mAudioOutDevice : mSettings.mAudioInDevice, mInputDevices);
  int output = FindDevice(mSettings.mAudioOutDevice, mOutputDevices);
  bool renamed = false;
  if (input < 0 && mDefaultInput >= 0) {
    input = mDefaultInput;
    mSettings.mAudioInDevice = mDeviceNames[static_cast<size_t>(input)];
    renamed = true;
  }
  if (output < 0 && mDefaultOutput >= 0) {
    output = mDefaultOutput;
    mSettings.mAudioOutDevice = mDeviceNames[static_cast<size_t>(output)];
    renamed = true;
  }
  if (renamed) SaveSettings();
  // The stream has no input channels, so only a missing output stops it.
  if (output < 0) {
    Tell(kMsgCheckSoundcard, "Error");
    return false;
  }
  return InitAudio(input, output, mSettings.mSampleRate, mSettings.mBufferSize);
}

bool AppHost::InitAudio(int inputDevice, int outputDevice, int sampleRate, int bufferSize) {
  CloseAudio();
  if (!mAudio || outputDevice < 0 || static_cast<size_t>(outputDevice) >= mDeviceNames.size())
    return false;

  AudioStreamRequest request;
  request.outputDevice = outputDevice;
  request.outputChannels = static_cast<unsigned>(mEditor->MaxNOutputChannels());
  request.inputDevice = inputDevice;
  request.inputChannels = static_cast<unsigned>(mEditor->MaxNInputChannels());
  request.clientName = kStreamClientName;
  request.sampleRate = sampleRate > 0 ? static_cast<unsigned>(sampleRate) : 44100u;
  // A device refuses rates it does not run at (a JACK server runs at one);
  // the stream carries silence, so the device's own rate serves as well.
  const auto& rates = mDeviceRates[static_cast<size_t>(outputDevice)];
  if (!rates.empty() && std::find(rates.begin(), rates.end(), request.sampleRate) == rates.end()) {
    const unsigned preferred = mDevicePreferredRate[static_cast<size_t>(outputDevice)];
    request.sampleRate = preferred != 0 ? preferred : rates.back();
  }
  unsigned frames = bufferSize > 0 && static_cast<unsigned>(bufferSize) <= kMaxBufferSize
                        ? static_cast<unsigned>(bufferSize)
                        : kFallbackBufferSize;

  mSampleCounter = 0;
  mSubBlockCounter = 0;
  mCallbackCount = 0;
  mLastSeenCallbacks = 0;
  mLastCallbackSeen = std::chrono::steady_clock::now();
  mStopRequested = false;
  mStopDone = false;
  mEditor->SetBlockSize(kSubBlockFrames);
  mEditor->SetSampleRate(request.sampleRate);
  mEditor->SetOutputsConnected(static_cast<int>(request.outputChannels));
  mOutputPointers.assign(request.outputChannels, nullptr);
  mInputPointers.assign(request.inputChannels, nullptr);

  try {
    mAudio->OpenStream(request, frames, &OnBuffer, this);
    mStreamBufferSize = frames;
    mStreamSampleRate = request.sampleRate;
    mAudio->StartStream();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "audio: %s\n", e.what());
    try {
      mAudio->CloseStream();
    } catch (const std::exception&) {
    }
    return false;
  }
  mStreamRunning = true;
  mSettingsActive = mSettings;
  return true;
}

void AppHost::CloseAudio() {
  if (!mAudio) return;
  try {
    if (!mAudio->IsStreamOpen()) {
      mStreamRunning = false;
      return;
    }
    if (mAudio->IsStreamRunning()) {
      mStopRequested = true;
      const double bufferMs = 1000.0 * mStreamBufferSize / std::max(mStreamSampleRate, 1.0);
      const int limitMs = std::max(kMinStopWaitMs, static_cast<int>(kStopWaitBuffers * bufferMs));
      for (int waited = 0; !mStopDone && waited < limitMs; waited += 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      try {
        mAudio->StopStream();
      } catch (const std::exception& e) {
        std::fprintf(stderr, "audio: %s\n", e.what());
      }
    }
    mAudio->CloseStream();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "audio: %s\n", e.what());
  }
  mStreamRunning = false;
}

void AppHost::OnAudioBuffer(double* output, const double* input, unsigned frames) {
  const size_t outputs = mOutputPointers.size();
  if (mStopDone.load(std::memory_order_acquire)) {
    std::fill(output, output + outputs * frames, 0.0);
    return;
  }
  const bool first = mCallbackCount.load(std::memory_order_relaxed) == 0;
  const bool stopping = mStopRequested.load(std::memory_order_acquire);
  (void)input; // the stream has no input channels, so there is nothing to fade

  // Sub-blocks of 64 frames run on across callbacks. A buffer that is not a
  // multiple of 64 ends inside one: that part of the sub-block is processed
  // now and the rest with the next buffer, so every frame is written once
  // and the queues are still drained every 64 frames.
  unsigned p = 0;
  while (p < frames) {
    const unsigned into = static_cast<unsigned>(mSubBlockCounter % kSubBlockFrames);
    const unsigned length = std::min<unsigned>(kSubBlockFrames - into, frames - p);
    if (into == 0) mEditor->ProcessQueuedMidiInput();
    for (size_t c = 0; c < outputs; ++c) mOutputPointers[c] = output + c * frames + p;
    mEditor->ProcessBlock(mInputPointers.data(), mOutputPointers.data(), static_cast<int>(length));
    p += length;
    mSubBlockCounter += length;
    mSampleCounter.fetch_add(length, std::memory_order_relaxed);
  }

  if (first || stopping) {
    for (size_t c = 0; c < outputs; ++c) Fade(output + c * frames, frames, first && !stopping);
  }
  if (stopping) mStopDone.store(true, std::memory_order_release);
  mCallbackCount.fetch_add(1, std::memory_order_release);
}

} // namespace zorel

#include <RtAudio.h>

#include <cstdio>
#include <stdexcept>

#include "app/host/AudioBackend.h"

namespace zorel {

namespace {

// The library's exceptions as the host's.
template <typename F> auto Guard(F&& f) -> decltype(f()) {
  try {
    return f();
  } catch (const RtAudioError& e) {
    throw std::runtime_error(e.getMessage());
  }
}

class RtAudioSystem final : public IAudioSystem {
public:
  explicit RtAudioSystem(RtAudio::Api api) : mAudio(api) {}
  ~RtAudioSystem() override {
    try {
      if (mAudio.isStreamOpen()) mAudio.closeStream();
    } catch (const RtAudioError&) {
    }
  }

  std::string ApiName() override { return RtAudio::getApiDisplayName(mAudio.getCurrentApi()); }
  unsigned DeviceCount() override {
    return Guard([&] { return mAudio.getDeviceCount(); });
  }

  AudioDeviceInfo DeviceInfo(unsigned index) override {
    AudioDeviceInfo info;
    try {
      const RtAudio::DeviceInfo rt = mAudio.getDeviceInfo(index);
      info.probed = rt.probed;
      info.name = rt.name;
      info.outputChannels = rt.outputChannels;
      info.inputChannels = rt.inputChannels;
      info.isDefaultOutput = rt.isDefaultOutput;
      info.isDefaultInput = rt.isDefaultInput;
      info.sampleRates = rt.sampleRates;
      info.preferredSampleRate = rt.preferredSampleRate;
    } catch (const RtAudioError&) {
      info.probed = false;
    }
    return info;
  }

  void OpenStream(const AudioStreamRequest& request, unsigned& bufferFrames, Callback callback,
                  void* user) override {
    mCallback = callback;
    mUser = user;
    RtAudio::StreamParameters out;
    out.deviceId = static_cast<unsigned>(request.outputDevice);
    out.nChannels = request.outputChannels;
    RtAudio::StreamParameters in;
    const bool withInput = request.inputDevice >= 0 && request.inputChannels > 0;
    if (withInput) {
      in.deviceId = static_cast<unsigned>(request.inputDevice);
      in.nChannels = request.inputChannels;
    }
    RtAudio::StreamOptions options;
    options.flags = RTAUDIO_NONINTERLEAVED;
    options.streamName = request.clientName;
    Guard([&] {
      mAudio.openStream(&out, withInput ? &in : nullptr, RTAUDIO_FLOAT64, request.sampleRate,
                        &bufferFrames, &RtAudioSystem::OnBuffer, this, &options,
                        &RtAudioSystem::OnError);
    });
  }

  void StartStream() override {
    Guard([&] { mAudio.startStream(); });
  }
  void StopStream() override {
    Guard([&] {
      if (mAudio.isStreamRunning()) mAudio.stopStream();
    });
  }
  void CloseStream() override {
    Guard([&] {
      if (mAudio.isStreamOpen()) mAudio.closeStream();
    });
  }
  bool IsStreamOpen() override { return mAudio.isStreamOpen(); }
  bool IsStreamRunning() override { return mAudio.isStreamRunning(); }

private:
  static int OnBuffer(void* output, void* input, unsigned frames, double, RtAudioStreamStatus,
                      void* self) {
    auto* me = static_cast<RtAudioSystem*>(self);
    me->mCallback(static_cast<double*>(output), static_cast<const double*>(input), frames,
                  me->mUser);
    return 0;
  }
  // Errors on the stream's own thread are only reported; the host notices a
  // stream that stopped calling back.
  static void OnError(RtAudioError::Type, const std::string& text) {
    std::fprintf(stderr, "audio: %s\n", text.c_str());
  }

  RtAudio mAudio;
  Callback mCallback = nullptr;
  void* mUser = nullptr;
};

} // namespace

AudioFactory RtAudioFactory() {
  return [](int driver) -> std::unique_ptr<IAudioSystem> {
    try {
      return std::make_unique<RtAudioSystem>(driver == 1 ? RtAudio::UNIX_JACK
                                                         : RtAudio::UNSPECIFIED);
    } catch (const RtAudioError& e) {
      throw std::runtime_error(e.getMessage());
    }
  };
}

} // namespace zorel

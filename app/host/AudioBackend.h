#pragma once

// The audio library as the host sees it: devices and one output stream of
// 64-bit float, non-interleaved buffers. RtAudioBackend.cpp is the real one;
// tests give the host their own. Failures are thrown as
// std::runtime_error carrying the library's text.

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zorel {

struct AudioDeviceInfo {
  bool probed = false;
  std::string name;
  unsigned outputChannels = 0;
  unsigned inputChannels = 0;
  bool isDefaultOutput = false;
  bool isDefaultInput = false;
  // The rates the device runs at (JACK: only the server's); empty = unknown.
  std::vector<unsigned> sampleRates;
  unsigned preferredSampleRate = 0;
};

struct AudioStreamRequest {
  int outputDevice = -1;
  unsigned outputChannels = 0;
  int inputDevice = -1; // -1 or no channels: no input stream
  unsigned inputChannels = 0;
  unsigned sampleRate = 44100;
  std::string clientName;
};

class IAudioSystem {
public:
  // `output` holds `frames` samples per channel, channel after channel.
  using Callback = void (*)(double* output, const double* input, unsigned frames, void* user);

  virtual ~IAudioSystem() = default;
  virtual std::string ApiName() = 0;
  virtual unsigned DeviceCount() = 0;
  // probed = false when the library could not look at the device.
  virtual AudioDeviceInfo DeviceInfo(unsigned index) = 0;
  // `bufferFrames` goes in as the wish and comes out as what was granted.
  virtual void OpenStream(const AudioStreamRequest& request, unsigned& bufferFrames,
                          Callback callback, void* user) = 0;
  virtual void StartStream() = 0;
  virtual void StopStream() = 0;
  virtual void CloseStream() = 0;
  virtual bool IsStreamOpen() = 0;
  virtual bool IsStreamRunning() = 0;
};

// Driver 0: the system's default API (the first one that has devices);
// driver 1: JACK.
using AudioFactory = std::function<std::unique_ptr<IAudioSystem>(int driver)>;
AudioFactory RtAudioFactory();

} // namespace zorel

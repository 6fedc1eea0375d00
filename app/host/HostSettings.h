#pragma once

#include <string>

namespace zorel {

// The host's device choices, one field per key of settings.ini. The
// initialisers are the values of a first start (no file yet); a file that
// lacks a key gives that key's reading default instead (SettingsFile.cpp).
struct HostSettings {
  std::string mAudioInDevice = "Default Device";
  std::string mAudioOutDevice = "Default Device";
  std::string mMidiInDevice = "off"; // "off" = no port
  std::string mMidiOutDevice = "off";
  int mDriver = 0; // audio API: 0 the system's default, 1 JACK
  int mSampleRate = 44100;
  int mBufferSize = 512;
  int mMidiInChannel = 0;  // kept only
  int mMidiOutChannel = 0; // kept only
  int mAudioIn1 = 1;       // channel numbers are kept; the stream starts at channel 0
  int mAudioIn2 = 2;
  int mAudioOut1 = 1;
  int mAudioOut2 = 2;

  friend bool operator==(const HostSettings&, const HostSettings&) = default;
};

inline constexpr const char* kMidiPortOff = "off";

} // namespace zorel

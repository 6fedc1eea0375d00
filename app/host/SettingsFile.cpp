#include "app/host/SettingsFile.h"

#include <charconv>
#include <filesystem>

#include "app/host/ProfileFile.h"

namespace zorel {

namespace {

// ALSA and JACK port names ("client:port", often with the device's long
// name) run past the 99 characters other text values are cut to; a name cut
// on reading would never match its port again, and the choice would turn
// into "off" at the next start.
constexpr size_t kDeviceNameMaxChars = 511;

// Defaults for keys missing from an existing file. They differ from the
// first-start values of HostSettings on purpose: a file that lost its MIDI
// names gets names no port has, so they turn into "off" when the ports open.
constexpr const char* kReadAudioIn = "Built-in Input";
constexpr const char* kReadAudioOut = "Built-in Output";
constexpr const char* kReadMidiIn = "no input";
constexpr const char* kReadMidiOut = "no output";

std::string Unsigned(int v) {
  return std::to_string(static_cast<unsigned>(v));
}
std::string Signed(int v) {
  return std::to_string(v);
}

} // namespace

SettingsFile::SettingsFile(std::string libraryRoot)
    : mFolder(std::move(libraryRoot)), mPath(mFolder + "/settings.ini") {}

bool SettingsFile::Load(HostSettings& s) {
  std::error_code ec;
  if (!std::filesystem::is_directory(mFolder, ec)) {
    std::filesystem::create_directories(mFolder, ec);
  } else if (ProfileFile f; f.Load(mPath)) {
    s.mDriver = f.GetInt("audio", "driver", 0);
    s.mAudioInDevice = f.GetString("audio", "indev", kReadAudioIn, kDeviceNameMaxChars);
    s.mAudioOutDevice = f.GetString("audio", "outdev", kReadAudioOut, kDeviceNameMaxChars);
    s.mAudioIn1 = f.GetInt("audio", "in1", 1);
    s.mAudioIn2 = f.GetInt("audio", "in2", 2);
    s.mAudioOut1 = f.GetInt("audio", "out1", 1);
    s.mAudioOut2 = f.GetInt("audio", "out2", 2);
    s.mBufferSize = f.GetInt("audio", "buffer", 512);
    s.mSampleRate = f.GetInt("audio", "sr", 44100);
    s.mMidiInDevice = f.GetString("midi", "indev", kReadMidiIn, kDeviceNameMaxChars);
    s.mMidiOutDevice = f.GetString("midi", "outdev", kReadMidiOut, kDeviceNameMaxChars);
    s.mMidiInChannel = f.GetInt("midi", "inchan", 0);
    s.mMidiOutChannel = f.GetInt("midi", "outchan", 0);
  }
  Save(s);
  return true;
}

bool SettingsFile::Save(const HostSettings& s) {
  ProfileFile f;
  f.Load(mPath); // keeps the window's section and anything else in the file
  f.Set("audio", "driver", Unsigned(s.mDriver));
  f.Set("audio", "indev", s.mAudioInDevice);
  f.Set("audio", "outdev", s.mAudioOutDevice);
  f.Set("audio", "in1", Unsigned(s.mAudioIn1));
  f.Set("audio", "in2", Unsigned(s.mAudioIn2));
  f.Set("audio", "out1", Unsigned(s.mAudioOut1));
  f.Set("audio", "out2", Unsigned(s.mAudioOut2));
  f.Set("audio", "buffer", Signed(s.mBufferSize));
  f.Set("audio", "sr", Signed(s.mSampleRate));
  f.Set("midi", "indev", s.mMidiInDevice);
  f.Set("midi", "outdev", s.mMidiOutDevice);
  f.Set("midi", "inchan", Unsigned(s.mMidiInChannel));
  f.Set("midi", "outchan", Unsigned(s.mMidiOutChannel));
  return f.Save(mPath);
}

float SettingsFile::ReadDrawScale() const {
  ProfileFile f;
  f.Load(mPath);
  const std::string text = f.GetString("GUI", "scale", "0.5");
  // Read and written without the locale: a window that set a decimal comma
  // must still read what another run wrote.
  float scale = 0.f;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), scale);
  // Something that is no positive number would size the surface to nothing.
  return ec == std::errc() && ptr != text.data() && scale > 0.f ? scale : 0.5f;
}

bool SettingsFile::WriteDrawScale(float scale) {
  ProfileFile f;
  f.Load(mPath);
  char text[64];
  const auto result =
      std::to_chars(text, text + sizeof text - 1, scale, std::chars_format::fixed, 6); // "%f"
  *result.ptr = '\0';
  f.Set("GUI", "scale", text);
  return f.Save(mPath);
}

} // namespace zorel

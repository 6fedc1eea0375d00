#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "AppHostTestSupport.h"
#include "app/host/ProfileFile.h"
#include "app/host/SettingsFile.h"

using namespace zorel;
using namespace zorel::test;

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteAll(const std::string& path, const std::string& text) {
  std::ofstream(path) << text;
}

constexpr const char* kRecordDefaults = "[audio]\n"
                                        "driver=0\n"
                                        "indev=Default Device\n"
                                        "outdev=Default Device\n"
                                        "in1=1\n"
                                        "in2=2\n"
                                        "out1=1\n"
                                        "out2=2\n"
                                        "buffer=512\n"
                                        "sr=44100\n"
                                        "\n"
                                        "[midi]\n"
                                        "indev=off\n"
                                        "outdev=off\n"
                                        "inchan=0\n"
                                        "outchan=0\n";

using SettingsFileTest = HostFixture;

TEST_F(SettingsFileTest, FirstStartWritesTheRecordDefaults) {
  // A folder that does not exist yet, and one that exists without the file.
  for (const std::string& folder : {root + "/not/yet/ZorelControl", root}) {
    SettingsFile file(folder);
    HostSettings s;
    EXPECT_TRUE(file.Load(s));
    EXPECT_EQ(s, HostSettings{});
    EXPECT_EQ(ReadAll(folder + "/settings.ini"), kRecordDefaults) << folder;
  }
}

TEST_F(SettingsFileTest, MissingKeysTakeTheReadingDefaultsAndAMissingPortEndsAsOff) {
  midi.inPorts = {"Pedal Out"};
  midi.outPorts = {"Pedal In"};
  WriteAll(SettingsPath(), "[audio]\ndriver=0\n[midi]\noutdev=Pedal In\ninchan=3\n");
  AppHost& h = MakeHost();
  h.InitHost();
  EXPECT_EQ(h.mSettings.mAudioInDevice, "Built-in Input");
  EXPECT_EQ(h.mSettings.mAudioOutDevice, "Built-in Output");
  EXPECT_EQ(h.mSettings.mMidiInChannel, 3);
  // "no input" names no port, so the input is off, in memory and on disk.
  EXPECT_EQ(h.mSettings.mMidiInDevice, "off");
  EXPECT_EQ(midi.openIn, "");
  EXPECT_EQ(midi.openOut, "Pedal In");
  ProfileFile f;
  ASSERT_TRUE(f.Load(SettingsPath()));
  EXPECT_EQ(f.Get("midi", "indev"), "off");
  EXPECT_EQ(f.Get("midi", "outdev"), "Pedal In");
  EXPECT_EQ(f.Get("audio", "indev"), "Built-in Input");
}

TEST_F(SettingsFileTest, SectionsAndKeysIgnoreCaseAndOtherContentSurvives) {
  WriteAll(SettingsPath(), "; written by hand\n"
                           "[Audio]\nDRIVER = 1\nsr=\"48000\"\nbuffer= 256 frames\n"
                           "[gui]\nscale=0.75\n"
                           "[Other]\nx=1\n");
  SettingsFile file(root);
  HostSettings s;
  file.Load(s);
  EXPECT_EQ(s.mDriver, 1);
  EXPECT_EQ(s.mSampleRate, 48000);
  EXPECT_EQ(s.mBufferSize, 256);
  EXPECT_FLOAT_EQ(file.ReadDrawScale(), 0.75f);

  ASSERT_TRUE(file.WriteDrawScale(1.25f));
  ProfileFile f;
  f.Load(SettingsPath());
  EXPECT_EQ(f.Get("GUI", "scale"), "1.250000");
  EXPECT_EQ(f.Get("other", "x"), "1");
  EXPECT_EQ(f.Lines().front(), "; written by hand");
  int guiSections = 0;
  for (const std::string& line : f.Lines()) guiSections += line == "[gui]" || line == "[GUI]";
  EXPECT_EQ(guiSections, 1);
  // The host's keys were rewritten in place, not appended as a second section.
  int audioSections = 0;
  for (const std::string& line : f.Lines()) audioSections += line == "[Audio]" || line == "[audio]";
  EXPECT_EQ(audioSections, 1);
}

TEST_F(SettingsFileTest, LongNamesAreCutAndBadNumbersReadAsTheProfileFunctionsDo) {
  // A JACK port name longer than other values may be is kept whole, so it
  // still matches its port; a runaway one is cut.
  const std::string portName = "system:midi_capture_1 " + std::string(150, 'x');
  WriteAll(SettingsPath(), "[midi]\nindev=" + portName + "\noutdev=\n[audio]\noutdev=" +
                               std::string(900, 'y') + "\nsr=abc\nin1=-1\n[GUI]\nscale=big\n");
  SettingsFile file(root);
  HostSettings s;
  file.Load(s);
  EXPECT_EQ(s.mMidiInDevice, portName);
  EXPECT_EQ(s.mAudioOutDevice, std::string(511, 'y'));
  EXPECT_EQ(s.mMidiOutDevice, ""); // present but empty: an empty name
  EXPECT_EQ(s.mSampleRate, 0);
  EXPECT_EQ(s.mAudioIn1, -1);
  EXPECT_FLOAT_EQ(file.ReadDrawScale(), 0.5f);
  // Written back as "%u", read back to the same value.
  ProfileFile f;
  f.Load(SettingsPath());
  EXPECT_EQ(f.Get("audio", "in1"), "4294967295");
  EXPECT_EQ(f.GetInt("audio", "in1", 0), -1);
}

TEST_F(SettingsFileTest, PreferencesKeepThreeCopiesApart) {
  midi.inPorts = {"A", "B"};
  midi.outPorts = {"Out"};
  audio.devices = {FakeAudioWorld::Device("Card", 2, 2, true)};
  WriteAll(SettingsPath(), "[midi]\nindev=B\noutdev=Out\n");
  AppHost& h = MakeHost();
  h.InitHost();
  ASSERT_TRUE(h.TryChangeAudio());
  EXPECT_EQ(h.mSettingsActive, h.mSettings);

  auto rows = h.BeginPreferences();
  EXPECT_EQ(rows.input, 2); // "off", "A", "B"
  EXPECT_EQ(rows.output, 1);
  h.ChoosePreferencesPort(MidiDirection::kInput, "A");
  EXPECT_EQ(midi.openIn, "A"); // the port changes while the dialog is open
  h.CancelPreferences();
  EXPECT_EQ(h.mSettings.mMidiInDevice, "B");
  EXPECT_EQ(midi.openIn, "B");
  EXPECT_EQ(audio.createdForDriver.size(), 2u); // audio made again for the restored settings
  EXPECT_TRUE(h.StreamRunning());

  h.BeginPreferences();
  h.ChoosePreferencesPort(MidiDirection::kInput, "A");
  h.AcceptPreferences();
  EXPECT_EQ(h.mSettingsActive.mMidiInDevice, "A"); // another port restarted the stream
  ProfileFile f;
  f.Load(SettingsPath());
  EXPECT_EQ(f.Get("midi", "indev"), "A");

  // The dialog's lists ignore case; a name not in them becomes "off".
  h.mSettings.mMidiInDevice = "b";
  h.mSettings.mMidiOutDevice = "Gone";
  rows = h.BeginPreferences();
  EXPECT_EQ(rows.input, 2);
  EXPECT_EQ(rows.output, 0);
  f.Load(SettingsPath());
  EXPECT_EQ(f.Get("midi", "outdev"), "off");
}

} // namespace

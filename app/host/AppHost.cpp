#include "app/host/AppHost.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <strings.h>

#include "editor/LibraryCache.h"

namespace zorel {

namespace {

// Editors are constructed one at a time, whoever builds one.
std::mutex& EditorConstructionLock() {
  static std::mutex lock;
  return lock;
}

std::string ResolveRoot(const std::string& root) {
  return root.empty() ? LibraryCache::DefaultRoot() : root;
}

int FindIgnoringCase(const std::vector<std::string>& names, const std::string& name) {
  for (size_t i = 0; i < names.size(); ++i)
    if (strcasecmp(names[i].c_str(), name.c_str()) == 0) return static_cast<int>(i);
  return -1;
}

MidiApiChoice MidiApiFromEnvironment() {
  const char* v = std::getenv("ZOREL_MIDI_API");
  const std::string api = v ? v : "";
  if (api == "alsa") return MidiApiChoice::kAlsa;
  if (api == "jack") return MidiApiChoice::kJack;
  return MidiApiChoice::kAuto;
}

} // namespace

AppHost::AppHost(Options options)
    : mOptions(std::move(options)), mSettingsFile(ResolveRoot(mOptions.libraryRoot)) {
  if (!mOptions.midi) mOptions.midi = RtMidiFactory(MidiApiFromEnvironment());
  if (!mOptions.audio) mOptions.audio = RtAudioFactory();
  {
    std::lock_guard<std::mutex> lock(EditorConstructionLock());
    mEditor = std::make_unique<ZorelControl>(this, ResolveRoot(mOptions.libraryRoot));
  }
  mEditor->SetModalServices(mOptions.modal);
  if (mOptions.saveDrawScale) {
    mEditor->mSaveDrawScale = [this](float scale) { mSettingsFile.WriteDrawScale(scale); };
    mEditor->mLoadDrawScale = [this] { return mSettingsFile.ReadDrawScale(); };
  }
}

// Input first (nothing new is queued), then the stream (nothing is drained
// any more), then the ports, then the editor.
AppHost::~AppHost() {
  mExiting = true;
  mFallbackTimer.reset();
  mPortWatchTimer.reset();
  mEditor->mReopenPorts = nullptr;
  CloseAudio();
  CloseMidi();
  mEditor.reset();
}

void AppHost::InitHost() {
  mEditor->SetHost("standalone", mEditor->GetPluginVersion());
  LoadSettings();
  if (mOptions.openAudio) {
    CreateAudio();
    ListAudioDevices();
  }
  InitMidi();
  ListMidiPorts();
  const bool inOverride = !mOptions.midiInPort.empty();
  const bool outOverride = !mOptions.midiOutPort.empty();
  SelectMidiDevice(MidiDirection::kInput,
                   inOverride ? mOptions.midiInPort : mSettings.mMidiInDevice, !inOverride);
  SelectMidiDevice(MidiDirection::kOutput,
                   outOverride ? mOptions.midiOutPort : mSettings.mMidiOutDevice, !outOverride);
  // An unplugged pedal's ports were stored as "off" on an earlier start; a
  // pedal on other ports, or a first start, would leave the user to find
  // them in Preferences.
  if (mOptions.findPedalAtStart && !inOverride && !outOverride && mMidiIn && mMidiOut &&
      (mOpenInName.empty() || mOpenOutName.empty()))
    FindPedal(FindMode::kAtStart);
  mEditor->AnnounceParamReset(iplug::kReset);
  mFallbackTimer =
      iplug::Timer::Create([this](iplug::Timer&) { FallbackDrain(); }, mOptions.fallbackDrainMs);
  mPortWatchTimer = iplug::Timer::Create([this](iplug::Timer&) { WatchPorts(); }, kPortWatchMs);
  mEditor->mReopenPorts = [this](bool quietly) {
    if (!quietly) return ReopenPorts();
    if (mOpenInName.empty() || mOpenOutName.empty() ||
        !PortListed(MidiDirection::kInput, mOpenInName) ||
        !PortListed(MidiDirection::kOutput, mOpenOutName))
      return false;
    if (mTraffic.Active()) {
      const std::string note = "no answer: the MIDI ports are opened again";
      mTraffic.Record(TrafficDirection::kNote, reinterpret_cast<const uint8_t*>(note.data()),
                      note.size());
    }
    return RenewMidiClients();
  };
}

void AppHost::Tell(const std::string& text, const std::string& caption) {
  if (mOptions.modal != nullptr) {
    mOptions.modal->ShowMessageDialog(text, caption, MessageBoxType::kOK);
  } else {
    std::fprintf(stderr, "%s\n", text.c_str());
  }
}

// ---- settings.ini -------------------------------------------------------------

bool AppHost::LoadSettings() {
  return mSettingsFile.Load(mSettings);
}

void AppHost::SaveSettings() {
  if (!mSettingsFile.Save(mSettings))
    std::fprintf(stderr, "settings: %s could not be written\n", mSettingsFile.Path().c_str());
}

// ---- Preferences ------------------------------------------------------------

AppHost::PreferenceRows AppHost::BeginPreferences() {
  PreferenceRows rows;
  if (mMidiIn && mMidiOut) {
    // A port given for this run is what the dialog shows, not the stored
    // choice beside it: OK keeps it, Cancel leaves settings.ini alone.
    const bool inGiven = !mOptions.midiInPort.empty() && mOpenInName == mOptions.midiInPort;
    const bool outGiven = !mOptions.midiOutPort.empty() && mOpenOutName == mOptions.midiOutPort;
    if (inGiven) {
      rows.input = std::max(0, FindIgnoringCase(mMidiInNames, mOpenInName));
    } else {
      rows.input = FindIgnoringCase(mMidiInNames, mSettings.mMidiInDevice);
      if (rows.input < 0) {
        mSettings.mMidiInDevice = kMidiPortOff;
        SaveSettings();
        rows.input = 0;
      }
    }
    if (outGiven) {
      rows.output = std::max(0, FindIgnoringCase(mMidiOutNames, mOpenOutName));
    } else {
      rows.output = FindIgnoringCase(mMidiOutNames, mSettings.mMidiOutDevice);
      if (rows.output < 0) {
        mSettings.mMidiOutDevice = kMidiPortOff;
        SaveSettings();
        rows.output = 0;
      }
    }
    mSettingsStored = mSettings;
    if (inGiven) mSettings.mMidiInDevice = mOpenInName;
    if (outGiven) mSettings.mMidiOutDevice = mOpenOutName;
    mSettingsBackup = mSettings;
    return rows;
  }
  mSettingsStored = mSettingsBackup = mSettings;
  return rows;
}

void AppHost::ChoosePreferencesPort(MidiDirection direction, const std::string& name) {
  (direction == MidiDirection::kInput ? mSettings.mMidiInDevice : mSettings.mMidiOutDevice) = name;
  SelectMidiDevice(direction, name);
}

void AppHost::ApplyPreferences() {
  TryChangeAudio();
}

void AppHost::AcceptPreferences() {
  // The MIDI names are part of the comparison, so another port restarts the
  // stream too.
  if (!(mSettings == mSettingsActive)) TryChangeAudio();
  SaveSettings();
}

void AppHost::CancelPreferences() {
  const HostSettings chosen = mSettings;
  mSettings = mSettingsStored;
  if (chosen == mSettingsBackup) return;
  // The ports chosen while the dialog was open go back to the ones open
  // when it opened (a port given for this run stays in use).
  if (chosen.mMidiInDevice != mSettingsBackup.mMidiInDevice)
    SelectMidiDevice(MidiDirection::kInput, mSettingsBackup.mMidiInDevice);
  if (chosen.mMidiOutDevice != mSettingsBackup.mMidiOutDevice)
    SelectMidiDevice(MidiDirection::kOutput, mSettingsBackup.mMidiOutDevice);
  CloseAudio();
  CreateAudio();
  ListAudioDevices();
  TryChangeAudio();
}

// ---- Fallback drain -----------------------------------------------------------

void AppHost::FallbackDrain() {
  if (mExiting) return;
  // Measured in real time: after the user-interface thread was busy, the
  // timer's missed ticks come in a burst that says nothing about the stream.
  bool delivering = false;
  if (mStreamRunning) {
    const auto now = std::chrono::steady_clock::now();
    const uint64_t callbacks = CallbackCount();
    if (callbacks != mLastSeenCallbacks) {
      mLastSeenCallbacks = callbacks;
      mLastCallbackSeen = now;
    }
    delivering = now - mLastCallbackSeen < std::chrono::milliseconds(kStallMs);
  }
  if (delivering) {
    if (mFallbackActive) std::fprintf(stderr, "audio: the stream runs again\n");
    mFallbackActive = false;
    return;
  }
  if (!mFallbackActive && mStreamRunning)
    std::fprintf(stderr, "audio: the stream stopped calling back; MIDI is read without it\n");
  mFallbackActive = true;
  mEditor->ProcessQueuedMidiInput();
}

} // namespace zorel

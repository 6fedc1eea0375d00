#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/host/AudioBackend.h"
#include "app/host/HostSettings.h"
#include "app/host/MidiBackend.h"
#include "app/host/MidiWake.h"
#include "app/host/PedalProbe.h"
#include "app/host/SettingsFile.h"
#include "editor/ZorelControl.h"
#include "plugin/IModalServices.h"
#include "plugin/Timer.h"
#include "protocol/TrafficLog.h"

namespace zorel {

enum class MidiDirection { kInput, kOutput };

inline constexpr const char* kMsgCheckSoundcard =
    "Please check your soundcard settings in Preferences";

// The standalone host: owns the editor, the two MIDI ports, the audio
// stream and settings.ini.
//
// Threads. The user-interface thread (whoever runs the timers: the window's
// main loop, or zorelctl's loop) constructs the host, calls every public
// operation except the two callbacks, and runs the editor's ticks. The MIDI
// library's thread only runs OnMidiInput, which queues into the editor. The
// audio library's thread runs OnAudioBuffer, which drains those queues into
// ProcessSysEx every 64 frames. When no stream delivers buffers, the
// fallback timer drains them on the user-interface thread instead; both
// drains go through the editor's try-lock, so ProcessSysEx still runs on one
// thread at a time, in arrival order. Sends come from the user-interface and
// the audio thread and meet at one lock around the output port.
class AppHost : public iplug::IMidiOutput {
public:
  static constexpr int kSubBlockFrames = 64;
  static constexpr int kFallbackDrainMs = 10;
  // A running stream that has not called back for this long counts as gone.
  static constexpr int kStallMs = 250;

  struct Options {
    // Empty: RtMidi, on the API that $ZOREL_MIDI_API names ("alsa" or
    // "jack"), else the automatic choice.
    MidiFactory midi;
    AudioFactory audio;      // empty: RtAudio
    std::string libraryRoot; // empty: $ZOREL_HOME, else the XDG data folder
    // Receives the host's messages and is handed to the editor.
    IModalServices* modal = nullptr;
    // A window closing stores its draw scale in settings.ini; a tool without
    // a window must not overwrite what the window keeps there.
    bool saveDrawScale = true;
    // Non-empty: the port opened for this run instead of the stored choice,
    // which stays in settings.ini as it is.
    std::string midiInPort;
    std::string midiOutPort;
    // The fallback drain's period. The window runs it with its 20 ms tick,
    // so an idle window wakes no more often than the tick needs.
    uint32_t fallbackDrainMs = kFallbackDrainMs;
    // With no port given for this run, and settings.ini naming no port (or
    // ports that are not there) for either direction, InitHost looks for
    // the pedal on every port (FindPedal).
    bool findPedalAtStart = true;
    // A tool without a window opens no audio stream: the fallback drain
    // reads MIDI on its thread. (RtAudio's JACK back end closes a stream the
    // server dropped on a thread of its own, which can race the tool's own
    // close at exit; a stream that plays only silence is not worth that.)
    bool openAudio = true;
    ProbeOptions probe;
  };

  explicit AppHost(Options options);
  ~AppHost() override;
  AppHost(const AppHost&) = delete;
  AppHost& operator=(const AppHost&) = delete;

  ZorelControl& Editor() { return *mEditor; }

  // Everything before the audio stream starts: host name, settings file,
  // audio object and device list, MIDI objects, ports and the parameter
  // reset; then the fallback drain. TryChangeAudio follows.
  void InitHost();

  // ---- settings.ini
  bool LoadSettings();
  void SaveSettings();
  SettingsFile& Settings() { return mSettingsFile; }
  HostSettings mSettings;       // in effect now
  HostSettings mSettingsBackup; // what the Preferences dialog showed when it opened
  HostSettings mSettingsStored; // the stored choice then, kept by Cancel
  HostSettings mSettingsActive; // in effect when the stream last started

  // The Preferences dialog's logic; the window shows the lists and calls these.
  struct PreferenceRows {
    int input = 0; // rows of MidiInNames() / MidiOutNames() to select
    int output = 0;
  };
  // Finds the stored names in the lists (ignoring case); one that is not
  // there becomes "off" in settings.ini. Takes the backup.
  PreferenceRows BeginPreferences();
  // A list's selection changed: the port changes at once.
  void ChoosePreferencesPort(MidiDirection direction, const std::string& name);
  void ApplyPreferences();  // restarts the audio stream; saves nothing
  void AcceptPreferences(); // OK: restarts the stream when anything changed, then saves
  // Cancel: the backup comes back, with its ports and, when anything
  // differed, a new audio object and stream. Saves nothing.
  void CancelPreferences();

  // ---- MIDI
  bool InitMidi();
  void ListMidiPorts();
  // Opens the port of exactly `name` ("off": none). With `remember`, the
  // name is the stored choice and one that matches no port is stored as
  // "off"; without, it is a one-off choice that leaves settings.ini alone.
  // False when there is no MIDI object, no such port, or it would not open.
  bool SelectMidiDevice(MidiDirection direction, const std::string& name, bool remember = true);
  void OnMidiInput(const uint8_t* data, size_t size); // MIDI library thread
  bool SendMidiBytes(const uint8_t* data, size_t size) override;
  const std::vector<std::string>& MidiInNames() const { return mMidiInNames; }
  const std::vector<std::string>& MidiOutNames() const { return mMidiOutNames; }
  const std::string& MidiApiName() const { return mMidiApiName; }

  // Asks every MIDI port for the pedal (ProbeForPedal) with port objects of
  // its own: the ports in use stay as they are. Notes on skipped ports go to
  // the console. Blocks the calling thread for about two seconds at most.
  ProbeOutcome ProbePorts();
  enum class FindMode {
    kAtStart,  // says nothing when no pedal answers: it may just be off
    kOnDemand, // the user asked: the outcome either way
  };
  // ProbePorts; the pair that answered becomes the ports in use and the
  // stored choice (settings.ini is written), and the user is told which.
  bool FindPedal(FindMode mode);
  // The text the user was last told by FindPedal.
  const std::string& FindPedalReport() const { return mFindPedalReport; }

  // Every message that passes the ports, for the MIDI monitor; inactive
  // (and free) until someone starts it.
  TrafficLog& Traffic() { return mTraffic; }
  bool HasMidiIn() const { return mMidiIn != nullptr; }
  bool HasMidiOut() const { return mMidiOut != nullptr; }
  // Every second: a port in use that has left the port list is closed and
  // the editor told the pedal is gone; when a port of that name is listed
  // again (or one chosen while absent appears), it is opened and the
  // editor connects. Public for tests.
  void WatchPorts();
  // Closes and opens again, by name, the ports this run wants (RECONNECT,
  // and a link that stays silent); false when one could not be opened.
  bool ReopenPorts();
  // The same with new MIDI clients: what a link that stays silent gets.
  bool RenewMidiClients();
  static constexpr int kPortWatchMs = 1000;
  // The ports open now, "" for none.
  const std::string& OpenMidiInPort() const { return mOpenInName; }
  const std::string& OpenMidiOutPort() const { return mOpenOutName; }
  uint64_t MessagesReceived() const { return mReceived.load(std::memory_order_relaxed); }
  uint64_t MessagesSent() const { return mSent.load(std::memory_order_relaxed); }
  uint64_t BytesReceived() const { return mBytesReceived.load(std::memory_order_relaxed); }
  uint64_t BytesSent() const { return mBytesSent.load(std::memory_order_relaxed); }

  // ---- audio
  void CreateAudio();
  void ListAudioDevices();
  bool TryChangeAudio();
  bool InitAudio(int inputDevice, int outputDevice, int sampleRate, int bufferSize);
  void CloseAudio();
  // The stream's callback (audio library thread): `output` holds `frames`
  // samples for each output channel, channel after channel.
  void OnAudioBuffer(double* output, const double* input, unsigned frames);
  bool StreamRunning() const { return mStreamRunning; }
  const std::vector<std::string>& AudioDeviceNames() const { return mDeviceNames; }
  const std::vector<int>& OutputDevices() const { return mOutputDevices; }
  const std::vector<int>& InputDevices() const { return mInputDevices; }
  const std::string& AudioApiName() const { return mAudioApiName; }
  double StreamSampleRate() const { return mStreamSampleRate; }
  unsigned StreamBufferSize() const { return mStreamBufferSize; }
  uint64_t CallbackCount() const { return mCallbackCount.load(std::memory_order_acquire); }
  uint64_t SampleCounter() const { return mSampleCounter.load(std::memory_order_relaxed); }

  // Incoming MIDI is handled on arrival: the input callback wakes the
  // user-interface thread, which drains at once. WaitForMidi sleeps at most
  // `timeout` and drains when woken (zorelctl's loop); a main loop watches
  // MidiWakeFd() and calls DrainArrivedMidi() (the window).
  bool WaitForMidi(std::chrono::milliseconds timeout);
  void DrainArrivedMidi();
  int MidiWakeFd() const { return mMidiWake.Fd(); }

  // One step of the fallback: drains the input queues on the calling
  // (user-interface) thread unless a stream is delivering buffers. Run by
  // a timer every kFallbackDrainMs; public for tests.
  void FallbackDrain();
  bool FallbackActive() const { return mFallbackActive; }

private:
  void Tell(const std::string& text, const std::string& caption);
  void CloseMidi();
  // Takes the pair as its ports, with the input's handler.
  void UseMidiObjects(MidiObjects objects);
  void ClosePortOf(MidiDirection direction);
  bool PortListed(MidiDirection direction, const std::string& name);
  int FindDevice(const std::string& name, const std::vector<int>& candidates) const;

  Options mOptions;
  SettingsFile mSettingsFile;
  std::unique_ptr<ZorelControl> mEditor;

  // MIDI
  std::unique_ptr<IMidiInPort> mMidiIn;
  std::unique_ptr<IMidiOutPort> mMidiOut;
  std::mutex mOutMutex; // the output port: sends and port changes
  std::string mMidiApiName;
  std::vector<std::string> mMidiInNames;
  std::vector<std::string> mMidiOutNames;
  std::string mOpenInName;
  std::string mOpenOutName;
  // The ports this run wants, also while they are not there, and whether
  // the watch should open them when they appear.
  std::string mWantedInName;
  std::string mWantedOutName;
  bool mAwaitIn = false;
  bool mAwaitOut = false;
  std::unique_ptr<iplug::Timer> mPortWatchTimer;
  MidiObjects mMoreObjects; // only the two makers of more port objects
  std::string mFindPedalReport;
  TrafficLog mTraffic;
  MidiWake mMidiWake;
  std::atomic<bool> mExiting{false};
  std::atomic<uint64_t> mReceived{0};
  std::atomic<uint64_t> mSent{0};
  std::atomic<uint64_t> mBytesReceived{0};
  std::atomic<uint64_t> mBytesSent{0};

  // Audio
  std::unique_ptr<IAudioSystem> mAudio;
  std::string mAudioApiName;
  std::vector<std::string> mDeviceNames;
  std::vector<std::vector<unsigned>> mDeviceRates; // per device; empty = not known
  std::vector<unsigned> mDevicePreferredRate;
  std::vector<int> mInputDevices;
  std::vector<int> mOutputDevices;
  int mDefaultInput = -1;
  int mDefaultOutput = -1;
  double mStreamSampleRate = 44100.0;
  unsigned mStreamBufferSize = 512;
  bool mStreamRunning = false;
  std::atomic<uint64_t> mSampleCounter{0};
  uint64_t mSubBlockCounter = 0; // audio thread only
  std::atomic<uint64_t> mCallbackCount{0};
  std::atomic<bool> mStopRequested{false};
  std::atomic<bool> mStopDone{false};
  std::vector<double*> mInputPointers;
  std::vector<double*> mOutputPointers;

  // Fallback drain (user-interface thread)
  std::unique_ptr<iplug::Timer> mFallbackTimer;
  uint64_t mLastSeenCallbacks = 0;
  std::chrono::steady_clock::time_point mLastCallbackSeen;
  bool mFallbackActive = false;
};

} // namespace zorel

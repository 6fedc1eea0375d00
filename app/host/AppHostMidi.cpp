// The MIDI half of the host: the two library objects, the ports chosen by
// exact name, the input callback that only queues, and the serialised send.
#include <cstdio>

#include "app/host/AppHost.h"

namespace zorel {

namespace {

constexpr const char* kInClientName = "RtMidi Input Client";
constexpr const char* kOutClientName = "RtMidi Output Client";
constexpr const char* kInPortName = "RtMidi Input";
constexpr const char* kOutPortName = "RtMidi Output";
constexpr const char* kProbeClientName = "ZorelControl Probe";
constexpr const char* kFindPedalCaption = "Find Pedal";

} // namespace

bool AppHost::InitMidi() {
  MidiObjects objects = mOptions.midi(kInClientName, kOutClientName);
  // Why an API was passed over matters only when none could be opened.
  if (!objects.in || !objects.out) {
    for (const std::string& e : objects.errors) std::fprintf(stderr, "MIDI: %s\n", e.c_str());
    return false;
  }
  mMidiApiName = objects.apiName;
  mMoreObjects.moreInputs = std::move(objects.moreInputs);
  mMoreObjects.moreOutputs = std::move(objects.moreOutputs);
  UseMidiObjects(std::move(objects));
  return true;
}

void AppHost::UseMidiObjects(MidiObjects objects) {
  mMidiIn = std::move(objects.in);
  {
    std::lock_guard<std::mutex> lock(mOutMutex);
    mMidiOut = std::move(objects.out);
  }
  mMidiIn->SetHandler([this](const uint8_t* data, size_t size) { OnMidiInput(data, size); });
  // SysEx is what the pedal talks in; time code and clock would only crowd
  // the short-message queue.
  mMidiIn->IgnoreTypes(false, true, false);
}

// A JACK client whose process thread missed its wake-up after an xrun stays
// "Triggered" for good: the server never runs it again, so its port hears
// nothing however often it is opened. New clients do. The old ones go only
// once the new ones exist, so a failure keeps what there was.
bool AppHost::RenewMidiClients() {
  MidiObjects objects = mOptions.midi(kInClientName, kOutClientName);
  if (!objects.in || !objects.out) return false;
  CloseMidi();
  UseMidiObjects(std::move(objects));
  return ReopenPorts();
}

void AppHost::ListMidiPorts() {
  if (!mMidiIn || !mMidiOut) return;
  mMidiInNames.assign(1, kMidiPortOff);
  for (unsigned i = 0, n = mMidiIn->PortCount(); i < n; ++i)
    mMidiInNames.push_back(mMidiIn->PortName(i));
  mMidiOutNames.assign(1, kMidiPortOff);
  for (unsigned i = 0, n = mMidiOut->PortCount(); i < n; ++i)
    mMidiOutNames.push_back(mMidiOut->PortName(i));
}

bool AppHost::SelectMidiDevice(MidiDirection direction, const std::string& name, bool remember) {
  const bool input = direction == MidiDirection::kInput;
  IMidiPortList* ports = input ? static_cast<IMidiPortList*>(mMidiIn.get()) : mMidiOut.get();
  if (ports == nullptr) return false;

  // Ports are matched by exact name, in the library's order, looked up now
  // rather than from the last listing: ports come and go.
  unsigned index = 0;
  bool found = name == kMidiPortOff;
  std::string portName;
  if (!found) {
    for (unsigned i = 0, n = ports->PortCount(); i < n && !found; ++i) {
      if (ports->PortName(i) != name) continue;
      index = i + 1;
      portName = name;
      found = true;
    }
  }
  // The port this direction should have, even while it is not there: the
  // watch opens it when it appears (a pedal switched on after the editor).
  std::string& wanted = input ? mWantedInName : mWantedOutName;
  wanted = name == kMidiPortOff ? std::string() : name;
  (input ? mAwaitIn : mAwaitOut) = !found;
  if (!found) {
    if (remember) {
      // An unplugged pedal's port silently becomes "off"; the user picks it
      // again once it is back.
      (input ? mSettings.mMidiInDevice : mSettings.mMidiOutDevice) = kMidiPortOff;
      SaveSettings();
    } else {
      Tell(std::string("There is no MIDI ") + (input ? "input" : "output") + " port named \"" +
               name + "\".",
           "Error");
    }
  }

  std::string error;
  bool opened = true;
  if (input) {
    mMidiIn->ClosePort();
    mOpenInName.clear();
    if (index > 0 && (opened = mMidiIn->OpenPort(index - 1, kInPortName, error))) {
      mOpenInName = portName;
    }
  } else {
    // The audio thread sends under mOutMutex and must never wait long for
    // it, so the lock only marks the port closed and, at the end, open:
    // closing and opening (port registration with the MIDI system) happen
    // outside it. Sends in between find no port and return at once.
    {
      std::lock_guard<std::mutex> lock(mOutMutex);
      mOpenOutName.clear();
    }
    mMidiOut->ClosePort();
    if (index > 0 && (opened = mMidiOut->OpenPort(index - 1, kOutPortName, error))) {
      std::lock_guard<std::mutex> lock(mOutMutex);
      mOpenOutName = portName;
    }
  }
  if (!opened) {
    // Another program may hold the port: that direction stays without one.
    Tell(std::string("The MIDI ") + (input ? "input" : "output") + " port \"" + name +
             "\" could not be opened: " + error,
         "Error");
    return false;
  }
  if (index > 0 && mEditor) mEditor->PortsChanged();
  return found;
}

void AppHost::ClosePortOf(MidiDirection direction) {
  if (direction == MidiDirection::kInput) {
    if (mMidiIn) mMidiIn->ClosePort();
    mOpenInName.clear();
    return;
  }
  {
    std::lock_guard<std::mutex> lock(mOutMutex);
    mOpenOutName.clear();
  }
  if (mMidiOut) mMidiOut->ClosePort();
}

bool AppHost::ReopenPorts() {
  bool ok = true;
  for (MidiDirection d : {MidiDirection::kInput, MidiDirection::kOutput}) {
    const std::string& wanted = d == MidiDirection::kInput ? mWantedInName : mWantedOutName;
    if (wanted.empty()) continue;
    // A copy: SelectMidiDevice sets the wanted name itself.
    const std::string name = wanted;
    ok = SelectMidiDevice(d, name, false) && ok;
  }
  return ok;
}

bool AppHost::PortListed(MidiDirection direction, const std::string& name) {
  IMidiPortList* ports = direction == MidiDirection::kInput
                             ? static_cast<IMidiPortList*>(mMidiIn.get())
                             : mMidiOut.get();
  if (ports == nullptr) return false;
  for (unsigned i = 0, n = ports->PortCount(); i < n; ++i)
    if (ports->PortName(i) == name) return true;
  return false;
}

void AppHost::WatchPorts() {
  if (mExiting || !mMidiIn || !mMidiOut) return;
  std::string gone;
  bool back = false;
  for (MidiDirection d : {MidiDirection::kInput, MidiDirection::kOutput}) {
    const bool input = d == MidiDirection::kInput;
    const std::string wanted = input ? mWantedInName : mWantedOutName;
    if (wanted.empty()) continue;
    const bool open = !(input ? mOpenInName : mOpenOutName).empty();
    bool& await = input ? mAwaitIn : mAwaitOut;
    const bool listed = PortListed(d, wanted);
    if (open && !listed) {
      // The pedal was unplugged, switched off behind USB, or its client
      // left the MIDI system: the port goes, and comes back by its name.
      ClosePortOf(d);
      await = true;
      gone += std::string(gone.empty() ? "MIDI " : " and ") + (input ? "input" : "output") + " \"" +
              wanted + "\"";
    } else if (!open && await && listed) {
      await = false; // one try: a port that will not open says so once
      back = SelectMidiDevice(d, wanted, false) || back;
    }
  }
  if (!gone.empty()) mEditor->PedalGone("its " + gone + " disappeared");
  if (back && !mOpenInName.empty() && !mOpenOutName.empty()) mEditor->PedalPortsBack();
}

void AppHost::OnMidiInput(const uint8_t* data, size_t size) {
  if (size == 0 || data == nullptr || mExiting.load(std::memory_order_acquire)) return;
  mReceived.fetch_add(1, std::memory_order_relaxed);
  mBytesReceived.fetch_add(size, std::memory_order_relaxed);
  if (mTraffic.Active()) mTraffic.Record(TrafficDirection::kFromPedal, data, size);
  mEditor->QueueMidiInput(data, size);
  mMidiWake.Signal();
}

bool AppHost::WaitForMidi(std::chrono::milliseconds timeout) {
  if (!mMidiWake.Wait(timeout)) return false;
  if (!mExiting) mEditor->ProcessQueuedMidiInput();
  return true;
}

void AppHost::DrainArrivedMidi() {
  mMidiWake.Take();
  // Through the editor's try-lock, as the audio callback drains: whichever
  // gets there first handles the messages, one at a time, in arrival order.
  if (!mExiting) mEditor->ProcessQueuedMidiInput();
}

bool AppHost::SendMidiBytes(const uint8_t* data, size_t size) {
  std::lock_guard<std::mutex> lock(mOutMutex);
  if (!mMidiOut || mOpenOutName.empty()) return false;
  // Logged before it goes: an answer can arrive before Send returns, and
  // the monitor must show the question first.
  if (mTraffic.Active()) mTraffic.Record(TrafficDirection::kToPedal, data, size);
  if (!mMidiOut->Send(data, size)) return false;
  mSent.fetch_add(1, std::memory_order_relaxed);
  mBytesSent.fetch_add(size, std::memory_order_relaxed);
  return true;
}

ProbeOutcome AppHost::ProbePorts() {
  ProbeOutcome outcome;
  if (!mMidiIn || !mMidiOut) return outcome;
  MakeMidiIn makeInput = [this]() -> std::unique_ptr<IMidiInPort> {
    if (mMoreObjects.moreInputs) return mMoreObjects.moreInputs(kProbeClientName);
    return mOptions.midi(kProbeClientName, kProbeClientName).in;
  };
  MakeMidiOut makeOutput = [this]() -> std::unique_ptr<IMidiOutPort> {
    if (mMoreObjects.moreOutputs) return mMoreObjects.moreOutputs(kProbeClientName);
    return mOptions.midi(kProbeClientName, kProbeClientName).out;
  };
  ProbeOptions options = mOptions.probe;
  // Our own ports would only hear ourselves.
  for (const char* own : {kInClientName, kOutClientName, kProbeClientName})
    options.ownPortPrefixes.emplace_back(own);
  // The search's own identity requests and what comes back belong in the
  // monitor as much as the connection's.
  options.tap = [this](bool sent, const uint8_t* data, size_t size) {
    if (mTraffic.Active())
      mTraffic.Record(sent ? TrafficDirection::kToPedal : TrafficDirection::kFromPedal, data, size);
  };
  outcome = ProbeForPedal(makeInput, makeOutput, options);
  for (const std::string& note : outcome.notes) std::fprintf(stderr, "MIDI: %s\n", note.c_str());
  return outcome;
}

bool AppHost::FindPedal(FindMode mode) {
  const ProbeOutcome outcome = ProbePorts();
  if (!outcome.ports) {
    mFindPedalReport = "The pedal did not answer on any MIDI port (" +
                       std::to_string(outcome.outputsAsked) + " output" +
                       (outcome.outputsAsked == 1 ? "" : "s") + " asked, " +
                       std::to_string(outcome.inputsListened) + " input" +
                       (outcome.inputsListened == 1 ? "" : "s") +
                       " listened to). Please check that it is switched on and connected.";
    if (mode == FindMode::kOnDemand)
      Tell(mFindPedalReport, kFindPedalCaption);
    else
      std::fprintf(stderr, "MIDI: %s\n", mFindPedalReport.c_str());
    return false;
  }
  // The lists must hold the ports found, which may have come since the
  // last listing.
  ListMidiPorts();
  mSettings.mMidiInDevice = outcome.ports->input;
  mSettings.mMidiOutDevice = outcome.ports->output;
  const bool opened = SelectMidiDevice(MidiDirection::kInput, outcome.ports->input) &&
                      SelectMidiDevice(MidiDirection::kOutput, outcome.ports->output);
  if (!opened) return false; // SelectMidiDevice said why
  SaveSettings();
  // Saved is saved: Cancel in an open Preferences dialog keeps the pair.
  for (HostSettings* kept : {&mSettingsStored, &mSettingsBackup}) {
    kept->mMidiInDevice = outcome.ports->input;
    kept->mMidiOutDevice = outcome.ports->output;
  }
  mFindPedalReport = "The pedal answered on MIDI input \"" + outcome.ports->input +
                     "\" and output \"" + outcome.ports->output +
                     "\". These ports are now used and saved.";
  Tell(mFindPedalReport, kFindPedalCaption);
  return true;
}

void AppHost::CloseMidi() {
  if (mMidiIn) {
    mMidiIn->CancelHandler();
    mMidiIn->ClosePort();
  }
  {
    std::lock_guard<std::mutex> lock(mOutMutex);
    if (mMidiOut) mMidiOut->ClosePort();
    mMidiOut.reset();
    mOpenOutName.clear();
  }
  mMidiIn.reset();
  mOpenInName.clear();
}

} // namespace zorel

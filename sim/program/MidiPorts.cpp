#include "sim/program/MidiPorts.h"

#include <RtMidi.h>
#include <jack/jack.h>

#include <stdexcept>
#include <utility>

namespace zorel::sim {

namespace {

// The listed name of the port whose name contains both `client` and
// `port`, or a composed guess when the system lists none.
template <typename Midi>
std::string FindListedName(Midi& midi, const std::string& client, std::string_view port) {
  const unsigned count = midi.getPortCount();
  for (unsigned i = 0; i < count; ++i) {
    const std::string name = midi.getPortName(i);
    if (name.find(client) != std::string::npos && name.find(port) != std::string::npos) return name;
  }
  return client + ":" + std::string(port);
}

} // namespace

MidiPorts::MidiPorts(MidiApiChoice api, const std::string& clientName, MessageHandler onSysEx)
    : mOnSysEx(std::move(onSysEx)) {
  if (api == MidiApiChoice::Alsa || api == MidiApiChoice::Auto) {
    try {
      Open(RtMidi::LINUX_ALSA, clientName);
      return;
    } catch (const std::exception& e) {
      Close();
      if (api == MidiApiChoice::Alsa)
        throw std::runtime_error(std::string("cannot open ALSA sequencer ports: ") + e.what());
    }
  }
  try {
    Open(RtMidi::UNIX_JACK, clientName);
  } catch (const std::exception& e) {
    Close();
    throw std::runtime_error(std::string("cannot open JACK MIDI ports: ") + e.what());
  }
}

MidiPorts::~MidiPorts() {
  Close();
}

void MidiPorts::Open(int api, const std::string& clientName) {
  TakeErrors();
  const auto rtApi = static_cast<RtMidi::Api>(api);
  // Each RtMidi object is a client of its own; JACK wants distinct client
  // names, so the two directions carry their own suffix.
  mIn = std::make_unique<RtMidiIn>(rtApi, clientName);
  auto onError = [](RtMidiError::Type, const std::string& text, void* self) {
    static_cast<MidiPorts*>(self)->RecordError(text);
  };
  mIn->setErrorCallback(onError, this);
  mApi = api;
  mClientName = clientName;
  OpenOutput();
  mIn->ignoreTypes(false, true, true); // SysEx in; clock and active sensing not
  mIn->setCallback(
      [](double, std::vector<unsigned char>* message, void* self) {
        if (message && !message->empty() && message->front() == 0xF0)
          static_cast<MidiPorts*>(self)->mOnSysEx(
              std::vector<uint8_t>(message->begin(), message->end()));
      },
      this);
  mIn->openVirtualPort(std::string(kInputPortName));
  if (auto errors = TakeErrors(); !errors.empty()) throw std::runtime_error(errors.front());
  mApiName = RtMidi::getApiDisplayName(rtApi);
  // The pedal's input is listed among the ports others can send to, its
  // output among those they can listen to.
  mEditorOutputName = FindListedName(*mOut, clientName, kInputPortName);
  mEditorInputName = FindListedName(*mIn, clientName + " Out", kOutputPortName);
  if (auto errors = TakeErrors(); !errors.empty()) throw std::runtime_error(errors.front());
}

void MidiPorts::OpenOutput() {
  mOut = std::make_unique<RtMidiOut>(static_cast<RtMidi::Api>(mApi), mClientName + " Out");
  mOut->setErrorCallback([](RtMidiError::Type, const std::string& text,
                            void* self) { static_cast<MidiPorts*>(self)->RecordError(text); },
                         this);
  mOut->openVirtualPort(std::string(kOutputPortName));
}

bool MidiPorts::RenewOutput() {
  if (mApi != RtMidi::UNIX_JACK || !mOut) return false;
  // A client of its own reads and remakes the connections: RtMidi shows
  // neither its JACK client nor its port.
  jack_client_t* mender =
      jack_client_open((mClientName + " Mend").c_str(), JackNoStartServer, nullptr);
  if (mender == nullptr) return false;
  std::vector<std::string> listeners;
  if (jack_port_t* port = jack_port_by_name(mender, mEditorInputName.c_str())) {
    if (const char** names = jack_port_get_all_connections(mender, port)) {
      for (const char** n = names; *n != nullptr; ++n) listeners.emplace_back(*n);
      jack_free(names);
    }
  }
  mOut->closePort();
  mOut.reset();
  OpenOutput();
  for (const std::string& listener : listeners)
    jack_connect(mender, mEditorInputName.c_str(), listener.c_str());
  jack_client_close(mender);
  return true;
}

void MidiPorts::Close() {
  if (mIn) {
    mIn->cancelCallback();
    mIn->closePort();
  }
  if (mOut) mOut->closePort();
  mIn.reset();
  mOut.reset();
}

bool MidiPorts::Send(std::span<const uint8_t> message) {
  if (!mOut) return false;
  const size_t before = ErrorCount();
  mOut->sendMessage(message.data(), message.size());
  return ErrorCount() == before;
}

void MidiPorts::RecordError(const std::string& text) {
  std::lock_guard lock(mErrorsMutex);
  mErrors.push_back(text);
}

size_t MidiPorts::ErrorCount() {
  std::lock_guard lock(mErrorsMutex);
  return mErrors.size();
}

std::vector<std::string> MidiPorts::TakeErrors() {
  std::lock_guard lock(mErrorsMutex);
  return std::exchange(mErrors, {});
}

} // namespace zorel::sim

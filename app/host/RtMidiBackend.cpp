#include <RtMidi.h>

#include <cstdio>
#include <mutex>
#include <unistd.h>

#include "app/host/MidiBackend.h"

namespace zorel {

namespace {

// What RtMidi reported since the last look. RtMidi may report from its own
// thread, hence the lock; every report also goes to the console.
class ErrorLog {
public:
  static void Callback(RtMidiError::Type type, const std::string& text, void* self) {
    static_cast<ErrorLog*>(self)->Add(type, text);
  }
  void Add(RtMidiError::Type type, const std::string& text) {
    std::fprintf(stderr, "MIDI: %s\n", text.c_str());
    std::lock_guard<std::mutex> lock(mMutex);
    mEntries.push_back({type, text});
  }
  void Clear() {
    std::lock_guard<std::mutex> lock(mMutex);
    mEntries.clear();
  }
  // The first report worse than a warning (or any report when `warnings`).
  std::string FirstFailure(bool warnings) {
    std::lock_guard<std::mutex> lock(mMutex);
    for (const auto& [type, text] : mEntries) {
      const bool warning = type == RtMidiError::WARNING || type == RtMidiError::DEBUG_WARNING;
      if (!warning || warnings) return text;
    }
    return {};
  }

private:
  std::mutex mMutex;
  std::vector<std::pair<RtMidiError::Type, std::string>> mEntries;
};

// The port list and port of one RtMidi object.
template <typename Rt, typename Base> class RtPorts : public Base {
public:
  Rt& Midi() { return *mMidi; }
  ErrorLog& Log() { return mLog; }

  void Attach(std::unique_ptr<Rt> midi) {
    mMidi = std::move(midi);
    mMidi->setErrorCallback(&ErrorLog::Callback, &mLog);
  }
  unsigned PortCount() override { return mMidi->getPortCount(); }
  std::string PortName(unsigned index) override { return mMidi->getPortName(index); }
  bool OpenPort(unsigned index, const std::string& ownPortName, std::string& error) override {
    mLog.Clear();
    try {
      mMidi->openPort(index, ownPortName);
    } catch (const RtMidiError& e) {
      error = e.getMessage();
      return false;
    }
    error = mLog.FirstFailure(false);
    if (error.empty() && !mMidi->isPortOpen()) error = "the port did not open";
    if (!error.empty()) {
      mMidi->closePort();
      return false;
    }
    return true;
  }
  void ClosePort() override { mMidi->closePort(); }

protected:
  std::unique_ptr<Rt> mMidi;
  ErrorLog mLog;
};

class RtInPort final : public RtPorts<RtMidiIn, IMidiInPort> {
public:
  ~RtInPort() override {
    if (!mMidi) return;
    CancelHandler();
    mMidi->closePort();
  }
  void SetHandler(Handler handler) override {
    CancelHandler();
    mHandler = std::move(handler);
    mMidi->setCallback(
        [](double, std::vector<unsigned char>* message, void* self) {
          auto* port = static_cast<RtInPort*>(self);
          if (message != nullptr) port->mHandler(message->data(), message->size());
        },
        this);
    mHasHandler = true;
  }
  void CancelHandler() override {
    if (!mHasHandler) return;
    mMidi->cancelCallback();
    mHasHandler = false;
  }
  void IgnoreTypes(bool sysex, bool timing, bool activeSensing) override {
    mMidi->ignoreTypes(sysex, timing, activeSensing);
  }

private:
  Handler mHandler;
  bool mHasHandler = false;
};

class RtOutPort final : public RtPorts<RtMidiOut, IMidiOutPort> {
public:
  ~RtOutPort() override {
    if (mMidi) mMidi->closePort();
  }
  bool Send(const uint8_t* data, size_t size) override {
    mLog.Clear();
    try {
      mMidi->sendMessage(data, size);
    } catch (const RtMidiError&) {
      return false;
    }
    return mLog.FirstFailure(false).empty();
  }
};

// Both objects on one API. A JACK client that finds no server only warns,
// so the first port listing (which connects) must pass without a report.
MidiObjects Open(RtMidi::Api api, const std::string& inClient, const std::string& outClient) {
  MidiObjects objects;
  const std::string apiName = RtMidi::getApiDisplayName(api);
  auto in = std::make_unique<RtInPort>();
  auto out = std::make_unique<RtOutPort>();
  try {
    in->Attach(std::make_unique<RtMidiIn>(api, inClient));
    in->Log().Clear();
    in->PortCount();
    if (std::string e = in->Log().FirstFailure(true); !e.empty()) {
      objects.errors.push_back(apiName + " input: " + e);
      return objects;
    }
    out->Attach(std::make_unique<RtMidiOut>(api, outClient));
    out->Log().Clear();
    out->PortCount();
    if (std::string e = out->Log().FirstFailure(true); !e.empty()) {
      objects.errors.push_back(apiName + " output: " + e);
      return objects;
    }
  } catch (const RtMidiError& e) {
    objects.errors.push_back(apiName + ": " + e.getMessage());
    return objects;
  }
  objects.in = std::move(in);
  objects.out = std::move(out);
  objects.apiName = apiName;
  objects.moreInputs = [api](const std::string& client) -> std::unique_ptr<IMidiInPort> {
    auto port = std::make_unique<RtInPort>();
    try {
      port->Attach(std::make_unique<RtMidiIn>(api, client));
    } catch (const RtMidiError&) {
      return nullptr;
    }
    return port;
  };
  objects.moreOutputs = [api](const std::string& client) -> std::unique_ptr<IMidiOutPort> {
    auto port = std::make_unique<RtOutPort>();
    try {
      port->Attach(std::make_unique<RtMidiOut>(api, client));
    } catch (const RtMidiError&) {
      return nullptr;
    }
    return port;
  };
  return objects;
}

bool Compiled(RtMidi::Api api) {
  std::vector<RtMidi::Api> apis;
  RtMidi::getCompiledApi(apis);
  for (RtMidi::Api a : apis)
    if (a == api) return true;
  return false;
}

} // namespace

MidiFactory RtMidiFactory(MidiApiChoice choice) {
  return [choice](const std::string& inClient, const std::string& outClient) {
    std::vector<RtMidi::Api> order;
    if (choice != MidiApiChoice::kJack) order.push_back(RtMidi::LINUX_ALSA);
    if (choice != MidiApiChoice::kAlsa) order.push_back(RtMidi::UNIX_JACK);
    MidiObjects result;
    for (RtMidi::Api api : order) {
      // Without the sequencer device ALSA cannot work; trying would only
      // print the library's complaint on every start.
      if (api == RtMidi::LINUX_ALSA && choice == MidiApiChoice::kAuto &&
          ::access("/dev/snd/seq", R_OK | W_OK) != 0) {
        result.errors.push_back("ALSA: no sequencer (/dev/snd/seq)");
        continue;
      }
      if (!Compiled(api)) {
        result.errors.push_back(RtMidi::getApiDisplayName(api) + ": not built into RtMidi");
        continue;
      }
      MidiObjects objects = Open(api, inClient, outClient);
      result.errors.insert(result.errors.end(), objects.errors.begin(), objects.errors.end());
      if (objects.in && objects.out) {
        objects.errors = std::move(result.errors);
        return objects;
      }
    }
    return result;
  };
}

} // namespace zorel

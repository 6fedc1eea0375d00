// A JACK MIDI link to a virtual pedal started with --api jack --name PEDAL,
// for the programs that talk to it directly (the end-to-end client, the
// status benchmark's minimal client): every message it sends, and the ones
// it receives in order, waited for with a time-out.
#pragma once

#include <RtMidi.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zorel::e2e {

using Bytes = std::vector<uint8_t>;

class Link {
public:
  // `client`: the JACK client name of this end; the output's is client + " out".
  Link(const std::string& pedal, const std::string& client) : mPedal(pedal), mClient(client) {
    Open();
  }

  void Send(const Bytes& m) { mOut->sendMessage(m.data(), m.size()); }

  // The next message, or nullopt after `seconds` without one.
  std::optional<Bytes> Next(double seconds = 5.0) {
    std::unique_lock lock(mMutex);
    if (!mArrived.wait_for(lock, std::chrono::duration<double>(seconds),
                           [this] { return !mReceived.empty(); }))
      return std::nullopt;
    Bytes m = std::move(mReceived.front());
    mReceived.pop_front();
    return m;
  }

  // New JACK clients for both ends: a client the server stopped running
  // after an xrun ("not finished, state = Triggered") never hears again.
  void Renew() {
    mIn.reset();
    mOut.reset();
    Open();
  }

private:
  void Open() {
    mIn = std::make_unique<RtMidiIn>(RtMidi::UNIX_JACK, mClient);
    mOut = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, mClient + " out");
    mIn->ignoreTypes(false, true, true);
    mIn->setCallback(
        [](double, std::vector<unsigned char>* m, void* self) {
          auto* link = static_cast<Link*>(self);
          std::lock_guard lock(link->mMutex);
          link->mReceived.emplace_back(m->begin(), m->end());
          link->mArrived.notify_all();
        },
        this);
    mIn->openPort(Find(*mIn, mPedal + " Out:MIDI Out"), "in");
    mOut->openPort(Find(*mOut, mPedal + ":MIDI In"), "out");
  }

  template <typename Midi> static unsigned Find(Midi& midi, const std::string& name) {
    for (unsigned i = 0; i < midi.getPortCount(); ++i)
      if (midi.getPortName(i) == name) return i;
    throw std::runtime_error("no port " + name);
  }

  std::string mPedal;
  std::string mClient;
  std::unique_ptr<RtMidiIn> mIn;
  std::unique_ptr<RtMidiOut> mOut;
  std::mutex mMutex;
  std::condition_variable mArrived;
  std::deque<Bytes> mReceived;
};

} // namespace zorel::e2e

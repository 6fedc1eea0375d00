// The least a program can do to learn what `zorelctl status` learns from a
// pedal whose presets are all cached: the same requests in the same order
// (identity, checksum list, global settings, bulk mode off, the current
// preset, the editor closing), each sent the moment the answer to the one
// before arrives. bench_status.sh times it beside zorelctl.
//
//   status_client PEDAL-NAME    exit 0 when every answer came
#include <RtMidi.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

class Link {
public:
  explicit Link(const std::string& pedal)
      : mIn(RtMidi::UNIX_JACK, "status client"), mOut(RtMidi::UNIX_JACK, "status client out") {
    mIn.ignoreTypes(false, true, true);
    mIn.setCallback(
        [](double, std::vector<unsigned char>* m, void* self) {
          auto* link = static_cast<Link*>(self);
          std::lock_guard lock(link->mMutex);
          link->mReceived.emplace_back(m->begin(), m->end());
          link->mArrived.notify_all();
        },
        this);
    mIn.openPort(Find(mIn, pedal + " Out:MIDI Out"), "in");
    mOut.openPort(Find(mOut, pedal + ":MIDI In"), "out");
  }
  void Send(const Bytes& m) { mOut.sendMessage(m.data(), m.size()); }
  std::optional<Bytes> Next(double seconds = 5.0) {
    std::unique_lock lock(mMutex);
    if (!mArrived.wait_for(lock, std::chrono::duration<double>(seconds),
                           [this] { return !mReceived.empty(); }))
      return std::nullopt;
    Bytes m = std::move(mReceived.front());
    mReceived.pop_front();
    return m;
  }

private:
  template <typename Midi> static unsigned Find(Midi& midi, const std::string& name) {
    for (unsigned i = 0; i < midi.getPortCount(); ++i)
      if (midi.getPortName(i) == name) return i;
    throw std::runtime_error("no port " + name);
  }
  RtMidiIn mIn;
  RtMidiOut mOut;
  std::mutex mMutex;
  std::condition_variable mArrived;
  std::deque<Bytes> mReceived;
};

// Sends a request and returns the first 267-byte block that answers it.
std::optional<Bytes> Ask(Link& link, const Bytes& request) {
  link.Send(request);
  while (auto m = link.Next())
    if (m->size() == 267) return m;
  return std::nullopt;
}

Bytes Request(uint8_t command, std::optional<uint8_t> argument) {
  Bytes m = {0xF0, 0x00, 0x51, 0x21, 0x05, command, 0x0B};
  if (argument) m.push_back(*argument);
  m.push_back(0xF7);
  return m;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s PEDAL-NAME\n", argv[0]);
    return 2;
  }
  try {
    Link link(argv[1]);
    const auto identity = Ask(link, Request(0x55, 0x0F));
    const auto checksums = identity ? Ask(link, Request(0x55, 0x03)) : std::nullopt;
    const auto settings = checksums ? Ask(link, Request(0x55, 0x00)) : std::nullopt;
    if (!settings) {
      std::fprintf(stderr, "status_client: the pedal did not answer\n");
      return 1;
    }
    link.Send(Request(0x5B, std::nullopt)); // bulk mode off
    const auto preset = Ask(link, Request(0x40, (*settings)[8]));
    link.Send(Request(0x5F, std::nullopt)); // the editor closes
    if (!preset) {
      std::fprintf(stderr, "status_client: no current preset\n");
      return 1;
    }
    std::printf("identity, checksums, settings and preset %d read\n", (*preset)[7]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "status_client: %s\n", e.what());
    return 1;
  }
  return 0;
}

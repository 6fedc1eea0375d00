// The editor's end of the end-to-end test: talks to a running
// zorel-virtual-pedal through RtMidi's JACK API, as the editor does.
//
//   e2e_pedal_client NAME fresh   identity, preset dump, IR dump, then an
//                                 edit stored into program 9
//   e2e_pedal_client NAME stored  program 9 still holds that edit (a new
//                                 run of the pedal on the same state file)

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/JackMidiLink.h"

#include "protocol/codec/Packing.h"
#include "sim/FactoryContent.h"

namespace {

using zorel::e2e::Bytes;
using zorel::e2e::Link;

int gFailures = 0;

void Check(bool ok, const char* what) {
  std::printf("%s: %s\n", ok ? "ok  " : "FAIL", what);
  if (!ok) ++gFailures;
}

bool BlockSumOk(const Bytes& m) {
  if (m.size() != 267) return false;
  uint32_t s = 0;
  for (size_t i = 8; i < 264; ++i) s += m[i];
  return m[264] == ((s >> 7) & 0x7F) && m[265] == (s & 0x7F) && m[266] == 0xF7;
}

Bytes Payload(const Bytes& dump) {
  return Bytes(dump.begin() + 8, dump.begin() + 264);
}

// A JACK server on a loaded machine may lose a period of MIDI when a client
// misses its cycle, or stop running a client altogether; that is the
// transport, not the pedal, so a request whose answer did not arrive whole
// is asked again on new clients (and said so).
constexpr int kAttempts = 3;

// Sends `request` and collects messages until `done` says the answer is
// complete; nullopt when it never is.
template <typename Done>
std::optional<std::vector<Bytes>> Ask(Link& link, const Bytes& request, Done done) {
  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    if (attempt > 1) {
      std::printf("note: asking again on new JACK clients (attempt %d)\n", attempt);
      link.Renew();
      while (link.Next(0.3)) {
      }
    }
    link.Send(request);
    std::vector<Bytes> answer;
    while (auto m = link.Next(2.0)) {
      answer.push_back(std::move(*m));
      if (done(answer)) return answer;
    }
  }
  return std::nullopt;
}

std::optional<Bytes> AskOne(Link& link, const Bytes& request) {
  auto answer = Ask(link, request, [](const std::vector<Bytes>&) { return true; });
  if (!answer) return std::nullopt;
  return answer->front();
}

void Fresh(Link& link) {
  using namespace zorel::sim;
  const auto id = AskOne(link, {0xF0, 0x00, 0x51, 0x21, 0x05, 0x55, 0x0B, 0x0F, 0xF7});
  Check(id && id->size() == 267 && (*id)[5] == 0x52 && (*id)[7] == 0x0F, "identity block arrives");
  if (id && id->size() == 267) {
    Check(BlockSumOk(*id), "identity checksum");
    Check((*id)[6] == 11, "identity reports version 1.1");
    Check(std::string(id->begin() + 232, id->begin() + 264) == kDefaultSerial, "identity serial");
  }

  const auto dump = AskOne(link, {0xF0, 0x00, 0x51, 0x21, 0x05, 0x40, 0x0B, 0x05, 0xF7});
  Check(dump && dump->size() == 267 && (*dump)[5] == 0x41 && (*dump)[7] == 5, "dump of slot 5");
  if (dump && dump->size() == 267) {
    Check(BlockSumOk(*dump), "dump checksum");
    const auto expected = FactoryPresets()[5];
    Check(Payload(*dump) == Bytes(expected.begin(), expected.end()),
          "dump holds factory program 5");
  }

  // The eleven chunks of user IR 0; an answer with a chunk missing ends at
  // its last chunk too short and is asked again.
  const auto chunks =
      Ask(link, {0xF0, 0x00, 0x51, 0x21, 0x05, 0x69, 0x0B, 0x00, 0x00, 0xF7},
          [](const std::vector<Bytes>& got) {
            return got.back().size() > 5 && got.back()[5] == 0x66 && got.size() == 11;
          });
  Check(chunks.has_value(), "IR dump of 11 chunks");
  if (chunks) {
    Bytes packed;
    for (size_t i = 0; i < chunks->size(); ++i) {
      const Bytes& c = (*chunks)[i];
      const size_t from = i == 0 ? 12 : 7;
      const size_t tail = i + 1 == chunks->size() ? 3 : 1;
      packed.insert(packed.end(), c.begin() + static_cast<ptrdiff_t>(from),
                    c.end() - static_cast<ptrdiff_t>(tail));
    }
    const auto ir = FactoryUserIRs()[0];
    Check(zorel::Unpack7(packed) == Bytes(ir.begin(), ir.end()), "IR dump unpacks to user IR 0");
  }

  // Parameter 16 (device 20) to 70, then store into program 9.
  link.Send({0xF0, 0x00, 0x51, 0x21, 0x05, 0x50, 0x0B, 0x14, 0x46, 0xF7});
  const auto stored = AskOne(link, {0xF0, 0x00, 0x51, 0x21, 0x05, 0x50, 0x0B, 0x12, 0x09, 0xF7});
  Check(stored && stored->size() == 267 && (*stored)[7] == 9 && (*stored)[58] == 70,
        "store answers with program 9 holding the edit");
}

void Stored(Link& link) {
  const auto dump = AskOne(link, {0xF0, 0x00, 0x51, 0x21, 0x05, 0x40, 0x0B, 0x09, 0xF7});
  Check(dump && dump->size() == 267 && (*dump)[58] == 70 && BlockSumOk(*dump),
        "program 9 kept its edit across runs");
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s PEDAL-NAME fresh|stored\n", argv[0]);
    return 2;
  }
  try {
    Link link(argv[1], "e2e editor");
    if (std::string(argv[2]) == "fresh")
      Fresh(link);
    else
      Stored(link);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "e2e_pedal_client: %s\n", e.what());
    return 1;
  }
  return gFailures == 0 ? 0 : 1;
}

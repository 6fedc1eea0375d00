// The least a program can do to learn what `zorelctl status` learns from a
// pedal whose presets are all cached: the same requests in the same order
// (identity, checksum list, global settings, bulk mode off, the current
// preset, the editor closing), each sent the moment the answer to the one
// before arrives. bench_status.sh times it beside zorelctl. With --sync it
// first reads all 128 presets, as a status with an empty cache does (bulk
// mode on, then each preset as soon as the one before it came).
//
//   status_client [--sync] PEDAL-NAME    exit 0 when every answer came
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/JackMidiLink.h"

namespace {

using zorel::e2e::Bytes;
using zorel::e2e::Link;

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
  const bool sync = argc == 3 && std::string(argv[1]) == "--sync";
  if (argc != (sync ? 3 : 2)) {
    std::fprintf(stderr, "usage: %s [--sync] PEDAL-NAME\n", argv[0]);
    return 2;
  }
  try {
    Link link(argv[argc - 1], "status client");
    const auto identity = Ask(link, Request(0x55, 0x0F));
    const auto checksums = identity ? Ask(link, Request(0x55, 0x03)) : std::nullopt;
    if (checksums && sync) {
      link.Send(Request(0x5A, std::nullopt)); // bulk mode on
      for (int slot = 0; slot < 128; ++slot) {
        if (!Ask(link, Request(0x40, static_cast<uint8_t>(slot)))) {
          std::fprintf(stderr, "status_client: preset %d did not come\n", slot);
          return 1;
        }
      }
    }
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

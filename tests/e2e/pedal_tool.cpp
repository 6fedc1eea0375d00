// Helpers of the zorelctl end-to-end test:
//
//   e2e_pedal_tool compare A.state B.state|factory
//       exit 0 when the two pedals hold the same programs and the same user
//       IRs wherever a program uses one (what a backup carries); the
//       differences are listed otherwise
//   e2e_pedal_tool wav FILE
//       writes a short mono 16-bit WAV file to import as a user IR

#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "sim/FactoryContent.h"
#include "sim/StateFile.h"

using namespace zorel;
using namespace zorel::sim;

namespace {

bool Load(const std::string& path, PedalState& state) {
  if (path == "factory") {
    state = MakeFactoryState();
    return true;
  }
  std::string error;
  bool missing = false;
  auto loaded = LoadStateFile(path, error, missing);
  if (!loaded) {
    std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
    return false;
  }
  state = std::move(*loaded);
  return true;
}

int Compare(const std::string& a, const std::string& b) {
  PedalState x, y;
  if (!Load(a, x) || !Load(b, y)) return 2;
  int differences = 0;
  std::set<int> usedIRs;
  for (size_t slot = 0; slot < x.presets.size(); ++slot) {
    for (const PedalState* s : {&x, &y}) {
      const auto& payload = s->presets[slot];
      if (PayloadUserIR7On(payload)) usedIRs.insert(PayloadUserIR7Number(payload));
      if (PayloadUserIR8On(payload)) usedIRs.insert(PayloadUserIR8Number(payload));
    }
    if (x.presets[slot] != y.presets[slot]) {
      std::printf("program %zu differs\n", slot);
      ++differences;
    }
  }
  for (int n : usedIRs) {
    if (n < 0 || n >= kUserIRSlotCount) continue;
    if (x.userIRs[static_cast<size_t>(n)] != y.userIRs[static_cast<size_t>(n)]) {
      std::printf("user IR %d differs\n", n);
      ++differences;
    }
  }
  std::printf("%d difference(s); %zu user IR(s) in use\n", differences, usedIRs.size());
  return differences == 0 ? 0 : 1;
}

void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

int WriteWav(const std::string& path) {
  const uint32_t rate = 44100, frames = 3000;
  std::vector<uint8_t> b;
  b.insert(b.end(), {'R', 'I', 'F', 'F'});
  Put32(b, 36 + frames * 2);
  b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  Put32(b, 16);
  Put16(b, 1); // PCM
  Put16(b, 1); // mono
  Put32(b, rate);
  Put32(b, rate * 2);
  Put16(b, 2);
  Put16(b, 16);
  b.insert(b.end(), {'d', 'a', 't', 'a'});
  Put32(b, frames * 2);
  for (uint32_t i = 0; i < frames; ++i) {
    const double v = 20000.0 * std::exp(-static_cast<double>(i) / 300.0) * std::cos(i * 0.37);
    Put16(b, static_cast<uint16_t>(static_cast<int16_t>(v)));
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 2;
  const bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
  return std::fclose(f) == 0 && ok ? 0 : 2;
}

} // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "compare") == 0) return Compare(argv[2], argv[3]);
  if (argc == 3 && std::strcmp(argv[1], "wav") == 0) return WriteWav(argv[2]);
  std::fprintf(stderr, "usage: e2e_pedal_tool compare A B|factory | wav FILE\n");
  return 2;
}

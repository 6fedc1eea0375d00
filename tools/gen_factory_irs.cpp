// Writes the eight factory cabinet IRs as WAV files into the folder given
// as the only argument. Each response is a unit impulse shaped by a chain of
// filters that gives the cabinet its character (low resonance, mid scoop or
// push, presence, speaker roll-off), with a few early reflections and a
// short faded tail. Deterministic: the same bytes on every build.
//
//   01-Movrant.wav          PCM mono 44100 Hz 16-bit, 1000 samples, with a
//                           32-byte LIST chunk after the data chunk
//   02-Lidtop.wav .. 08-*   PCM mono 48000 Hz 24-bit, 1000 samples

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kSamples = 1000;

// One RBJ biquad section, run over a whole signal in place.
struct Biquad {
  double b0, b1, b2, a1, a2;

  void Run(std::vector<double>& x) const {
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (double& v : x) {
      const double y = b0 * v + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
      x2 = x1;
      x1 = v;
      y2 = y1;
      y1 = y;
      v = y;
    }
  }
};

Biquad Normalised(double b0, double b1, double b2, double a0, double a1, double a2) {
  return {b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0};
}

Biquad HighPass(double rate, double f, double q) {
  const double w = 2 * kPi * f / rate, c = std::cos(w), alpha = std::sin(w) / (2 * q);
  return Normalised((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

Biquad LowPass(double rate, double f, double q) {
  const double w = 2 * kPi * f / rate, c = std::cos(w), alpha = std::sin(w) / (2 * q);
  return Normalised((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

Biquad Peak(double rate, double f, double q, double gainDb) {
  const double a = std::pow(10.0, gainDb / 40.0);
  const double w = 2 * kPi * f / rate, c = std::cos(w), alpha = std::sin(w) / (2 * q);
  return Normalised(1 + alpha * a, -2 * c, 1 - alpha * a, 1 + alpha / a, -2 * c, 1 - alpha / a);
}

struct Band {
  double f, q, gainDb;
};

struct Cabinet {
  const char* fileName;
  const char* name;
  int rate;
  int bits;
  double highPass, highPassQ; // low-end resonance of the enclosure
  std::vector<Band> bands;    // body, scoop, presence
  double lowPass;             // speaker roll-off, 4th order
  double reflectionMs;        // first reflection off the baffle edge
  double reflectionGain;
  double tailMs; // decay time constant of the diffuse tail
};

std::vector<Cabinet> Cabinets() {
  return {
      {"01-Movrant.wav",
       "Movrant",
       44100,
       16,
       45,
       0.9,
       {{90, 1.0, 4}, {420, 0.8, -3}, {2500, 1.2, 3}},
       6000,
       0.45,
       0.30,
       2.5},
      {"02-Lidtop.wav",
       "Lidtop",
       48000,
       24,
       50,
       1.1,
       {{100, 1.2, 5}, {600, 0.9, -2}, {1600, 1.5, 2}},
       3500,
       0.80,
       0.35,
       3.0},
      {"03-QS 8x10.wav",
       "QS 8x10",
       48000,
       24,
       55,
       0.8,
       {{120, 0.9, 3}, {700, 0.7, -4}, {1800, 1.1, 2}},
       4500,
       1.10,
       0.40,
       3.5},
      {"04-Coast 2x15.wav",
       "Coast 2x15",
       48000,
       24,
       35,
       1.0,
       {{70, 1.0, 5}, {350, 0.8, -2}, {1200, 1.4, 1}},
       2800,
       0.95,
       0.30,
       4.0},
      {"05-Stage 2x15.wav",
       "Stage 2x15",
       48000,
       24,
       40,
       0.9,
       {{80, 1.1, 3}, {500, 0.9, -1}, {1200, 1.0, 2}},
       3200,
       0.70,
       0.25,
       3.2},
      {"06-Bolt 4x10.wav",
       "Bolt 4x10",
       48000,
       24,
       60,
       0.8,
       {{150, 1.0, 2}, {800, 0.8, -2}, {3000, 1.3, 4}},
       7000,
       0.60,
       0.35,
       2.2},
      {"07-Tone 12L.wav",
       "Tone 12L",
       48000,
       24,
       80,
       1.0,
       {{200, 1.0, 2}, {500, 0.9, -2}, {2200, 1.2, 3}},
       5000,
       0.50,
       0.28,
       2.0},
      {"08-Isle V30.wav",
       "Isle V30",
       48000,
       24,
       90,
       1.2,
       {{120, 1.1, 3}, {800, 0.9, -3}, {2500, 1.4, 5}, {4200, 2.5, -6}},
       5500,
       0.40,
       0.32,
       1.8},
  };
}

// A fixed-seed generator for the diffuse tail, so builds are reproducible.
struct Lcg {
  uint32_t state;
  double Next() {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) / 8388608.0 - 1.0;
  }
};

std::vector<double> Response(const Cabinet& cab, uint32_t seed) {
  const double rate = cab.rate;
  std::vector<double> x(kSamples, 0.0);
  x[0] = 1.0;
  const auto reflection = static_cast<size_t>(cab.reflectionMs * rate / 1000.0);
  if (reflection < x.size()) x[reflection] += cab.reflectionGain;
  if (2 * reflection < x.size()) x[2 * reflection] -= cab.reflectionGain * 0.4;
  Lcg noise{seed};
  const double tau = cab.tailMs * rate / 1000.0;
  for (size_t n = 1; n < x.size(); ++n) x[n] += 0.08 * noise.Next() * std::exp(-double(n) / tau);

  HighPass(rate, cab.highPass, cab.highPassQ).Run(x);
  for (const Band& b : cab.bands) Peak(rate, b.f, b.q, b.gainDb).Run(x);
  LowPass(rate, cab.lowPass, 0.54).Run(x);
  LowPass(rate, cab.lowPass * 1.15, 1.31).Run(x);

  // Fade the last fifth so the cut at 1000 samples does not click.
  const size_t fade = x.size() / 5;
  for (size_t k = 0; k < fade; ++k) {
    const double t = double(k + 1) / double(fade);
    x[x.size() - fade + k] *= 0.5 * (1.0 + std::cos(kPi * t));
  }
  double peak = 0.0;
  for (double v : x) peak = std::max(peak, std::fabs(v));
  for (double& v : x) v *= 0.9 / peak;
  return x;
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void PutId(std::vector<uint8_t>& out, const char* id) {
  out.insert(out.end(), id, id + 4);
}

std::vector<uint8_t> Wav(const Cabinet& cab, const std::vector<double>& x) {
  const uint32_t bytesPerSample = cab.bits / 8;
  const uint32_t dataSize = uint32_t(x.size()) * bytesPerSample;
  const bool withList = cab.bits == 16;
  // LIST/INFO/INAM with a 20-byte name field: 32 bytes of chunk content.
  const uint32_t listSize = 32;
  std::vector<uint8_t> out;
  PutId(out, "RIFF");
  Put32(out, 4 + (8 + 16) + (8 + dataSize) + (withList ? 8 + listSize : 0));
  PutId(out, "WAVE");
  PutId(out, "fmt ");
  Put32(out, 16);
  Put16(out, 1);
  Put16(out, 1);
  Put32(out, uint32_t(cab.rate));
  Put32(out, uint32_t(cab.rate) * bytesPerSample);
  Put16(out, uint16_t(bytesPerSample));
  Put16(out, uint16_t(cab.bits));
  PutId(out, "data");
  Put32(out, dataSize);
  const double scale = cab.bits == 16 ? 32767.0 : 8388607.0;
  for (double v : x) {
    const auto s = static_cast<int32_t>(std::lround(std::clamp(v, -1.0, 1.0) * scale));
    const auto u = static_cast<uint32_t>(s);
    out.push_back(uint8_t(u));
    out.push_back(uint8_t(u >> 8));
    if (cab.bits == 24) out.push_back(uint8_t(u >> 16));
  }
  if (withList) {
    PutId(out, "LIST");
    Put32(out, listSize);
    PutId(out, "INFO");
    PutId(out, "INAM");
    Put32(out, 20);
    char name[20] = {};
    std::strncpy(name, cab.name, sizeof name - 1);
    out.insert(out.end(), name, name + sizeof name);
  }
  return out;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  uint32_t seed = 0x5A17u;
  for (const Cabinet& cab : Cabinets()) {
    const std::vector<uint8_t> bytes = Wav(cab, Response(cab, seed++));
    const std::string path = folder + "/" + cab.fileName;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() ||
        std::fclose(f) != 0) {
      std::fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
      return 1;
    }
  }
  return 0;
}

// WAV import cost: decoding a 48 kHz file and resampling it to the IR rate,
// from memory and from a file on disk. Slot file writes: a bulk read writes
// 128 preset slots, each replaced whole through a temporary, against the
// plain write in place it replaced.

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <unistd.h>
#include <vector>

#include "library/ByteReader.h"
#include "library/FileWriter.h"
#include "library/LibraryPaths.h"
#include "library/LibraryTables.h"
#include "library/SlotCache.h"
#include "library/Snapshots.h"
#include "library/WavDecoder.h"
#include "protocol/codec/SettingsBlocks.h"
#include "protocol/codec/SnapshotImage.h"

namespace {

void Put(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int k = 0; k < bytes; ++k) out.push_back(static_cast<uint8_t>(v >> (8 * k)));
}

// A decaying 24-bit tone of `frames` frames and `channels` channels at 48 kHz.
std::vector<uint8_t> Wav48k(uint32_t frames, uint16_t channels) {
  const uint32_t align = 3u * channels, data = frames * align;
  std::vector<uint8_t> w;
  for (char c : std::string("RIFF")) w.push_back(static_cast<uint8_t>(c));
  Put(w, 36 + data, 4);
  for (char c : std::string("WAVEfmt ")) w.push_back(static_cast<uint8_t>(c));
  Put(w, 16, 4);
  Put(w, 1, 2);
  Put(w, channels, 2);
  Put(w, 48000, 4);
  Put(w, 48000 * align, 4);
  Put(w, align, 2);
  Put(w, 24, 2);
  for (char c : std::string("data")) w.push_back(static_cast<uint8_t>(c));
  Put(w, data, 4);
  for (uint32_t n = 0; n < frames; ++n) {
    const double x = 0.8 * std::exp(-n / 400.0) * std::sin(n * 0.07);
    for (uint16_t c = 0; c < channels; ++c)
      Put(w, static_cast<uint32_t>(static_cast<int32_t>(x * 8388607.0)), 3);
  }
  return w;
}

void BM_DecodeResampleMemory(benchmark::State& state) {
  const std::vector<uint8_t> wav =
      Wav48k(static_cast<uint32_t>(state.range(0)), static_cast<uint16_t>(state.range(1)));
  zorel::lib::IRBuffer buffer;
  for (auto _ : state) {
    zorel::lib::MemoryReader reader(wav);
    benchmark::DoNotOptimize(zorel::lib::DecodeWavIntoIRBuffer(reader, buffer));
    benchmark::ClobberMemory();
  }
  state.SetLabel(std::to_string(wav.size()) + " bytes");
}
// A factory-sized IR, one second of stereo, ten minutes of mono.
BENCHMARK(BM_DecodeResampleMemory)->Args({1000, 1})->Args({48000, 2})->Args({28800000, 1});

void BM_DecodeResampleFile(benchmark::State& state) {
  const std::string path = "/tmp/zorel-bench-" + std::to_string(::getpid()) + ".wav";
  zorel::lib::WriteWholeFile(path, Wav48k(static_cast<uint32_t>(state.range(0)), 1));
  zorel::lib::IRBuffer buffer;
  for (auto _ : state) {
    benchmark::DoNotOptimize(zorel::lib::ReadWavIntoIRBuffer(path, buffer));
    benchmark::ClobberMemory();
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_DecodeResampleFile)->Arg(1000)->Arg(48000);

// state.range(0): 1 = replaced whole (what the cache does), 0 = written in place.
void BM_WriteAllPresetSlots(benchmark::State& state) {
  char pattern[] = "/tmp/zorel-bench-XXXXXX";
  const std::string root = ::mkdtemp(pattern);
  zorel::lib::LibraryTables tables;
  zorel::lib::SlotCache cache(root, tables);
  zorel::lib::CreateFolder(root + zorel::lib::kPresetsFolder);
  std::array<uint8_t, 256> payload{};
  for (auto _ : state) {
    for (int slot = 0; slot < 128; ++slot) {
      payload[2] = static_cast<uint8_t>(slot);
      if (state.range(0) == 1)
        cache.WritePresetSlot(slot, payload, 0, 0);
      else
        zorel::lib::WriteWholeFile(zorel::lib::PresetSlotPath(root, slot), payload);
    }
  }
  cache.ClearCache();
  ::rmdir((root + zorel::lib::kPresetsFolder).c_str());
  ::rmdir(root.c_str());
}
BENCHMARK(BM_WriteAllPresetSlots)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// A snapshot of a full pedal: 128 presets, each playing two user IRs of its
// own (all 256), and the three settings blocks; built from memory and
// written (synced, renamed into place) with the folder kept at 50 files.
// state.range(0): 1 = build and write, 0 = build only.
void BM_SnapshotOfAFullPedal(benchmark::State& state) {
  zorel::SnapshotContent content;
  for (int k = 0; k < 128; ++k) {
    zorel::SnapshotContent::Preset p;
    p.slot = k;
    for (size_t i = 0; i < p.payload.size(); ++i)
      p.payload[i] = static_cast<uint8_t>((i * 7 + static_cast<size_t>(k)) & 0x7F);
    content.presets.push_back(p);
  }
  for (int n = 0; n < 256; ++n) {
    zorel::SnapshotContent::IR ir;
    ir.number = n;
    for (size_t i = 0; i < ir.block.size(); ++i)
      ir.block[i] = static_cast<uint8_t>((i * 31 + static_cast<size_t>(n)) & 0xFF);
    content.irs.push_back(ir);
  }
  for (int type = 0; type < 3; ++type) {
    const zorel::BlockData zeros{};
    const auto block = zorel::BuildSettingsBlock(type, zeros);
    content.settingsBlocks.emplace_back(block.begin(), block.end());
  }
  char pattern[] = "/tmp/zorel-bench-XXXXXX";
  const std::string root = ::mkdtemp(pattern);
  zorel::lib::SnapshotStore store(root);
  size_t bytes = 0;
  std::time_t when = 1700000000;
  for (auto _ : state) {
    const std::vector<uint8_t> image = zorel::BuildSnapshotImage(content);
    bytes = image.size();
    if (state.range(0) == 1) store.Write("import", image, when++);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
  for (const auto& info : store.List()) zorel::lib::DeleteFile(info.path);
  ::rmdir(store.Folder().c_str());
  ::rmdir(root.c_str());
}
BENCHMARK(BM_SnapshotOfAFullPedal)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace

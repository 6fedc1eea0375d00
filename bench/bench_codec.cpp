// Codec throughput: packing and unpacking one IR block, building and parsing
// a preset dump, reassembling a chunked IR dump, checking the largest backup
// before a restore, and hashing a firmware image for its confirmation.

#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "library/Sha256.h"
#include "protocol/codec/BulkCheck.h"
#include "protocol/codec/Codec.h"

namespace {

using namespace zorel;

std::array<uint8_t, kIRBlockSize> MakeBlock() {
  std::array<uint8_t, kIRBlockSize> block{};
  uint32_t seed = 1;
  for (auto& b : block) {
    seed = seed * 1664525u + 1013904223u;
    b = static_cast<uint8_t>(seed >> 24);
  }
  return block;
}

void BM_PackIRBlock(benchmark::State& state) {
  const auto block = MakeBlock();
  std::vector<uint8_t> out(PackedLength(block.size()));
  for (auto _ : state) {
    benchmark::DoNotOptimize(Pack7Into(block, out));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * block.size()));
}
BENCHMARK(BM_PackIRBlock);

void BM_UnpackIRBlock(benchmark::State& state) {
  const auto packed = Pack7(MakeBlock());
  for (auto _ : state) benchmark::DoNotOptimize(Unpack7(packed));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kIRBlockSize));
}
BENCHMARK(BM_UnpackIRBlock);

// The streaming unpacker over the 256-byte chunks of a dump.
void BM_StreamUnpackIRBlock(benchmark::State& state) {
  const auto packed = Pack7(MakeBlock());
  StreamUnpacker u;
  for (auto _ : state) {
    u.Reset(UnpackedLength(packed.size()), kIRDumpCapacity);
    for (size_t pos = 0; pos < packed.size(); pos += 256)
      u.Feed(std::span(packed).subspan(pos, std::min<size_t>(256, packed.size() - pos)));
    benchmark::DoNotOptimize(u.Output().data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kIRBlockSize));
}
BENCHMARK(BM_StreamUnpackIRBlock);

// A whole dump as it arrives: 11 chunk messages through the receiver.
void BM_ReceiveIRDump(benchmark::State& state) {
  const auto chunks = BuildIRTransfer(200, MakeBlock());
  IRTransferReceiver rx;
  for (auto _ : state) {
    for (const auto& c : chunks) rx.Feed(c);
    benchmark::DoNotOptimize(rx.Bytes().data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kIRBlockSize));
}
BENCHMARK(BM_ReceiveIRDump);

PresetContent MakeContent() {
  PresetContent c;
  c.name = "Benchmark Lead Caf\xC3\xA9";
  for (int i = 0; i < kNumPresetParams; ++i) c.values[static_cast<size_t>(i)] = (i * 37) & 0x7F;
  c.values[kParamUserIR7Mode] = 1;
  c.values[kParamUserIR8Mode] = 1;
  c.ir7Name = "Big Room";
  c.ir8Name = "Isle V30";
  return c;
}

void BM_BuildWritePreset(benchmark::State& state) {
  const PresetContent c = MakeContent();
  for (auto _ : state) benchmark::DoNotOptimize(BuildWritePreset(5, c));
}
BENCHMARK(BM_BuildWritePreset);

// What the reply handling does with a dump: classify, check, parse.
void BM_ParsePresetDump(benchmark::State& state) {
  auto dump = BuildWritePreset(5, MakeContent());
  dump[5] = kCmdPresetDump;
  for (auto _ : state) {
    const IncomingKind kind = ClassifyIncoming(dump);
    const auto block = ViewBlock(dump);
    benchmark::DoNotOptimize(kind);
    if (block && block->checksumOk) benchmark::DoNotOptimize(ParsePresetPayload(block->data));
  }
}
BENCHMARK(BM_ParsePresetDump);

// The largest backup there is: 128 presets using all 256 user IRs.
std::vector<uint8_t> LargestBackup() {
  std::vector<uint8_t> image;
  for (int slot = 0; slot < 128; ++slot) {
    PresetPayload payload{};
    for (int k = 0; k < 2; ++k) {
      const int number = 2 * slot + k;
      payload[PayloadParamOffset(kParamUserIR7Mode + k)] = 1;
      payload[PayloadParamOffset(kParamUserIR7PresetMSB + 2 * k)] =
          static_cast<uint8_t>(number >> 7);
      payload[PayloadParamOffset(kParamUserIR7Preset + 2 * k)] =
          static_cast<uint8_t>(number & 0x7F);
    }
    const auto dump = BuildPresetDump(slot, payload);
    image.insert(image.end(), dump.begin(), dump.end());
  }
  const auto block = MakeBlock();
  for (int number = 0; number < 256; ++number)
    for (const auto& chunk : BuildIRTransfer(number, block))
      image.insert(image.end(), chunk.begin(), chunk.end());
  return image;
}

void BM_CheckLargestBackup(benchmark::State& state) {
  const auto image = LargestBackup();
  if (!CheckBulkImage(image).Ok()) state.SkipWithError("the backup does not pass");
  for (auto _ : state) benchmark::DoNotOptimize(CheckBulkImage(image));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * image.size()));
  state.SetLabel(std::to_string(image.size()) + " bytes");
}
BENCHMARK(BM_CheckLargestBackup);

void BM_HashFirmwareImage(benchmark::State& state) {
  std::vector<uint8_t> image(65535);
  for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 131 + (i >> 8));
  for (auto _ : state) benchmark::DoNotOptimize(ShortContentHash(image));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * image.size()));
}
BENCHMARK(BM_HashFirmwareImage);

} // namespace

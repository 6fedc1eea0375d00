// The editor core without a wire: an edit through the dispatcher, a preset
// dump through the reply handling, and a whole first connection (128 presets
// read into an empty cache) against the in-process virtual pedal.
#include <benchmark/benchmark.h>

#include "protocol/codec/EditorMessages.h"
#include "protocol/codec/ParamIds.h"
#include "sim/VirtualPedal.h"
#include "tests/support/HeadlessEditor.h"

using namespace zorel;

namespace {

void Connect(HeadlessEditor& h, sim::VirtualPedal& pedal) {
  for (int t = 0; t < 400 && !(h.Editor().State().mConnected && !h.Editor().State().mBulkLoading &&
                               h.Editor().State().mLoadedValues[0] >= 0);
       ++t) {
    h.Advance(20);
    for (int round = 0; round < 1000; ++round) {
      auto sent = h.TakeSent();
      if (sent.empty()) break;
      for (const auto& m : sent)
        for (const auto& reply : pedal.Exchange(m)) h.Receive(reply);
    }
  }
}

void BM_DispatchEdit(benchmark::State& state) {
  HeadlessEditor h;
  h.Editor().State().mConnected = true;
  h.Editor().State().mSendSuppressed = false;
  int v = 0;
  for (auto _ : state) {
    h.Editor().SetParameterValue(kParamGain, (v++ % 128) / 127.0);
    if (v % 256 == 0) h.TakeSent();
  }
}
BENCHMARK(BM_DispatchEdit);

void BM_ApplyPresetDump(benchmark::State& state) {
  HeadlessEditor h;
  sim::VirtualPedal pedal;
  Connect(h, pedal);
  const auto dump = pedal.Exchange(BuildRequestPreset(5)).at(0);
  for (auto _ : state) {
    h.Receive(dump);
    h.TakeSent();
  }
}
BENCHMARK(BM_ApplyPresetDump);

void BM_FirstConnection(benchmark::State& state) {
  for (auto _ : state) {
    HeadlessEditor h;
    sim::VirtualPedal pedal;
    Connect(h, pedal);
    benchmark::DoNotOptimize(h.Editor().State().mConnected);
  }
}
BENCHMARK(BM_FirstConnection)->Unit(benchmark::kMillisecond);

} // namespace

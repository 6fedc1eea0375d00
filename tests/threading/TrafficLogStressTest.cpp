// The monitor's log between the threads that move messages (user interface
// and audio sending, the MIDI library receiving) and the one that shows
// them, while the monitor is opened and closed: nothing torn, nothing out of
// order within a thread, and no data race under ThreadSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "protocol/TrafficLog.h"

using namespace zorel;

TEST(TrafficLogStress, ProducersOnThreeThreadsAgainstTheConsumerAndOpenClose) {
  TrafficLog log;
  log.Start();
  constexpr int kProducers = 3;
  constexpr uint32_t kMessages = 20000;
  std::atomic<bool> go{false};
  std::atomic<int> finished{0};
  std::vector<std::thread> producers;
  for (int p = 0; p < kProducers; ++p) {
    producers.emplace_back([&, p] {
      while (!go.load()) std::this_thread::yield();
      for (uint32_t i = 0; i < kMessages; ++i) {
        // Byte 1 names the thread, bytes 2..4 count its messages.
        const uint8_t m[] = {0xF0,
                             static_cast<uint8_t>(p),
                             static_cast<uint8_t>(i & 0x7F),
                             static_cast<uint8_t>((i >> 7) & 0x7F),
                             static_cast<uint8_t>((i >> 14) & 0x7F),
                             0xF7};
        log.Record(p == 2 ? TrafficDirection::kFromPedal : TrafficDirection::kToPedal, m, sizeof m);
      }
      ++finished;
    });
  }
  std::thread toggler([&] {
    while (!go.load()) std::this_thread::yield();
    for (int i = 0; i < 50; ++i) {
      log.Stop();
      std::this_thread::yield();
      log.Start();
    }
  });

  go = true;
  std::vector<int64_t> last(kProducers, -1);
  size_t seen = 0;
  auto consume = [&] {
    for (const TrafficLog::Entry& e : log.Take()) {
      ASSERT_EQ(e.bytes.size(), 6u);
      ASSERT_EQ(e.bytes.front(), 0xF0);
      ASSERT_EQ(e.bytes.back(), 0xF7);
      const int p = e.bytes[1];
      ASSERT_LT(p, kProducers);
      EXPECT_EQ(e.direction == TrafficDirection::kFromPedal, p == 2);
      const int64_t i = e.bytes[2] | (e.bytes[3] << 7) | (e.bytes[4] << 14);
      // Messages are lost while closed, never reordered.
      EXPECT_GT(i, last[p]);
      last[p] = i;
      ++seen;
    }
  };
  while (finished.load() < kProducers) {
    consume();
    std::this_thread::yield();
  }
  for (auto& t : producers) t.join();
  toggler.join();
  // Whatever was lost to the closings, the log is open again at the end: a
  // last message of each thread is kept, after all of its earlier ones.
  for (int p = 0; p < kProducers; ++p) {
    const uint8_t m[] = {0xF0, static_cast<uint8_t>(p), 0x7F, 0x7F, 0x7F, 0xF7};
    log.Record(p == 2 ? TrafficDirection::kFromPedal : TrafficDirection::kToPedal, m, sizeof m);
  }
  consume();
  for (int p = 0; p < kProducers; ++p) EXPECT_EQ(last[p], (1 << 21) - 1) << p;
  EXPECT_EQ(log.Dropped(), 0u);
  log.Stop();
  EXPECT_TRUE(log.Take().empty());
}

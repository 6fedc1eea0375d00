#pragma once

// What a running transfer to the pedal reads: the packed bytes, how far the
// sender has got and the checksum that ends the stream. IR uploads and the
// firmware update share it. The thread that prepares a transfer fills it
// and sets mIRUploadRunning last; the timer that sends the chunks reads the
// flag first, so it never sees a half-built stream.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zorel::lib {

struct UploadState {
  static constexpr size_t kBufferSize = 65536;

  std::array<uint8_t, kBufferSize> mUploadBuffer{};
  int mUploadTotal = 0;
  int mUploadPosition = 0;
  int mUploadRemaining = 0;
  int mUploadChecksumHigh = 0;
  int mUploadChecksumLow = 0;
  std::atomic<bool> mIRUploadRunning{false};

  // Zeroes the buffer, copies the packed stream in and resets the counters
  // and the transfer checksum (sum of the packed bytes: high = (S >> 7) &
  // 0x7F, low = S & 0x7F). Returns false, leaving the state untouched, when
  // the stream does not fit. A stream loaded during a running upload
  // restarts it from position 0.
  bool Load(std::span<const uint8_t> packed);

  // Hands the loaded stream to the sender.
  void Start() { mIRUploadRunning.store(true, std::memory_order_release); }
};

} // namespace zorel::lib

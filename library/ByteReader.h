#pragma once

// Sequential access to a run of bytes, from a file or from memory. The WAV
// decoder and the preset-file reader are written against this so that the
// fuzz targets and tests can feed them bytes without touching the disk.

#include <cstddef>
#include <cstdint>
#include <span>

namespace zorel::lib {

class ByteReader {
public:
  virtual ~ByteReader() = default;

  // Copies up to n bytes from the current position and advances it; returns
  // the number copied (fewer at the end, 0 at the end or on error).
  virtual size_t Read(void* buffer, size_t n) = 0;
  // Moves to p, clamped to 0..Size().
  virtual void SetPosition(uint64_t p) = 0;
  virtual uint64_t Position() const = 0;
  // Size in bytes, 0 when it cannot be determined.
  virtual uint64_t Size() = 0;
};

// A ByteReader over borrowed memory.
class MemoryReader final : public ByteReader {
public:
  explicit MemoryReader(std::span<const uint8_t> bytes) : mBytes(bytes) {}

  size_t Read(void* buffer, size_t n) override;
  void SetPosition(uint64_t p) override { mPosition = p < mBytes.size() ? p : mBytes.size(); }
  uint64_t Position() const override { return mPosition; }
  uint64_t Size() override { return mBytes.size(); }

private:
  std::span<const uint8_t> mBytes;
  uint64_t mPosition = 0;
};

} // namespace zorel::lib

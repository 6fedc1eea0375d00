// 7-bit packing: packing round-trips, and the streaming unpacker gives the
// same bytes as the one-shot unpacker for any chunking of any input.

#include <cstddef>
#include <cstdint>
#include <span>

#include "protocol/codec/Names.h"
#include "protocol/codec/Packing.h"

using namespace zorel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::span<const uint8_t> in(data + 1, size - 1);
  const auto packed = Pack7(in);
  if (packed.size() != PackedLength(in.size())) __builtin_trap();
  for (uint8_t b : packed)
    if (b >= 0x80) __builtin_trap();
  const auto back = Unpack7(packed);
  if (back.size() != in.size() || !std::equal(back.begin(), back.end(), in.begin()))
    __builtin_trap();

  // Unpack the raw input as if it were packed data, in chunks of data[0] + 1.
  const size_t step = static_cast<size_t>(data[0]) + 1;
  const auto whole = Unpack7(in);
  StreamUnpacker u;
  u.Reset(UnpackedLength(in.size()), 1u << 20);
  for (size_t pos = 0; pos < in.size(); pos += step)
    u.Feed(in.subspan(pos, std::min(step, in.size() - pos)));
  if (u.Output() != whole) __builtin_trap();

  // Names built from any text are printable ASCII.
  const std::string_view text(reinterpret_cast<const char*>(in.data()), in.size());
  const std::string clean = SanitizeName(text);
  if (clean.size() > text.size()) __builtin_trap();
  for (char c : clean)
    if (c < 0x20 || c > 0x7E) __builtin_trap();
  return 0;
}

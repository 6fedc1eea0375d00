#include "protocol/codec/Encoding.h"

namespace zorel {

uint32_t ByteSum(std::span<const uint8_t> bytes) {
  uint32_t sum = 0;
  for (uint8_t b : bytes) sum += b;
  return sum;
}

ChecksumPair BlockChecksum(std::span<const uint8_t> data) {
  return ChecksumFromSum(ByteSum(data));
}

ChecksumPair TransferChecksum(std::span<const uint8_t> packed) {
  return ChecksumFromSum(ByteSum(packed));
}

} // namespace zorel

#include "library/UploadState.h"

#include <algorithm>

namespace zorel::lib {

bool UploadState::Load(std::span<const uint8_t> packed) {
  if (packed.size() > mUploadBuffer.size()) return false;
  mUploadBuffer.fill(0);
  std::copy(packed.begin(), packed.end(), mUploadBuffer.begin());
  uint32_t sum = 0;
  for (uint8_t b : packed) sum += b;
  mUploadTotal = mUploadRemaining = static_cast<int>(packed.size());
  mUploadPosition = 0;
  mUploadChecksumHigh = static_cast<int>((sum >> 7) & 0x7F);
  mUploadChecksumLow = static_cast<int>(sum & 0x7F);
  return true;
}

} // namespace zorel::lib

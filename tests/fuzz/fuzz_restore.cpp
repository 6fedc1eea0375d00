// A bulk file's bytes: split into messages and restore each one. What comes
// out must be a sendable message of the stored length.

#include <cstddef>
#include <cstdint>
#include <span>

#include "protocol/codec/Frame.h"
#include "protocol/codec/Restore.h"

using namespace zorel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RestoreState state;
  size_t total = 0;
  for (const auto m : SplitStoredMessages({data, size})) {
    total += m.size();
    if (m.empty() || m.back() != kSysExEnd) __builtin_trap();
    const auto out = RestoreMessage(m, state);
    if (out && (out->size() != m.size() || !IsWellFormedSysEx(*out))) __builtin_trap();
  }
  if (total > size) __builtin_trap();
  return 0;
}

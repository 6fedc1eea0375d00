#include "sim/TraceFormat.h"

#include <cstdio>

#include "protocol/codec/Classify.h"

namespace zorel::sim {

std::string HexBytes(std::span<const uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 3);
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i) text.push_back(' ');
    text.push_back(kDigits[bytes[i] >> 4]);
    text.push_back(kDigits[bytes[i] & 0x0F]);
  }
  return text;
}

std::string FormatTrace(const TraceEvent& event) {
  const char* direction = event.direction == TraceDirection::In    ? "in  "
                          : event.direction == TraceDirection::Out ? "out "
                                                                   : "drop";
  const char* kind = event.direction == TraceDirection::In
                         ? ToString(ClassifyEditorMessage(event.bytes))
                         : ToString(ClassifyIncoming(event.bytes));
  char head[96];
  std::snprintf(head, sizeof head, "%12.6f %s %-22s %4zu  ",
                static_cast<double>(event.timeUs) / 1e6, direction, kind, event.bytes.size());
  return head + HexBytes(event.bytes);
}

} // namespace zorel::sim

#include "protocol/codec/PedalMessages.h"

#include "protocol/codec/Encoding.h"

namespace zorel {

BlockMessage BuildPresetDump(int slot, std::span<const uint8_t, kPresetPayloadSize> payload) {
  return BuildBlockMessage(kCmdPresetDump, kSysExSubId, Encode7(slot), payload);
}

Message10 BuildParameterReport(int number, int value) {
  Message10 message{};
  WriteFrameHeader(message, kSysExTargetEditor, kCmdParameterReport);
  message[kOffsetSubId] = kSysExSubId;
  message[7] = Encode7(number);
  message[8] = Encode7(value);
  message[9] = kSysExEnd;
  return message;
}

namespace {

Message7 ShortFrame(uint8_t target, uint8_t command) {
  Message7 message{};
  WriteFrameHeader(message, target, command);
  message[6] = kSysExEnd;
  return message;
}

} // namespace

Message7 BuildShortReply(uint8_t command) {
  return ShortFrame(kSysExTargetEditor, command);
}

Message7 BuildLoaderReply(uint8_t command) {
  return ShortFrame(kSysExTargetLoader, command);
}

} // namespace zorel

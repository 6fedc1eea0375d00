#include "protocol/codec/EditorMessages.h"

#include "protocol/codec/Encoding.h"
#include "protocol/codec/SettingsBlocks.h"

namespace zorel {

namespace {

// F0 00 51 21 05 <command> 0B <body...> F7 in an array of exactly its length.
template <size_t N>
std::array<uint8_t, N> Fixed(uint8_t command,
                             std::array<uint8_t, N - kEditorHeaderLength - 1> body) {
  std::array<uint8_t, N> message{};
  WriteFrameHeader(message, kSysExTargetEditor, command);
  message[kOffsetSubId] = kSysExSubId;
  for (size_t i = 0; i < body.size(); ++i)
    message[kEditorHeaderLength + i] = static_cast<uint8_t>(body[i] & 0x7F);
  message[N - 1] = kSysExEnd;
  return message;
}

} // namespace

BlockMessage BuildWritePreset(int program, const PresetContent& content) {
  return BuildWritePreset(program, BuildPresetPayload(content));
}

BlockMessage BuildWritePreset(int program, std::span<const uint8_t, kPresetPayloadSize> payload) {
  return BuildBlockMessage(kCmdWritePreset, kSysExSubId, Encode7(program), payload);
}

Message9 BuildSelectPreset(int program) {
  return Fixed<9>(kCmdSelectPreset, {Encode7(program)});
}

Message9 BuildRequestPreset(int slot) {
  return Fixed<9>(kCmdRequestPreset, {Encode7(slot)});
}

Message10 BuildSetParameter(int deviceNumber, int value) {
  return Fixed<10>(kCmdSetParameter, {Encode7(deviceNumber), Encode7(value)});
}

Message10 BuildSetSoundParameter(int index, int value) {
  return BuildSetParameter(PedalParameterNumber(index), value);
}

Message10 BuildStoreProgram(int program) {
  return BuildSetParameter(kDeviceNumberStore, program);
}

Message10 BuildFilterSwitch(bool on) {
  return BuildSetParameter(kDeviceNumberFilterSwitch, on ? 1 : 0);
}

Message9 BuildRequestSettings(int type) {
  return Fixed<9>(kCmdRequestSettings, {Encode7(type)});
}

Message9 BuildIdentityRequest() {
  return BuildRequestSettings(kSettingsIdentity);
}

Message9 BuildFactoryReset(int scope) {
  return Fixed<9>(kCmdFactoryReset, {Encode7(scope)});
}

Message8 BuildBulkMode(bool on) {
  return Fixed<8>(on ? kCmdBeginBulkMode : kCmdEndBulkMode, {});
}

Message8 BuildEditorClosing() {
  return Fixed<8>(kCmdEditorClosing, {});
}

Message10 BuildRequestIR(int irNumber) {
  const auto number = Encode14(irNumber);
  return Fixed<10>(kCmdRequestIR, {number[0], number[1]});
}

Message9 BuildRequestIRNames(int page) {
  return Fixed<9>(kCmdRequestIRNames, {Encode7(page)});
}

} // namespace zorel

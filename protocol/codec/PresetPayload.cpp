#include "protocol/codec/PresetPayload.h"

#include "protocol/codec/Encoding.h"

namespace zorel {

namespace {

constexpr uint8_t kPayloadByte0 = 0x01;
constexpr uint8_t kPayloadByte1 = 0x00;

std::span<uint8_t, kNameLength> NameField(PresetPayload& payload, size_t offset) {
  return std::span<uint8_t, kNameLength>(payload.data() + offset, kNameLength);
}

std::string NameAt(std::span<const uint8_t, kPresetPayloadSize> payload, size_t offset) {
  return ReadNameField(std::span<const uint8_t, kNameLength>(payload.data() + offset, kNameLength));
}

} // namespace

PresetPayload BuildPresetPayload(const PresetContent& content) {
  PresetPayload payload{};
  payload[0] = kPayloadByte0;
  payload[1] = kPayloadByte1;
  WriteNameField(NameField(payload, kPayloadNameOffset), content.name);
  for (int i = 0; i < kNumPresetParams; ++i)
    payload[PayloadParamOffset(i)] = Encode7(content.values[static_cast<size_t>(i)]);
  // A user IR name means something only while its position is switched on;
  // otherwise the pedal expects blanks there.
  const bool ir7On = content.values[kParamUserIR7Mode] > 0;
  const bool ir8On = content.values[kParamUserIR8Mode] > 0;
  WriteNameField(NameField(payload, kPayloadIR7NameOffset), ir7On ? content.ir7Name : "");
  WriteNameField(NameField(payload, kPayloadIR8NameOffset), ir8On ? content.ir8Name : "");
  return payload;
}

ParsedPreset ParsePresetPayload(std::span<const uint8_t, kPresetPayloadSize> payload) {
  ParsedPreset preset;
  preset.name = NameAt(payload, kPayloadNameOffset);
  for (int i = 0; i < kNumPresetParams; ++i)
    preset.values[static_cast<size_t>(i)] = payload[PayloadParamOffset(i)];
  preset.ir7Name = NameAt(payload, kPayloadIR7NameOffset);
  preset.ir8Name = NameAt(payload, kPayloadIR8NameOffset);
  return preset;
}

int PayloadUserIR7Number(std::span<const uint8_t, kPresetPayloadSize> payload) {
  return Decode14(payload[PayloadParamOffset(kParamUserIR7PresetMSB)],
                  payload[PayloadParamOffset(kParamUserIR7Preset)]);
}

int PayloadUserIR8Number(std::span<const uint8_t, kPresetPayloadSize> payload) {
  return Decode14(payload[PayloadParamOffset(kParamUserIR8PresetMSB)],
                  payload[PayloadParamOffset(kParamUserIR8Preset)]);
}

bool PayloadUserIR7On(std::span<const uint8_t, kPresetPayloadSize> payload) {
  return payload[PayloadParamOffset(kParamUserIR7Mode)] > 0;
}

bool PayloadUserIR8On(std::span<const uint8_t, kPresetPayloadSize> payload) {
  return payload[PayloadParamOffset(kParamUserIR8Mode)] > 0;
}

} // namespace zorel

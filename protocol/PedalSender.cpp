#include "protocol/PedalSender.h"

#include "protocol/codec/EditorMessages.h"
#include "protocol/codec/SettingsBlocks.h"

namespace zorel {

void PedalSender::SendRaw(std::span<const uint8_t> message) {
  const iplug::SysExMessage msg{0, static_cast<int32_t>(message.size()), message.data()};
  mPlug.SendSysEx(msg);
  mSentCount.fetch_add(1, std::memory_order_relaxed);
}

int PedalSender::ParamInt(int index) const {
  const iplug::IParam* param = mPlug.ParamAt(index);
  return param ? static_cast<int>(param->Current()) : 0;
}

void PedalSender::SendBulkMode(bool on) {
  SendRaw(BuildBulkMode(on));
}

BlockMessage PedalSender::SendWritePreset() {
  PresetContent content;
  content.name = mState.mPresetName;
  for (int i = 0; i < kNumPresetParams; ++i)
    content.values[static_cast<size_t>(i)] = mState.mLiveValues[static_cast<size_t>(i)] & 0xFF;
  content.ir7Name = mState.mIR7DisplayName;
  content.ir8Name = mState.mIR8DisplayName;
  const BlockMessage message = BuildWritePreset(mState.mCurrentPresetSlot, content);
  SendRaw(message);
  return message;
}

void PedalSender::SendSettingsBlock(int type) {
  SendRaw(SettingsBlockMessage(type));
}

std::vector<uint8_t> PedalSender::SettingsBlockMessage(int type) const {
  auto bytes = [](const BlockMessage& m) { return std::vector<uint8_t>(m.begin(), m.end()); };
  switch (type) {
  case kSettingsGlobal: {
    GlobalSettings settings;
    settings.currentProgram = mState.mCurrentPresetSlot;
    for (const GlobalSettingsField& field : kGlobalSettingsFields) {
      settings.*field.member = ParamInt(field.param);
    }
    return bytes(BuildGlobalSettingsBlock(settings));
  }
  case kSettingsMidiAssignments: {
    MidiCCNumbers numbers{};
    for (int i = 0; i < kMidiCCKnobCount; ++i)
      numbers[static_cast<size_t>(i)] = ParamInt(kParamMidiCCDrive + i);
    return bytes(BuildMidiCCBlock(numbers));
  }
  case kSettingsProgramMap: {
    ProgramMap map{};
    for (size_t i = 0; i < map.size(); ++i) map[i] = mState.mProgramMap[i] & 0xFF;
    return bytes(BuildProgramMapBlock(map));
  }
  default: {
    const BlockData zeros{};
    return bytes(BuildSettingsBlock(type, zeros));
  }
  }
}

void PedalSender::SendParameter(int deviceNumber, int value) {
  SendRaw(BuildSetParameter(deviceNumber, value));
}

void PedalSender::Await(TransferState::Awaited what, int number) {
  mState.mAwaited = what;
  mState.mAwaitedNumber = number;
  mState.mAwaitTicks = 0;
  mState.mRetries = 0;
}

void PedalSender::SendRequestSettings(int type) {
  SendRaw(BuildRequestSettings(type));
  if (type == 3) Await(TransferState::Awaited::kChecksumList, 3);
}

void PedalSender::SendRequestPreset(int slot) {
  SendRaw(BuildRequestPreset(slot));
  Await(TransferState::Awaited::kPreset, slot);
}

void PedalSender::SendSelectPreset(int program) {
  SendRaw(BuildSelectPreset(program));
}

void PedalSender::SendRequestIR(int irNumber) {
  SendRaw(BuildRequestIR(irNumber));
  // A preset or checksum list still outstanding keeps its watch: taking it
  // for the IR would leave that answer unrecognised and its sequence stalled.
  const auto awaited = mState.mAwaited;
  if (awaited == TransferState::Awaited::kNone || awaited == TransferState::Awaited::kIR)
    Await(TransferState::Awaited::kIR, irNumber);
}

void PedalSender::SendRequestIRNames(int page) {
  SendRaw(BuildRequestIRNames(page));
}

void PedalSender::SendFactoryReset(int scope) {
  SendRaw(BuildFactoryReset(scope));
}

void PedalSender::SendEditorClosing() {
  SendRaw(BuildEditorClosing());
}

void PedalSender::SendIdentityRequest() {
  SendRaw(BuildIdentityRequest());
}

} // namespace zorel

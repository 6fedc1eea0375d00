#include "sim/PedalModel.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "protocol/codec/Classify.h"
#include "protocol/codec/Encoding.h"
#include "protocol/codec/Frame.h"
#include "protocol/codec/IrNames.h"
#include "protocol/codec/Names.h"
#include "protocol/codec/PedalMessages.h"
#include "protocol/codec/SettingsBlocks.h"

namespace zorel::sim {

namespace {

// Device numbers of the user-IR number parameters 53..56. Choosing an IR
// makes the pedal load it, and the editor's two-step selection waits for the
// pedal to accept the bank before it sends the index.
constexpr int kFirstIRNumberDevice = 57;
constexpr int kLastIRNumberDevice = 60;

// Name pages 0..31 cover the eight banks of 32 user IRs; pages 32..35 are the
// "Factory Bank", whose first eight positions are the factory IRs.
constexpr int kUserIRNamePages = kUserIRSlotCount / kIRNamesPerPage;
constexpr int kFactoryNameBank = kUserIRSlotCount / kIRPositionsPerBank;
constexpr int kLastIRNamePage = kUserIRNamePages + kIRNamePagesPerBank - 1;

template <size_t N> Bytes ToBytes(const std::array<uint8_t, N>& message) {
  return Bytes(message.begin(), message.end());
}

std::vector<Bytes> Reply(uint8_t command) {
  return {ToBytes(BuildShortReply(command))};
}

std::vector<Bytes> LoaderReply(uint8_t command) {
  return {ToBytes(BuildLoaderReply(command))};
}

// Editor parameter index of a device number, or -1 for numbers that name none.
int ParamIndexOfDeviceNumber(int number) {
  if (number >= 0 && number < 16) return number;
  if (number >= 20 && number < kNumPresetParams + 4) return number - 4;
  return -1;
}

void WriteNameAt(PresetPayload& payload, size_t offset, std::string_view name) {
  WriteNameField(std::span<uint8_t, kNameLength>(payload.data() + offset, kNameLength), name);
}

} // namespace

PedalModel::PedalModel(PedalState state) : mState(std::move(state)) {}

std::vector<Bytes> PedalModel::Receive(std::span<const uint8_t> message) {
  if (!IsWellFormedSysEx(message)) return {};
  switch (ClassifyEditorMessage(message)) {
  case EditorKind::WritePreset: {
    const auto block = ViewBlock(message);
    if (!block->checksumOk) return Reply(kCmdError);
    const int slot = block->byte7;
    std::copy(block->data.begin(), block->data.end(), mState.presets[slot].begin());
    if (slot == mState.currentProgram) mState.editBuffer = mState.presets[slot];
    mChanged = true;
    return {};
  }
  case EditorKind::SelectPreset:
    LoadProgram(mState, message[kOffsetBody]);
    mChanged = true;
    return DumpOf(mState.currentProgram);
  case EditorKind::RequestPreset:
    return DumpOf(message[kOffsetBody]);
  case EditorKind::SetParameter:
    return OnSetParameter(message[7], message[8]);
  case EditorKind::WriteSettings:
    return OnWriteSettings(message);
  case EditorKind::RequestSettings:
    return OnRequestSettings(message[kOffsetBody]);
  case EditorKind::FactoryReset:
    return OnFactoryReset(message[kOffsetBody]);
  case EditorKind::BeginBulkMode:
    mBulkMode = true;
    return {};
  case EditorKind::EndBulkMode:
    mBulkMode = false;
    return {};
  case EditorKind::EditorClosing:
    mEditorClosed = true;
    mBulkMode = false;
    return {};
  case EditorKind::IRUploadFirst:
  case EditorKind::IRUploadMiddle:
  case EditorKind::IRUploadLast:
    return OnIRUpload(message);
  case EditorKind::RequestIR:
    return IRDump(Decode14(message[7], message[8]));
  case EditorKind::RequestIRNames:
    return IRNamePage(message[kOffsetBody]);
  case EditorKind::RestorePreset:
    return OnRestorePreset(message);
  case EditorKind::RestoreIRFirst:
  case EditorKind::RestoreIRMiddle:
  case EditorKind::RestoreIRLast:
    return OnRestoreIR(message);
  case EditorKind::LoaderStart:
  case EditorKind::FirmwareFirst:
  case EditorKind::FirmwareChunk:
    return OnLoader(message);
  case EditorKind::Unknown:
    break;
  }
  return {};
}

std::vector<Bytes> PedalModel::TurnKnob(int index, int value) {
  if (index < 0 || index >= kNumPresetParams) return {};
  value = std::clamp(value, 0, 127);
  mState.editBuffer[PayloadParamOffset(index)] = static_cast<uint8_t>(value);
  RefreshEditBufferIRNames();
  mChanged = true;
  return {ToBytes(BuildParameterReport(index, value))};
}

std::vector<Bytes> PedalModel::PressFilter() {
  mState.filterOn = !mState.filterOn;
  mChanged = true;
  return {ToBytes(BuildParameterReport(kReportNumberFilterSwitch, mState.filterOn ? 1 : 0))};
}

std::vector<Bytes> PedalModel::ReportIRName(int number) const {
  const IRBlock* block = FindIR(mState, number);
  if (!block) return {};
  return {ToBytes(BuildIRNameReport(IRBlockName(*block)))};
}

std::vector<Bytes> PedalModel::OnSetParameter(int number, int value) {
  if (number == kDeviceNumberStore) {
    mState.presets[static_cast<size_t>(value)] = mState.editBuffer;
    mState.currentProgram = value;
    mChanged = true;
    return DumpOf(value);
  }
  if (number == kDeviceNumberFilterSwitch) {
    mState.filterOn = value > 0;
    mChanged = true;
    return {};
  }
  const int index = ParamIndexOfDeviceNumber(number);
  if (index < 0) return {};
  mState.editBuffer[PayloadParamOffset(index)] = static_cast<uint8_t>(value);
  RefreshEditBufferIRNames();
  mChanged = true;
  if (number >= kFirstIRNumberDevice && number <= kLastIRNumberDevice)
    return Reply(kCmdParameterAccepted);
  return {};
}

std::vector<Bytes> PedalModel::OnWriteSettings(std::span<const uint8_t> message) {
  const auto block = ViewBlock(message);
  if (!block->checksumOk) return Reply(kCmdError);
  const auto& data = block->data;
  switch (block->byte7) {
  case kSettingsGlobal:
    // Data offset 0 (the editor's idea of the current program) does not
    // switch programs: only a selection, a store or a program change does.
    for (const GlobalSettingsField& field : kGlobalSettingsFields)
      mState.globalData[field.dataOffset] = data[field.dataOffset];
    break;
  case kSettingsMidiAssignments:
    // The editor writes only the eight knob CC numbers; the jack set-up in
    // offsets 8..15 keeps what the pedal has.
    std::copy_n(data.begin(), kMidiCCKnobCount, mState.midiAssignments.begin());
    break;
  case kSettingsProgramMap:
    std::copy_n(data.begin(), kProgramMapSize, mState.programMap.begin());
    break;
  default:
    return {};
  }
  mChanged = true;
  return {};
}

std::vector<Bytes> PedalModel::OnRequestSettings(int type) {
  BlockData data{};
  switch (type) {
  case kSettingsGlobal:
    data = mState.globalData;
    data[0] = static_cast<uint8_t>(mState.currentProgram);
    break;
  case kSettingsMidiAssignments:
    std::copy(mState.midiAssignments.begin(), mState.midiAssignments.end(), data.begin());
    break;
  case kSettingsProgramMap:
    std::copy(mState.programMap.begin(), mState.programMap.end(), data.begin());
    break;
  case kSettingsChecksumList:
    data = BuildChecksumListData(StoredChecksums(mState));
    break;
  case kSettingsIdentity:
    mEditorClosed = false;
    return {ToBytes(BuildIdentityBlock(mReportedVersion.value_or(mState.firmwareVersionTimes10),
                                       mState.serial))};
  default:
    return {};
  }
  return {ToBytes(BuildSettingsBlock(type, data))};
}

std::vector<Bytes> PedalModel::OnFactoryReset(int scope) {
  switch (scope) {
  case kResetAll: {
    // Everything but what identifies the unit.
    PedalState fresh = MakeFactoryState();
    fresh.serial = mState.serial;
    fresh.firmwareVersionTimes10 = mState.firmwareVersionTimes10;
    mState = std::move(fresh);
    break;
  }
  case kResetPresets:
    RestoreFactoryPresets(mState);
    break;
  case kResetSettings:
    RestoreFactorySettings(mState);
    break;
  default:
    return {};
  }
  mChanged = true;
  return Reply(kCmdFinished);
}

bool PedalModel::StoreIR(const IRTransferReceiver& receiver) {
  IRBlock* block = FindIR(mState, receiver.IRNumber());
  const bool complete = receiver.AnnouncedPacked() == kIRPackedSize &&
                        receiver.PackedReceived() == kIRPackedSize &&
                        receiver.Bytes().size() >= kIRBlockSize;
  if (!block || !complete || !receiver.ChecksumOk()) return false;
  std::copy_n(receiver.Bytes().begin(), kIRBlockSize, block->begin());
  RefreshEditBufferIRNames();
  mChanged = true;
  return true;
}

std::vector<Bytes> PedalModel::OnIRUpload(std::span<const uint8_t> message) {
  switch (mUpload.Feed(message)) {
  case IRTransferReceiver::Step::Started:
    if (FindIR(mState, mUpload.IRNumber()) && mUpload.AnnouncedPacked() == kIRPackedSize)
      return Reply(kCmdReadyForIRData);
    mUpload = IRTransferReceiver(kIRTransferCommands);
    return Reply(kCmdError);
  case IRTransferReceiver::Step::Continued:
    return {};
  case IRTransferReceiver::Step::Completed:
    return Reply(StoreIR(mUpload) ? kCmdIRStored : kCmdError);
  case IRTransferReceiver::Step::Ignored:
    break;
  }
  // A last chunk with no transfer before it cannot be stored anywhere.
  return message[kOffsetCommand] == kCmdIRLastChunk ? Reply(kCmdError) : std::vector<Bytes>{};
}

std::vector<Bytes> PedalModel::OnRestorePreset(std::span<const uint8_t> message) {
  const auto block = ViewBlock(message);
  if (!block->checksumOk) return Reply(kCmdWriteFailedAlt);
  const int slot = block->byte7;
  std::copy(block->data.begin(), block->data.end(), mState.presets[slot].begin());
  if (slot == mState.currentProgram) LoadProgram(mState, slot);
  mChanged = true;
  return Reply(kCmdWriteAckAlt);
}

std::vector<Bytes> PedalModel::OnRestoreIR(std::span<const uint8_t> message) {
  switch (mRestore.Feed(message)) {
  case IRTransferReceiver::Step::Started:
    // The editor sends the middle chunks without waiting, so only the first
    // and the last are answered; "more to come" keeps its count going
    // without ending the import.
    if (FindIR(mState, mRestore.IRNumber()) && mRestore.AnnouncedPacked() == kIRPackedSize)
      return Reply(kCmdWriteAckMore);
    mRestore = IRTransferReceiver(kIRRestoreCommands);
    return Reply(kCmdWriteFailed);
  case IRTransferReceiver::Step::Continued:
    return {};
  case IRTransferReceiver::Step::Completed:
    return Reply(StoreIR(mRestore) ? kCmdWriteAck : kCmdWriteFailed);
  case IRTransferReceiver::Step::Ignored:
    break;
  }
  return message[kOffsetCommand] == kCmdRestoreIRLast ? Reply(kCmdWriteFailed)
                                                      : std::vector<Bytes>{};
}

std::vector<Bytes> PedalModel::OnLoader(std::span<const uint8_t> message) {
  if (message[kOffsetCommand] == kCmdLoaderStart) {
    mLoaderStarted = true;
    mLoader = FirmwareTransferReceiver();
    return LoaderReply(kCmdLoaderReady);
  }
  if (!mLoaderStarted) return {};
  // While more than one chunk is outstanding only a full 240-byte chunk
  // fits; anything else is a cut chunk, or the last one arriving early
  // because a chunk was lost. Either way the image cannot be right.
  const bool middleExpected =
      mLoader.Active() &&
      mLoader.AnnouncedPacked() - mLoader.Packed().size() > kFirmwareChunkDataSize;
  if (message[kOffsetCommand] == kCmdFirmwareChunk && middleExpected &&
      message.size() != kFirmwareChunkLength) {
    mLoaderStarted = false;
    return LoaderReply(kCmdUpdateFailed);
  }
  switch (mLoader.Feed(message)) {
  case FirmwareTransferReceiver::Step::Completed:
    mLoaderStarted = false;
    if (!mLoader.Ok()) return LoaderReply(kCmdUpdateFailed);
    mReceivedFirmware = mLoader.Image();
    ++mFirmwareUpdates;
    return LoaderReply(kCmdUpdateComplete);
  case FirmwareTransferReceiver::Step::Ignored:
    // A chunk that does not fit the transfer (wrong size, no first chunk)
    // means the image cannot be right any more.
    mLoaderStarted = false;
    return LoaderReply(kCmdUpdateFailed);
  default:
    return {};
  }
}

std::vector<Bytes> PedalModel::DumpOf(int slot) const {
  return {ToBytes(BuildPresetDump(slot, mState.presets[static_cast<size_t>(slot & 0x7F)]))};
}

std::vector<Bytes> PedalModel::IRDump(int number) const {
  const IRBlock* block = FindIR(mState, number);
  if (!block) return {};
  return BuildIRTransfer(number, *block);
}

std::vector<Bytes> PedalModel::IRNamePage(int page) const {
  if (page < 0 || page > kLastIRNamePage) return {};
  const std::string blank(kNameLength, ' ');
  std::array<std::string, kIRNamesPerPage> names;
  for (int i = 0; i < kIRNamesPerPage; ++i) {
    const int position = IRNamePosition(page, i);
    const IRBlock* block = nullptr;
    if (page / kIRNamePagesPerBank == kFactoryNameBank) {
      if (position < kFactoryIRCount) block = FindIR(mState, kFactoryIRFirstNumber + position);
    } else {
      block = FindIR(mState, (page / kIRNamePagesPerBank) * kIRPositionsPerBank + position);
    }
    names[static_cast<size_t>(i)] = block ? IRBlockName(*block) : blank;
  }
  std::array<std::string_view, kIRNamesPerPage> views;
  std::copy(names.begin(), names.end(), views.begin());
  return {ToBytes(BuildIRNamePage(page, views))};
}

void PedalModel::RefreshEditBufferIRNames() {
  PresetPayload& eb = mState.editBuffer;
  const std::string blank(kNameLength, ' ');
  auto nameOf = [&](bool on, int number) {
    const IRBlock* block = on ? FindIR(mState, number) : nullptr;
    return block ? IRBlockName(*block) : blank;
  };
  WriteNameAt(eb, kPayloadIR7NameOffset, nameOf(PayloadUserIR7On(eb), PayloadUserIR7Number(eb)));
  WriteNameAt(eb, kPayloadIR8NameOffset, nameOf(PayloadUserIR8On(eb), PayloadUserIR8Number(eb)));
}

} // namespace zorel::sim

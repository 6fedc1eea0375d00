#include "protocol/codec/Classify.h"

#include "protocol/codec/Frame.h"
#include "protocol/codec/IrTransfer.h"

namespace zorel {

namespace {

constexpr size_t kIRFirstChunkMinLength = kIRFirstChunkDataOffset + 1;

bool SubIdIs0B(std::span<const uint8_t> m) {
  return m.size() > kOffsetSubId && m[kOffsetSubId] == kSysExSubId;
}

IncomingKind ClassifyIRDumpChunk(std::span<const uint8_t> m) {
  if (!HasPedalHeader(m, kSysExTargetEditor)) return IncomingKind::Unknown;
  switch (m[kOffsetCommand]) {
  case kCmdIRFirstChunk:
    return m.size() >= kIRFirstChunkMinLength ? IncomingKind::IRDumpFirst : IncomingKind::Unknown;
  case kCmdIRMiddleChunk:
    return IncomingKind::IRDumpMiddle;
  case kCmdIRLastChunk:
    return IncomingKind::IRDumpLast;
  default:
    return IncomingKind::Unknown;
  }
}

IncomingKind ClassifyShort(std::span<const uint8_t> m) {
  if (m.size() <= kOffsetCommand) return IncomingKind::Unknown;
  const uint8_t command = m[kOffsetCommand];
  if (HasPedalHeader(m, kSysExTargetEditor)) {
    if (SubIdIs0B(m)) {
      // Of the editor-protocol messages that carry the sub-id, only the
      // parameter report is short; it needs its number and value bytes.
      if (command == kCmdParameterReport && m.size() >= 9 && m[7] < 0x80 && m[8] < 0x80)
        return IncomingKind::ParameterReport;
      return IncomingKind::Unknown;
    }
    switch (command) {
    case kCmdFinished:
      return IncomingKind::Finished;
    case kCmdParameterAccepted:
      return IncomingKind::ParameterAccepted;
    case kCmdIRStored:
      return IncomingKind::IRStored;
    case kCmdError:
      return IncomingKind::Error;
    case kCmdReadyForIRData:
      return IncomingKind::ReadyForIRData;
    case kCmdWriteAck:
    case kCmdWriteAckAlt:
      return IncomingKind::WriteAcknowledged;
    case kCmdWriteFailed:
    case kCmdWriteFailedAlt:
      return IncomingKind::WriteFailed;
    case kCmdWriteAckMore:
      return IncomingKind::WriteAcknowledgedMore;
    default:
      return IncomingKind::Unknown;
    }
  }
  if (HasPedalHeader(m, kSysExTargetLoader)) {
    switch (command) {
    case kCmdLoaderReady:
      return IncomingKind::LoaderReady;
    case kCmdUpdateComplete:
      return IncomingKind::UpdateComplete;
    case kCmdUpdateFailed:
      return IncomingKind::UpdateFailed;
    default:
      return IncomingKind::Unknown;
    }
  }
  return IncomingKind::Unknown;
}

} // namespace

IncomingKind ClassifyIncoming(std::span<const uint8_t> m) {
  const size_t n = m.size();
  if (n <= kShortMessageMaxLength) return ClassifyShort(m);
  if (!HasPedalHeader(m, kSysExTargetEditor)) return IncomingKind::Unknown;
  const uint8_t command = m[kOffsetCommand];
  if (n == kBlockMessageLength) {
    if (command == kCmdPresetDump) return IncomingKind::PresetDump;
    if (command == kCmdSettingsBlock) return IncomingKind::SettingsBlock;
    if (command == kCmdIRNamePage && SubIdIs0B(m)) return IncomingKind::IRNamePage;
    return IncomingKind::Unknown;
  }
  if (n == kIRNameReportLength && command == kCmdIRNameReport)
    return SubIdIs0B(m) ? IncomingKind::IRNameReport : IncomingKind::Unknown;
  return ClassifyIRDumpChunk(m);
}

std::optional<ParameterReport> ParseParameterReport(std::span<const uint8_t> message) {
  if (ClassifyIncoming(message) != IncomingKind::ParameterReport) return std::nullopt;
  return ParameterReport{message[7], message[8]};
}

EditorKind ClassifyEditorMessage(std::span<const uint8_t> m) {
  const size_t n = m.size();
  if (HasPedalHeader(m, kSysExTargetLoader) && n > kOffsetCommand) {
    switch (m[kOffsetCommand]) {
    case kCmdLoaderStart:
      return n == 7 ? EditorKind::LoaderStart : EditorKind::Unknown;
    case kCmdFirmwareFirstChunk:
      return n >= 10 ? EditorKind::FirmwareFirst : EditorKind::Unknown;
    case kCmdFirmwareChunk:
      return n >= 9 ? EditorKind::FirmwareChunk : EditorKind::Unknown;
    default:
      return EditorKind::Unknown;
    }
  }
  if (!HasPedalHeader(m, kSysExTargetEditor) || n <= kOffsetCommand) return EditorKind::Unknown;
  const uint8_t command = m[kOffsetCommand];
  const bool lastChunkLength = n >= 11 && n <= kIRChunkDataSize + 10;
  // Restores resend stored pedal messages, whose byte 6 is whatever it was.
  switch (command) {
  case kCmdRestorePreset:
    return n == kBlockMessageLength ? EditorKind::RestorePreset : EditorKind::Unknown;
  case kCmdRestoreIRFirst:
    return n == kIRFirstChunkLength ? EditorKind::RestoreIRFirst : EditorKind::Unknown;
  case kCmdRestoreIRMiddle:
    return n == kIRMiddleChunkLength ? EditorKind::RestoreIRMiddle : EditorKind::Unknown;
  case kCmdRestoreIRLast:
    return lastChunkLength ? EditorKind::RestoreIRLast : EditorKind::Unknown;
  default:
    break;
  }
  if (!SubIdIs0B(m)) return EditorKind::Unknown;
  auto exact = [n](size_t length, EditorKind kind) {
    return n == length ? kind : EditorKind::Unknown;
  };
  switch (command) {
  case kCmdWritePreset:
    return exact(kBlockMessageLength, EditorKind::WritePreset);
  case kCmdSelectPreset:
    return exact(9, EditorKind::SelectPreset);
  case kCmdRequestPreset:
    return exact(9, EditorKind::RequestPreset);
  case kCmdSetParameter:
    return exact(10, EditorKind::SetParameter);
  case kCmdSettingsBlock:
    return exact(kBlockMessageLength, EditorKind::WriteSettings);
  case kCmdRequestSettings:
    return exact(9, EditorKind::RequestSettings);
  case kCmdFactoryReset:
    return exact(9, EditorKind::FactoryReset);
  case kCmdBeginBulkMode:
    return exact(8, EditorKind::BeginBulkMode);
  case kCmdEndBulkMode:
    return exact(8, EditorKind::EndBulkMode);
  case kCmdEditorClosing:
    return exact(8, EditorKind::EditorClosing);
  case kCmdIRFirstChunk:
    return exact(kIRFirstChunkLength, EditorKind::IRUploadFirst);
  case kCmdIRMiddleChunk:
    return exact(kIRMiddleChunkLength, EditorKind::IRUploadMiddle);
  case kCmdIRLastChunk:
    return lastChunkLength ? EditorKind::IRUploadLast : EditorKind::Unknown;
  case kCmdRequestIR:
    return exact(10, EditorKind::RequestIR);
  case kCmdRequestIRNames:
    return exact(9, EditorKind::RequestIRNames);
  default:
    return EditorKind::Unknown;
  }
}

const char* ToString(IncomingKind kind) {
  switch (kind) {
  case IncomingKind::Unknown:
    return "Unknown";
  case IncomingKind::PresetDump:
    return "PresetDump";
  case IncomingKind::SettingsBlock:
    return "SettingsBlock";
  case IncomingKind::IRNamePage:
    return "IRNamePage";
  case IncomingKind::IRNameReport:
    return "IRNameReport";
  case IncomingKind::IRDumpFirst:
    return "IRDumpFirst";
  case IncomingKind::IRDumpMiddle:
    return "IRDumpMiddle";
  case IncomingKind::IRDumpLast:
    return "IRDumpLast";
  case IncomingKind::ParameterReport:
    return "ParameterReport";
  case IncomingKind::Finished:
    return "Finished";
  case IncomingKind::ParameterAccepted:
    return "ParameterAccepted";
  case IncomingKind::IRStored:
    return "IRStored";
  case IncomingKind::Error:
    return "Error";
  case IncomingKind::ReadyForIRData:
    return "ReadyForIRData";
  case IncomingKind::WriteAcknowledged:
    return "WriteAcknowledged";
  case IncomingKind::WriteFailed:
    return "WriteFailed";
  case IncomingKind::WriteAcknowledgedMore:
    return "WriteAcknowledgedMore";
  case IncomingKind::LoaderReady:
    return "LoaderReady";
  case IncomingKind::UpdateComplete:
    return "UpdateComplete";
  case IncomingKind::UpdateFailed:
    return "UpdateFailed";
  }
  return "?";
}

const char* ToString(EditorKind kind) {
  switch (kind) {
  case EditorKind::Unknown:
    return "Unknown";
  case EditorKind::WritePreset:
    return "WritePreset";
  case EditorKind::SelectPreset:
    return "SelectPreset";
  case EditorKind::RequestPreset:
    return "RequestPreset";
  case EditorKind::SetParameter:
    return "SetParameter";
  case EditorKind::WriteSettings:
    return "WriteSettings";
  case EditorKind::RequestSettings:
    return "RequestSettings";
  case EditorKind::FactoryReset:
    return "FactoryReset";
  case EditorKind::BeginBulkMode:
    return "BeginBulkMode";
  case EditorKind::EndBulkMode:
    return "EndBulkMode";
  case EditorKind::EditorClosing:
    return "EditorClosing";
  case EditorKind::IRUploadFirst:
    return "IRUploadFirst";
  case EditorKind::IRUploadMiddle:
    return "IRUploadMiddle";
  case EditorKind::IRUploadLast:
    return "IRUploadLast";
  case EditorKind::RequestIR:
    return "RequestIR";
  case EditorKind::RequestIRNames:
    return "RequestIRNames";
  case EditorKind::RestorePreset:
    return "RestorePreset";
  case EditorKind::RestoreIRFirst:
    return "RestoreIRFirst";
  case EditorKind::RestoreIRMiddle:
    return "RestoreIRMiddle";
  case EditorKind::RestoreIRLast:
    return "RestoreIRLast";
  case EditorKind::LoaderStart:
    return "LoaderStart";
  case EditorKind::FirmwareFirst:
    return "FirmwareFirst";
  case EditorKind::FirmwareChunk:
    return "FirmwareChunk";
  }
  return "?";
}

} // namespace zorel

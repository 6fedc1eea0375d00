#include "protocol/codec/MessageText.h"

#include <cstdio>

#include "protocol/codec/Classify.h"
#include "protocol/codec/EditorMessages.h"
#include "protocol/codec/FirmwareTransfer.h"
#include "protocol/codec/Frame.h"
#include "protocol/codec/IrNames.h"
#include "protocol/codec/IrTransfer.h"
#include "protocol/codec/SettingsBlocks.h"

namespace zorel {

namespace {

std::string Text(const char* format, auto... args) {
  char line[160];
  std::snprintf(line, sizeof line, format, args...);
  return line;
}

const char* ChecksumWord(std::span<const uint8_t> block) {
  return BlockChecksumOk(block) ? "checksum ok" : "checksum bad";
}

uint32_t ChunksFor(uint32_t totalPacked, uint32_t firstChunkData, uint32_t chunkData) {
  if (totalPacked <= firstChunkData) return 1;
  return 1 + (totalPacked - firstChunkData + chunkData - 1) / chunkData;
}

// "chunk 3 of 11", or "chunk 3" when the first chunk was not seen.
std::string ChunkText(const char* what, ChunkCount& count, bool last) {
  const uint32_t n = count.next == 0 ? 1 : count.next;
  count.next = last ? 0 : n + 1;
  std::string text = count.total != 0 ? Text("%s chunk %u of %u", what, n, count.total)
                                      : Text("%s chunk %u", what, n);
  if (last) count.total = 0;
  return text;
}

std::string FirstIRChunk(const char* what, ChunkCount& count, std::span<const uint8_t> m) {
  const int ir = Decode14(m[7], m[8]);
  const uint32_t total = Decode21(m[9], m[10], m[11]);
  count.next = 1;
  count.total = ChunksFor(total, kIRChunkDataSize, kIRChunkDataSize);
  const bool only = count.total == 1;
  return ChunkText(what, count, only) + Text(" (IR %d)", ir);
}

std::string SettingsName(int type) {
  switch (type) {
  case kSettingsGlobal:
    return "global settings";
  case kSettingsMidiAssignments:
    return "MIDI assignments";
  case kSettingsProgramMap:
    return "program map";
  case kSettingsChecksumList:
    return "preset checksum list";
  case kSettingsIdentity:
    return "identity";
  default:
    return Text("settings type %d", type);
  }
}

std::string DescribeToPedal(std::span<const uint8_t> m, TrafficContext& c) {
  switch (ClassifyEditorMessage(m)) {
  case EditorKind::WritePreset:
    return Text("write preset %d, %s", m[7], ChecksumWord(m));
  case EditorKind::SelectPreset:
    return Text("select preset %d", m[7]);
  case EditorKind::RequestPreset:
    return Text("request preset %d", m[7]);
  case EditorKind::SetParameter:
    if (m[7] == kDeviceNumberStore) return Text("store into preset %d", m[8]);
    return Text("set parameter %d to %d", m[7], m[8]);
  case EditorKind::WriteSettings:
    return "write " + SettingsName(m[7]) + ", " + ChecksumWord(m);
  case EditorKind::RequestSettings:
    if (m[7] == kSettingsIdentity) return "identity request";
    return "request " + SettingsName(m[7]);
  case EditorKind::FactoryReset:
    return m[7] == kResetPresets    ? "factory reset of the presets"
           : m[7] == kResetSettings ? "factory reset of the settings"
                                    : "factory reset";
  case EditorKind::BeginBulkMode:
    return "bulk mode on";
  case EditorKind::EndBulkMode:
    return "bulk mode off";
  case EditorKind::EditorClosing:
    return "editor closing";
  case EditorKind::IRUploadFirst:
    return FirstIRChunk("IR upload", c.irUpload, m);
  case EditorKind::IRUploadMiddle:
    return ChunkText("IR upload", c.irUpload, false);
  case EditorKind::IRUploadLast:
    return ChunkText("IR upload", c.irUpload, true);
  case EditorKind::RequestIR:
    return Text("request IR %d", Decode14(m[7], m[8]));
  case EditorKind::RequestIRNames:
    return Text("request IR names page %d", m[7]);
  case EditorKind::RestorePreset:
    return Text("restore preset %d, %s", m[7], ChecksumWord(m));
  case EditorKind::RestoreIRFirst:
    return FirstIRChunk("IR restore", c.irRestore, m);
  case EditorKind::RestoreIRMiddle:
    return ChunkText("IR restore", c.irRestore, false);
  case EditorKind::RestoreIRLast:
    return ChunkText("IR restore", c.irRestore, true);
  case EditorKind::LoaderStart:
    return "start firmware loader";
  case EditorKind::FirmwareFirst: {
    const uint32_t total = Decode21(m[6], m[7], m[8]);
    c.firmware.next = 1;
    c.firmware.total = ChunksFor(total, kFirmwareChunkDataSize, kFirmwareChunkDataSize);
    return ChunkText("firmware", c.firmware, c.firmware.total == 1);
  }
  case EditorKind::FirmwareChunk:
    // Only the size tells the last chunk from a middle one.
    return ChunkText("firmware", c.firmware, m.size() != kFirmwareChunkLength);
  case EditorKind::Unknown:
    break;
  }
  return {};
}

std::string DescribeFromPedal(std::span<const uint8_t> m, TrafficContext& c) {
  switch (ClassifyIncoming(m)) {
  case IncomingKind::PresetDump:
    return Text("preset dump %d, %s", m[7], ChecksumWord(m));
  case IncomingKind::SettingsBlock:
    if (m[7] == kSettingsIdentity)
      return Text("identity, version %.1f, %s", m[6] / 10.0, ChecksumWord(m));
    return SettingsName(m[7]) + ", " + ChecksumWord(m);
  case IncomingKind::IRNamePage:
    return Text("IR name page %d, %s", m[7], ChecksumWord(m));
  case IncomingKind::IRNameReport: {
    std::string name = ParseIRNameReport(m).value_or("");
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return "IR name report \"" + name + "\"";
  }
  case IncomingKind::IRDumpFirst:
    return FirstIRChunk("IR dump", c.irDump, m);
  case IncomingKind::IRDumpMiddle:
    return ChunkText("IR dump", c.irDump, false);
  case IncomingKind::IRDumpLast:
    return ChunkText("IR dump", c.irDump, true);
  case IncomingKind::ParameterReport:
    return Text("parameter report %d = %d", m[7], m[8]);
  case IncomingKind::Finished:
    return "finished";
  case IncomingKind::ParameterAccepted:
    return "parameter accepted";
  case IncomingKind::IRStored:
    return "IR stored";
  case IncomingKind::Error:
    return "error";
  case IncomingKind::ReadyForIRData:
    return "ready for IR data";
  case IncomingKind::WriteAcknowledged:
    return "write acknowledged";
  case IncomingKind::WriteFailed:
    return "write failed";
  case IncomingKind::WriteAcknowledgedMore:
    return "write acknowledged, more to come";
  case IncomingKind::LoaderReady:
    return "loader ready";
  case IncomingKind::UpdateComplete:
    return "update complete";
  case IncomingKind::UpdateFailed:
    return "update failed";
  case IncomingKind::Unknown:
    break;
  }
  return {};
}

// What can be said of a message that is none of the pedal's.
std::string DescribeOther(std::span<const uint8_t> m) {
  if (m.empty()) return "empty message";
  const uint8_t status = m[0];
  if (status == kSysExStart) {
    if (m.size() > kOffsetTarget &&
        (HasPedalHeader(m, kSysExTargetEditor) || HasPedalHeader(m, kSysExTargetLoader))) {
      return m.size() > kOffsetCommand ? Text("unknown pedal message 0x%02X", m[kOffsetCommand])
                                       : std::string("cut pedal message");
    }
    return "foreign SysEx";
  }
  const int channel = (status & 0x0F) + 1;
  switch (status & 0xF0) {
  case 0x80:
    return Text("note off, channel %d", channel);
  case 0x90:
    return Text("note on, channel %d", channel);
  case 0xA0:
    return Text("key pressure, channel %d", channel);
  case 0xB0:
    return m.size() >= 3 ? Text("control change %d = %d, channel %d", m[1], m[2], channel)
                         : Text("control change, channel %d", channel);
  case 0xC0:
    return m.size() >= 2 ? Text("program change %d, channel %d", m[1], channel)
                         : Text("program change, channel %d", channel);
  case 0xD0:
    return Text("channel pressure, channel %d", channel);
  case 0xE0:
    return Text("pitch bend, channel %d", channel);
  case 0xF0:
    return Text("system message 0x%02X", status);
  default:
    return "stray data bytes";
  }
}

} // namespace

bool IsIdentityReply(std::span<const uint8_t> message) {
  return ClassifyIncoming(message) == IncomingKind::SettingsBlock &&
         message[kBlockDataOffset - 1] == kSettingsIdentity;
}

std::string DescribeMessage(TrafficDirection direction, std::span<const uint8_t> message,
                            TrafficContext& context) {
  std::string text = direction == TrafficDirection::kToPedal ? DescribeToPedal(message, context)
                                                             : DescribeFromPedal(message, context);
  return text.empty() ? DescribeOther(message) : text;
}

std::string FormatTrafficLine(double seconds, TrafficDirection direction,
                              std::span<const uint8_t> message, TrafficContext& context) {
  if (direction == TrafficDirection::kNote)
    return Text("%9.3f  --- ", seconds) + std::string(message.begin(), message.end());
  return Text("%9.3f  %-3s %5zu  ", seconds, direction == TrafficDirection::kToPedal ? "out" : "in",
              message.size()) +
         DescribeMessage(direction, message, context);
}

} // namespace zorel

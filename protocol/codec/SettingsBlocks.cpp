#include "protocol/codec/SettingsBlocks.h"

#include "protocol/codec/Names.h"

namespace zorel {

namespace {

constexpr size_t kEditPotDisplayModeOffset = 6;

} // namespace

BlockMessage BuildSettingsBlock(int type, std::span<const uint8_t, kBlockDataSize> data) {
  return BuildBlockMessage(kCmdSettingsBlock, kSysExSubId, Encode7(type), data);
}

// ---- Type 0 ---------------------------------------------------------------

BlockData BuildGlobalSettingsData(const GlobalSettings& settings) {
  BlockData data{};
  data[0] = Encode7(settings.currentProgram);
  for (const auto& field : kGlobalSettingsFields)
    data[field.dataOffset] = Encode7(settings.*field.member);
  data[kEditPotDisplayModeOffset] = kEditPotDisplayModeWritten;
  return data;
}

BlockMessage BuildGlobalSettingsBlock(const GlobalSettings& settings) {
  return BuildSettingsBlock(kSettingsGlobal, BuildGlobalSettingsData(settings));
}

GlobalSettings ParseGlobalSettings(std::span<const uint8_t, kBlockDataSize> data) {
  GlobalSettings settings;
  settings.currentProgram = data[0];
  for (const auto& field : kGlobalSettingsFields) settings.*field.member = data[field.dataOffset];
  settings.editPotDisplayMode = data[kEditPotDisplayModeOffset] > 0 ? 1 : 0;
  return settings;
}

// ---- Type 1 ---------------------------------------------------------------

BlockData BuildMidiCCData(const MidiCCNumbers& ccNumbers) {
  BlockData data{};
  for (size_t i = 0; i < ccNumbers.size(); ++i) data[i] = Encode7(ccNumbers[i]);
  return data;
}

BlockMessage BuildMidiCCBlock(const MidiCCNumbers& ccNumbers) {
  return BuildSettingsBlock(kSettingsMidiAssignments, BuildMidiCCData(ccNumbers));
}

std::array<uint8_t, kMidiAssignmentCount>
ParseMidiAssignments(std::span<const uint8_t, kBlockDataSize> data) {
  std::array<uint8_t, kMidiAssignmentCount> values{};
  for (size_t i = 0; i < values.size(); ++i) values[i] = data[i];
  return values;
}

// ---- Type 2 ---------------------------------------------------------------

BlockData BuildProgramMapData(const ProgramMap& map) {
  BlockData data{};
  for (size_t k = 0; k < map.size(); ++k) data[k] = Encode7(map[k]);
  return data;
}

BlockMessage BuildProgramMapBlock(const ProgramMap& map) {
  return BuildSettingsBlock(kSettingsProgramMap, BuildProgramMapData(map));
}

std::array<uint8_t, kProgramMapSize>
ParseProgramMap(std::span<const uint8_t, kBlockDataSize> data) {
  std::array<uint8_t, kProgramMapSize> map{};
  for (size_t k = 0; k < map.size(); ++k) map[k] = data[k];
  return map;
}

// ---- Type 3 ---------------------------------------------------------------

PresetChecksumList ParseChecksumList(std::span<const uint8_t, kBlockDataSize> data) {
  PresetChecksumList list{};
  for (size_t k = 0; k < list.size(); ++k) list[k] = {data[2 * k], data[2 * k + 1]};
  return list;
}

BlockData BuildChecksumListData(const PresetChecksumList& list) {
  BlockData data{};
  for (size_t k = 0; k < list.size(); ++k) {
    data[2 * k] = list[k].high;
    data[2 * k + 1] = list[k].low;
  }
  return data;
}

// ---- Type 15 --------------------------------------------------------------

Identity ParseIdentity(const BlockView& block) {
  Identity identity;
  identity.firmwareVersionTimes10 = block.byte6;
  identity.serial = ReadNameField(block.data.subspan<kIdentitySerialOffset, kNameLength>());
  return identity;
}

BlockMessage BuildIdentityBlock(int firmwareVersionTimes10, std::string_view serial) {
  BlockData data{};
  WriteNameField(std::span<uint8_t, kNameLength>(data.data() + kIdentitySerialOffset, kNameLength),
                 serial);
  return BuildBlockMessage(kCmdSettingsBlock, Encode7(firmwareVersionTimes10),
                           static_cast<uint8_t>(kSettingsIdentity), data);
}

} // namespace zorel

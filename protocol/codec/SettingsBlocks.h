#pragma once

// Settings blocks: command 0x52 in both directions, 267 bytes, byte 7 = type,
// 256 data bytes. The editor writes types 0, 1, 2 and reads 0, 1, 2, 3, 15.
// Builders fill the data from plain values; parsers return the raw bytes (the
// editor divides each by its parameter's maximum when applying it).

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "formats/DataFormats.h"
#include "protocol/codec/Encoding.h"
#include "protocol/codec/Frame.h"
#include "protocol/codec/ParamIds.h"

namespace zorel {

inline constexpr int kSettingsGlobal = 0;
inline constexpr int kSettingsMidiAssignments = 1;
inline constexpr int kSettingsProgramMap = 2;
inline constexpr int kSettingsChecksumList = 3;
inline constexpr int kSettingsIdentity = 15;

// A settings block message of any type: F0 00 51 21 05 52 0B type, data,
// block checksum, F7. Data bytes are masked to 7 bits.
BlockMessage BuildSettingsBlock(int type, std::span<const uint8_t, kBlockDataSize> data);

// ---- Type 0: global settings --------------------------------------------

// The values carried by a type-0 block, named after their parameters.
struct GlobalSettings {
  int currentProgram = 0;         // d 0: the program the pedal is on / should be on
  int defineMidiMapping = 0;      // d 1:  89
  int midiThruMode = 0;           // d 2:  90
  int patchOffset = 0;            // d 3:  91
  int midiCCMode = 0;             // d 4:  92
  int midiCCChannel = 0;          // d 5:  93
  int editPotDisplayMode = 0;     // d 6:  94 (see below)
  int disengageAllPots = 0;       // d 7:  95
  int tunerFrequency = 0;         // d 8:  96
  int presetProtectionWriter = 0; // d 9:  97
  int tunerDetune = 0;            // d 10: 98
  int softClipping = 0;           // d 11: 33
  int analogSimGain = 0;          // d 12: 34
  int antiAliasingFilter = 0;     // d 13: 35
  int cabinetBypass = 0;          // d 16: 99
  int safeLevel = 0;              // d 17: 100
};

// Data offset and parameter of every field but currentProgram, so that code
// holding parameters can fill or apply a block with one loop.
struct GlobalSettingsField {
  size_t dataOffset;
  int param;
  int GlobalSettings::*member;
};
inline constexpr std::array<GlobalSettingsField, 15> kGlobalSettingsFields = {{
    {1, kParamDefineMidiMapping, &GlobalSettings::defineMidiMapping},
    {2, kParamMidiThruMode, &GlobalSettings::midiThruMode},
    {3, kParamPatchOffset, &GlobalSettings::patchOffset},
    {4, kParamMidiCCMode, &GlobalSettings::midiCCMode},
    {5, kParamMidiCCChannel, &GlobalSettings::midiCCChannel},
    {6, kParamEditPotDisplayMode, &GlobalSettings::editPotDisplayMode},
    {7, kParamDisengageAllPots, &GlobalSettings::disengageAllPots},
    {8, kParamTunerFrequency, &GlobalSettings::tunerFrequency},
    {9, kParamPresetProtectionWriter, &GlobalSettings::presetProtectionWriter},
    {10, kParamTunerDetune, &GlobalSettings::tunerDetune},
    {11, kParamSoftClipping, &GlobalSettings::softClipping},
    {12, kParamAnalogSimGain, &GlobalSettings::analogSimGain},
    {13, kParamAntiAliasingFilter, &GlobalSettings::antiAliasingFilter},
    {16, kParamCabinetBypass, &GlobalSettings::cabinetBypass},
    {17, kParamSafeLevel, &GlobalSettings::safeLevel},
}};

// The pedal expects 2 at data offset 6 whatever the editor's display mode
// parameter holds; it reports 0 or any positive value, read as 0 or 1.
inline constexpr uint8_t kEditPotDisplayModeWritten = 2;

// Data of a type-0 block; offset 6 is always kEditPotDisplayModeWritten,
// offsets 14, 15 and 18..255 are 0.
BlockData BuildGlobalSettingsData(const GlobalSettings& settings);
BlockMessage BuildGlobalSettingsBlock(const GlobalSettings& settings);
// Reads every field; editPotDisplayMode is 1 for any byte above 0.
GlobalSettings ParseGlobalSettings(std::span<const uint8_t, kBlockDataSize> data);

// ---- Type 1: MIDI controller assignments ---------------------------------

// The editor writes the CC numbers of the eight knobs (parameters 101..108:
// DRIVE, LOW, MID, HIGH, REVERB, GATE, FILTER, LEVEL) at offsets 0..7.
inline constexpr int kMidiCCKnobCount = 8;
using MidiCCNumbers = std::array<int, kMidiCCKnobCount>;
BlockData BuildMidiCCData(const MidiCCNumbers& ccNumbers);
BlockMessage BuildMidiCCBlock(const MidiCCNumbers& ccNumbers);

// The pedal's block carries 16 values at offsets 0..15 for parameters
// kMidiAssignmentFirstParam + 0..15 (101..116: the eight CC numbers, the
// program-map pairs and the jack modes and polarities).
inline constexpr int kMidiAssignmentFirstParam = kParamMidiCCDrive;
inline constexpr int kMidiAssignmentCount = 16;
std::array<uint8_t, kMidiAssignmentCount>
ParseMidiAssignments(std::span<const uint8_t, kBlockDataSize> data);

// ---- Type 2: program-change map ------------------------------------------

// Entry k = the pedal program that incoming program change k selects.
inline constexpr int kProgramMapSize = 128;
using ProgramMap = std::array<int, kProgramMapSize>;
BlockData BuildProgramMapData(const ProgramMap& map);
BlockMessage BuildProgramMapBlock(const ProgramMap& map);
std::array<uint8_t, kProgramMapSize> ParseProgramMap(std::span<const uint8_t, kBlockDataSize> data);

// ---- Type 3: preset checksum list (pedal to editor) ----------------------

using PresetChecksumList = std::array<ChecksumPair, kPresetSlotCount>;
// Offsets 2k, 2k + 1 = the block checksum of the preset in slot k.
PresetChecksumList ParseChecksumList(std::span<const uint8_t, kBlockDataSize> data);
BlockData BuildChecksumListData(const PresetChecksumList& list);

// ---- Type 15: identity (pedal to editor) ----------------------------------

// Byte 6 carries the firmware version x 10 instead of the sub-id; data
// offsets 224..255 the serial number.
inline constexpr size_t kIdentitySerialOffset = 224;
struct Identity {
  int firmwareVersionTimes10 = 0; // e.g. 11 = version 1.1
  std::string serial;             // 32 characters as received
};
Identity ParseIdentity(const BlockView& block);
// For the pedal's side: a type-15 block with the version in byte 6 and the
// serial (sanitized and space padded like any name) at data 224..255.
BlockMessage BuildIdentityBlock(int firmwareVersionTimes10, std::string_view serial);

} // namespace zorel

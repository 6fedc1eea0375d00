#pragma once

// Builders of every message the editor sends in the editor protocol (target
// 0x05, sub-id 0x0B). Each returns the complete message, F0 to F7, in an
// array of its fixed length; the editor's Send... operations hand it to
// SendSysEx. Arguments are plain values; every value byte keeps only its low
// 7 bits. IR transfers, firmware transfers and restores have their own files.

#include <array>
#include <cstdint>
#include <span>

#include "protocol/codec/Frame.h"
#include "protocol/codec/PresetPayload.h"

namespace zorel {

// Device parameter numbers with a meaning of their own (not a parameter).
inline constexpr int kDeviceNumberStore = 18;        // value = program to store into
inline constexpr int kDeviceNumberFilterSwitch = 19; // value 0 or 1
// In the pedal's parameter report, number 77 is the FILTER footswitch state.
inline constexpr int kReportNumberFilterSwitch = 77;

// Factory reset scopes.
inline constexpr int kResetAll = 0;
inline constexpr int kResetPresets = 1;
inline constexpr int kResetSettings = 2;

using Message7 = std::array<uint8_t, 7>;
using Message8 = std::array<uint8_t, 8>;
using Message9 = std::array<uint8_t, 9>;
using Message10 = std::array<uint8_t, 10>;

// 0x20 write preset: program N, the payload built from `content`, checksum.
BlockMessage BuildWritePreset(int program, const PresetContent& content);
// 0x20 from an existing payload (e.g. a preset slot file). Payload bytes are
// masked to 7 bits and the checksum is computed over what is sent.
BlockMessage BuildWritePreset(int program, std::span<const uint8_t, kPresetPayloadSize> payload);

// 0x23 select preset N.
Message9 BuildSelectPreset(int program);
// 0x40 request the preset in `slot`.
Message9 BuildRequestPreset(int slot);

// 0x50 set parameter: device number, value. For parameters 0..73 the device
// number is PedalParameterNumber(index).
Message10 BuildSetParameter(int deviceNumber, int value);
// 0x50 for sound parameter `index` (0..73): converts the index first.
Message10 BuildSetSoundParameter(int index, int value);
// 0x50 18 N: store the edit buffer into program N.
Message10 BuildStoreProgram(int program);
// 0x50 19 v: FILTER footswitch state.
Message10 BuildFilterSwitch(bool on);

// 0x52 write settings block: see SettingsBlocks.h for the typed builders.

// 0x55 request settings block of `type` (0, 1, 2, 3 or 15).
Message9 BuildRequestSettings(int type);
// The identity request, 0x55 with type 15: F0 00 51 21 05 55 0B 0F F7.
Message9 BuildIdentityRequest();

// 0x56 factory reset of `scope` (kResetAll, kResetPresets, kResetSettings).
Message9 BuildFactoryReset(int scope);

// 0x5A when on, 0x5B when off.
Message8 BuildBulkMode(bool on);
// 0x5F editor closing.
Message8 BuildEditorClosing();

// 0x69 request IR dump of `irNumber` (14-bit).
Message10 BuildRequestIR(int irNumber);
// 0x6A request IR name page `page`.
Message9 BuildRequestIRNames(int page);

} // namespace zorel

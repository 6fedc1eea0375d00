#pragma once

// Classifying a message by its length and bytes, for both sides: what the
// editor receives from the pedal, and (for the virtual pedal) what the pedal
// receives from the editor. Both are total: any length and content gives a
// kind, Unknown for anything that is not a message of that direction.

#include <cstdint>
#include <optional>
#include <span>

namespace zorel {

// Messages from the pedal.
enum class IncomingKind {
  Unknown,               // ignored: foreign, malformed or not acted on
  PresetDump,            // 267, 05 41
  SettingsBlock,         // 267, 05 52 (byte 6 = version in an identity block)
  IRNamePage,            // 267, 05 6B 0B
  IRNameReport,          // 42, 05 7B 0B
  IRDumpFirst,           // > 10, 05 60
  IRDumpMiddle,          // > 10, 05 65
  IRDumpLast,            // > 10, 05 66
  ParameterReport,       // <= 10, 05 51 0B x v
  Finished,              // <= 10, 05 57 (byte 6 not 0B, as for all below)
  ParameterAccepted,     // 05 5F
  IRStored,              // 05 61
  Error,                 // 05 62
  ReadyForIRData,        // 05 63
  WriteAcknowledged,     // 05 71 or 05 7D
  WriteFailed,           // 05 72 or 05 7E
  WriteAcknowledgedMore, // 05 73
  LoaderReady,           // <= 10, 04 12
  UpdateComplete,        // 04 14
  UpdateFailed,          // 04 15
};

// Length first: 267 = block message, 42 = IR name report, other lengths above
// 10 = IR dump chunk, 10 or fewer = short message; then bytes 1..5 (and 6
// where it matters). Byte 0 is not inspected. Two refinements keep data that
// the length rule alone would lose: a 42-byte IR dump chunk (0x60/0x65/0x66)
// is classified as the chunk it is, and a first chunk too short to hold its
// IR number and size (under 13 bytes) is Unknown.
// Whether a firmware transfer is running does not matter here: a name report
// and a dump chunk of the same length differ in their command byte.
IncomingKind ClassifyIncoming(std::span<const uint8_t> message);

struct ParameterReport {
  int number = 0; // used by the editor directly as its parameter index (77 = FILTER)
  int value = 0;
};
// Bytes 7 and 8 of a parameter report; nullopt unless ClassifyIncoming says
// ParameterReport.
std::optional<ParameterReport> ParseParameterReport(std::span<const uint8_t> message);

// Messages from the editor, as the pedal sees them. Fixed-length messages
// must have their exact length; editor-protocol messages their 0x0B sub-id,
// except the restore messages, which carry whatever the stored message had.
enum class EditorKind {
  Unknown,
  WritePreset,     // 267, 05 20
  SelectPreset,    // 9, 05 23
  RequestPreset,   // 9, 05 40
  SetParameter,    // 10, 05 50
  WriteSettings,   // 267, 05 52
  RequestSettings, // 9, 05 55
  FactoryReset,    // 9, 05 56
  BeginBulkMode,   // 8, 05 5A
  EndBulkMode,     // 8, 05 5B
  EditorClosing,   // 8, 05 5F
  IRUploadFirst,   // 269, 05 60
  IRUploadMiddle,  // 264, 05 65
  IRUploadLast,    // 11..266, 05 66
  RequestIR,       // 10, 05 69
  RequestIRNames,  // 9, 05 6A
  RestorePreset,   // 267, 05 7F
  RestoreIRFirst,  // 269, 05 77
  RestoreIRMiddle, // 264, 05 78
  RestoreIRLast,   // 11..266, 05 79
  LoaderStart,     // 7, 04 10
  FirmwareFirst,   // >= 10, 04 13
  FirmwareChunk,   // >= 9, 04 20 (middle or last: only the size tells)
};
EditorKind ClassifyEditorMessage(std::span<const uint8_t> message);

const char* ToString(IncomingKind kind);
const char* ToString(EditorKind kind);

} // namespace zorel

#pragma once

// Recognising what a file is from its first bytes, so that a file picked
// by mistake (a WAV, a preset file, a PDF, a backup) can be refused with a
// message naming what it looks like, before any of it goes to the pedal.
// Only signatures that a real firmware image or backup is practically
// never mistaken for are used: magics of four bytes or more, a complete
// first SysEx message, text over the whole first kilobyte.

#include <cstdint>
#include <span>

namespace zorel {

enum class FileKind {
  kUnknown,    // nothing recognised: may be what the caller expects
  kEmpty,      // no bytes
  kBlank,      // every byte the same (an erased or zero-filled file)
  kPedalSysEx, // SysEx messages of the Zorel (F0 00 51 21 ...): a backup
  kSysEx,      // SysEx messages of another device
  kPresetFile, // "ZOLP" or "QVMP"
  kWave,       // "RIFF" .... "WAVE"
  kRiff,       // another RIFF file (AVI, WebP, ...)
  kMidiFile,   // "MThd"
  kPdf,        // "%PDF"
  kPng,        // 89 "PNG" 0D 0A 1A 0A
  kZip,        // "PK" 03 04 / 05 06 (also office documents)
  kGzip,       // 1F 8B 08
  kElf,        // 7F "ELF"
  kIntelHex,   // text lines ":LLAAAATT..." (a firmware image, but as text)
  kText,       // at least 95 % printable ASCII / UTF-8 with line breaks
};

// Looks at the first kilobyte (the whole span for kBlank).
FileKind SniffFileKind(std::span<const uint8_t> bytes);

// What to tell the user, to follow "it looks like ": "a WAV audio file".
const char* DescribeFileKind(FileKind kind);

// For tests and logs: "kWave".
const char* ToString(FileKind kind);

} // namespace zorel

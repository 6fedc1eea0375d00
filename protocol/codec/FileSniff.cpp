#include "protocol/codec/FileSniff.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "protocol/codec/Frame.h"

namespace zorel {

namespace {

constexpr size_t kSniffLength = 1024;

bool StartsWith(std::span<const uint8_t> bytes, const char* magic, size_t length) {
  return bytes.size() >= length && std::memcmp(bytes.data(), magic, length) == 0;
}

bool At(std::span<const uint8_t> bytes, size_t offset, const char* magic, size_t length) {
  return bytes.size() >= offset + length && std::memcmp(bytes.data() + offset, magic, length) == 0;
}

// A first message F0 <7-bit bytes> F7 of at least F0 id F7, or one cut off
// after at least 16 data bytes. Random data starting with F0 almost never
// goes on in 7-bit bytes up to an F7, or for 16 bytes.
bool StartsWithSysExMessage(std::span<const uint8_t> bytes) {
  constexpr size_t kCutMessageMinData = 16;
  if (bytes.empty() || bytes[0] != kSysExStart) return false;
  for (size_t i = 1; i < bytes.size(); ++i) {
    if (bytes[i] == kSysExEnd) return i >= 2;
    if (bytes[i] >= 0x80) return false;
  }
  return bytes.size() > kCutMessageMinData;
}

// Length of a UTF-8 sequence of two to four bytes at `at`, 0 when there is
// none. A sequence cut where the sniffed part was cut off still counts.
size_t Utf8SequenceLength(std::span<const uint8_t> bytes, size_t at, bool cutOff) {
  const uint8_t lead = bytes[at];
  const size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                        : lead >= 0xE0 && lead <= 0xEF ? 3
                        : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                       : 0;
  if (length == 0) return 0;
  for (size_t k = 1; k < length; ++k) {
    if (at + k >= bytes.size()) return cutOff ? bytes.size() - at : 0;
    if ((bytes[at + k] & 0xC0) != 0x80) return 0;
  }
  return length;
}

// Text when at least 95 % of the bytes are printable ASCII, tab, line breaks
// or whole UTF-8 sequences, and lines are broken (or every byte is text).
bool LooksLikeText(std::span<const uint8_t> head, bool cutOff) {
  size_t textBytes = 0;
  bool lineBreaks = false;
  for (size_t i = 0; i < head.size();) {
    const uint8_t b = head[i];
    if ((b >= 0x20 && b < 0x7F) || b == '\t' || b == '\n' || b == '\r') {
      lineBreaks = lineBreaks || b == '\n' || b == '\r';
      ++textBytes;
      ++i;
    } else if (const size_t n = Utf8SequenceLength(head, i, cutOff); n > 0) {
      textBytes += n;
      i += n;
    } else {
      ++i;
    }
  }
  const bool mostly = textBytes * 100 >= head.size() * 95;
  return mostly && (lineBreaks || textBytes == head.size());
}

bool IsHexDigit(uint8_t c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// ":" then at least ten hex digits: byte count, address, record type, checksum.
bool LooksLikeIntelHex(std::span<const uint8_t> head) {
  if (head.size() < 11 || head[0] != ':') return false;
  return std::all_of(head.begin() + 1, head.begin() + 11, IsHexDigit);
}

} // namespace

FileKind SniffFileKind(std::span<const uint8_t> bytes) {
  if (bytes.empty()) return FileKind::kEmpty;
  const auto head = bytes.first(std::min(bytes.size(), kSniffLength));
  if (StartsWith(head, "RIFF", 4) && At(head, 8, "WAVE", 4)) return FileKind::kWave;
  if (StartsWith(head, "RIFF", 4) && head.size() >= 12) return FileKind::kRiff;
  if (StartsWith(head, "ZOLP", 4) || StartsWith(head, "QVMP", 4)) return FileKind::kPresetFile;
  if (StartsWith(head, "MThd", 4)) return FileKind::kMidiFile;
  if (StartsWith(head, "%PDF", 4)) return FileKind::kPdf;
  if (StartsWith(head, "\x89PNG\r\n\x1a\n", 8)) return FileKind::kPng;
  if (StartsWith(head, "PK\x03\x04", 4) || StartsWith(head, "PK\x05\x06", 4)) return FileKind::kZip;
  if (StartsWith(head, "\x1f\x8b\x08", 3)) return FileKind::kGzip;
  if (StartsWith(head,
                 "\x7f"
                 "ELF",
                 4))
    return FileKind::kElf;
  if (StartsWithSysExMessage(head)) {
    return HasPedalHeader(head, kSysExTargetEditor) || HasPedalHeader(head, kSysExTargetLoader)
               ? FileKind::kPedalSysEx
               : FileKind::kSysEx;
  }
  if (bytes.size() > 1 &&
      std::all_of(bytes.begin(), bytes.end(), [&](uint8_t b) { return b == bytes[0]; }))
    return FileKind::kBlank;
  if (LooksLikeText(head, head.size() < bytes.size()))
    return LooksLikeIntelHex(head) ? FileKind::kIntelHex : FileKind::kText;
  return FileKind::kUnknown;
}

namespace {

struct KindTexts {
  FileKind kind;
  const char* name;
  const char* description;
};

// In the order of FileKind.
constexpr KindTexts kKindTexts[] = {
    {FileKind::kUnknown, "kUnknown", "a file of unknown kind"},
    {FileKind::kEmpty, "kEmpty", "an empty file"},
    {FileKind::kBlank, "kBlank", "a blank file (every byte the same)"},
    {FileKind::kPedalSysEx, "kPedalSysEx", "messages for the pedal, such as a backup file (.q3b)"},
    {FileKind::kSysEx, "kSysEx", "a file of MIDI SysEx messages"},
    {FileKind::kPresetFile, "kPresetFile", "a preset file (.q3p)"},
    {FileKind::kWave, "kWave", "a WAV audio file"},
    {FileKind::kRiff, "kRiff", "a RIFF media file"},
    {FileKind::kMidiFile, "kMidiFile", "a standard MIDI file"},
    {FileKind::kPdf, "kPdf", "a PDF document"},
    {FileKind::kPng, "kPng", "a PNG picture"},
    {FileKind::kZip, "kZip", "a ZIP archive"},
    {FileKind::kGzip, "kGzip", "a gzip-compressed file"},
    {FileKind::kElf, "kElf", "a program for a computer"},
    {FileKind::kIntelHex, "kIntelHex", "an Intel HEX text file"},
    {FileKind::kText, "kText", "a text file"},
};

const KindTexts& TextsOf(FileKind kind) {
  const auto index = static_cast<size_t>(kind);
  return index < std::size(kKindTexts) && kKindTexts[index].kind == kind ? kKindTexts[index]
                                                                         : kKindTexts[0];
}

} // namespace

const char* DescribeFileKind(FileKind kind) {
  return TextsOf(kind).description;
}

const char* ToString(FileKind kind) {
  return TextsOf(kind).name;
}

} // namespace zorel

// Recognising files by their first bytes, the firmware image checks, the
// content hash and the confirmation text.

#include <gtest/gtest.h>

#include <string>

#include "protocol/codec/FileSniff.h"
#include "protocol/codec/FirmwareImageCheck.h"
#include "tests/unit/codec/BackupBytes.h"

namespace zorel {
namespace {

using test::Bytes;

Bytes Text(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

// All bytes of a literal, zero bytes included.
template <size_t N> Bytes Lit(const char (&text)[N]) {
  return Bytes(text, text + N - 1);
}

Bytes Padded(Bytes head, size_t size, uint8_t fill) {
  head.resize(size, fill);
  return head;
}

// A made-up image: 8-bit data over the whole range, as real code is.
Bytes Image(size_t size) {
  return test::Pattern(size, 99);
}

TEST(FileSniff, KindsByTheirFirstBytes) {
  std::string lines;
  while (lines.size() < 3000) lines += "Zorel firmware notes, caf\xC3\xA9 \xE2\x80\x94 line\n";
  std::string hex;
  while (hex.size() < 600) hex += ":10010000214601360121470136007EFE09D2190140\r\n";
  struct Case {
    const char* name;
    Bytes bytes;
    FileKind kind;
  };
  const Case cases[] = {
      {"nothing", {}, FileKind::kEmpty},
      {"WAV", Padded(Lit("RIFF\x24\x10\x00\x00WAVEfmt "), 600, 0x11), FileKind::kWave},
      {"AVI",
       Padded(Lit("RIFF\x24\x10\x00\x00"
                  "AVI LIST"),
              600, 0x11),
       FileKind::kRiff},
      {"preset file", Padded(Lit("ZOLP\x01"), 262, 0x20), FileKind::kPresetFile},
      {"old preset file", Padded(Lit("QVMP\x01"), 2698, 0x05), FileKind::kPresetFile},
      {"backup", test::CodecBackup({}), FileKind::kPedalSysEx},
      {"loader messages", test::Hex("F0 00 51 21 04 10 F7"), FileKind::kPedalSysEx},
      {"other SysEx", test::Hex("F0 43 10 4C 00 00 7E 00 F7 F0 7E 7F 09 01 F7"), FileKind::kSysEx},
      {"F0 then 8-bit data", Padded(test::Hex("F0 00 51 21 05 90"), 600, 0xF7), FileKind::kUnknown},
      {"MIDI file", Padded(Lit("MThd"), 300, 0), FileKind::kMidiFile},
      {"PDF", Padded(Lit("%PDF-1.7\n"), 5000, 0x80), FileKind::kPdf},
      {"PNG", Padded(test::Hex("89 50 4E 47 0D 0A 1A 0A"), 900, 3), FileKind::kPng},
      {"ZIP", Padded(Lit("PK\x03\x04"), 900, 3), FileKind::kZip},
      {"gzip", Padded(test::Hex("1F 8B 08 00"), 900, 3), FileKind::kGzip},
      {"ELF",
       Padded(Lit("\x7F"
                  "ELF\x02\x01"),
              900, 3),
       FileKind::kElf},
      {"zeros", Bytes(4096, 0), FileKind::kBlank},
      {"erased flash", Bytes(1000, 0xFF), FileKind::kBlank},
      {"UTF-8 text", Text(lines), FileKind::kText},
      {"Intel HEX", Text(hex), FileKind::kIntelHex},
      {"one long line", Text(std::string(350, 'x') + std::string(350, 'y')), FileKind::kText},
      {"binary image", Image(30000), FileKind::kUnknown},
      {"one F0 byte", {0xF0}, FileKind::kUnknown},
  };
  // Every kind has its own name and description.
  for (int k = 1; k <= static_cast<int>(FileKind::kText); ++k) {
    EXPECT_STRNE(ToString(static_cast<FileKind>(k)), "kUnknown") << k;
    EXPECT_STRNE(DescribeFileKind(static_cast<FileKind>(k)), "a file of unknown kind") << k;
  }
  for (const Case& c : cases)
    EXPECT_EQ(SniffFileKind(c.bytes), c.kind)
        << c.name << ": got " << ToString(SniffFileKind(c.bytes));
}

TEST(FileSniff, TextNeedsNineteenOfTwentyBytesAndLineBreaks) {
  // 1000 bytes: 60 binary bytes (6 %) are too many, 40 (4 %) are not.
  Bytes mostly = Text(std::string(1000, 'a'));
  for (size_t i = 0; i < 1000; i += 100) mostly[i] = '\n';
  Bytes tooBinary = mostly;
  for (size_t i = 1; i <= 60; ++i) tooBinary[i * 16] = 0x01;
  Bytes fewBinary = mostly;
  for (size_t i = 1; i <= 40; ++i) fewBinary[i * 16] = 0x01;
  EXPECT_EQ(SniffFileKind(tooBinary), FileKind::kUnknown);
  EXPECT_EQ(SniffFileKind(fewBinary), FileKind::kText);
  // Without a line break, one non-text byte is enough to doubt it.
  Bytes oneLine = Text(std::string(1000, 'a'));
  oneLine[500] = 0x01;
  EXPECT_EQ(SniffFileKind(oneLine), FileKind::kUnknown);
  // Only the first kilobyte counts.
  Bytes textThenBinary = Text(std::string(1024, 'x') + "\n");
  const Bytes tail = Image(5000);
  textThenBinary.insert(textThenBinary.end(), tail.begin(), tail.end());
  EXPECT_EQ(SniffFileKind(textThenBinary), FileKind::kText);
}

TEST(FirmwareImage, RefusedFilesSayWhatTheyLookLike) {
  const std::string prefix = "This is not a firmware image for the Zorel: ";
  struct Case {
    const char* name;
    Bytes bytes;
    std::string message;
  };
  const Case cases[] = {
      {"empty", {}, prefix + "the file is empty."},
      {"WAV", Padded(Lit("RIFF\x24\x10\x00\x00WAVEfmt "), 5000, 0x11),
       prefix + "it looks like a WAV audio file."},
      {"preset file", Padded(Lit("ZOLP\x01"), 5134, 0x20),
       prefix + "it looks like a preset file (.q3p)."},
      {"backup", test::CodecBackup({}),
       prefix + "it looks like messages for the pedal, such as a backup file (.q3b)."},
      {"text", Text(std::string(3000, 'x') + "\n"), prefix + "it looks like a text file."},
      {"PDF", Padded(Lit("%PDF-1.4\n"), 20000, 0x80), prefix + "it looks like a PDF document."},
      {"too small", Image(209), prefix + "it holds only 209 bytes."},
      {"too large", Image(65536),
       prefix + "it holds 65,536 bytes; an image has fewer than 65,536."},
  };
  for (const Case& c : cases) {
    const FirmwareImageCheck check = CheckFirmwareImage(c.bytes);
    EXPECT_FALSE(check.ok) << c.name;
    EXPECT_EQ(check.userMessage, c.message) << c.name;
  }
  for (size_t size : {size_t{210}, size_t{1000}, size_t{57343}, size_t{65535}}) {
    const FirmwareImageCheck check = CheckFirmwareImage(Image(size));
    EXPECT_TRUE(check.ok) << size << ": " << check.userMessage;
    EXPECT_TRUE(check.userMessage.empty());
  }
  // A cut image is indistinguishable from a shorter one; the loader's
  // checksum decides. Random bytes pass for the same reason.
  EXPECT_TRUE(CheckFirmwareImage(test::Pattern(4000, 5)).ok);
}

TEST(FirmwareImage, ConfirmationNamesFileSizeHashAndDuration) {
  EXPECT_EQ(FirmwareConfirmationText("/home/me/Downloads/zorel-1.2.bin", 57343, "ba7816bf"),
            "Update the pedal's firmware with this file?\n\nzorel-1.2.bin\n57,343 bytes, SHA-256 "
            "ba7816bf\n\nKeep the pedal connected and switched on until the update has "
            "finished (about 28 s).");
  // A name cannot add lines of its own to the question.
  const std::string text = FirmwareConfirmationText("C:\\fw\\evil\nOK.bin", 1000, "00000000");
  EXPECT_NE(text.find("\nevil?OK.bin\n"), std::string::npos) << text;
  EXPECT_EQ(FormatByteCount(0), "0");
  EXPECT_EQ(FormatByteCount(999), "999");
  EXPECT_EQ(FormatByteCount(1000), "1,000");
  EXPECT_EQ(FormatByteCount(1048576), "1,048,576");
  // 1000 bytes pack into 1143 bytes: five chunks, half a second.
  EXPECT_EQ(FirmwareUpdateSeconds(1000), 1);
  EXPECT_EQ(FirmwareUpdateSeconds(57343), 28); // 65535 packed bytes, 274 chunks
}

} // namespace
} // namespace zorel

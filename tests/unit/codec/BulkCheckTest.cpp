// The check of a backup file before a restore: whole backups pass, built by
// the codec or by hand; every kind of bad file is refused with a message
// that names what is wrong.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "protocol/codec/BulkCheck.h"
#include "protocol/codec/Classify.h"
#include "protocol/codec/Restore.h"
#include "protocol/codec/SettingsBlocks.h"
#include "tests/unit/codec/BackupBytes.h"

namespace zorel {
namespace {

using test::Bytes;
using test::CodecBackup;
using test::CodecBackupMessages;
using test::Join;
using test::Vec;

constexpr size_t kPresetsBytes = 128 * 267;
constexpr size_t kIRDumpBytes = 269 + 9 * 264 + 235;

TEST(BulkCheck, WholeBackupsPass) {
  const Bytes backup = CodecBackup();
  ASSERT_EQ(backup.size(), kPresetsBytes + 2 * kIRDumpBytes);
  const BulkCheckResult r = CheckBulkImage(backup);
  EXPECT_TRUE(r.Ok()) << r.detail;
  EXPECT_EQ(r.messageCount, 128u + 2 * 11);
  EXPECT_EQ(r.presetCount, 128);
  EXPECT_EQ(r.irCount, 2);
  EXPECT_EQ(r.irNumbers, (std::vector<int>{0, 200}));
  EXPECT_TRUE(r.userMessage.empty());

  const BulkCheckResult noIRs = CheckBulkImage(CodecBackup({}));
  EXPECT_TRUE(noIRs.Ok()) << noIRs.detail;
  EXPECT_EQ(noIRs.irCount, 0);

  // An IR no preset uses does no harm; so does one used by two presets.
  auto extra = CodecBackupMessages({{3, 7, 0}, {5, 8, 0}});
  for (auto& chunk : BuildIRTransfer(77, test::TestIRBlock(77))) extra.push_back(chunk);
  EXPECT_TRUE(CheckBulkImage(Join(extra)).Ok());
}

TEST(BulkCheck, HandBuiltBackupMatchesTheCodecsAndPasses) {
  const auto hand = test::HandBackupMessages();
  // The IR positions of the payload, at their message offsets: mode of IR 7
  // at 82 and of IR 8 at 83, bank and index of IR 7 at 95/96, of IR 8 at 97/98.
  EXPECT_EQ(hand[3][82], 1);
  EXPECT_EQ(hand[3][95], 0);
  EXPECT_EQ(hand[3][96], 0);
  EXPECT_EQ(hand[9][83], 1);
  EXPECT_EQ(hand[9][97], 1);
  EXPECT_EQ(hand[9][98], 72);
  EXPECT_EQ(hand.size(), 150u);
  EXPECT_EQ(hand[128].size(), 269u);
  EXPECT_EQ(hand[138].size(), 235u);
  EXPECT_EQ(Join(hand), CodecBackup());
  EXPECT_TRUE(CheckBulkImage(Join(hand)).Ok());
}

// Offsets of message `index` in the standard backup.
size_t OffsetOf(size_t index) {
  const auto messages = CodecBackupMessages();
  size_t offset = 0;
  for (size_t i = 0; i < index; ++i) offset += messages[i].size();
  return offset;
}

Bytes Edited(const std::function<void(std::vector<Bytes>&)>& edit) {
  auto messages = CodecBackupMessages();
  edit(messages);
  return Join(messages);
}

Bytes Prefix(size_t n) {
  const Bytes backup = CodecBackup();
  return Bytes(backup.begin(), backup.begin() + static_cast<ptrdiff_t>(n));
}

Bytes WithByte(size_t offset, uint8_t value) {
  Bytes backup = CodecBackup();
  backup[offset] = value;
  return backup;
}

Bytes WithBitFlipped(size_t offset, int bit) {
  Bytes backup = CodecBackup();
  backup[offset] ^= static_cast<uint8_t>(1u << bit);
  return backup;
}

Bytes PresetFileBytes() {
  Bytes file = test::Hex("5A 4F 4C 50 01 00"); // "ZOLP" 1.0
  file.resize(262, 0x20);
  return file;
}

Bytes WavBytes() {
  Bytes file = {'R', 'I', 'F', 'F', 36, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
  file.resize(44, 0);
  return file;
}

const std::string kIncomplete = "This file is not a complete ZorelControl backup: ";
const std::string kDamaged = "This backup file is damaged: ";
const std::string kNotBackup = "This file is not a ZorelControl backup: ";

TEST(BulkCheck, BadFilesAreRefusedWithAPlainMessage) {
  // IR 0 is messages 128..138, IR 200 messages 139..149.
  struct Case {
    const char* name;
    Bytes bytes;
    BulkProblem problem;
    std::string message;
    size_t problemMessage;
  };
  const size_t half = CodecBackup().size() / 2; // inside preset slot 74
  Bytes foreignAfterPresets = Edited([](auto& m) {
    BlockData data{};
    m.insert(m.begin() + 128, Vec(BuildSettingsBlock(0, data)));
  });
  Bytes randomWithHeader = test::Pattern(5000, 3);
  for (size_t i = 0; i < 5; ++i) randomWithHeader[i] = test::Hex("F0 00 51 21 05")[i];
  Bytes stray = CodecBackup();
  stray.insert(stray.end(), {0x0A, 0x0A});
  Bytes late = Edited([](auto& m) {
    auto dump = BuildIRTransfer(0, test::TestIRBlock(0));
    m.insert(m.begin(), dump.begin(), dump.end());
  });
  const Case cases[] = {
      {"empty", {}, BulkProblem::kEmpty, kNotBackup + "it is empty.", 0},
      {"one byte F0",
       {0xF0},
       BulkProblem::kEndsEarly,
       kIncomplete + "it ends in the middle of a message.",
       0},
      {"ten bytes, one F0", test::Hex("F0 00 51 21 05 41 0B 00 01 00"), BulkProblem::kEndsEarly,
       kIncomplete + "it ends in the middle of preset 1.", 0},
      {"first 8 bytes", Prefix(8), BulkProblem::kEndsEarly,
       kIncomplete + "it ends in the middle of preset 1.", 0},
      {"first 100 bytes", Prefix(100), BulkProblem::kEndsEarly,
       kIncomplete + "it ends in the middle of preset 1.", 0},
      {"267 bytes without F7", WithByte(266, 0x00), BulkProblem::kGarbled,
       kDamaged + "preset 1 is garbled.", 0},
      {"267 bytes alone without F7",
       [] {
         Bytes b = Prefix(267);
         b.back() = 0x00;
         return b;
       }(),
       BulkProblem::kEndsEarly, kIncomplete + "it ends in the middle of preset 1.", 0},
      {"preset file renamed", PresetFileBytes(), BulkProblem::kNotABackup,
       kNotBackup + "it looks like a preset file (.q3p).", 0},
      {"WAV renamed", WavBytes(), BulkProblem::kNotABackup,
       kNotBackup + "it looks like a WAV audio file.", 0},
      {"random bytes", test::Pattern(5000, 2), BulkProblem::kNotABackup,
       kNotBackup + "it does not hold the pedal's messages.", 0},
      {"random bytes after a pedal header", randomWithHeader, BulkProblem::kGarbled,
       kDamaged + "message 1 is garbled.", 0},
      {"cut at half", Prefix(half), BulkProblem::kEndsEarly,
       kIncomplete + "it ends in the middle of preset 75.", 74},
      {"cut inside the first IR", Prefix(kPresetsBytes + 1000), BulkProblem::kEndsEarly,
       kIncomplete + "it ends in the middle of user IR 1.", 131},
      {"cut inside the first chunk of the second IR", Prefix(kPresetsBytes + kIRDumpBytes + 20),
       BulkProblem::kEndsEarly, kIncomplete + "it ends in the middle of user IR 201.", 139},
      {"cut between two chunks", Prefix(kPresetsBytes + 269), BulkProblem::kEndsEarly,
       kIncomplete + "it ends in the middle of user IR 1.", 129},
      {"missing only the last byte", Prefix(CodecBackup().size() - 1), BulkProblem::kEndsEarly,
       kIncomplete + "it ends in the middle of user IR 201.", 149},
      {"last IR missing", Prefix(kPresetsBytes + kIRDumpBytes), BulkProblem::kIRMissing,
       kIncomplete + "user IR 201, which preset 10 uses, is missing.", 139},
      {"byte >= 0x80 inside a preset", WithByte(OffsetOf(63) + 50, 0x85), BulkProblem::kGarbled,
       kDamaged + "preset 64 is garbled.", 63},
      {"F0 inside a preset", WithByte(OffsetOf(63) + 50, 0xF0), BulkProblem::kGarbled,
       kDamaged + "preset 64 is garbled.", 63},
      {"F7 inside a preset", WithByte(OffsetOf(63) + 50, 0xF7), BulkProblem::kGarbled,
       kDamaged + "preset 64 is garbled.", 63},
      {"byte >= 0x80 inside an IR chunk", WithByte(OffsetOf(133) + 50, 0x90), BulkProblem::kGarbled,
       kDamaged + "user IR 1 is garbled.", 133},
      {"bit flipped in a preset", WithBitFlipped(OffsetOf(63) + 100, 2),
       BulkProblem::kPresetChecksum, kDamaged + "preset 64 does not match its checksum.", 63},
      {"bit flipped in a first IR chunk", WithBitFlipped(OffsetOf(128) + 200, 0),
       BulkProblem::kIRChecksum, kDamaged + "user IR 1 does not match its checksum.", 138},
      {"bit flipped in a middle IR chunk", WithBitFlipped(OffsetOf(142) + 100, 6),
       BulkProblem::kIRChecksum, kDamaged + "user IR 201 does not match its checksum.", 149},
      {"bit flipped in the stored IR checksum", WithBitFlipped(CodecBackup().size() - 2, 0),
       BulkProblem::kIRChecksum, kDamaged + "user IR 201 does not match its checksum.", 149},
      {"slot byte changed", WithByte(OffsetOf(20) + 7, 21), BulkProblem::kPresetTwice,
       kDamaged + "it holds preset 22 twice.", 21},
      {"a late IR dump at the start", late, BulkProblem::kIRTwice,
       kDamaged + "it holds user IR 1 twice.", 139},
      {"a preset inside an IR", Edited([](auto& m) {
         const Bytes preset = m[127];
         m.erase(m.begin() + 127);
         m.insert(m.begin() + 130, preset);
       }),
       BulkProblem::kIRIncomplete, kIncomplete + "user IR 1 is incomplete.", 130},
      {"a middle chunk dropped", Edited([](auto& m) { m.erase(m.begin() + 133); }),
       BulkProblem::kIRIncomplete, kIncomplete + "user IR 1 is incomplete.", 137},
      {"a last chunk dropped", Edited([](auto& m) { m.erase(m.begin() + 138); }),
       BulkProblem::kIRIncomplete, kIncomplete + "user IR 1 is incomplete.", 138},
      {"a first chunk dropped", Edited([](auto& m) { m.erase(m.begin() + 128); }),
       BulkProblem::kIRIncomplete,
       kIncomplete + "message 129 is part of an IR whose start is missing.", 128},
      {"an IR twice", Edited([](auto& m) {
         std::vector<Bytes> again(m.begin() + 128, m.begin() + 139);
         m.insert(m.end(), again.begin(), again.end());
       }),
       BulkProblem::kIRTwice, kDamaged + "it holds user IR 1 twice.", 150},
      {"a factory IR", Edited([](auto& m) {
         for (auto& chunk : BuildIRTransfer(385, test::TestIRBlock(1))) m.push_back(chunk);
       }),
       BulkProblem::kIRNotUser, kDamaged + "it holds an IR for number 385, which is not a user IR.",
       150},
      {"a settings block after the presets", foreignAfterPresets, BulkProblem::kForeignMessage,
       kDamaged + "message 129 is neither a preset nor an IR of the pedal.", 128},
      {"a preset after the IRs", Edited([](auto& m) { m.push_back(m[0]); }),
       BulkProblem::kPresetTwice, kDamaged + "it holds preset 1 twice.", 150},
      {"stray bytes after a whole backup", stray, BulkProblem::kStrayBytes,
       kDamaged + "it has stray bytes after its last message.", 150},
  };
  for (const Case& c : cases) {
    const BulkCheckResult r = CheckBulkImage(c.bytes);
    EXPECT_EQ(r.problem, c.problem) << c.name << ": " << ToString(r.problem) << " " << r.detail;
    EXPECT_EQ(r.userMessage, c.message) << c.name;
    EXPECT_EQ(r.problemMessage, c.problemMessage) << c.name << ": " << r.detail;
    EXPECT_FALSE(r.detail.empty()) << c.name;
  }
}

TEST(BulkCheck, PresetsAreNamedWithThePatchOffset) {
  const BulkCheckResult r = CheckBulkImage(Prefix(CodecBackup().size() / 2), 0);
  EXPECT_EQ(r.userMessage, kIncomplete + "it ends in the middle of preset 74.");
  EXPECT_EQ(r.problemOffset, 74u * 267);
}

// A file may hold some of the presets, in any order, with or without IRs:
// what it holds is restored. Only a file of all 128 must hold their IRs.
TEST(BulkCheck, FilesOfSomePresetsAndIRsPass) {
  const auto messages = CodecBackupMessages();
  std::vector<Bytes> onePresetOneIR = {messages[3]};
  onePresetOneIR.insert(onePresetOneIR.end(), messages.begin() + 128, messages.begin() + 139);
  const BulkCheckResult small = CheckBulkImage(Join(onePresetOneIR));
  EXPECT_TRUE(small.Ok()) << small.detail;
  EXPECT_EQ(small.messageCount, 12u);
  EXPECT_EQ(small.presetCount, 1);
  EXPECT_EQ(small.irNumbers, (std::vector<int>{0}));

  const BulkCheckResult hundred = CheckBulkImage(Prefix(100 * 267));
  EXPECT_TRUE(hundred.Ok()) << hundred.detail;
  EXPECT_EQ(hundred.presetCount, 100);

  const BulkCheckResult swapped = CheckBulkImage(Edited([](auto& m) { std::swap(m[5], m[6]); }));
  EXPECT_TRUE(swapped.Ok()) << swapped.detail;

  const BulkCheckResult irOnly =
      CheckBulkImage(Join(std::vector<Bytes>(messages.begin() + 139, messages.end())));
  EXPECT_TRUE(irOnly.Ok()) << irOnly.detail;
  EXPECT_EQ(irOnly.irNumbers, (std::vector<int>{200}));
}

// A backup cut anywhere inside a message, or anywhere after its presets
// (which leaves the IRs they use behind), never passes; cut between two
// presets it is a file of some presets.
TEST(BulkCheck, NoCutInsideAMessageOrAmongTheIRsPasses) {
  const Bytes backup = CodecBackup();
  ASSERT_TRUE(CheckBulkImage(backup).Ok());
  std::vector<size_t> boundaries;
  size_t offset = 0;
  for (const Bytes& m : CodecBackupMessages()) boundaries.push_back(offset += m.size());
  std::vector<size_t> cuts;
  for (size_t b : boundaries)
    for (size_t c : {b - 1, b, b + 1}) cuts.push_back(c);
  for (size_t c = 1; c < backup.size(); c += 53) cuts.push_back(c);
  for (size_t cut : cuts) {
    if (cut == 0 || cut >= backup.size()) continue;
    const bool betweenPresets =
        cut < kPresetsBytes &&
        std::find(boundaries.begin(), boundaries.end(), cut) != boundaries.end();
    EXPECT_EQ(CheckBulkImage(std::span(backup).first(cut)).Ok(), betweenPresets)
        << "cut at " << cut;
  }
}

TEST(BulkCheck, EveryFlippedDataBitIsFound) {
  // The bits an import would send to the pedal's memory: preset payloads and
  // their checksums, IR numbers, sizes, packed data and checksums. Sampled
  // at a stride so every region and bit position is met.
  const Bytes backup = CodecBackup();
  ASSERT_TRUE(CheckBulkImage(backup).Ok());
  // Byte 6 of each message (the sub-id) is neither stored nor covered by a
  // checksum, and a flipped F7 or F0 is a framing fault tested above.
  std::vector<bool> skip(backup.size(), false);
  size_t start = 0;
  for (const Bytes& m : CodecBackupMessages()) {
    skip[start] = skip[start + 6] = skip[start + m.size() - 1] = true;
    start += m.size();
  }
  for (size_t at = 1; at < backup.size(); at += 41) {
    if (skip[at]) continue;
    const int bit = static_cast<int>(at % 7);
    Bytes damaged = backup;
    damaged[at] ^= static_cast<uint8_t>(1u << bit);
    EXPECT_FALSE(CheckBulkImage(damaged).Ok()) << "bit " << bit << " of byte " << at;
  }
}

TEST(BulkCheck, RestoreAloneWouldHideAFlippedIRBit) {
  // Why the stored checksum must be checked: the import recomputes the
  // checksum it sends, so the pedal sees a consistent, wrong IR.
  const Bytes damaged = WithBitFlipped(OffsetOf(130) + 77, 3);
  ASSERT_EQ(CheckBulkImage(damaged).problem, BulkProblem::kIRChecksum);
  RestoreState state;
  IRTransferReceiver pedal(kIRRestoreCommands);
  const auto messages = SplitStoredMessages(damaged);
  for (size_t i = 128; i < 139; ++i) { // IR 0
    const auto sent = RestoreMessage(messages[i], state);
    ASSERT_TRUE(sent);
    pedal.Feed(*sent);
  }
  EXPECT_EQ(pedal.IRNumber(), 0);
  EXPECT_TRUE(pedal.ChecksumOk()) << "the pedal cannot notice";
  EXPECT_TRUE(pedal.Intact());
  EXPECT_NE(pedal.Bytes(), Vec(test::TestIRBlock(0)));
}

TEST(BulkCheck, WhatIsCheckedIsWhatTheImportSends) {
  // A whole backup restores message by message without a refusal.
  const Bytes backup = CodecBackup();
  const BulkCheckResult r = CheckBulkImage(backup);
  ASSERT_TRUE(r.Ok());
  RestoreState state;
  const auto messages = SplitStoredMessages(backup);
  ASSERT_EQ(messages.size(), r.messageCount);
  for (const auto m : messages) EXPECT_TRUE(RestoreMessage(m, state));
}

} // namespace
} // namespace zorel

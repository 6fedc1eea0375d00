// Status, backup and restore over a link that drops, damages, cuts and
// delays the pedal's messages. Every run must either end correct (the cache
// equals the pedal, the backup equals the pedal's content, the restored
// pedal equals the file) or end with a message, with no damaged file and no
// cache that claims what it does not hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "library/LibraryPaths.h"
#include "protocol/codec/Frame.h"
#include "protocol/codec/PresetPayload.h"
#include "sim/FactoryContent.h"
#include "tests/integration/PedalLink.h"
#include "tests/support/ScriptedModalServices.h"

namespace zorel::test {
namespace {

struct Fault {
  const char* name;
  sim::Misbehaviour misbehaviour;
};

std::vector<Fault> Faults() {
  std::vector<Fault> faults;
  auto add = [&](const char* name, auto set) {
    sim::Misbehaviour m;
    set(m);
    faults.push_back({name, m});
  };
  add("none", [](sim::Misbehaviour&) {});
  add("drop 3%", [](sim::Misbehaviour& m) { m.dropShare = 0.03; });
  add("corrupt-block 10%", [](sim::Misbehaviour& m) { m.corruptBlockShare = 0.10; });
  add("corrupt-transfer 30%", [](sim::Misbehaviour& m) { m.corruptTransferShare = 0.30; });
  add("cut 3%", [](sim::Misbehaviour& m) { m.cutShare = 0.03; });
  add("delay 300+600 ms", [](sim::Misbehaviour& m) {
    m.delayUs = 300000;
    m.delayJitterUs = 600000;
  });
  add("all at once", [](sim::Misbehaviour& m) {
    m.dropShare = 0.02;
    m.corruptBlockShare = 0.05;
    m.corruptTransferShare = 0.1;
    m.cutShare = 0.02;
    m.delayUs = 50000;
    m.delayJitterUs = 100000;
  });
  add("drop 40% (a link that hardly works)", [](sim::Misbehaviour& m) { m.dropShare = 0.40; });
  return faults;
}

// Both sides on one clock, in 10 ms steps: the pedal's delays and the
// editor's time-outs meet as they would on a real link.
struct TimedLink {
  HeadlessEditor& editor;
  VirtualPedal& pedal;
  int elapsedMs = 0;
  // A reply this says to lose never reaches the editor.
  std::function<bool(const Bytes&)> lose = nullptr;
  // Changes a reply on its way to the editor.
  std::function<void(Bytes&)> damage = nullptr;

  void Step() {
    editor.Advance(10);
    for (const Bytes& m : editor.TakeSent()) pedal.Receive(m);
    pedal.Advance(10000);
    for (Bytes reply : pedal.Collect()) {
      if (lose && lose(reply)) continue;
      if (damage) damage(reply);
      editor.Receive(reply);
    }
    elapsedMs += 10;
  }
  // Runs until `done` holds or `limitMs` of simulated time have passed.
  bool RunUntil(const std::function<bool()>& done, int limitMs) {
    for (int t = 0; t < limitMs; t += 10) {
      if (done()) return true;
      Step();
    }
    return done();
  }
};

// An editor with scripted dialogs on a library of its own, a pedal, and the
// timed link between them.
struct EditorOnLink {
  explicit EditorOnLink(sim::PedalConfig config, bool twoUserIRs = true) : pedal(config) {
    h.Editor().SetModalServices(&modal);
    if (twoUserIRs) UseTwoUserIRs(pedal.Model().MutableState());
  }
  // Connected: the cache read, then the current preset that follows it.
  bool Connect() {
    if (!link.RunUntil([&] { return s.mCacheInSync && !s.mBulkLoading; }, 60000)) return false;
    link.RunUntil([] { return false; }, 2000);
    return true;
  }
  // A backup into `file`, run to its end.
  void Backup(const std::string& file) {
    modal.QueueFile(file);
    ASSERT_TRUE(h.Editor().StartExport());
    ASSERT_TRUE(link.RunUntil([&] { return !s.mExporting; }, 120000));
  }

  TempLibrary library;
  HeadlessEditor h{nullptr, library.root};
  ScriptedModalServices modal{MessageBoxResult::kOK};
  VirtualPedal pedal;
  TimedLink link{h, pedal};
  SessionState& s = h.Editor().State();
};

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Exists(const std::string& path) {
  return std::filesystem::exists(path);
}

bool Saw(const ScriptedModalServices& modal, const std::string& start) {
  for (const auto& m : modal.Messages())
    if (m.text.rfind(start, 0) == 0) return true;
  return false;
}

// Every preset slot file in the cache holds what the pedal holds.
void ExpectCacheHoldsOnlyThePedalsPresets(const std::string& root, const VirtualPedal& pedal,
                                          const char* fault) {
  for (int slot = 0; slot < 128; ++slot) {
    const std::string path = lib::PresetSlotPath(root, slot);
    if (!Exists(path)) continue;
    const auto bytes = ReadAll(path);
    const auto& expected = pedal.State().presets[static_cast<size_t>(slot)];
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), bytes.begin(), bytes.end()))
        << fault << ": slot file " << slot << " differs from the pedal";
  }
}

void Report(const char* what, const char* fault, const char* outcome, int ms) {
  std::printf("[fault matrix] %-8s %-36s %-9s %6.1f s\n", what, fault, outcome, ms / 1000.0);
}

TEST(FaultMatrix, StatusEndsInSyncOrSaysWhy) {
  for (const Fault& fault : Faults()) {
    TempLibrary library;
    HeadlessEditor h(nullptr, library.root);
    ScriptedModalServices modal{MessageBoxResult::kOK};
    h.Editor().SetModalServices(&modal);
    VirtualPedal pedal({fault.misbehaviour, sim::kDefaultIRChunkGapUs, 7});
    TimedLink link{h, pedal};
    const SessionState& s = h.Editor().State();
    const bool ended = link.RunUntil(
        [&] { return (s.mCacheInSync && !s.mBulkLoading) || !modal.Messages().empty(); }, 180000);
    ASSERT_TRUE(ended) << fault.name << ": neither in sync nor a message after 180 s";
    if (s.mCacheInSync) {
      Report("status", fault.name, "in sync", link.elapsedMs);
      for (int slot = 0; slot < 128; ++slot)
        EXPECT_TRUE(Exists(lib::PresetSlotPath(library.root, slot))) << fault.name << " " << slot;
    } else {
      Report("status", fault.name, "message", link.elapsedMs);
      EXPECT_FALSE(modal.Messages().front().text.empty());
    }
    ExpectCacheHoldsOnlyThePedalsPresets(library.root, pedal, fault.name);
  }
}

TEST(FaultMatrix, BackupIsWholeOrNotWritten) {
  std::vector<uint8_t> clean;
  for (const Fault& fault : Faults()) {
    // Connected over a healthy link; only the backup meets the faults.
    EditorOnLink e({{}, sim::kDefaultIRChunkGapUs, 11});
    ASSERT_TRUE(e.Connect());
    e.pedal.SetMisbehaviour(fault.misbehaviour);
    const size_t before = e.modal.Messages().size();

    const std::string file = e.library.root + "/backup.q3b";
    e.modal.QueueFile(file);
    ASSERT_TRUE(e.h.Editor().StartExport());
    const int start = e.link.elapsedMs;
    ASSERT_TRUE(e.link.RunUntil([&] { return !e.s.mExporting; }, 300000)) << fault.name;
    e.link.RunUntil([] { return false; }, 100); // messages reach the dialogs on the next tick
    ASSERT_GT(e.modal.Messages().size(), before)
        << fault.name << ": the backup ended silently after " << e.link.elapsedMs - start
        << " ms, connected " << e.s.mConnected << ", presets asked " << e.s.mExportPresetIndex;
    if (Exists(file)) {
      Report("backup", fault.name, "written", e.link.elapsedMs - start);
      EXPECT_TRUE(Saw(e.modal, "Finished successfully!")) << fault.name;
      const auto bytes = ReadAll(file);
      if (clean.empty()) clean = bytes; // the healthy run comes first
      EXPECT_EQ(bytes, clean) << fault.name << ": the backup differs from a clean one";
    } else {
      Report("backup", fault.name, "refused", e.link.elapsedMs - start);
      EXPECT_FALSE(Saw(e.modal, "Finished successfully!")) << fault.name;
    }
  }
  EXPECT_FALSE(clean.empty());
}

TEST(FaultMatrix, RestoreEndsEqualOrSaysHowFarItGot) {
  // A clean backup of a pedal with two user IRs, taken once.
  TempLibrary source;
  const std::string file = source.root + "/backup.q3b";
  sim::PedalState original;
  {
    HeadlessEditor h(nullptr, source.root);
    ScriptedModalServices modal{MessageBoxResult::kOK};
    h.Editor().SetModalServices(&modal);
    VirtualPedal pedal;
    UseTwoUserIRs(pedal.Model().MutableState());
    original = pedal.State();
    TimedLink link{h, pedal};
    const SessionState& s = h.Editor().State();
    ASSERT_TRUE(link.RunUntil([&] { return s.mCacheInSync && !s.mBulkLoading; }, 60000));
    link.RunUntil([] { return false; }, 2000); // the current preset follows the read
    modal.QueueFile(file);
    ASSERT_TRUE(h.Editor().StartExport());
    ASSERT_TRUE(link.RunUntil([&] { return !s.mExporting; }, 120000));
    ASSERT_TRUE(Exists(file));
  }
  for (const Fault& fault : Faults()) {
    TempLibrary library;
    HeadlessEditor h(nullptr, library.root);
    ScriptedModalServices modal{MessageBoxResult::kOK};
    h.Editor().SetModalServices(&modal);
    VirtualPedal pedal({{}, sim::kDefaultIRChunkGapUs, 13});
    TimedLink link{h, pedal};
    const SessionState& s = h.Editor().State();
    ASSERT_TRUE(link.RunUntil([&] { return s.mCacheInSync && !s.mBulkLoading; }, 60000));
    link.RunUntil([] { return false; }, 2000);
    pedal.SetMisbehaviour(fault.misbehaviour);

    modal.QueueMessageAnswer(MessageBoxResult::kOK);
    modal.QueueFile(file);
    const bool started = h.Editor().ImportBulkFile();
    link.Step(); // a refusal's box comes on the next tick
    ASSERT_TRUE(started) << modal.Messages().back().text;
    // The snapshot first reads what the cache lacks, over the same link.
    link.RunUntil([&] { return !h.Editor().SnapshotPending(); }, 600000);
    const size_t before = modal.Messages().size(); // the confirmations are behind us
    const int start = link.elapsedMs;
    // An import that ended is verified by the reconnect's checksum list;
    // only then is it said to have finished.
    ASSERT_TRUE(link.RunUntil(
        [&] {
          return !s.mImporting && s.mImportResult != TransferState::ImportResult::kNone &&
                 modal.Messages().size() > before;
        },
        300000))
        << fault.name;
    const std::string& said = modal.Messages().back().text;
    if (s.mImportResult == TransferState::ImportResult::kVerified) {
      EXPECT_EQ(said, "All 128 presets verified.") << fault.name;
      EXPECT_EQ(modal.Messages()[modal.Messages().size() - 2].text, "Finished successfully!");
      Report("restore", fault.name, "equal", link.elapsedMs - start);
      EXPECT_EQ(pedal.State().presets, original.presets) << fault.name;
      EXPECT_EQ(pedal.State().userIRs[0], original.userIRs[0]) << fault.name;
      EXPECT_EQ(pedal.State().userIRs[200], original.userIRs[200]) << fault.name;
    } else {
      Report("restore", fault.name, "stopped", link.elapsedMs - start);
      EXPECT_NE(said.find("presets were written"), std::string::npos) << fault.name << ": " << said;
    }
    // Either way the cache no longer claims to know the pedal.
    EXPECT_FALSE(s.mCacheInSync) << fault.name;
  }
}

// Acknowledgements lost on the way back (a preset's, an IR's first and an
// IR's last) cost a resend each, not the restore.
TEST(FaultLinks, ARestoreResendsWhatWasNotAcknowledged) {
  EditorOnLink e({{}, sim::kDefaultIRChunkGapUs, 17});
  const sim::PedalState original = e.pedal.State();
  ASSERT_TRUE(e.Connect());
  const std::string file = e.library.root + "/backup.q3b";
  e.modal.QueueFile(file);
  ASSERT_TRUE(e.h.Editor().StartExport());
  ASSERT_TRUE(e.link.RunUntil([&] { return !e.s.mExporting; }, 120000));
  ASSERT_TRUE(Exists(file));

  e.pedal.Model().MutableState() = sim::MakeFactoryState();
  // Lost once each: preset 10's acknowledgement, then the first IR's
  // acknowledgements of its first and of its last chunk.
  std::vector<uint8_t> lost;
  e.link.lose = [&](const Bytes& reply) {
    if (reply.size() > 10) return false; // acknowledgements are short
    const uint8_t ack = reply[5];
    const bool preset10 = ack == kCmdWriteAckAlt && e.s.mImportIndex == 9;
    const bool irChunk = ack == kCmdWriteAckMore || ack == kCmdWriteAck;
    if (!(preset10 || irChunk) || std::count(lost.begin(), lost.end(), ack) > 0) return false;
    lost.push_back(ack);
    return true;
  };
  e.modal.QueueMessageAnswer(MessageBoxResult::kOK);
  e.modal.QueueFile(file);
  ASSERT_TRUE(e.h.Editor().ImportBulkFile());
  e.link.RunUntil([&] { return !e.h.Editor().SnapshotPending(); }, 600000);
  const size_t before = e.modal.Messages().size();
  ASSERT_TRUE(e.link.RunUntil(
      [&] {
        return !e.s.mImporting && e.s.mImportResult != TransferState::ImportResult::kNone &&
               e.modal.Messages().size() > before;
      },
      300000));
  EXPECT_EQ(lost.size(), 3u);
  EXPECT_EQ(e.s.mImportResult, TransferState::ImportResult::kVerified);
  ASSERT_GE(e.modal.Messages().size(), 2u);
  EXPECT_EQ(e.modal.Messages()[e.modal.Messages().size() - 2].text, "Finished successfully!");
  EXPECT_EQ(e.pedal.State().presets, original.presets);
  EXPECT_EQ(e.pedal.State().userIRs[0], original.userIRs[0]);
  EXPECT_EQ(e.pedal.State().userIRs[200], original.userIRs[200]);
}

// A checksum list that keeps arriving damaged is asked for again a few
// times; then the editor says so and the cache does not claim to be in sync.
TEST(FaultLinks, DamagedChecksumListIsAskedAgainThenReported) {
  TempLibrary library;
  HeadlessEditor h(nullptr, library.root);
  ScriptedModalServices modal{MessageBoxResult::kOK};
  h.Editor().SetModalServices(&modal);
  VirtualPedal pedal;
  int lists = 0;
  for (int t = 0; t < 20000 && modal.Messages().empty(); t += 10) {
    h.Advance(10);
    for (const Bytes& m : h.TakeSent()) pedal.Receive(m);
    pedal.Advance(10000);
    for (Bytes reply : pedal.Collect()) {
      if (reply.size() == 267 && reply[5] == 0x52 && reply[7] == 3) {
        reply[264] ^= 0x01;
        ++lists;
      }
      h.Receive(reply);
    }
  }
  EXPECT_EQ(lists, 4); // the request and three repeats
  ASSERT_FALSE(modal.Messages().empty());
  EXPECT_NE(modal.Messages().front().text.find("list of presets could not be read"),
            std::string::npos);
  EXPECT_FALSE(h.Editor().State().mCacheInSync);
  EXPECT_FALSE(h.Editor().State().mConnected);
}

// An IR whose last chunk is lost is asked for again; the backup holds it
// once, whole, and not the unfinished first copy.
TEST(FaultLinks, ABackupKeepsOnlyTheWholeCopyOfAnIRAskedForAgain) {
  EditorOnLink e({{}, sim::kDefaultIRChunkGapUs, 11});
  ASSERT_TRUE(e.Connect());
  e.Backup(e.library.root + "/clean.q3b");
  int lastChunksLost = 0;
  e.link.lose = [&](const Bytes& reply) {
    const bool last = reply.size() > 5 && reply[5] == 0x66;
    return last && lastChunksLost++ == 0; // the first IR's last chunk, once
  };
  e.Backup(e.library.root + "/lossy.q3b");
  EXPECT_EQ(lastChunksLost, 3); // two IRs, the first of them twice
  ASSERT_TRUE(Exists(e.library.root + "/lossy.q3b"));
  EXPECT_EQ(ReadAll(e.library.root + "/lossy.q3b"), ReadAll(e.library.root + "/clean.q3b"));
}

// Two bytes changed in opposite directions keep a plain sum: the transfer
// checksum of an IR cannot see it. Once the link has damaged anything, an
// IR therefore counts only when two reads agree.
void DamageKeepingTheSum(Bytes& chunk) {
  for (size_t i = 7; i + 1 < chunk.size() - 1; ++i) {
    if (chunk[i] < 0x7F && chunk[i + 1] > 0) {
      ++chunk[i];
      --chunk[i + 1];
      return;
    }
  }
}

bool IsIRChunk(const Bytes& m, uint8_t command) {
  return m.size() > 5 && m[5] == command;
}

TEST(FaultLinks, OnceTheLinkHasDamagedAnAnswerAnIRCountsOnlyWhenTwoReadsAgree) {
  EditorOnLink e({{}, sim::kDefaultIRChunkGapUs, 11});
  ASSERT_TRUE(e.Connect());
  e.Backup(e.library.root + "/clean.q3b");
  EXPECT_FALSE(e.s.mDamageSeen);

  // The backup's first preset arrives with a wrong checksum (seen, asked
  // again); the first IR's first middle chunk with a change the sum hides.
  bool presetDamaged = false, irDamaged = false;
  int firstChunks = 0;
  e.link.damage = [&](Bytes& reply) {
    if (reply.size() == 267 && reply[5] == kCmdPresetDump && !presetDamaged) {
      presetDamaged = true;
      reply[100] ^= 0x01;
    }
    if (IsIRChunk(reply, kCmdIRFirstChunk)) ++firstChunks;
    if (IsIRChunk(reply, kCmdIRMiddleChunk) && !irDamaged) {
      irDamaged = true;
      DamageKeepingTheSum(reply);
    }
  };
  e.Backup(e.library.root + "/damaged.q3b");
  ASSERT_TRUE(presetDamaged && irDamaged);
  EXPECT_TRUE(e.s.mDamageSeen);
  // IR 0: the hidden damage, a clean read that differs, one that agrees;
  // IR 200: two reads that agree.
  EXPECT_EQ(firstChunks, 5);
  ASSERT_TRUE(Exists(e.library.root + "/damaged.q3b"));
  EXPECT_EQ(ReadAll(e.library.root + "/damaged.q3b"), ReadAll(e.library.root + "/clean.q3b"));

  // An IR read for the cache: the same rule, and the file equals the pedal's.
  irDamaged = false;
  firstChunks = 0;
  e.s.mIR7PageActive = true;
  e.s.mUserIR7Number = 200;
  e.s.mIRRefetchPending = true;
  e.link.RunUntil([&] { return firstChunks >= 3 && !e.s.AwaitingReply(); }, 20000);
  e.link.RunUntil([] { return false; }, 1000);
  EXPECT_EQ(firstChunks, 3);
  const auto cached = ReadAll(lib::UserIRSlotPath(e.library.root, 200));
  const auto& expected = e.pedal.State().userIRs[200];
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), cached.begin(), cached.end()));
}

// An IR found stale while a bulk read or a backup runs is fetched after it:
// asked for inside, it would take the transfer's own answers for its own.
TEST(FaultLinks, AStaleIRIsFetchedAfterTheTransferNotInsideIt) {
  // Answers take 50 ms, so the ticks run while a request is outstanding.
  sim::Misbehaviour slow;
  slow.delayUs = 50000;
  EditorOnLink e({slow, sim::kDefaultIRChunkGapUs, 11});
  const auto presetAwaited = [&] { return e.s.mAwaited == TransferState::Awaited::kPreset; };
  auto staleIR = [&] {
    e.s.mIR7PageActive = true;
    e.s.mUserIR7Number = 0;
    e.s.mIRRefetchPending = true;
  };
  // The first connection's bulk read, with the refetch due from its start.
  ASSERT_TRUE(e.link.RunUntil([&] { return e.s.mBulkLoading && presetAwaited(); }, 5000));
  staleIR();
  ASSERT_TRUE(e.link.RunUntil([&] { return e.s.mCacheInSync && !e.s.mBulkLoading; }, 60000));
  e.link.RunUntil([] { return false; }, 2000);
  EXPECT_FALSE(e.s.mIRRefetchPending);
  ExpectCacheHoldsOnlyThePedalsPresets(e.library.root, e.pedal, "stale IR");
  // A backup with the refetch due from its first request.
  const std::string file = e.library.root + "/backup.q3b";
  e.modal.QueueFile(file);
  ASSERT_TRUE(e.h.Editor().StartExport());
  ASSERT_TRUE(e.link.RunUntil([&] { return e.s.mExportPresetIndex > 0 && presetAwaited(); }, 5000));
  staleIR();
  ASSERT_TRUE(e.link.RunUntil([&] { return !e.s.mExporting; }, 120000));
  e.link.RunUntil([] { return false; }, 100);
  EXPECT_TRUE(Exists(file));
  EXPECT_TRUE(Saw(e.modal, "Finished successfully!"));
  EXPECT_FALSE(Saw(e.modal, "The pedal stopped answering"));
}

// One library mirrors one pedal: connecting another says so, and its cache
// then holds only the new pedal's presets and IRs.
TEST(FaultLinks, ASecondPedalNeverMixesWithTheFirst) {
  TempLibrary library;
  auto makePedal = [](const char* serial, uint8_t fill) {
    sim::PedalState state = sim::MakeFactoryState();
    state.serial = serial;
    NoUserIRsInUse(state);
    // Preset 0 (the current one) plays user IR 0, so its IR is cached.
    state.presets[0][PayloadParamOffset(kParamUserIR7Mode)] = 1;
    state.presets[0][PayloadParamOffset(kParamUserIR7Preset)] = 0;
    for (size_t i = 0; i < state.userIRs[0].size(); ++i)
      state.userIRs[0][i] = static_cast<uint8_t>((i + fill) & 0x7F);
    state.presets[7][2] = static_cast<uint8_t>('A' + fill % 26);
    return state;
  };
  auto connect = [&](sim::PedalState state, ScriptedModalServices& modal) {
    HeadlessEditor h(nullptr, library.root);
    h.Editor().SetModalServices(&modal);
    VirtualPedal pedal({}, std::move(state));
    TimedLink link{h, pedal};
    const SessionState& s = h.Editor().State();
    EXPECT_TRUE(link.RunUntil([&] { return s.mCacheInSync && !s.mBulkLoading; }, 60000));
    link.RunUntil([] { return false; }, 3000); // the current preset and its IR
    ExpectCacheHoldsOnlyThePedalsPresets(library.root, pedal, "second pedal");
    const std::string ir = lib::UserIRSlotPath(library.root, 0);
    EXPECT_TRUE(Exists(ir));
    const auto bytes = ReadAll(ir);
    const auto& expected = pedal.State().userIRs[0];
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), bytes.begin(), bytes.end()));
  };
  ScriptedModalServices first{MessageBoxResult::kOK}, second{MessageBoxResult::kOK};
  connect(makePedal("ZRL1-FIRST-0000-0000-0000-0000-1", 1), first);
  EXPECT_TRUE(first.Messages().empty());
  connect(makePedal("ZRL1-OTHER-0000-0000-0000-0000-2", 40), second);
  ASSERT_FALSE(second.Messages().empty());
  EXPECT_NE(second.Messages().front().text.find("is not the one whose presets and IRs"),
            std::string::npos);
}

} // namespace
} // namespace zorel::test

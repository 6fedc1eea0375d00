// Bad files handed to every operation that reads one: restore, load-preset,
// firmware and the WAV import of a user IR. Each is refused with a message,
// with nothing sent to the pedal and nothing written to the library.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "protocol/codec/PresetPayload.h"
#include "sim/FactoryContent.h"
#include "tests/integration/PedalLink.h"
#include "tests/support/ScriptedModalServices.h"

namespace zorel::test {
namespace {

namespace fs = std::filesystem;

enum Op { kRestore, kLoadPreset, kFirmware, kWav, kOpCount };
const char* const kOpNames[] = {"restore", "load-preset", "firmware", "wav import"};

// Every file below the library root with its size and bytes.
std::map<std::string, std::vector<char>> Snapshot(const std::string& root) {
  std::map<std::string, std::vector<char>> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[entry.path().string()] = {std::istreambuf_iterator<char>(in), {}};
  }
  return files;
}

void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

class BadFiles : public ::testing::Test {
protected:
  void SetUp() override {
    // Preset 3 uses user IR 0, so the backup carries one IR dump.
    auto& state = pedal.Model().MutableState();
    NoUserIRsInUse(state);
    state.presets[3][PayloadParamOffset(kParamUserIR7Mode)] = 1;
    state.presets[3][PayloadParamOffset(kParamUserIR7Preset)] = 0;
    for (size_t i = 0; i < state.userIRs[0].size(); ++i)
      state.userIRs[0][i] = static_cast<uint8_t>((i * 5) & 0x7F);

    h = std::make_unique<HeadlessEditor>(nullptr, library.root);
    h->Editor().SetModalServices(&modal);
    link = std::make_unique<Link>(Link{*h, pedal, {}});
    link->Run(4000);
    ASSERT_TRUE(Connected(*h));
    const std::string file = files.root + "/backup.q3b";
    modal.QueueFile(file);
    ASSERT_TRUE(h->Editor().StartExport());
    link->Run(30000);
    std::ifstream in(file, std::ios::binary);
    backup = {std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(backup.size(), 128u * 267u);
    fs::remove(file);
  }

  // Runs `op` on `path`; true when it was refused cleanly.
  void ExpectRefused(Op op, const std::string& path, const std::string& row) {
    const auto before = Snapshot(library.root);
    link->log.clear();
    const size_t messages = modal.Messages().size();
    const auto start = std::chrono::steady_clock::now();
    bool started = false;
    ZorelControl& ed = h->Editor();
    switch (op) {
    case kRestore:
      modal.QueueMessageAnswer(MessageBoxResult::kOK);
      modal.QueueFile(path);
      started = ed.ImportBulkFile();
      break;
    case kLoadPreset:
      modal.QueueFile(path);
      started = ed.LoadPresetFile();
      break;
    case kFirmware:
      modal.QueueFile(path);
      started = ed.ChooseFirmwareFile();
      break;
    case kWav:
      modal.QueueFile(path);
      started = ed.ImportWavForIR7();
      break;
    case kOpCount:
      break;
    }
    link->Run(500);
    const auto took = std::chrono::steady_clock::now() - start;
    const std::string what = std::string(kOpNames[op]) + " of " + row;
    EXPECT_FALSE(started) << what;
    EXPECT_GT(modal.Messages().size(), messages) << what << ": no message";
    EXPECT_TRUE(link->log.empty()) << what << ": " << link->log.size() << " messages sent";
    EXPECT_EQ(Snapshot(library.root), before) << what << ": the library changed";
    EXPECT_LT(took, std::chrono::seconds(2)) << what;
  }

  TempLibrary library, files;
  VirtualPedal pedal;
  ScriptedModalServices modal{MessageBoxResult::kOK};
  std::unique_ptr<HeadlessEditor> h;
  std::unique_ptr<Link> link;
  std::vector<uint8_t> backup;
};

TEST_F(BadFiles, EveryOperationRefusesWhatItCannotUse) {
  auto part = [&](size_t n) { return std::vector<uint8_t>(backup.begin(), backup.begin() + n); };
  std::vector<uint8_t> random(5000);
  uint32_t x = 12345;
  for (auto& b : random) b = static_cast<uint8_t>((x = x * 1103515245 + 12345) >> 16);
  std::vector<uint8_t> highByte = backup;
  highByte[267 * 5 + 100] = 0x90;
  std::vector<uint8_t> irFlip = backup;
  irFlip[128 * 267 + 269 + 50] ^= 0x04; // inside the IR's first middle chunk
  std::vector<uint8_t> presetFlip = backup;
  presetFlip[267 * 64 + 60] ^= 0x01;
  std::vector<uint8_t> noEnd(267, 0x10);
  noEnd[0] = 0xF0;

  struct Row {
    const char* name;
    std::vector<uint8_t> bytes;
    bool refused[kOpCount]; // restore, load-preset, firmware, wav
  };
  // Firmware images have a format only the maker knows: binary data of a
  // plausible size is not refused (random bytes, a cut backup's middle).
  const std::vector<Row> rows = {
      {"a 1-byte F0", {0xF0}, {true, true, true, true}},
      {"the first 8 bytes of a backup", part(8), {true, true, true, true}},
      {"the first 100 bytes of a backup", part(100), {true, true, true, true}},
      {"a WAV file renamed", ImpulseWav(), {true, true, true, false}},
      {"a preset-file magic with nothing after it",
       {'Q', 'V', 'M', 'P', 1, 0},
       {true, true, true, true}},
      {"267 bytes without F7", noEnd, {true, true, true, true}},
      {"random bytes", random, {true, true, false, true}},
      {"a backup cut at half", part(backup.size() / 2), {true, true, true, true}},
      {"a backup without its last byte", part(backup.size() - 1), {true, true, true, true}},
      {"a backup with a byte of 0x90 inside", highByte, {true, true, true, true}},
      {"a backup with one bit flipped in an IR", irFlip, {true, true, true, true}},
      {"a backup with one bit flipped in a preset", presetFlip, {true, true, true, true}},
      {"an empty file", {}, {true, true, true, true}},
      {"text", std::vector<uint8_t>(3000, 'a'), {true, true, true, true}},
  };
  for (const Row& row : rows) {
    const std::string path = files.root + "/bad.bin";
    Write(path, row.bytes);
    for (int op = 0; op < kOpCount; ++op)
      if (row.refused[op]) ExpectRefused(static_cast<Op>(op), path, row.name);
  }

  // Not files at all.
  const std::string folder = files.root + "/a folder";
  fs::create_directory(folder);
  const std::string pipe = files.root + "/a pipe";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  for (int op = 0; op < kOpCount; ++op) {
    ExpectRefused(static_cast<Op>(op), folder, "a folder");
    ExpectRefused(static_cast<Op>(op), pipe, "a pipe");
  }
}

// A backup that is whole is taken: the table above refuses for the file's
// sake, not for the operation's.
TEST_F(BadFiles, AWholeBackupIsTaken) {
  const std::string path = files.root + "/good.q3b";
  Write(path, backup);
  modal.QueueMessageAnswer(MessageBoxResult::kOK);
  modal.QueueFile(path);
  EXPECT_TRUE(h->Editor().ImportBulkFile());
}

} // namespace
} // namespace zorel::test

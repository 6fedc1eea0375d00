// WAV decoding, resampling and the import that turns a WAV file into a
// user IR.

#include <cmath>

#include "LibraryTestSupport.h"
#include "library/ByteReader.h"
#include "library/IRUpload.h"
#include "library/LibraryPaths.h"
#include "library/WavDecoder.h"
#include "tests/support/ScriptedModalServices.h"

namespace zorel::lib {
namespace {

using test::WavBuilder;

WavDecodeResult Decode(const std::vector<uint8_t>& bytes, IRBuffer& buffer) {
  MemoryReader reader(bytes);
  return DecodeWavIntoIRBuffer(reader, buffer);
}

std::vector<int16_t> Ramp(size_t n) {
  std::vector<int16_t> s(n);
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<int16_t>(i * 30 - 15000);
  return s;
}

TEST(WavDecoder, SixteenBitAtTheIRRateIsTakenUnchanged) {
  const std::vector<int16_t> samples = Ramp(1000);
  IRBuffer buffer;
  buffer.fill(9.0);
  const WavDecodeResult r =
      Decode(WavBuilder().Riff().Format(1, 1, 44100, 16).Data16(samples).Bytes(), buffer);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.info.outFrames, 1000u);
  for (size_t i = 0; i < 1000; ++i) ASSERT_DOUBLE_EQ(buffer[i], samples[i] / 32768.0) << i;
  for (size_t i = 1000; i < kIRBufferSize; ++i) ASSERT_EQ(buffer[i], 0.0) << i;
}

TEST(WavDecoder, OtherRatesAreInterpolatedLinearly) {
  const std::vector<int16_t> samples = Ramp(1000);
  IRBuffer buffer;
  const WavDecodeResult r =
      Decode(WavBuilder().Riff().Format(1, 1, 48000, 16).Data16(samples).Bytes(), buffer);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.info.outFrames, 918u);
  const double ratio = 48000.0 / 44100.0;
  double p = 0.0;
  for (size_t j = 0; j < 918; ++j, p += ratio) {
    const size_t i = static_cast<size_t>(std::floor(p));
    const double x0 = samples[i] / 32768.0, x1 = samples[i + 1] / 32768.0;
    ASSERT_NEAR(buffer[j], x0 + (x1 - x0) * (p - i), 1e-12) << j;
  }
  EXPECT_EQ(buffer[918], 0.0);

  // Below the IR rate the last output sits on the final frame; its missing
  // neighbour is taken to be the final frame itself.
  const std::vector<int16_t> few = {0, 1000, 2000, 3000};
  ASSERT_TRUE(Decode(WavBuilder().Riff().Format(1, 1, 22050, 16).Data16(few).Bytes(), buffer).ok());
  EXPECT_DOUBLE_EQ(buffer[6], 3000 / 32768.0);
  EXPECT_DOUBLE_EQ(buffer[7], 3000 / 32768.0);
  EXPECT_DOUBLE_EQ(buffer[5], 2500 / 32768.0);
}

TEST(WavDecoder, SampleWidthsDecodeToTheirScales) {
  IRBuffer buffer;
  auto first = [&](uint16_t tag, uint16_t bits, std::vector<uint8_t> data) {
    EXPECT_TRUE(
        Decode(WavBuilder().Riff().Format(tag, 1, 44100, bits).Chunk("data", data).Bytes(), buffer)
            .ok());
    return buffer[0];
  };
  EXPECT_NEAR(first(1, 24, {0x00, 0x00, 0x80}), -0.99999994, 1e-8);
  EXPECT_NEAR(first(1, 24, {0xFF, 0xFF, 0x7F}), 0.99999994, 1e-8);
  EXPECT_NEAR(first(1, 8, {128}), 0.007874, 1e-6);
  EXPECT_DOUBLE_EQ(first(1, 8, {0}), -1.0);
  EXPECT_NEAR(first(1, 32, {0x00, 0x00, 0x00, 0x40}), 0.5, 1e-9);
  EXPECT_NEAR(first(1, 32, {0x00, 0x00, 0x00, 0x80}), -1.0, 1e-9);
  EXPECT_DOUBLE_EQ(first(3, 32, {0x00, 0x00, 0xC0, 0xBE}), -0.375);
  EXPECT_DOUBLE_EQ(first(3, 32, {0x00, 0x00, 0xC0, 0x7F}), 0.0) << "NaN is silence";
}

TEST(WavDecoder, ExtensibleFormatsUseTheirSubFormat) {
  auto extensible = [](uint16_t subTag) {
    WavBuilder w;
    w.Riff();
    std::vector<uint8_t> fmt = {0xFE, 0xFF, 1,  0, 0x44, 0xAC, 0,  0, 0x10, 0xB1, 2, 0,
                                4,    0,    32, 0, 22,   0,    32, 0, 4,    0,    0, 0};
    fmt.push_back(static_cast<uint8_t>(subTag));
    fmt.push_back(0);
    fmt.resize(40, 0x11); // rest of the GUID
    w.Chunk("fmt ", fmt).Chunk("data", {0x00, 0x00, 0x00, 0x40});
    return w.Bytes();
  };
  IRBuffer buffer;
  ASSERT_TRUE(Decode(extensible(1), buffer).ok());
  EXPECT_NEAR(buffer[0], 0.5, 1e-9) << "32-bit integer PCM";
  ASSERT_TRUE(Decode(extensible(3), buffer).ok());
  EXPECT_DOUBLE_EQ(buffer[0], 2.0) << "the same bytes as a float";
}

TEST(WavDecoder, ChunksAreSkippedAndOnlyTheFirstChannelIsUsed) {
  WavBuilder w;
  w.Riff().Chunk("LIST", std::vector<uint8_t>(20, 'x')).Format(1, 2, 44100, 16);
  w.Chunk("fact", {1, 2, 3, 4});
  w.Data16({100, -5, 200, -5, 300, -5}).Chunk("smpl", std::vector<uint8_t>(32, 0));
  IRBuffer buffer;
  const WavDecodeResult r = Decode(w.Bytes(), buffer);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.info.frames, 3u);
  EXPECT_DOUBLE_EQ(buffer[0], 100 / 32768.0);
  EXPECT_DOUBLE_EQ(buffer[2], 300 / 32768.0);
  EXPECT_EQ(buffer[3], 0.0);
}

TEST(WavDecoder, UndecodableFilesLeaveTheBufferAlone) {
  const std::vector<uint8_t> pcm = {1, 2, 3, 4};
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    WavStatus status;
  };
  std::vector<uint8_t> rifx = WavBuilder().Riff().Format(1, 1, 44100, 16).Data16({1}).Bytes();
  rifx[3] = 'X';
  std::vector<uint8_t> fmtCut = WavBuilder().Riff().Format(1, 1, 44100, 16).Bytes();
  fmtCut.resize(fmtCut.size() - 4);
  const std::vector<Case> cases = {
      {"empty", {}, WavStatus::kNotRiffWave},
      {"RIFX", rifx, WavStatus::kNotRiffWave},
      {"no fmt", WavBuilder().Riff().Chunk("data", pcm).Bytes(), WavStatus::kNoFormatChunk},
      {"no data", WavBuilder().Riff().Format(1, 1, 44100, 16).Bytes(), WavStatus::kNoDataChunk},
      {"data never comes", WavBuilder().Riff().Format(1, 1, 44100, 16).Chunk("junk", {}).Bytes(),
       WavStatus::kNoDataChunk},
      {"12-bit", WavBuilder().Riff().Format(1, 1, 44100, 12, 2).Chunk("data", pcm).Bytes(),
       WavStatus::kUnsupportedFormat},
      {"rate 0", WavBuilder().Riff().Format(1, 1, 0, 16).Chunk("data", pcm).Bytes(),
       WavStatus::kUnsupportedFormat},
      {"block align 0", WavBuilder().Riff().Format(1, 0, 44100, 16).Chunk("data", pcm).Bytes(),
       WavStatus::kUnsupportedFormat},
      {"fmt cut short", fmtCut, WavStatus::kUnsupportedFormat},
      {"no frames", WavBuilder().Riff().Format(1, 1, 44100, 16).Chunk("data", {}).Bytes(),
       WavStatus::kNoAudio},
  };
  for (const Case& c : cases) {
    IRBuffer buffer;
    buffer.fill(0.125);
    EXPECT_EQ(Decode(c.bytes, buffer).status, c.status) << c.what;
    EXPECT_EQ(buffer[0], 0.125) << c.what;
    EXPECT_FALSE(WavImportErrorMessage(c.status).empty()) << c.what;
  }
}

TEST(WavDecoder, ADataChunkLongerThanTheFileReadsZerosPastTheEnd) {
  WavBuilder w;
  w.Riff().Format(1, 1, 44100, 16);
  w.Id("data");
  w.U32(0xFFFFFFF0u); // claims 4 GB
  w.U16(1000);
  IRBuffer buffer;
  const WavDecodeResult r = Decode(w.Bytes(), buffer);
  ASSERT_TRUE(r.ok());
  EXPECT_DOUBLE_EQ(buffer[0], 1000 / 32768.0);
  EXPECT_EQ(buffer[1], 0.0);
  EXPECT_EQ(buffer[4095], 0.0);
}

class WavImportTest : public test::TempRootTest {
protected:
  LibraryTables tables;
};

TEST_F(WavImportTest, AWavFileBecomesAUserIRNamedAfterIt) {
  const std::string wav = root + "/in/Big Room.wav";
  test::WriteFileBytes(wav,
                       WavBuilder().Riff().Format(1, 1, 44100, 16).Data16({16384, -8192}).Bytes());
  SlotCache cache(root, tables);
  zorel::test::ScriptedModalServices modal{MessageBoxResult::kOK};
  modal.QueueFile(wav);
  std::string last = root + "/old/prev.wav";

  const WavImportResult r = ImportWav(modal, last, cache, 12);
  ASSERT_EQ(r.outcome, WavImportOutcome::kPrepared);
  EXPECT_EQ(last, wav);
  ASSERT_EQ(modal.FilePrompts().size(), 1u);
  EXPECT_EQ(modal.FilePrompts()[0].folder, root + "/old");
  EXPECT_EQ(modal.FilePrompts()[0].extensions, "wav");
  EXPECT_TRUE(modal.Messages().empty());

  ASSERT_TRUE(r.upload);
  EXPECT_EQ(r.upload->name, "Big Room");
  const std::vector<uint8_t> file = test::ReadFileBytes(root + "/User IRs/013.dat");
  ASSERT_EQ(file.size(), kIRBlockSize);
  EXPECT_EQ(std::string(file.begin() + 4, file.begin() + 36), "Big Room" + std::string(24, ' '));
  EXPECT_EQ(file[36] | (file[37] << 8), 16384);
  EXPECT_EQ(file[36 + 2 * 1199], 0);
  EXPECT_EQ(file[2] | (file[3] << 8), 0x8000);
}

TEST_F(WavImportTest, ARefusedFileTouchesNeitherBufferNorSlot) {
  const std::string bad = root + "/bad.wav";
  test::WriteFileBytes(
      bad, WavBuilder().Riff().Format(1, 1, 44100, 20, 3).Chunk("data", {1, 2, 3}).Bytes());
  const std::vector<uint8_t> old(kIRBlockSize, 7);
  test::WriteFileBytes(root + "/User IRs/001.dat", old);
  tables.mIRBuffer.fill(0.3);
  SlotCache cache(root, tables);
  zorel::test::ScriptedModalServices modal{MessageBoxResult::kOK};
  modal.QueueFile(bad);
  std::string last;

  const WavImportResult r = ImportWav(modal, last, cache, 0);
  EXPECT_EQ(r.outcome, WavImportOutcome::kRefused);
  EXPECT_EQ(r.status, WavStatus::kUnsupportedFormat);
  EXPECT_FALSE(r.upload);
  ASSERT_EQ(modal.Messages().size(), 1u);
  EXPECT_EQ(modal.Messages()[0].text, WavImportErrorMessage(WavStatus::kUnsupportedFormat));
  EXPECT_EQ(tables.mIRBuffer[0], 0.3);
  EXPECT_EQ(test::ReadFileBytes(root + "/User IRs/001.dat"), old);

  zorel::test::ScriptedModalServices cancelled{MessageBoxResult::kOK};
  EXPECT_EQ(ImportWav(cancelled, last, cache, 0).outcome, WavImportOutcome::kNoFileChosen);
}

TEST(WavImportName, IsTheFileNameWithoutItsExtension) {
  EXPECT_EQ(TrimName(WavImportName("/a/b/Big Room.wav")), "Big Room");
  const NameField n = WavImportName("/x/" + std::string(40, 'L') + ".wav");
  EXPECT_EQ(std::string(n.begin(), n.end()), std::string(32, 'L'));
  EXPECT_EQ(std::string(WavImportName("/x/a.w").data(), 32), std::string(32, ' '));
}

} // namespace
} // namespace zorel::lib

// The resource bundle, the factory IR install and the manual.

#include <regex>

#include "LibraryTestSupport.h"
#include "library/ByteReader.h"
#include "library/FactoryContent.h"
#include "library/WavDecoder.h"
#include "resources/ResourceBundle.h"

namespace zorel::lib {
namespace {

using test::Exists;
using test::ReadFileBytes;

std::span<const uint8_t> Bundle(int id) {
  return FindResource(id);
}

std::vector<uint8_t> Copy(std::span<const uint8_t> bytes) {
  return {bytes.begin(), bytes.end()};
}

TEST(ResourceBundle, FindsResourcesByNumberAndByName) {
  const auto byNumber = FindResource(201);
  const auto byName = FindResource(std::string_view("01-Movrant.wav"));
  ASSERT_FALSE(byNumber.empty());
  EXPECT_EQ(byNumber.data(), byName.data());
  EXPECT_EQ(FindResource(102).data(), FindResource(std::string_view(kManualFileName)).data());
  EXPECT_TRUE(FindResource(999).empty());
  EXPECT_TRUE(FindResource(0).empty());
  EXPECT_TRUE(FindResource(std::string_view("nothing.png")).empty());
}

TEST(FactoryIRs, HaveTheFormatsTheCabinetDisplayExpects) {
  for (const FactoryIRResource& r : kFactoryIRResources) {
    const auto bytes = FindResource(r.id);
    ASSERT_EQ(bytes.size(), r.id == 201 ? 2084u : 3044u) << r.fileName;
    MemoryReader reader(bytes);
    IRBuffer buffer{};
    const WavDecodeResult d = DecodeWavIntoIRBuffer(reader, buffer);
    ASSERT_TRUE(d.ok()) << r.fileName;
    EXPECT_EQ(d.info.channels, 1);
    EXPECT_EQ(d.info.frames, 1000u);
    EXPECT_EQ(d.info.sampleRate, r.id == 201 ? 44100u : 48000u);
    EXPECT_EQ(d.info.bitsPerSample, r.id == 201 ? 16 : 24);
    EXPECT_EQ(d.info.outFrames, r.id == 201 ? 1000u : 918u);
    // A cabinet response: a strong start that has died away at the end.
    double head = 0, tail = 0, peak = 0;
    for (size_t k = 0; k < 100; ++k) head += buffer[k] * buffer[k];
    for (size_t k = 800; k < 900; ++k) tail += buffer[k] * buffer[k];
    for (size_t k = 0; k < 1000; ++k) peak = std::max(peak, std::abs(buffer[k]));
    EXPECT_GT(head, 100 * tail) << r.fileName;
    EXPECT_GT(peak, 0.5);
    EXPECT_LT(peak, 1.0);
  }
  // 201 carries its extra chunk after the sample data.
  const auto movrant = FindResource(201);
  EXPECT_EQ(std::string(movrant.begin() + 2044, movrant.begin() + 2048), "LIST");
  EXPECT_NE(Copy(FindResource(202)), Copy(FindResource(203))) << "eight different cabinets";
}

class FactoryContentTest : public test::TempRootTest {};

TEST_F(FactoryContentTest, InstallWritesAllEightUnlessTheFirstIsThere) {
  EXPECT_EQ(InstallFactoryIRs(root, Bundle), 8);
  for (const FactoryIRResource& r : kFactoryIRResources)
    EXPECT_EQ(ReadFileBytes(root + "/Factory IRs/" + r.fileName), Copy(FindResource(r.id)));

  const std::string fifth = root + "/Factory IRs/05-Stage 2x15.wav";
  std::filesystem::remove(fifth);
  EXPECT_EQ(InstallFactoryIRs(root, Bundle), 0);
  EXPECT_FALSE(Exists(fifth));

  std::filesystem::remove(root + "/Factory IRs/01-Movrant.wav");
  test::WriteFileBytes(root + "/Factory IRs/03-QS 8x10.wav", {1, 2});
  EXPECT_EQ(InstallFactoryIRs(root, Bundle), 8);
  EXPECT_TRUE(Exists(fifth));
  EXPECT_EQ(ReadFileBytes(root + "/Factory IRs/03-QS 8x10.wav"), Copy(FindResource(203)));

  EXPECT_EQ(InstallFactoryIRs(root + "/gone/away", Bundle), 0) << "no root: nothing, silently";
}

TEST_F(FactoryContentTest, TheManualIsWrittenOnceAndThenLeftAlone) {
  std::vector<std::string> launched;
  const DocumentLauncher launch = [&](const std::string& path) {
    launched.push_back(path);
    return true;
  };
  EXPECT_TRUE(OpenManual(root, Bundle, launch));
  const std::string path = root + "/Dravix_KWTN_ZL_OM1.pdf";
  ASSERT_EQ(launched, std::vector<std::string>{path});
  EXPECT_EQ(ReadFileBytes(path), Copy(FindResource(102)));

  test::WriteFileBytes(path, {'m', 'i', 'n', 'e'});
  EXPECT_TRUE(OpenManual(root, Bundle, launch));
  EXPECT_EQ(ReadFileBytes(path), (std::vector<uint8_t>{'m', 'i', 'n', 'e'}));
  EXPECT_EQ(launched.size(), 2u);

  EXPECT_FALSE(OpenManual(root + "/gone", Bundle, launch));
  EXPECT_EQ(launched.size(), 2u) << "nothing to open";
}

TEST_F(FactoryContentTest, TheViewerIsStartedWithoutAShell) {
  // `touch` stands in for the viewer: it creates the file it is handed, so
  // a path with spaces and quotes must arrive as one argument.
  const std::string target = root + "/a 'b' $c.pdf";
  ASSERT_TRUE(OpenWithDesktopViewer(target, "touch"));
  for (int i = 0; i < 200 && !Exists(target); ++i) ::usleep(10000);
  EXPECT_TRUE(Exists(target));
  EXPECT_FALSE(OpenWithDesktopViewer(target, "/no/such/viewer"));
}

TEST(Manual, IsAWellFormedPdfWithTheEditorsChapters) {
  const auto bytes = FindResource(102);
  const std::string pdf(bytes.begin(), bytes.end());
  ASSERT_EQ(pdf.rfind("%PDF-1.4\n", 0), 0u);
  ASSERT_GE(pdf.size(), 20000u);

  // startxref points at the table, and every entry at its object.
  const size_t sx = pdf.rfind("startxref\n");
  ASSERT_NE(sx, std::string::npos);
  const size_t xref = std::stoul(pdf.substr(sx + 10));
  ASSERT_EQ(pdf.compare(xref, 5, "xref\n"), 0);
  std::istringstream table(pdf.substr(xref + 5));
  size_t first = 0, count = 0;
  table >> first >> count;
  ASSERT_GT(count, 10u);
  std::string offset, generation, kind;
  table >> offset >> generation >> kind; // the free entry 0
  for (size_t id = 1; id < count; ++id) {
    table >> offset >> generation >> kind;
    ASSERT_EQ(kind, "n");
    const std::string head = std::to_string(id) + " 0 obj";
    ASSERT_EQ(pdf.compare(std::stoul(offset), head.size(), head), 0) << "object " << id;
  }
  // Each content stream is as long as its /Length says.
  const std::regex stream("/Length (\\d+) >>\nstream\n");
  size_t streams = 0;
  for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), stream); it != std::sregex_iterator();
       ++it, ++streams) {
    const size_t start = static_cast<size_t>(it->position() + it->length());
    ASSERT_EQ(pdf.compare(start + std::stoul((*it)[1]), 9, "endstream"), 0);
  }
  EXPECT_GE(streams, 8u);
  for (const char* chapter : {"(Getting started)", "(Working with presets)", "(Preset files)",
                              "(Backing up and restoring the pedal)", "(Impulse responses)",
                              "(Global settings)", "(Updating the firmware)"})
    EXPECT_NE(pdf.find(chapter), std::string::npos) << chapter;
}

} // namespace
} // namespace zorel::lib

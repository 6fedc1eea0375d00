#pragma once

// Shared pieces of the library tests: a throw-away library root, small file
// helpers and a WAV file builder.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

namespace zorel::lib::test {

// A fresh library root per test, also published as $ZOREL_HOME.
class TempRootTest : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/zorel-library-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root = pattern;
    ::setenv("ZOREL_HOME", root.c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("ZOREL_HOME");
    std::filesystem::remove_all(root);
  }

  std::string root;
};

inline std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

inline bool Exists(const std::string& path) {
  return std::filesystem::exists(path);
}

// Little-endian WAV bytes, chunk by chunk.
class WavBuilder {
public:
  WavBuilder& Riff() {
    Id("RIFF");
    U32(0); // patched by Bytes()
    Id("WAVE");
    return *this;
  }
  WavBuilder& Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                     uint16_t blockAlign = 0) {
    if (blockAlign == 0) blockAlign = static_cast<uint16_t>(channels * bits / 8);
    Id("fmt ");
    U32(16);
    U16(tag);
    U16(channels);
    U32(rate);
    U32(rate * blockAlign);
    U16(blockAlign);
    U16(bits);
    return *this;
  }
  WavBuilder& Chunk(const char* id, const std::vector<uint8_t>& body) {
    Id(id);
    U32(static_cast<uint32_t>(body.size()));
    bytes.insert(bytes.end(), body.begin(), body.end());
    return *this;
  }
  WavBuilder& Data16(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> body;
    for (int16_t s : samples) {
      body.push_back(static_cast<uint8_t>(s & 0xFF));
      body.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
    }
    return Chunk("data", body);
  }
  std::vector<uint8_t> Bytes() const {
    std::vector<uint8_t> out = bytes;
    if (out.size() >= 8) {
      const uint32_t size = static_cast<uint32_t>(out.size() - 8);
      for (int k = 0; k < 4; ++k) out[4 + k] = static_cast<uint8_t>(size >> (8 * k));
    }
    return out;
  }

  void Id(const char* id) { bytes.insert(bytes.end(), id, id + 4); }
  void U16(uint16_t v) {
    bytes.push_back(static_cast<uint8_t>(v));
    bytes.push_back(static_cast<uint8_t>(v >> 8));
  }
  void U32(uint32_t v) {
    U16(static_cast<uint16_t>(v));
    U16(static_cast<uint16_t>(v >> 16));
  }

  std::vector<uint8_t> bytes;
};

} // namespace zorel::lib::test

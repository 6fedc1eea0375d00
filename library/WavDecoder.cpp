#include "library/WavDecoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "library/FileReader.h"

namespace zorel::lib {

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;

uint16_t Le16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool ReadExact(ByteReader& reader, uint8_t* out, size_t n) {
  return reader.Read(out, n) == n;
}

// Skips chunks until one named `id`; returns its size with the reader at its
// first byte. Every step consumes at least the 8 header bytes, and a chunk
// that claims to run past the end puts the position at the end, so the walk
// always stops at the end of the file. Sizes are taken as written, with no
// pad byte skipped after an odd size.
bool FindChunk(ByteReader& reader, const char* id, uint32_t& size) {
  uint8_t header[8];
  while (ReadExact(reader, header, sizeof header)) {
    size = Le32(header + 4);
    if (std::memcmp(header, id, 4) == 0) return true;
    reader.SetPosition(reader.Position() + size);
  }
  return false;
}

double DecodeSample(const uint8_t* p, uint16_t bits, uint16_t tag) {
  switch (bits) {
  case 8:
    return p[0] / 127.0 - 1.0;
  case 16:
    return static_cast<int16_t>(Le16(p)) / 32768.0;
  case 24: {
    const uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16);
    const double x = v / 8388607.49999;
    return x > 1.0 ? x - 2.0 : x;
  }
  default: // 32
    if (tag == kFormatPcm) return static_cast<int32_t>(Le32(p)) / 2147483647.49999;
    uint32_t raw = Le32(p);
    float f;
    std::memcpy(&f, &raw, sizeof f);
    return std::isfinite(f) ? static_cast<double>(f) : 0.0;
  }
}

// Random access to the first channel of the interleaved samples. Samples
// follow one another at channels x bytes-per-sample, as the decoder always
// laid them out; bytes past the end of the file decode as 0.
class FirstChannel {
public:
  // `step` is how far apart consecutive reads fall (the rate ratio): when
  // they skip far ahead only the pair of frames around each is fetched.
  FirstChannel(ByteReader& reader, uint64_t dataStart, const WavInfo& info, double step)
      : mReader(reader), mDataStart(dataStart), mInfo(info), mSampleBytes(info.bitsPerSample / 8u),
        mFrameBytes(static_cast<uint64_t>(info.channels) * mSampleBytes) {
    // Frames of many channels are visited one at a time, reading only the
    // sample that is used.
    if (mFrameBytes > kChunkBytes / 16)
      mPerChunk = 1;
    else if (step > 16.0)
      mPerChunk = 2;
    else
      mPerChunk = kChunkBytes / mFrameBytes;
  }

  double At(uint64_t frame) {
    if (frame < mFirst || frame >= mFirst + mCached.size()) Load(frame);
    return mCached[frame - mFirst];
  }

private:
  static constexpr size_t kChunkBytes = 65536;

  void Load(uint64_t frame) {
    const uint64_t count = std::min<uint64_t>(mPerChunk, mInfo.frames - frame);
    const uint64_t span = count == 1 ? mSampleBytes : count * mFrameBytes;
    mRaw.assign(static_cast<size_t>(span), 0);
    mReader.SetPosition(mDataStart + frame * mFrameBytes);
    mReader.Read(mRaw.data(), mRaw.size()); // a short read leaves zeros
    mCached.resize(static_cast<size_t>(count));
    for (size_t k = 0; k < mCached.size(); ++k)
      mCached[k] =
          DecodeSample(mRaw.data() + k * mFrameBytes, mInfo.bitsPerSample, mInfo.formatTag);
    mFirst = frame;
  }

  ByteReader& mReader;
  uint64_t mDataStart;
  const WavInfo& mInfo;
  uint64_t mSampleBytes;
  uint64_t mFrameBytes;
  uint64_t mPerChunk = 1;
  std::vector<uint8_t> mRaw;
  std::vector<double> mCached;
  uint64_t mFirst = 0;
};

WavStatus ReadFormat(ByteReader& reader, WavInfo& info) {
  uint32_t size = 0;
  if (!FindChunk(reader, "fmt ", size)) return WavStatus::kNoFormatChunk;
  const uint64_t start = reader.Position();
  uint8_t fmt[40] = {};
  if (size < 16 || !ReadExact(reader, fmt, 16)) return WavStatus::kUnsupportedFormat;
  info.formatTag = Le16(fmt);
  info.channels = Le16(fmt + 2);
  info.sampleRate = Le32(fmt + 4);
  info.blockAlign = Le16(fmt + 12);
  info.bitsPerSample = Le16(fmt + 14);
  // An extensible format names its real tag in the first bytes of its
  // sub-format GUID; without this a 32-bit integer file would be read as float.
  if (info.formatTag == kFormatExtensible && size >= 40 && ReadExact(reader, fmt + 16, 24))
    info.formatTag = Le16(fmt + 24);
  reader.SetPosition(start + size);

  const uint16_t bits = info.bitsPerSample;
  const bool knownWidth = bits == 8 || bits == 16 || bits == 24 || bits == 32;
  if (!knownWidth || info.channels == 0 || info.sampleRate == 0 || info.blockAlign == 0)
    return WavStatus::kUnsupportedFormat;
  return WavStatus::kDecoded;
}

} // namespace

WavDecodeResult DecodeWavIntoIRBuffer(ByteReader& reader, IRBuffer& buffer) {
  WavDecodeResult result;
  WavInfo& info = result.info;
  uint8_t header[12];
  if (!ReadExact(reader, header, sizeof header) || std::memcmp(header, "RIFF", 4) != 0 ||
      std::memcmp(header + 8, "WAVE", 4) != 0) {
    result.status = WavStatus::kNotRiffWave;
    return result;
  }
  if ((result.status = ReadFormat(reader, info)) != WavStatus::kDecoded) return result;
  if (!FindChunk(reader, "data", info.dataSize)) {
    result.status = WavStatus::kNoDataChunk;
    return result;
  }
  info.frames = info.dataSize / info.blockAlign;
  if (info.frames == 0) {
    result.status = WavStatus::kNoAudio;
    return result;
  }

  const double ratio = info.sampleRate / kIRSampleRate;
  info.outFrames = static_cast<uint64_t>(std::floor(static_cast<double>(info.frames) / ratio));
  const size_t count = static_cast<size_t>(std::min<uint64_t>(info.outFrames, kIRBufferSize));

  FirstChannel x(reader, reader.Position(), info, ratio);
  IRBuffer out{};
  if (ratio == 1.0) {
    for (size_t j = 0; j < count; ++j) out[j] = x.At(j);
  } else {
    const uint64_t last = info.frames - 1;
    double p = 0.0;
    for (size_t j = 0; j < count; ++j) {
      const uint64_t i = std::min(static_cast<uint64_t>(std::floor(p)), last);
      const double x0 = x.At(i);
      // The last output can land on the final frame; its neighbour is then
      // the final frame itself rather than a sample that does not exist.
      const double x1 = x.At(std::min(i + 1, last));
      out[j] = x0 + (x1 - x0) * (p - static_cast<double>(i));
      p += ratio;
    }
  }
  buffer = out;
  result.status = WavStatus::kDecoded;
  return result;
}

WavDecodeResult ReadWavIntoIRBuffer(const std::string& path, IRBuffer& buffer) {
  FileReader reader(path);
  if (!reader.IsOpen()) return {};
  return DecodeWavIntoIRBuffer(reader, buffer);
}

std::string WavImportErrorMessage(WavStatus status) {
  switch (status) {
  case WavStatus::kDecoded:
    return {};
  case WavStatus::kNotOpened:
    return "The file could not be opened.";
  case WavStatus::kNotRiffWave:
    return "This is not a WAV file.";
  case WavStatus::kNoFormatChunk:
  case WavStatus::kNoDataChunk:
    return "The WAV file is incomplete.";
  case WavStatus::kUnsupportedFormat:
    return "Unsupported WAV format. \nUse 8, 16, 24 or 32-bit PCM or 32-bit float.";
  case WavStatus::kNoAudio:
    return "The WAV file holds no audio.";
  }
  return {};
}

} // namespace zorel::lib

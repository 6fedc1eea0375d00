#pragma once

// Turns a WAV file into the IR working buffer: walks the RIFF chunks to
// "fmt " and "data", decodes the first channel (8, 16, 24 or 32-bit integer
// PCM, 32-bit float), resamples it to 44100 Hz by linear interpolation with
// the read position advanced by repeated addition of the rate ratio, and
// keeps the first 4096 samples.
//
// A file that cannot be decoded leaves the buffer exactly as it was and says
// why; the caller must then not build or upload anything from the buffer.

#include <cstdint>
#include <string>

#include "library/ByteReader.h"
#include "library/IRBlock.h"

namespace zorel::lib {

enum class WavStatus {
  kDecoded,
  kNotOpened,         // empty path or a file that does not open
  kNotRiffWave,       // no "RIFF" ... "WAVE" header
  kNoFormatChunk,     // the file ends before a "fmt " chunk
  kNoDataChunk,       // the file ends before a "data" chunk
  kUnsupportedFormat, // sample width not 8/16/24/32, or no channels, rate or frame size
  kNoAudio,           // a "data" chunk without a single frame
};

struct WavInfo {
  uint16_t formatTag = 0; // for WAVE_FORMAT_EXTENSIBLE, the tag of its sub-format
  uint16_t channels = 0;
  uint32_t sampleRate = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
  uint32_t dataSize = 0;
  uint64_t frames = 0;    // data size / block alignment
  uint64_t outFrames = 0; // floor(frames / ratio), before the cut to 4096
};

struct WavDecodeResult {
  WavStatus status = WavStatus::kNotOpened;
  WavInfo info;
  bool ok() const { return status == WavStatus::kDecoded; }
};

WavDecodeResult DecodeWavIntoIRBuffer(ByteReader& reader, IRBuffer& buffer);
WavDecodeResult ReadWavIntoIRBuffer(const std::string& path, IRBuffer& buffer);

// The message shown when a WAV import is refused.
std::string WavImportErrorMessage(WavStatus status);

} // namespace zorel::lib

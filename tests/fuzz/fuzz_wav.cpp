// Any bytes as a WAV file: the decoder must stop at the end of the input,
// never read outside it, and either decode into the buffer or leave it as it
// was.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "library/ByteReader.h"
#include "library/IRBlock.h"
#include "library/WavDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zorel::lib::IRBuffer buffer;
  buffer.fill(0.5);
  zorel::lib::MemoryReader reader({data, size});
  const zorel::lib::WavDecodeResult result = zorel::lib::DecodeWavIntoIRBuffer(reader, buffer);
  if (!result.ok()) {
    for (double x : buffer)
      if (x != 0.5) std::abort();
    return 0;
  }
  // Whatever was decoded must turn into a valid block.
  for (double x : buffer) (void)zorel::lib::SampleToWord(x);
  return 0;
}

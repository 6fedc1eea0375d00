#include "library/IRBlock.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "formats/NameText.h"

namespace zorel::lib {

namespace {

void PutWord(uint8_t* at, uint16_t word) {
  at[0] = static_cast<uint8_t>(word & 0xFF);
  at[1] = static_cast<uint8_t>(word >> 8);
}

uint16_t GetWord(const uint8_t* at) {
  return static_cast<uint16_t>(at[0] | (at[1] << 8));
}

} // namespace

NameField PadName(std::string_view text) {
  NameField field;
  field.fill(' ');
  std::memcpy(field.data(), text.data(), std::min(text.size(), field.size()));
  return field;
}

std::string TrimName(std::span<const uint8_t, kNameFieldLength> field) {
  return NameFieldText(
      std::string_view(reinterpret_cast<const char*>(field.data()), kNameFieldLength));
}

std::string TrimName(const NameField& field) {
  return TrimName(std::span<const uint8_t, kNameFieldLength>(
      reinterpret_cast<const uint8_t*>(field.data()), kNameFieldLength));
}

int16_t SampleToWord(double x) {
  if (std::isnan(x)) return 0;
  const double scaled = std::trunc(x * 32768.0);
  if (scaled >= 32767.0) return 32767;
  if (scaled <= -32768.0) return -32768;
  return static_cast<int16_t>(scaled);
}

uint16_t GainToWord(double g) {
  if (!(g > 0.0)) return 0;
  if (g >= 1.0) return 0x8000;
  return static_cast<uint16_t>(std::trunc(g * 32768.0));
}

IRBlockBytes BuildIRBlock(uint16_t gainWord, const NameField& name,
                          std::span<const double> samples) {
  IRBlockBytes block{};
  PutWord(block.data(), 1);
  PutWord(block.data() + 2, gainWord);
  std::memcpy(block.data() + kIRBlockNameOffset, name.data(), kNameFieldLength);
  for (size_t k = 0; k < kIRBlockSamples; ++k) {
    const double x = k < samples.size() ? samples[k] : 0.0;
    PutWord(block.data() + kIRBlockSamplesOffset + 2 * k, static_cast<uint16_t>(SampleToWord(x)));
  }
  return block;
}

uint16_t IRBlockGainWord(std::span<const uint8_t, kIRBlockSize> block) {
  return GetWord(block.data() + 2);
}

double IRBlockGain(std::span<const uint8_t, kIRBlockSize> block) {
  return IRBlockGainWord(block) / 32768.0;
}

NameField IRBlockName(std::span<const uint8_t, kIRBlockSize> block) {
  NameField name;
  std::memcpy(name.data(), block.data() + kIRBlockNameOffset, kNameFieldLength);
  return name;
}

void IRBlockSamplesInto(std::span<const uint8_t, kIRBlockSize> block, IRBuffer& buffer) {
  for (size_t k = 0; k < kIRBlockSamples; ++k) {
    const auto word = static_cast<int16_t>(GetWord(block.data() + kIRBlockSamplesOffset + 2 * k));
    buffer[k] = word / 32768.0;
  }
}

} // namespace zorel::lib

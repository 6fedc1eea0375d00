#include "library/MirroredPedal.h"

#include <vector>

#include "library/FileReader.h"
#include "library/FileWriter.h"
#include "library/SlotCache.h"

namespace zorel::lib {

namespace {

// Far more than a serial line; a larger file is not ours.
constexpr uint64_t kSerialFileMaxSize = 256;

bool IsPadding(char c) {
  return c == ' ' || c == '\0';
}

} // namespace

std::string NormalizeSerial(std::string_view serial) {
  while (!serial.empty() && IsPadding(serial.front())) serial.remove_prefix(1);
  while (!serial.empty() && IsPadding(serial.back())) serial.remove_suffix(1);
  std::string out;
  for (char c : serial) {
    const auto b = static_cast<unsigned char>(c);
    out.push_back(b < 0x20 || b >= 0x7F ? '?' : c);
  }
  return out;
}

std::optional<std::string> ReadMirroredPedalSerial(const std::string& root) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(root + kMirroredPedalFile, kSerialFileMaxSize, bytes)) return std::nullopt;
  std::string text(bytes.begin(), bytes.end());
  if (const size_t end = text.find('\n'); end != std::string::npos) text.resize(end);
  return NormalizeSerial(text);
}

bool RememberMirroredPedal(const std::string& root, std::string_view serial) {
  const std::string text = NormalizeSerial(serial) + "\n";
  const std::vector<uint8_t> bytes(text.begin(), text.end());
  return ReplaceFileContents(root + kMirroredPedalFile, bytes, Durability::kSynced);
}

PedalMatch MatchPedal(const std::optional<std::string>& remembered, std::string_view connected) {
  if (!remembered) return PedalMatch::kFirstPedal;
  return *remembered == NormalizeSerial(connected) ? PedalMatch::kSamePedal
                                                   : PedalMatch::kDifferentPedal;
}

std::string DifferentPedalMessage(std::string_view remembered, std::string_view connected) {
  return "This Zorel (serial " + NormalizeSerial(connected) +
         ") is not the one whose presets and IRs this library holds (serial " +
         NormalizeSerial(remembered) +
         "). The library's copy is cleared and read anew from this pedal.";
}

PedalAdoption AdoptConnectedPedal(SlotCache& cache, std::string_view serial) {
  PedalAdoption adoption;
  const std::optional<std::string> remembered = ReadMirroredPedalSerial(cache.Root());
  adoption.match = MatchPedal(remembered, serial);
  if (!CacheMustBeRebuilt(adoption.match)) {
    adoption.remembered = true;
    return adoption;
  }
  // Clear first, remember second: see the header.
  cache.ClearPedalContent();
  adoption.cacheCleared = true;
  adoption.remembered = RememberMirroredPedal(cache.Root(), serial);
  if (adoption.match == PedalMatch::kDifferentPedal)
    adoption.message = DifferentPedalMessage(*remembered, serial);
  return adoption;
}

} // namespace zorel::lib

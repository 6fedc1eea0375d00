#include "library/CabinetResponse.h"

#include <cctype>
#include <cmath>
#include <cstdio>

#include "library/LibraryPaths.h"
#include "library/WavDecoder.h"

namespace zorel::lib {

namespace {

void SetUnitImpulse(IRBuffer& buffer) {
  buffer.fill(0.0);
  buffer[0] = 1.0;
}

bool EndsWithWav(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == ".wav";
}

void LoadFactoryCabinet(SlotCache& cache, int index) {
  if (cache.LoadFactoryIRSlot(index)) return;
  char prefix[8];
  std::snprintf(prefix, sizeof prefix, "%02d", index + 1);
  const std::string folder = cache.Root() + kFactoryIRsFolder;
  for (const std::string& name : ListFiles(folder)) {
    if (name.rfind(prefix, 0) == 0 && EndsWithWav(name)) {
      ReadWavIntoIRBuffer(folder + name, cache.Tables().mIRBuffer);
      return;
    }
  }
}

} // namespace

CabinetPosition CabinetPositionFor(int value) {
  CabinetPosition pos;
  pos.y = std::floor(static_cast<float>(value) / 127.0f * 80.0f) / 10.0f;
  pos.lo = static_cast<int>(std::floor(pos.y));
  pos.hi = static_cast<int>(std::ceil(pos.y));
  return pos;
}

void LoadCabinet(SlotCache& cache, int cabinet, const CabinetSources& sources) {
  if (cabinet >= 1 && cabinet <= 6) {
    LoadFactoryCabinet(cache, cabinet - 1);
  } else if (cabinet == 7) {
    if (sources.userIR7Mode >= 1)
      cache.LoadUserIRSlot(sources.userIR7Number);
    else
      LoadFactoryCabinet(cache, 6);
  } else if (cabinet == 8) {
    if (sources.userIR8Mode >= 1)
      cache.LoadUserIRSlot(sources.userIR8Number);
    else
      LoadFactoryCabinet(cache, 7);
  }
}

void FillCabinetResponse(SlotCache& cache, int value, const CabinetSources& sources) {
  IRBuffer& buffer = cache.Tables().mIRBuffer;
  const CabinetPosition pos = CabinetPositionFor(value);
  SetUnitImpulse(buffer);
  if (pos.y == 0.0f) return;
  LoadCabinet(cache, pos.lo, sources);
  if (pos.hi == pos.lo) return;
  const IRBuffer lower = buffer;
  LoadCabinet(cache, pos.hi, sources);
  const double toLower = pos.hi - pos.y;
  const double toUpper = pos.y - pos.lo;
  for (size_t k = 0; k < buffer.size(); ++k) buffer[k] = toLower * lower[k] + toUpper * buffer[k];
}

} // namespace zorel::lib

#include "sim/StateFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace zorel::sim {

namespace {

constexpr char kMagic[8] = {'Z', 'O', 'R', 'E', 'L', 'P', 'E', 'D'};
constexpr uint32_t kFormatVersion = 1;
constexpr size_t kHeaderSize = sizeof(kMagic) + 4 + 4;
constexpr size_t kBodySize = 1 + kSerialLength + 1 + 1 + kPresetSlotCount * kPresetPayloadSize +
                             kPresetPayloadSize + kBlockDataSize + kMidiAssignmentCount +
                             kProgramMapSize + (kUserIRSlotCount + kFactoryIRCount) * kIRBlockSize;

uint32_t Fnv1a(std::span<const uint8_t> bytes) {
  uint32_t hash = 2166136261u;
  for (uint8_t b : bytes) hash = (hash ^ b) * 16777619u;
  return hash;
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

uint32_t GetU32(std::span<const uint8_t> in) {
  return static_cast<uint32_t>(in[0]) | static_cast<uint32_t>(in[1]) << 8 |
         static_cast<uint32_t>(in[2]) << 16 | static_cast<uint32_t>(in[3]) << 24;
}

template <typename Container> void Put(std::vector<uint8_t>& out, const Container& bytes) {
  out.insert(out.end(), std::begin(bytes), std::end(bytes));
}

// Reads the body front to back.
class Reader {
public:
  explicit Reader(std::span<const uint8_t> body) : mBody(body) {}
  uint8_t Byte() { return mBody[mPos++]; }
  template <typename Container> void Into(Container& out) {
    std::copy_n(mBody.begin() + static_cast<ptrdiff_t>(mPos), std::size(out), std::begin(out));
    mPos += std::size(out);
  }

private:
  std::span<const uint8_t> mBody;
  size_t mPos = 0;
};

// Everything that goes into a SysEx body must already be 7-bit: the pedal's
// checksums are computed over the stored bytes.
template <typename Container> bool SevenBit(const Container& bytes) {
  return std::all_of(std::begin(bytes), std::end(bytes), [](uint8_t b) { return b < 0x80; });
}

} // namespace

std::vector<uint8_t> EncodeState(const PedalState& state) {
  std::vector<uint8_t> body;
  body.reserve(kBodySize);
  body.push_back(static_cast<uint8_t>(state.firmwareVersionTimes10));
  std::string serial = state.serial;
  serial.resize(kSerialLength, ' ');
  Put(body, serial);
  body.push_back(static_cast<uint8_t>(state.currentProgram));
  body.push_back(state.filterOn ? 1 : 0);
  for (const auto& preset : state.presets) Put(body, preset);
  Put(body, state.editBuffer);
  Put(body, state.globalData);
  Put(body, state.midiAssignments);
  Put(body, state.programMap);
  for (const auto& ir : state.userIRs) Put(body, ir);
  for (const auto& ir : state.factoryIRs) Put(body, ir);

  std::vector<uint8_t> out(std::begin(kMagic), std::end(kMagic));
  PutU32(out, kFormatVersion);
  PutU32(out, static_cast<uint32_t>(body.size()));
  Put(out, body);
  PutU32(out, Fnv1a(body));
  return out;
}

std::optional<PedalState> DecodeState(std::span<const uint8_t> bytes, std::string& error) {
  if (bytes.size() < kHeaderSize ||
      !std::equal(std::begin(kMagic), std::end(kMagic), bytes.begin())) {
    error = "not a virtual pedal state file";
    return std::nullopt;
  }
  if (GetU32(bytes.subspan(8)) != kFormatVersion) {
    error = "unsupported state file version";
    return std::nullopt;
  }
  if (GetU32(bytes.subspan(12)) != kBodySize || bytes.size() != kHeaderSize + kBodySize + 4) {
    error = "state file has the wrong size";
    return std::nullopt;
  }
  const auto body = bytes.subspan(kHeaderSize, kBodySize);
  if (Fnv1a(body) != GetU32(bytes.subspan(kHeaderSize + kBodySize))) {
    error = "state file is damaged (checksum mismatch)";
    return std::nullopt;
  }

  PedalState state;
  Reader in(body);
  state.firmwareVersionTimes10 = in.Byte();
  state.serial.resize(kSerialLength);
  in.Into(state.serial);
  state.currentProgram = in.Byte();
  state.filterOn = in.Byte() != 0;
  for (auto& preset : state.presets) in.Into(preset);
  in.Into(state.editBuffer);
  in.Into(state.globalData);
  in.Into(state.midiAssignments);
  in.Into(state.programMap);
  for (auto& ir : state.userIRs) in.Into(ir);
  for (auto& ir : state.factoryIRs) in.Into(ir);

  bool valid = state.firmwareVersionTimes10 < 0x80 && state.currentProgram < kPresetSlotCount &&
               std::all_of(state.serial.begin(), state.serial.end(),
                           [](char c) { return c >= 0x20 && c < 0x7F; }) &&
               SevenBit(state.editBuffer) && SevenBit(state.globalData) &&
               SevenBit(state.midiAssignments) && SevenBit(state.programMap);
  for (const auto& preset : state.presets) valid = valid && SevenBit(preset);
  if (!valid) {
    error = "state file holds values a pedal cannot send";
    return std::nullopt;
  }
  return state;
}

bool SaveStateFile(const std::string& path, const PedalState& state, std::string& error) {
  const std::vector<uint8_t> bytes = EncodeState(state);
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      error = "cannot write " + temporary;
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    error = "cannot replace " + path + ": " + std::strerror(errno);
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

std::optional<PedalState> LoadStateFile(const std::string& path, std::string& error,
                                        bool& missing) {
  missing = false;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    missing = errno == ENOENT;
    error = "cannot open " + path + ": " + std::strerror(errno);
    return std::nullopt;
  }
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
  auto state = DecodeState(bytes, error);
  if (!state) error = path + ": " + error;
  return state;
}

} // namespace zorel::sim

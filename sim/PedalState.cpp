#include "sim/PedalState.h"

#include <span>

#include "protocol/codec/Names.h"

namespace zorel::sim {

namespace {

inline constexpr size_t kIRBlockNameOffset = 4;

std::span<const uint8_t, kNameLength> NameField(const IRBlock& block) {
  return std::span<const uint8_t, kIRBlockSize>(block).subspan<kIRBlockNameOffset, kNameLength>();
}

} // namespace

IRBlock* FindIR(PedalState& state, int number) {
  if (number >= 0 && number < kUserIRSlotCount) return &state.userIRs[static_cast<size_t>(number)];
  const int factory = number - kFactoryIRFirstNumber;
  if (factory >= 0 && factory < kFactoryIRCount)
    return &state.factoryIRs[static_cast<size_t>(factory)];
  return nullptr;
}

const IRBlock* FindIR(const PedalState& state, int number) {
  return FindIR(const_cast<PedalState&>(state), number);
}

PresetChecksumList StoredChecksums(const PedalState& state) {
  PresetChecksumList list{};
  for (size_t slot = 0; slot < list.size(); ++slot) list[slot] = BlockChecksum(state.presets[slot]);
  return list;
}

void LoadProgram(PedalState& state, int slot) {
  state.currentProgram = slot & 0x7F;
  state.editBuffer = state.presets[static_cast<size_t>(state.currentProgram)];
  state.filterOn = state.editBuffer[PayloadParamOffset(kParamAutoFilterOn)] != 0 ||
                   state.editBuffer[PayloadParamOffset(kParamChorusOn)] != 0;
}

std::string IRBlockName(const IRBlock& block) {
  return ReadNameField(NameField(block));
}

bool IRBlockIsEmpty(const IRBlock& block) {
  return IsBlankName(NameField(block));
}

} // namespace zorel::sim

// Any bytes as a preset file: parsing and planning the load must stay
// inside the input, and an IR block to upload must exist in full and go to
// a user IR.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "library/ModalServices.h"
#include "library/PresetFileLoad.h"
#include "tests/support/ScriptedModalServices.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  // The first bytes choose the editor's state and the answers to its questions.
  zorel::lib::PresetLoadContext context;
  context.presetModified = data[0] & 1;
  context.liveIR7Mode = (data[0] >> 1) & 1;
  context.liveIR8Mode = (data[0] >> 2) & 1;
  context.currentPresetSlot = data[1] & 0x7F;
  zorel::test::ScriptedModalServices modal{zorel::MessageBoxResult::kOK};
  modal.QueueMessageAnswer(data[2] & 1 ? zorel::MessageBoxResult::kOK
                                       : zorel::MessageBoxResult::kCancel);
  modal.QueueMessageAnswer(data[2] & 2 ? zorel::MessageBoxResult::kOK
                                       : zorel::MessageBoxResult::kCancel);

  const std::span<const uint8_t> file(data + 3, size - 3);
  const zorel::lib::LoadedPresetFile load = zorel::lib::PlanPresetFileLoad(file, context, modal);
  if (load.firstBlock) {
    if (file.size() < zorel::lib::kPresetFileHeaderSize + zorel::kIRBlockSize) std::abort();
    if (load.firstUploadNumber < 0 || load.firstUploadNumber >= 256) std::abort();
    if (load.sendPresetNow) std::abort();
  }
  for (int index : {0, 1, 2, -1}) (void)zorel::lib::PresetFileBlock(file, index);
  return 0;
}

#pragma once

// From the IR working buffer to an IR block ready to go to the pedal: the
// level factor, the block, its slot file, and the WAV import that fills the
// buffer first. Packing the block and arming UploadState is the protocol's
// part; this layer stops at the block.

#include <optional>
#include <span>
#include <string>

#include "library/IRBlock.h"
#include "library/ModalServices.h"
#include "library/SlotCache.h"
#include "library/WavDecoder.h"

namespace zorel::lib {

// g = 1 / (sqrt(sum of squares) x sqrt 2) x 1.2 over the first 1200 samples,
// at most 1.0 (silence gives 1.0).
double ComputeIRGain(std::span<const double> samples);

struct PreparedIRUpload {
  IRBlockBytes block{};
  std::string name; // trailing spaces removed, for the name displays
  int number = 0;
  bool slotWritten = false;
};

// Computes the gain into mIRGain, builds the block from mIRBuffer and `name`
// and writes it to the slot file of `number` (folder created one level;
// failures ignored). The samples carry no window or level change: the gain
// travels only in the gain word.
PreparedIRUpload PrepareIRUpload(SlotCache& cache, const NameField& name, int number);

// The IR name for a WAV path: the file name without its last four
// characters (the ".wav"), cut to 32 and padded with spaces.
NameField WavImportName(const std::string& path);
// The same before it is made ASCII and cut: what the user named the file.
std::string WavImportBaseName(const std::string& path);

enum class WavImportOutcome { kNoFileChosen, kRefused, kPrepared };

struct WavImportResult {
  WavImportOutcome outcome = WavImportOutcome::kNoFileChosen;
  WavStatus status = WavStatus::kNotOpened;
  std::optional<PreparedIRUpload> upload;
};

// A WAV file chosen and decoded, nothing written yet: the editor asks
// before the slot is overwritten, and the IR working buffer may show
// another IR meanwhile, so the samples travel with it.
struct DecodedWav {
  WavImportOutcome outcome = WavImportOutcome::kNoFileChosen;
  WavStatus status = WavStatus::kNotOpened;
  std::string path;
  NameField name{};
  IRBuffer samples{};
};

// File prompt (open, "wav") from `lastWavFilePath`, which keeps the chosen
// path, and decode; a file that cannot be decoded is refused with a message
// box. The working buffer holds the samples afterwards, as in ImportWav.
DecodedWav DecodeWavForImport(IModalServices& modal, std::string& lastWavFilePath,
                              SlotCache& cache);

// The WAV import of the IR page: file prompt (open, "wav") starting from
// `lastWavFilePath`, which keeps the chosen path; decode into mIRBuffer; on
// success PrepareIRUpload to `uploadIRNumber`. A file that cannot be decoded
// is refused with a message box and leaves the buffer, the slot file and
// the pedal untouched.
WavImportResult ImportWav(IModalServices& modal, std::string& lastWavFilePath, SlotCache& cache,
                          int uploadIRNumber);

} // namespace zorel::lib

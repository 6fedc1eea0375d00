#include "library/IRUpload.h"

#include <algorithm>
#include <cmath>

#include "formats/NameText.h"
#include "library/LibraryPaths.h"

namespace zorel::lib {

double ComputeIRGain(std::span<const double> samples) {
  double sum = 0.0;
  for (double x : samples.first(std::min(samples.size(), kIRBlockSamples))) sum += x * x;
  const double g = 1.0 / (std::sqrt(sum) * std::sqrt(2.0)) * 1.2;
  return g > 1.0 ? 1.0 : g; // silence divides by zero: g is infinite, so 1.0
}

PreparedIRUpload PrepareIRUpload(SlotCache& cache, const NameField& name, int number) {
  LibraryTables& tables = cache.Tables();
  const double g = ComputeIRGain(tables.mIRBuffer);
  tables.mIRGain = g;
  PreparedIRUpload prepared;
  prepared.block = BuildIRBlock(GainToWord(g), name, tables.mIRBuffer);
  prepared.number = number;
  prepared.slotWritten = cache.WriteIRSlot(number, prepared.block);
  prepared.name = TrimName(name);
  return prepared;
}

std::string WavImportBaseName(const std::string& path) {
  std::string base = FileNamePart(path);
  base.resize(base.size() > 4 ? base.size() - 4 : 0);
  return base;
}

NameField WavImportName(const std::string& path) {
  // A file name may hold any UTF-8; the IR's name travels in SysEx bodies
  // and shows on the pedal, so it holds ASCII only.
  return PadName(SanitizeName(WavImportBaseName(path)));
}

DecodedWav DecodeWavForImport(IModalServices& modal, std::string& lastWavFilePath,
                              SlotCache& cache) {
  DecodedWav decoded;
  std::string fileName = FileNamePart(lastWavFilePath);
  std::string folder = FolderPart(lastWavFilePath);
  modal.ChooseFileDialog(fileName, folder, FileAction::kOpen, "wav");
  if (fileName.empty()) return decoded;
  lastWavFilePath = fileName;
  decoded.path = fileName;
  decoded.status = ReadWavIntoIRBuffer(fileName, cache.Tables().mIRBuffer).status;
  if (decoded.status != WavStatus::kDecoded) {
    decoded.outcome = WavImportOutcome::kRefused;
    modal.ShowMessageDialog(WavImportErrorMessage(decoded.status), "", MessageBoxType::kOK);
    return decoded;
  }
  decoded.outcome = WavImportOutcome::kPrepared;
  decoded.name = WavImportName(fileName);
  decoded.samples = cache.Tables().mIRBuffer;
  return decoded;
}

WavImportResult ImportWav(IModalServices& modal, std::string& lastWavFilePath, SlotCache& cache,
                          int uploadIRNumber) {
  const DecodedWav decoded = DecodeWavForImport(modal, lastWavFilePath, cache);
  WavImportResult result;
  result.outcome = decoded.outcome;
  result.status = decoded.status;
  if (decoded.outcome == WavImportOutcome::kPrepared)
    result.upload = PrepareIRUpload(cache, decoded.name, uploadIRNumber);
  return result;
}

} // namespace zorel::lib

#pragma once

// The pedal's side of the protocol, without time: one editor message in, the
// pedal's answers out, in the order the pedal sends them. State changes take
// effect before the answers are built. Timing and misbehaviour are added by
// VirtualPedal on top of this.
//
// Which answer goes with which message is listed in sim/README.md.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "protocol/codec/FirmwareTransfer.h"
#include "protocol/codec/IrTransfer.h"
#include "sim/FactoryContent.h"
#include "sim/PedalState.h"

namespace zorel::sim {

using Bytes = std::vector<uint8_t>;

class PedalModel {
public:
  explicit PedalModel(PedalState state = MakeFactoryState());

  // One complete message from the editor (F0 .. F7). Messages the pedal
  // does not understand, or not in this form, are ignored: no answer.
  std::vector<Bytes> Receive(std::span<const uint8_t> message);

  // The pedal's own controls. A knob of sound parameter `index` (0..73) turned
  // to `value`; the report uses the editor's index, which is what the editor
  // reads from it.
  std::vector<Bytes> TurnKnob(int index, int value);
  // The FILTER footswitch: toggles its state and reports it as number 77.
  std::vector<Bytes> PressFilter();
  // The 42-byte name report of IR `number` (empty when it holds no IR).
  std::vector<Bytes> ReportIRName(int number) const;

  const PedalState& State() const { return mState; }
  // Direct access for tests and for loading a state file; call
  // MarkChanged() after a change that should be saved.
  PedalState& MutableState() { return mState; }

  // The identity reports this version instead of the real one while set
  // (a pedal with firmware the editor must refuse).
  void SetReportedVersion(std::optional<int> versionTimes10) { mReportedVersion = versionTimes10; }

  bool BulkMode() const { return mBulkMode; }
  // Set by the editor-closing message, cleared by the next identity request.
  bool EditorClosed() const { return mEditorClosed; }

  // The last firmware image the loader accepted, and how many it accepted.
  const std::vector<uint8_t>& ReceivedFirmware() const { return mReceivedFirmware; }
  int FirmwareUpdates() const { return mFirmwareUpdates; }
  bool LoaderActive() const { return mLoaderStarted; }

  // True when stored content changed since the last ClearChanged (what a
  // state file must save).
  bool Changed() const { return mChanged; }
  void MarkChanged() { mChanged = true; }
  void ClearChanged() { mChanged = false; }

private:
  std::vector<Bytes> OnSetParameter(int number, int value);
  std::vector<Bytes> OnWriteSettings(std::span<const uint8_t> message);
  std::vector<Bytes> OnRequestSettings(int type);
  std::vector<Bytes> OnFactoryReset(int scope);
  std::vector<Bytes> OnIRUpload(std::span<const uint8_t> message);
  std::vector<Bytes> OnRestorePreset(std::span<const uint8_t> message);
  std::vector<Bytes> OnRestoreIR(std::span<const uint8_t> message);
  std::vector<Bytes> OnLoader(std::span<const uint8_t> message);
  std::vector<Bytes> DumpOf(int slot) const;
  std::vector<Bytes> IRDump(int number) const;
  std::vector<Bytes> IRNamePage(int page) const;
  // The names of user IRs 7 and 8 in the edit buffer follow the IR numbers
  // and modes it holds.
  void RefreshEditBufferIRNames();
  bool StoreIR(const IRTransferReceiver& receiver);

  PedalState mState;
  std::optional<int> mReportedVersion;
  bool mBulkMode = false;
  bool mEditorClosed = false;
  bool mChanged = false;

  IRTransferReceiver mUpload{kIRTransferCommands};
  IRTransferReceiver mRestore{kIRRestoreCommands};

  bool mLoaderStarted = false;
  FirmwareTransferReceiver mLoader;
  std::vector<uint8_t> mReceivedFirmware;
  int mFirmwareUpdates = 0;
};

} // namespace zorel::sim

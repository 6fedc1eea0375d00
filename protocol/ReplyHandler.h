#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "plugin/IPlugAPIBase.h"
#include "protocol/PedalSender.h"
#include "protocol/PresetCache.h"
#include "protocol/SessionEvents.h"
#include "protocol/SessionState.h"
#include "protocol/codec/Classify.h"
#include "protocol/codec/IrTransfer.h"
#include "protocol/codec/Packing.h"

namespace zorel {

// Everything the editor does with a message from the pedal: checks it,
// applies what it carries to parameters, tables and the slot cache, and
// answers or advances the running sequence (or raises a flag for the device
// tick). Runs on the thread that drains the MIDI input, under the editor lock.
class ReplyHandler {
public:
  ReplyHandler(iplug::IPlugAPIBase& plug, SessionState& state, PedalSender& sender,
               ISessionEvents& events, IPresetCache& cache)
      : mPlug(plug), mState(state), mSender(sender), mEvents(events), mCache(cache) {}

  void ProcessSysEx(std::span<const uint8_t> message);

  // Sets parameter `index` from a byte of the pedal, mapped through the
  // parameter's range, and queues it for its controls.
  void SetFromByte(int index, int byte);
  // The same for settings blocks, which carry value / maximum.
  void SetFromByteOverMax(int index, int byte);

private:
  void OnPresetDump(std::span<const uint8_t> m);
  void OnBulkDump(std::span<const uint8_t> m);
  void OnExportDump(std::span<const uint8_t> m);
  void OnSinglePreset(std::span<const uint8_t> m, bool checksumOk);
  void OnSettingsBlock(std::span<const uint8_t> m);
  void OnIdentity(std::span<const uint8_t> m, bool checksumOk);
  void VerifyImport(std::span<const uint8_t> list);
  std::string StoredValuesThatDiffer(std::span<const uint8_t> m) const;
  void OnIRNamePage(std::span<const uint8_t> m);
  void OnIRDumpChunk(IncomingKind kind, std::span<const uint8_t> m);
  void FeedDump(std::span<const uint8_t> bytes);
  bool DumpIntact();
  bool IRReadConfirmed(int number, std::span<const uint8_t> block);
  void OnExportIRComplete();
  void OnShortMessage(IncomingKind kind);
  void OnParameterReport(int number, int value);
  // The transfer overlay at `fraction`, with its text in whole percent.
  void Progress(double fraction);
  int ParamInt(int index) const;

  iplug::IPlugAPIBase& mPlug;
  SessionState& mState;
  PedalSender& mSender;
  ISessionEvents& mEvents;
  IPresetCache& mCache;
  StreamUnpacker mDumpUnpacker;
  IRTransferReceiver mDumpCheck;
};

// Which amplifier model / ambience type a preset's values belong to.
int IdentifyAmpModel(std::span<const uint8_t, 74> values);
int IdentifyAmbienceType(std::span<const uint8_t, 74> values);

} // namespace zorel

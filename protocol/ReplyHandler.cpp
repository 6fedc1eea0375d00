#include "protocol/ReplyHandler.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "protocol/ModelDefaults.h"
#include "protocol/Requests.h"
#include "protocol/codec/Classify.h"
#include "protocol/codec/EditorMessages.h"
#include "protocol/codec/Frame.h"
#include "protocol/codec/Names.h"

namespace zorel {

namespace {

constexpr size_t kDumpCapacity = 4096;

std::string Format(const char* format, int value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string NameAt(std::span<const uint8_t> m, size_t offset) {
  return std::string(reinterpret_cast<const char*>(m.data() + offset), kNameLength);
}

} // namespace

int IdentifyAmpModel(std::span<const uint8_t, 74> v) {
  // Columns Buzz, Punch, Buzz Q, Punch Q, Crunch Q and Punch Freq.
  for (int r = 0; r < kAmpModelCount; ++r) {
    const int* row = kAmpModelDefaults[r];
    if (row[1] == v[kParamBuzz] && row[2] == v[kParamPunch] && row[4] == v[kParamBuzzQ] &&
        row[5] == v[kParamPunchQ] && row[6] == v[kParamCrunchQ] && row[7] == v[kParamPunchFreq]) {
      return r;
    }
  }
  if (v[kParamBuzz] == 62) return 12;
  if (v[kParamBuzz] == 63) return 11;
  return 10;
}

int IdentifyAmbienceType(std::span<const uint8_t, 74> v) {
  for (int t = 0; t < kAmbienceTypeCount; ++t) {
    bool match = true;
    for (size_t c = 1; c < kAmbienceColumns.size(); ++c) {
      if (kAmbienceDefaults[t][c] != v[static_cast<size_t>(kAmbienceColumns[c])]) match = false;
    }
    if (match) return t;
  }
  return 7;
}

int ReplyHandler::ParamInt(int index) const {
  const iplug::IParam* p = mPlug.ParamAt(index);
  return p ? static_cast<int>(p->Current()) : 0;
}

void ReplyHandler::SetFromByte(int index, int byte) {
  const iplug::IParam* p = mPlug.ParamAt(index);
  if (p == nullptr) return;
  mPlug.SetParameterValue(index, (byte - p->Min()) / (p->Max() - p->Min()));
  mPlug.QueueUIParameterUpdate(index, p->Current(), false);
}

void ReplyHandler::SetFromByteOverMax(int index, int byte) {
  const iplug::IParam* p = mPlug.ParamAt(index);
  if (p == nullptr) return;
  mPlug.SetParameterValue(index, byte / p->Max());
  mPlug.QueueUIParameterUpdate(index, p->Current(), false);
}

void ReplyHandler::Progress(double fraction) {
  mEvents.ShowTransferProgress(fraction, Format("%d %%", static_cast<int>(fraction * 100)));
}

void ReplyHandler::ProcessSysEx(std::span<const uint8_t> m) {
  const IncomingKind kind = ClassifyIncoming(m);
  switch (kind) {
  case IncomingKind::PresetDump:
    OnPresetDump(m);
    break;
  case IncomingKind::SettingsBlock:
    OnSettingsBlock(m);
    break;
  case IncomingKind::IRNamePage:
    OnIRNamePage(m);
    break;
  case IncomingKind::IRNameReport:
    break; // no control shows it
  case IncomingKind::IRDumpFirst:
  case IncomingKind::IRDumpMiddle:
  case IncomingKind::IRDumpLast:
    OnIRDumpChunk(kind, m);
    break;
  case IncomingKind::ParameterReport:
    if (const auto report = ParseParameterReport(m))
      OnParameterReport(report->number, report->value);
    break;
  case IncomingKind::Unknown:
    break;
  default:
    OnShortMessage(kind);
    break;
  }
}

void ReplyHandler::OnPresetDump(std::span<const uint8_t> m) {
  SessionState& s = mState;
  if (!s.mConnected) return;
  const bool checksumOk = BlockChecksumOk(m);
  if (!checksumOk) s.mDamageSeen = true;
  if (s.mBulkLoading || s.mExporting) {
    // Only the answer to the transfer's own outstanding request belongs to
    // it: a late or repeated dump, or the answer to another request, is not
    // taken for it.
    const int slot = m[7] & 0x7F;
    const int asked = s.mBulkLoading ? s.mBulkSlot : s.mExportPresetIndex - 1;
    const bool outstanding = s.mBulkLoading || !s.mExportReplyReceived;
    if (!outstanding || slot != asked || s.mAwaited != TransferState::Awaited::kPreset ||
        s.mAwaitedNumber != asked)
      return;
    if (!checksumOk) {
      // Asked again a few times; a link that keeps damaging the same preset
      // ends the transfer with a message instead of looping or keeping it.
      if (!RequestAgain(s, mSender)) GiveUp(s, mSender, mEvents, kDamagedPresetsMessage);
      return;
    }
    s.mAwaited = TransferState::Awaited::kNone;
    s.mRetries = 0;
    if (s.mBulkLoading)
      OnBulkDump(m);
    else
      OnExportDump(m);
    return;
  }
  if (s.mAwaited == TransferState::Awaited::kPreset) s.mAwaited = TransferState::Awaited::kNone;
  OnSinglePreset(m, checksumOk);
}

void ReplyHandler::OnBulkDump(std::span<const uint8_t> m) {
  SessionState& s = mState;
  s.mSendSuppressed = true;
  const int slot = m[7] & 0x7F;
  // The next request goes out before this preset is written, so that the
  // disk works while the pedal answers instead of holding the request back.
  mCache.SetFetchFlag(slot, false);
  int next = -1;
  for (int k = 0; k < kPresetSlotCount && next < 0; ++k)
    if (mCache.FetchFlag(k)) next = k;
  if (next >= 0) {
    s.mBulkSlot = next;
    s.mBulkDone += 1;
    Progress(s.mBulkTotal > 0 ? static_cast<double>(s.mBulkDone) / s.mBulkTotal : 0.0);
    mSender.SendRequestPreset(next);
  }
  if (!mCache.WritePresetSlot(slot, m.subspan(8, 256), m[264], m[265]) && s.mUnwrittenSlot < 0)
    s.mUnwrittenSlot = slot;
  const std::string row = Format(" %02d ", ParamInt(kParamPatchOffset) + slot) + NameAt(m, 10);
  mCache.SetPresetRowText(slot, row);
  if (slot == s.mCurrentPresetSlot) mEvents.PresetHighlighted(-1, slot);
  if (next >= 0) return;
  s.mBulkLoading = false;
  s.mSendSuppressed = false;
  // A preset the library could not keep leaves it out of step with the
  // pedal, whatever else was read; the next connection asks for it again.
  s.mCacheInSync = s.mUnwrittenSlot < 0;
  mEvents.ShowTransferProgress(1.0, "100 %");
  mEvents.HideTransferProgress();
  if (s.mUnwrittenSlot >= 0) {
    mEvents.ShowMessage("The library could not write the file " +
                        mCache.PresetSlotFile(s.mUnwrittenSlot) +
                        ", so it does not hold every preset of the pedal. Please check that the "
                        "library folder can be written, then press RECONNECT.");
    s.mUnwrittenSlot = -1;
  }
  mSender.SendRequestSettings(0);
}

void ReplyHandler::OnExportDump(std::span<const uint8_t> m) {
  SessionState& s = mState;
  const int ir7 = m[95] * 128 + m[96];
  const int ir8 = m[97] * 128 + m[98];
  if (m[82] != 0 && ir7 < 256) s.mExportIRNeeded[static_cast<size_t>(ir7)] = true;
  if (m[83] != 0 && ir8 < 256) s.mExportIRNeeded[static_cast<size_t>(ir8)] = true;
  s.mTransferBuffer.insert(s.mTransferBuffer.end(), m.begin(), m.end());
  Progress(s.mExportPresetIndex / 128.0);
  s.mExportReplyReceived = true;
}

void ReplyHandler::OnSinglePreset(std::span<const uint8_t> m, bool checksumOk) {
  SessionState& s = mState;
  const int slot = m[7] & 0x7F;
  s.mCurrentPresetSlot = slot;
  if (slot != s.mHighlightedRow) {
    mEvents.PresetHighlighted(s.mHighlightedRow, slot);
    s.mHighlightedRow = slot;
    const double scroll = (kPresetListLastTopRow - std::min(slot, kPresetListLastTopRow)) /
                          double{kPresetListLastTopRow};
    mPlug.SetParameterValue(kParamScroll, scroll);
    mPlug.QueueUIParameterUpdate(kParamScroll, scroll, true);
  }
  if (!checksumOk) return;
  // The pedal's copy of a stored preset, held against the values the
  // editor last sent for its edit buffer.
  std::string storeDiffers;
  if (s.mStoreArmed) storeDiffers = StoredValuesThatDiffer(m);

  s.mSendSuppressed = true;
  std::array<uint8_t, 74> values{};
  for (int i = 0; i < kNumPresetParams; ++i) {
    values[static_cast<size_t>(i)] = m[42 + static_cast<size_t>(i)];
    SetFromByte(i, values[static_cast<size_t>(i)]);
    s.mLoadedValues[static_cast<size_t>(i)] = values[static_cast<size_t>(i)];
  }
  AppliedPreset applied;
  applied.slot = slot;
  applied.ampModel = IdentifyAmpModel(values);
  applied.ambienceType = IdentifyAmbienceType(values);
  s.mIR7PageActive = false;
  s.mIR8PageActive = false;

  // Names travel with the preset whether or not a window shows them: a
  // later write of the preset sends them back.
  s.mPresetName = TrimName(NameAt(m, 10));
  const bool ir7On = s.mLiveValues[kParamUserIR7Mode] >= 1;
  const bool ir8On = s.mLiveValues[kParamUserIR8Mode] >= 1;
  // A program keeps the name its user IR had when it was stored; the slot
  // may hold another IR since (a WAV imported into it), and the name shown
  // and written back with the preset is that of what the slot holds.
  auto irName = [&](int msb, int lsb, size_t offset) {
    const std::string cached = mCache.CachedUserIRName(
        s.mLiveValues[static_cast<size_t>(msb)] * 128 + s.mLiveValues[static_cast<size_t>(lsb)]);
    return cached.empty() ? TrimName(NameAt(m, offset)) : cached;
  };
  if (ir7On) s.mCurrentIR7Name = irName(kParamUserIR7PresetMSB, kParamUserIR7Preset, 200);
  if (ir8On) s.mCurrentIR8Name = irName(kParamUserIR8PresetMSB, kParamUserIR8Preset, 232);
  s.mIR7DisplayName = ir7On ? s.mCurrentIR7Name : mCache.CabinetName(7);
  s.mIR8DisplayName = ir8On ? s.mCurrentIR8Name : mCache.CabinetName(8);
  s.mPresetModified = false;
  applied.shownNumber = ParamInt(kParamPatchOffset) + slot;
  mCache.SetPresetRowText(slot, Format(" %02d ", applied.shownNumber) + s.mPresetName);
  applied.name = s.mPresetName;
  applied.ir7Name = s.mIR7DisplayName;
  applied.ir8Name = s.mIR8DisplayName;
  applied.userIRsOn = ir7On || ir8On;
  applied.filterOn = s.mLiveValues[kParamAutoFilterOn] != 0 || s.mLiveValues[kParamChorusOn] != 0;
  // Shown while sending is still suppressed, so that nothing it changes
  // switches the section panel or goes back to the pedal.
  mEvents.PresetApplied(applied);
  s.mSendSuppressed = false;
  ++s.mPresetsApplied;

  if (s.mStoreArmed) {
    // The pedal's copy of the preset just stored.
    s.mStoreArmed = false;
    s.mStoreConfirming = false;
    mEvents.PresetStored();
    mCache.WritePresetSlot(s.mCurrentPresetSlot, m.subspan(8, 256), m[264], m[265]);
    s.mStoreCheck = storeDiffers.empty() ? PresetSelection::StoreCheck::kVerified
                                         : PresetSelection::StoreCheck::kDiffers;
    if (!storeDiffers.empty())
      mEvents.ShowMessage("Preset " + std::to_string(applied.shownNumber) +
                          " was not stored as it was sent: the pedal holds other values for " +
                          storeDiffers +
                          ". Please check the MIDI connection and store the preset again.");
  }

  if (ParamInt(kParamUserIR7Mode) != 0 && !mCache.UserIRSlotExists(s.mUserIR7Number)) {
    mSender.SendRequestIR(s.mUserIR7Number);
  } else if (ParamInt(kParamUserIR8Mode) != 0 && !mCache.UserIRSlotExists(s.mUserIR8Number)) {
    mSender.SendRequestIR(s.mUserIR8Number);
  }
}

void ReplyHandler::OnSettingsBlock(std::span<const uint8_t> m) {
  const bool checksumOk = BlockChecksumOk(m);
  if (!mState.mConnected) {
    OnIdentity(m, checksumOk);
    return;
  }
  SessionState& s = mState;
  const bool awaitedList = s.mAwaited == TransferState::Awaited::kChecksumList;
  if (!checksumOk) {
    s.mDamageSeen = true;
    // Without a clean checksum list the cache cannot be brought up to date:
    // ask again, and give up on the connection if it never comes clean.
    if (m[7] == 3 && awaitedList && !RequestAgain(s, mSender))
      GiveUp(s, mSender, mEvents, kDamagedListMessage);
    return;
  }
  if (m[7] <= 2) s.mSettingsKnown[m[7]] = true;
  switch (m[7]) {
  case 0: {
    s.mSendSuppressed = true;
    const int potMode = m[14] > 0 ? 1 : 0;
    for (int i = 0; i < 10; ++i) {
      const int index = kParamDefineMidiMapping + i;
      SetFromByteOverMax(index, index == kParamEditPotDisplayMode ? potMode
                                                                  : m[9 + static_cast<size_t>(i)]);
    }
    SetFromByteOverMax(kParamSoftClipping, m[19]);
    SetFromByteOverMax(kParamAnalogSimGain, m[20]);
    SetFromByteOverMax(kParamAntiAliasingFilter, m[21]);
    SetFromByteOverMax(kParamCabinetBypass, m[24]);
    SetFromByteOverMax(kParamSafeLevel, m[25]);
    s.mSendSuppressed = false;
    mSender.SendBulkMode(false);
    mSender.SendRequestPreset(m[8]);
    break;
  }
  case 1:
    for (int i = 0; i < 16; ++i)
      SetFromByteOverMax(kParamMidiCCDrive + i, m[8 + static_cast<size_t>(i)]);
    break;
  case 2:
    for (size_t i = 0; i < 128; ++i) s.mProgramMap[i] = m[8 + i];
    if (mEvents.ViewOpen()) {
      const int controller = std::clamp(ParamInt(kParamMapControllerProgram), 0, 127);
      const int controller1 = std::clamp(ParamInt(kParamMapControllerProgram1) - 1, 0, 127);
      const double v = s.mProgramMap[static_cast<size_t>(controller)] / 127.0;
      const double v1 = s.mProgramMap[static_cast<size_t>(controller1)] / 127.0;
      mPlug.SetParameterValue(kParamMapDeviceProgram, v);
      mPlug.QueueUIParameterUpdate(kParamMapDeviceProgram, v, true);
      mPlug.SetParameterValue(kParamMapDeviceProgram1, v1);
      mPlug.QueueUIParameterUpdate(kParamMapDeviceProgram1, v1, true);
    }
    break;
  case 3: {
    if (!awaitedList) break; // a repeated answer after the list was taken
    s.mAwaited = TransferState::Awaited::kNone;
    s.mRetries = 0;
    if (s.mImportVerifyPending) VerifyImport(m);
    int flagged = 0;
    for (int k = 0; k < kPresetSlotCount; ++k) {
      const bool differs = mCache.ChecksumDiffers(k, m[8 + 2 * static_cast<size_t>(k)],
                                                  m[9 + 2 * static_cast<size_t>(k)]);
      mCache.SetFetchFlag(k, differs);
      if (differs) ++flagged;
    }
    if (flagged == 0) {
      s.mCacheInSync = true;
      mSender.SendRequestSettings(0);
    } else {
      s.mBulkLoading = true;
      s.mBulkSlot = -1;
      s.mUnwrittenSlot = -1;
      s.mBulkModePending = true;
    }
    break;
  }
  default:
    break;
  }
}

// Names of the sound parameters whose value in a stored preset's dump is not
// the one the editor sent; empty when all agree. Values the editor never
// knew are not held against the pedal.
std::string ReplyHandler::StoredValuesThatDiffer(std::span<const uint8_t> m) const {
  std::string names;
  int count = 0;
  for (int i = 0; i < kNumPresetParams; ++i) {
    const int sent = mState.mLiveValues[static_cast<size_t>(i)];
    if (sent == ParamMirror::kNoValue) continue;
    if ((sent & 0x7F) == m[42 + static_cast<size_t>(i)]) continue;
    if (count++ < 4) {
      const iplug::IParam* p = mPlug.ParamAt(i);
      names += (names.empty() ? "" : ", ") + std::string(p ? p->Name() : std::to_string(i));
    }
  }
  if (count > 4) names += " and " + std::to_string(count - 4) + " more";
  return names;
}

// The pedal's checksum list after an import, against the presets of the
// file: a preset the pedal did not take as sent is named, never passed over.
void ReplyHandler::VerifyImport(std::span<const uint8_t> list) {
  SessionState& s = mState;
  s.mImportVerifyPending = false;
  std::string differing;
  int count = 0;
  for (int k = 0; k < kPresetSlotCount; ++k) {
    const ChecksumPair held{list[8 + 2 * static_cast<size_t>(k)],
                            list[9 + 2 * static_cast<size_t>(k)]};
    if (held == s.mImportExpected[static_cast<size_t>(k)]) continue;
    differing += (count++ ? ", " : "") + std::to_string(ParamInt(kParamPatchOffset) + k);
  }
  if (count == 0) {
    s.mImportResult = TransferState::ImportResult::kVerified;
    mEvents.ShowMessage("Finished successfully!");
    mEvents.ShowMessage("All 128 presets verified.");
    return;
  }
  s.mImportResult = TransferState::ImportResult::kDiffers;
  mEvents.ShowMessage("The pedal does not hold what the backup holds in " +
                      std::string(count == 1 ? "preset " : "presets ") + differing +
                      ". Please check the MIDI connection and restore the backup again.");
}

void ReplyHandler::OnIdentity(std::span<const uint8_t> m, bool checksumOk) {
  SessionState& s = mState;
  const int version = m[6];
  char text[64];
  std::snprintf(text, sizeof text, "VERSION: %.1f", version / 10.0);
  const std::string versionText = text;
  s.mDeviceVersionText = versionText;
  mEvents.DeviceIdentified(versionText);
  if (version < 10) {
    s.mPendingMessage = Format("Please upgrade Zorel to actual version %d.", 11);
    s.mHasPendingMessage = true;
    s.mVersionRefused = true;
    return;
  }
  if (version >= 120) {
    s.mPendingMessage = "Editor version out of date. Please download the most recent version.";
    s.mHasPendingMessage = true;
    s.mVersionRefused = true;
    return;
  }
  s.mVersionRefused = false;
  if (!checksumOk) return;
  if (m[7] == 15) {
    s.mConnected = true;
    s.mCacheInSync = false;
    s.mSettingsKnown = {};
    s.mSerialNumber = NameAt(m, 232);
    s.mDeviceSerialText = "SERIAL: " + s.mSerialNumber;
    mEvents.SerialKnown(s.mDeviceSerialText);
    mSender.SendRequestSettings(3);
  } else if (m[7] == 0) {
    SetFromByteOverMax(kParamSoftClipping, m[19]);
    SetFromByteOverMax(kParamAnalogSimGain, m[20]);
    SetFromByteOverMax(kParamAntiAliasingFilter, m[21]);
  }
}

void ReplyHandler::OnIRNamePage(std::span<const uint8_t> m) {
  if (!mState.mConnected) return;
  if (!BlockChecksumOk(m)) {
    mState.mDamageSeen = true;
    return;
  }
  const int page = m[7];
  for (int i = 0; i < 8; ++i) {
    const int row = 8 * (page % 4) + i;
    const std::span<const uint8_t, kNameLength> field(m.data() + 8 + 32 * i, kNameLength);
    const std::string text =
        IsBlankName(field) ? Format("Empty Slot %d", row + 1) : TrimName(ReadNameField(field));
    mState.mIRNameRows[static_cast<size_t>(row)] = text;
    mEvents.IRNameRowChanged(row, text);
  }
  if ((page + 1) % 4 != 0) mSender.SendRequestIRNames(page + 1);
}

// An IR dump arrives in chunks. Each goes to the unpacker that fills the
// slot file and to a receiver that checks the dump as a whole: an IR is
// kept (in the cache or in a backup) only when every chunk arrived and the
// transfer checksum is right; otherwise it is asked for again.
void ReplyHandler::FeedDump(std::span<const uint8_t> bytes) {
  mDumpUnpacker.Feed(bytes);
}

void ReplyHandler::OnIRDumpChunk(IncomingKind kind, std::span<const uint8_t> m) {
  SessionState& s = mState;
  if (!s.mConnected) return;
  if (kind == IncomingKind::IRDumpFirst) {
    // Only the IR asked for: a late dump of another IR starts nothing.
    const int number = Decode14(m[7], m[8]);
    const bool awaited = s.mAwaited == TransferState::Awaited::kIR && number == s.mAwaitedNumber;
    const bool exportAsked = !s.mExportReplyReceived && number == s.mExportIRIndex - 1;
    if (s.mExporting && !(awaited && exportAsked)) return;
    mDumpCheck.Feed(m);
    s.mAwaitTicks = 0;
    s.mDumpIRNumber = number;
    // A backup keeps the chunks as they came; they are unpacked all the
    // same, so that two reads of one IR can be held against each other.
    mDumpUnpacker.Reset(UnpackedLength(Decode21(m[9], m[10], m[11])), kDumpCapacity);
    FeedDump(m.subspan(12, m.size() - 13));
    if (s.mExporting) {
      // An answer asked for again after its last chunk was lost: the
      // unfinished copy leaves the backup before the new one goes in.
      if (s.mExportIROpen) s.mTransferBuffer.resize(s.mExportIRStart);
      s.mExportIRStart = s.mTransferBuffer.size();
      s.mExportIROpen = true;
      s.mTransferBuffer.insert(s.mTransferBuffer.end(), m.begin(), m.end());
      return;
    }
    Progress(0.0);
    return;
  }
  if (!mDumpCheck.Active()) return; // no first chunk: nothing to add it to
  mDumpCheck.Feed(m);
  s.mAwaitTicks = 0;
  const size_t n = m.size();
  const bool last = kind == IncomingKind::IRDumpLast;
  FeedDump(m.subspan(7, n - (last ? 10 : 8)));
  if (last) {
    const uint8_t flush = 0;
    mDumpUnpacker.Feed(std::span<const uint8_t>(&flush, 1));
  }
  if (s.mExporting) {
    if (!s.mExportIROpen) return;
    s.mTransferBuffer.insert(s.mTransferBuffer.end(), m.begin(), m.end());
    if (last) OnExportIRComplete();
    return;
  }
  if (!last) {
    if (mDumpUnpacker.Expected() > 0) {
      const double p = static_cast<double>(mDumpUnpacker.Produced()) / mDumpUnpacker.Expected();
      char text[32];
      std::snprintf(text, sizeof text, "%.0f %%", p * 100);
      mEvents.ShowTransferProgress(p, text);
    }
    return;
  }
  const bool awaited =
      s.mAwaited == TransferState::Awaited::kIR && s.mAwaitedNumber == s.mDumpIRNumber;
  if (!DumpIntact() || !IRReadConfirmed(s.mDumpIRNumber, mDumpUnpacker.Output())) {
    mEvents.HideTransferProgress();
    // An IR nobody waits for is dropped: whoever needs it asks again.
    if (awaited && !RequestAgain(s, mSender)) {
      s.mAwaited = TransferState::Awaited::kNone;
      s.mRetries = 0;
      mEvents.ShowMessage(kDamagedIRMessage);
    }
    return;
  }
  if (awaited) {
    s.mAwaited = TransferState::Awaited::kNone;
    s.mRetries = 0;
  }
  mCache.StoreIRDump(s.mDumpIRNumber, mDumpUnpacker.Output());
  mEvents.ShowCabinetResponse(ParamInt(kParamIR));
  if (s.mUserIR8Number != s.mDumpIRNumber && ParamInt(kParamUserIR8Mode) != 0 &&
      !mCache.UserIRSlotExists(s.mUserIR8Number)) {
    mSender.SendRequestIR(s.mUserIR8Number);
  }
  mEvents.ShowTransferProgress(1.0, "100 %");
  mEvents.HideTransferProgress();
}

// Checked on every whole dump, so that damage anywhere on the link makes
// the reads that follow more careful.
bool ReplyHandler::DumpIntact() {
  const bool intact =
      mDumpCheck.ChecksumOk() && mDumpCheck.PackedReceived() == mDumpCheck.AnnouncedPacked();
  if (!intact) mState.mDamageSeen = true;
  return intact;
}

// The transfer checksum is a plain sum, so two errors in one dump can
// cancel out. On a link known to be healthy that is improbable enough; once
// it has damaged anything, an IR counts only when it equals the copy the
// cache already holds, or when two reads of it agree. A healthy link never
// sees the second request.
bool ReplyHandler::IRReadConfirmed(int number, std::span<const uint8_t> block) {
  SessionState& s = mState;
  if (!s.mDamageSeen) return true;
  auto earlier = s.mUnconfirmedIRs.find(number);
  const bool agrees =
      earlier != s.mUnconfirmedIRs.end() &&
      std::equal(block.begin(), block.end(), earlier->second.begin(), earlier->second.end());
  if (agrees || mCache.HoldsIR(number, block)) {
    if (earlier != s.mUnconfirmedIRs.end()) s.mUnconfirmedIRs.erase(earlier);
    return true;
  }
  s.mUnconfirmedIRs[number].assign(block.begin(), block.end());
  return false;
}

// The last chunk of an IR collected for a backup: kept when intact, else
// taken out of the backup again and asked for once more.
void ReplyHandler::OnExportIRComplete() {
  SessionState& s = mState;
  s.mExportIROpen = false;
  if (!DumpIntact() || !IRReadConfirmed(s.mDumpIRNumber, mDumpUnpacker.Output())) {
    s.mTransferBuffer.resize(s.mExportIRStart);
    if (!RequestAgain(s, mSender)) GiveUp(s, mSender, mEvents, kDamagedIRMessage);
    return;
  }
  s.mAwaited = TransferState::Awaited::kNone;
  s.mRetries = 0;
  Progress(s.mExportIRIndex / 256.0);
  s.mExportReplyReceived = true;
}

void ReplyHandler::OnParameterReport(int number, int value) {
  if (number == kReportNumberFilterSwitch) {
    mEvents.FilterSwitchReported(value > 0);
    return;
  }
  mState.mSendSuppressed = true;
  SetFromByte(number, value);
  mState.mSendSuppressed = false;
}

void ReplyHandler::OnShortMessage(IncomingKind kind) {
  SessionState& s = mState;
  switch (kind) {
  case IncomingKind::Finished:
    s.mFinishedPending = true;
    break;
  case IncomingKind::ParameterAccepted:
    if (s.mIRSelectStep == kParamUserIR7PresetMSB) {
      s.mIRSelectStep = kParamUserIR7Preset;
      const double v = (s.mUserIR7Number & 0x7F) / 127.0;
      mPlug.SetParameterValue(kParamUserIR7Preset, v);
      mPlug.QueueUIParameterUpdate(kParamUserIR7Preset, v, true);
    } else if (s.mIRSelectStep == kParamUserIR8PresetMSB) {
      s.mIRSelectStep = kParamUserIR8Preset;
      const double v = (s.mUserIR8Number & 0x7F) / 127.0;
      mPlug.SetParameterValue(kParamUserIR8Preset, v);
      mPlug.QueueUIParameterUpdate(kParamUserIR8Preset, v, true);
    }
    break;
  case IncomingKind::IRStored:
    mEvents.IRStored();
    break;
  case IncomingKind::Error:
    mEvents.ShowMessage("ERROR!");
    break;
  case IncomingKind::ReadyForIRData:
    s.mIRUploadRunning = true;
    break;
  case IncomingKind::WriteAcknowledged:
  case IncomingKind::WriteAcknowledgedMore:
    // Outside an import these belong to a factory upgrade that has no
    // messages to send: ignored, so a stray one cannot erase presets.
    if (!s.mImporting) break;
    s.mImportIndex += 1;
    s.mImportResends = 0;
    if (s.mImportIndex < s.mImportCount) {
      s.mImportReady = true;
    } else if (kind != IncomingKind::WriteAcknowledgedMore) {
      mSender.SendBulkMode(false);
      s.mImporting = false;
      s.mImportFinishedPending = true;
    }
    break;
  case IncomingKind::WriteFailed:
    if (!s.mImporting) break;
    s.mImporting = false;
    mEvents.ShowTransferProgress(0.0, "0 %");
    s.mImportFailure = "Communication error!";
    break;
  case IncomingKind::LoaderReady:
    s.mFirmwareActive = true;
    mEvents.FirmwareLoaderReady();
    break;
  case IncomingKind::UpdateComplete:
    s.mFirmwareActive = false;
    s.mConnected = false;
    break;
  case IncomingKind::UpdateFailed:
    s.mFirmwareActive = false;
    s.mConnected = false;
    mEvents.ShowMessage("Error in update!");
    mEvents.FirmwareUpdateEnded();
    break;
  default:
    break;
  }
}

} // namespace zorel

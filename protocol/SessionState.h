#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "formats/Checksums.h"
#include "formats/DataFormats.h"
#include "protocol/codec/ParamIds.h"

namespace zorel {

// The editor's state of its conversation with the pedal, split by owner.
// Every entry into it holds the editor lock (see ZorelControl). The parts
// say who writes them; everyone else only reads.

// The link: identity polling, connection, the device lines. Written by the
// reply handling, the device tick and the connection actions (Reconnect,
// the firmware page).
struct LinkState {
  bool mConnected = false;
  bool mConnectWanted = true;
  // The slot cache holds what the pedal holds: the checksum list was read
  // and every preset that differed has been read again since connecting.
  bool mCacheInSync = false;
  // Settings blocks 0, 1, 2 applied since connecting: the editor's values
  // then hold what the pedal holds (a snapshot needs all three).
  std::array<bool, 3> mSettingsKnown{};
  int mIdentityTicks = 0;
  // The next tick asks who is there at once rather than after a full
  // polling period: set at start, by a reconnect and when a port changes,
  // so a pedal that is there connects without waiting 3.3 s.
  bool mIdentityDue = true;
  // Identity requests sent since the pedal last said anything; after a few
  // the ports are opened again (a MIDI input that went deaf while the
  // output still takes messages), once per silence.
  int mUnansweredPolls = 0;
  bool mReopenedInSilence = false;
  // The link has damaged an answer since the program started (a checksum
  // that failed, a dump cut short, the link check's count): from then on an
  // IR is kept only when a second read agrees with it.
  bool mDamageSeen = false;
  // The device lines: version and serial as the pedal reported them.
  std::string mDeviceVersionText;
  std::string mDeviceSerialText;
  std::string mSerialNumber; // the 32 characters of the identity block
  // The last identity named a firmware this editor cannot work with.
  bool mVersionRefused = false;
  // A message held for the next user-interface tick (version refusals).
  std::string mPendingMessage;
  bool mHasPendingMessage = false;
};

// Parameter mirrors: what the pedal's edit buffer holds as far as we know,
// and what the last preset dump carried. Written by the dispatcher and by
// whoever applies values from the pedal or from a file (with sending
// suppressed around them).
struct ParamMirror {
  static constexpr int kNoValue = -1; // outside every parameter's range
  std::array<int, kParamCount> mLiveValues;
  std::array<int, kParamCount> mLoadedValues;
  bool mPresetModified = false;
  bool mTrackEdits = false;
  bool mSendSuppressed = true;
  bool mSendHeldThisTick = false;

  ParamMirror() {
    mLiveValues.fill(kNoValue);
    mLoadedValues.fill(kNoValue);
  }
};

// The current preset, its name and the store / recall state. Written by the
// reply handling (dumps) and the footswitch and list actions.
struct PresetSelection {
  int mCurrentPresetSlot = 0;
  int mHighlightedRow = 0; // the lit row of the preset list
  bool mStoreArmed = false;
  bool mStoreConfirming = false;
  // What the pedal sent back after the last store, held against what the
  // editor sent it: not checked yet, the same, or different.
  enum class StoreCheck { kNone, kVerified, kDiffers };
  StoreCheck mStoreCheck = StoreCheck::kNone;
  std::string mPresetName; // the preset name field
  // Program-change map (settings block 2 and the map page).
  std::array<int, 128> mProgramMap{};
  // Counts the preset dumps applied as the current preset: a front end
  // without a window sees the connection's last step arrive.
  int mPresetsApplied = 0;
};

// User IRs 7 and 8, their names and the custom IR list. Written by the
// dispatcher (IR parameters and list clicks), the reply handling (names and
// dumps) and the file actions (WAV import, preset files).
struct UserIRState {
  int mCurrentIRBank = 0;
  int mUploadIRNumber = 0;
  int mUserIR7Number = 0;
  int mUserIR8Number = 0;
  bool mIR7PageActive = false;
  bool mIR8PageActive = false;
  bool mIR7Pending = false;
  bool mIR8Pending = false;
  int mIRSelectStep = 0;
  bool mWavImportBusy = false;
  bool mIRRefetchPending = false;
  std::string mCurrentIR7Name;
  std::string mCurrentIR8Name;
  // What the user IR 7 / 8 name displays show (sent with a preset write).
  std::string mIR7DisplayName;
  std::string mIR8DisplayName;
  // The pedal's names of the bank shown in the custom IR list.
  std::array<std::string, kIRNameRows> mIRNameRows;
};

// Long transfers: the bulk read, export, import, firmware and IR upload.
// Written by the reply handling, the device tick and the actions that start
// them.
struct TransferState {
  bool mBulkLoading = false;
  int mBulkSlot = 0;
  int mBulkTotal = 0;
  int mBulkDone = 0;
  bool mBulkModePending = false;
  int mUnwrittenSlot = -1; // the first slot of this bulk read the library could not write
  // The reply the editor waits for. A damaged or missing answer is asked for
  // again, at most kMaxRetries times, before the sequence gives up and says
  // so (protocol/Requests.h).
  enum class Awaited { kNone, kPreset, kIR, kChecksumList };
  Awaited mAwaited = Awaited::kNone;
  int mAwaitedNumber = 0; // the slot or IR number asked for
  static constexpr int kMaxRetries = 3;
  int mRetries = 0;
  int mAwaitTicks = 0;
  bool AwaitingReply() const { return mAwaited != Awaited::kNone; }
  // An export collects each IR's chunks from here on in mTransferBuffer and
  // keeps them only when the whole dump arrived intact.
  size_t mExportIRStart = 0;
  bool mExportIROpen = false;
  bool mFinishedPending = false;
  bool mImportFinishedPending = false;
  // Why a running import ended early; the device tick reports it.
  std::string mImportFailure;
  int mImportWaitTicks = 0;
  int mImportResends = 0; // of the message now awaiting its acknowledgement
  // After a whole import, the checksum list of the reconnect is compared
  // with what the file held, slot by slot.
  bool mImportVerifyPending = false;
  int mImportVerifyTicks = 0;
  std::array<ChecksumPair, 128> mImportExpected{};
  // How the last import ended, for whoever waits on it: only a checksum
  // list that matches the file makes it verified.
  enum class ImportResult { kNone, kFailed, kVerified, kDiffers, kUnverified };
  ImportResult mImportResult = ImportResult::kNone;
  int mExportPresetIndex = 0;
  int mExportIRIndex = 0;
  std::array<bool, 256> mExportIRNeeded{};
  int mImportIndex = 0;
  int mImportCount = 0;
  std::vector<uint8_t> mTransferBuffer;
  std::string mLastPresetFilePath;
  int mDumpIRNumber = 0;
  // IRs read once on a link that has damaged answers, by number, waiting
  // for a second read that agrees.
  std::map<int, std::vector<uint8_t>> mUnconfirmedIRs;
  bool mImporting = false;
  bool mImportReady = false;
  bool mExporting = false;
  bool mExportReplyReceived = false;
  bool mFirmwareActive = false;
  bool mIRUploadRunning = false;
  int mUploadPosition = 0;
  int mUploadRemaining = 0;
  int mUploadTotal = 0;
  int mUploadChecksumHigh = 0;
  int mUploadChecksumLow = 0;
  int mFactoryUpgradeStep = 0;
  std::string mLastBulkFilePath;
};

// The whole conversation: its parts keep their own names, so code reads
// `state.mConnected` wherever it sits, and a component that owns one part
// can be handed just that part.
struct SessionState : LinkState, ParamMirror, PresetSelection, UserIRState, TransferState {};

} // namespace zorel

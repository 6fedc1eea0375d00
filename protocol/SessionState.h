#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "protocol/codec/ParamIds.h"

namespace zorel {

// The editor's state of its conversation with the pedal and of the preset
// and IR selection, shared by the dispatcher, the reply handling and the
// device tick. Every entry into it holds the editor lock (see ZorelControl).
struct SessionState {
  static constexpr int kNoValue = -1; // outside every parameter's range
  static constexpr int kPresetSlots = 128;
  static constexpr int kIRNameRows = 32;

  // Connection.
  bool mConnected = false;
  bool mConnectWanted = true;
  bool mSendSuppressed = true;
  bool mSendHeldThisTick = false;
  int mIdentityTicks = 0;
  // The device lines: version and serial as the pedal reported them.
  std::string mDeviceVersionText;
  std::string mDeviceSerialText;

  // Parameter mirrors: what the pedal's edit buffer holds as far as we know,
  // and what the last preset dump carried.
  std::array<int, kParamCount> mLiveValues;
  std::array<int, kParamCount> mLoadedValues;
  bool mPresetModified = false;
  bool mTrackEdits = false;

  // The preset number display and the preset list.
  bool mDisplayShowsValue = false;
  int mDisplayRevertTicks = 0;
  int mActiveSection = 0;
  int mListTopRow = 0;
  int mHighlightedRow = 0;
  int mCurrentPresetSlot = 0;
  bool mStoreArmed = false;
  bool mStoreConfirming = false;
  int mStoreConfirmTicks = 0;
  std::string mPresetName; // the preset name field

  // User IRs and the custom IR page.
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
  std::array<std::string, kIRNameRows> mIRNameRows;

  // Amplifier model and knob layer.
  bool mMidPre = false;
  bool mFilterSwitchOn = false;

  // Program-change map.
  std::array<int, 128> mProgramMap{};

  // Bulk read, export and import, firmware and IR upload, message boxes.
  bool mBulkLoading = false;
  int mBulkSlot = 0;
  int mBulkTotal = 0;
  int mBulkDone = 0;
  bool mBulkModePending = false;
  bool mAwaitingPreset = false;
  // Re-requests of the same preset after a damaged or missing reply.
  static constexpr int kMaxPresetRetries = 3;
  int mPresetRetries = 0;
  int mAwaitTicks = 0;
  bool mFinishedPending = false;
  bool mImportFinishedPending = false;
  int mExportPresetIndex = 0;
  int mExportIRIndex = 0;
  std::array<bool, 256> mExportIRNeeded{};
  int mImportIndex = 0;
  int mImportCount = 0;
  std::vector<uint8_t> mTransferBuffer;
  std::string mLastPresetFilePath;
  int mDumpIRNumber = 0;
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
  std::string mPendingMessage;
  bool mHasPendingMessage = false;

  // Up, down, store and recall buttons: held and blinking states.
  bool mUpHeld = false;
  bool mDownHeld = false;
  int mHoldTicks = 0;
  bool mStoreBlinking = false;
  bool mRecallBlinking = false;
  int mBlinkTicks = 0;

  SessionState() {
    mLiveValues.fill(kNoValue);
    mLoadedValues.fill(kNoValue);
  }
};

} // namespace zorel

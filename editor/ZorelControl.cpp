#include "editor/ZorelControl.h"

#include <chrono>
#include <thread>

#include "editor/ParamTable.h"
#include "protocol/codec/EditorMessages.h"
#include "protocol/codec/ParamIds.h"

namespace zorel {

std::unique_ptr<iplug::Timer> ZorelControl::sEditorTimer;
int ZorelControl::sShutdownWaitMs = 1000;

ZorelControl::ZorelControl(iplug::IMidiOutput* host, std::string libraryRoot)
    : iplug::IPlugAPP(host, MakeZorelConfig()), mSender(*this, mState),
      mLibrary(std::make_unique<LibraryCache>(libraryRoot.empty() ? LibraryCache::DefaultRoot()
                                                                  : libraryRoot)),
      mReplies(*this, mState, mSender, *this, *mLibrary), mTick(mState, mSender, *this, *mLibrary) {
  mLibrary->mPatchOffset = [this] { return ParamInt(kParamPatchOffset); };
  mTick.mFirmwareStep = [this] { SendFirmwareChunk(); };
  mTick.mUploadStep = [this] { SendIRUploadChunk(); };
  mTick.mWriteExport = [](const std::string& path, const std::vector<uint8_t>& bytes) {
    return WriteExportFile(path, bytes);
  };
  // Row texts written by the bulk read, dumps and folder scans reach the
  // preset list through this one path.
  mLibrary->mOnPresetRowText = [this](int slot, const std::string& text) {
    mSurface.Post([slot, text](IControlSurface& c) { c.SetPresetRowText(slot, text); });
  };
  mLibrary->mCabinetInputs = [this] {
    return LibraryCache::CabinetInputs{ParamInt(kParamUserIR7Mode), ParamInt(kParamUserIR8Mode),
                                       mState.mUserIR7Number, mState.mUserIR8Number};
  };
  for (int i = 0; i < kNumPresetParams; ++i) {
    mPedalParamNumbers[static_cast<size_t>(i)] = PedalParameterNumber(i);
  }

  // One device tick for the process, whoever constructs first.
  if (!sEditorTimer) {
    sEditorTimer = iplug::Timer::Create([this](iplug::Timer&) { OnTimer(); }, kDeviceTickMs);
  }

  mState.mConnected = false;
  mState.mConnectWanted = true;
  mState.mSendSuppressed = true;
  mState.mCurrentPresetSlot = 0;

  DefineAllParameters([this](int i) -> iplug::IParam& { return *ParamAt(i); });
  for (int i = 0; i < kNumPresetParams; ++i) mShownValues[static_cast<size_t>(i)] = ParamInt(i);
}

ZorelControl::~ZorelControl() {
  if (sEditorTimer) {
    sEditorTimer->Stop();
    sEditorTimer.reset();
  }
  if (sShutdownWaitMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(sShutdownWaitMs));
  // Whatever the audio side was doing has ended once the lock is ours.
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  mSurface.Attach(nullptr);
}

void ZorelControl::OnUIClose() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  if (mUIClosed) return;
  mUIClosed = true;
  if (mState.mConnected) mSender.SendEditorClosing();
  float scale = 0.5f;
  if (const igraphics::IGraphicsContext* ui = GetUI()) scale = ui->GetDrawScale();
  if (mSaveDrawScale) mSaveDrawScale(scale);
  mSurface.Attach(nullptr);
}

bool ZorelControl::OnAboutRequested() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  if (!mSurface.IsOpen()) return false;
  mSurface.Post([](IControlSurface& s) { s.SetGroupHidden(group::kAbout, false); });
  return true;
}

void ZorelControl::OnIdle() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  mSurface.Flush();
  if (mState.mHasPendingMessage) {
    mState.mHasPendingMessage = false;
    mSurface.PostMessage(mState.mPendingMessage);
  }
  // Without a window the message boxes go to whoever answers for it.
  std::string text;
  while (mModal && mSurface.TakeHeadlessMessage(text)) {
    mModal->ShowMessageDialog(text, "", MessageBoxType::kOK);
  }
  IdleButtons();
}

void ZorelControl::OnTimer() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  // Damage the link check saw makes every later IR read careful too.
  if (mDoctor && mDoctor->Figures().damaged > 0) mState.mDamageSeen = true;
  // The link check has the pedal to itself while it runs.
  if (mDoctor && mDoctor->Running()) {
    mDoctor->Tick();
    return;
  }
  TickNote();
  const uint64_t sentBefore = mSender.SentCount();
  mTick.Run();
  // At most one message a tick: a snapshot's own requests wait for a tick
  // in which the sequences above sent nothing.
  if (mSender.SentCount() == sentBefore) StepSnapshotPrep();
}

void ZorelControl::ProcessBlock(double** inputs, double** outputs, int nFrames) {
  const int channels = NOutChansConnected();
  for (int c = 0; c < channels; ++c) {
    if (outputs[c] == nullptr) continue;
    for (int i = 0; i < nFrames; ++i) outputs[c][i] = 0.0;
  }
}

// Short messages from the pedal carry nothing the editor acts on, and the
// editor passes nothing through.
void ZorelControl::ProcessMidiMsg(const iplug::MidiMessage&) {}

void ZorelControl::ProcessSysEx(const iplug::SysExMessage& msg) {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  if (msg.mData == nullptr || msg.mSize <= 0) return;
  const std::span<const uint8_t> bytes(msg.mData, static_cast<size_t>(msg.mSize));
  // The pedal speaks: a silence that reopened the ports is over.
  mState.mUnansweredPolls = 0;
  mState.mReopenedInSilence = false;
  if (mDoctor && mDoctor->OnMessage(bytes)) return;
  mReplies.ProcessSysEx(bytes);
}

} // namespace zorel

#pragma once

#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "editor/LibraryCache.h"
#include "plugin/IModalServices.h"
#include "plugin/IPlugAPP.h"
#include "protocol/DeviceTick.h"
#include "protocol/PedalSender.h"
#include "protocol/ReplyHandler.h"
#include "protocol/SessionState.h"
#include "protocol/SurfaceChannel.h"
#include "protocol/codec/FirmwareTransfer.h"
#include "protocol/codec/IrTransfer.h"

namespace zorel {

// Fill of the background panel, kept while the window is closed.
struct BackgroundPattern {
  struct Stop {
    int a = 255, r = 0, g = 0, b = 0;
    float offset = 0.f;
  };
  int kind = 0; // solid
  int extend = 1;
  std::array<Stop, 16> stops{};
  int stopCount = 1;
  std::array<double, 6> transform = {1, 0, 0, 1, 0, 0};
};

// What the surface reports with a list click or wheel step, read by the
// dispatcher of the list's parameter.
struct ListEvent {
  enum Kind { kNone, kClick, kDoubleClick, kWheel } kind = kNone;
  int modifiers = 0;    // 1 or 2 move the preset list by one row per wheel step
  bool wheelUp = false; // towards higher slots
};

// The editor: owns the parameters, the session with the pedal and, while a
// window is open, talks to its control surface.
//
// Threads. Three threads reach the editor: the user-interface thread (ticks,
// edits, menu commands), the audio thread (replies from the pedal, drained
// from the MIDI input queues) and the MIDI input thread (only fills those
// queues). Every entry into the editor's state holds mEditorLock, a
// re-entrant lock: the user-interface side waits for it, the audio side only
// tries it and, when the editor is busy, leaves the queued messages for a
// later audio block, so the audio callback never blocks and ProcessSysEx
// still runs one message at a time in arrival order. Controls are touched
// only on the user-interface thread: requests for the surface made on the
// audio thread go through mSurface, which queues them for the next tick.
class ZorelControl : public iplug::IPlugAPP {
public:
  static constexpr int kDeviceTickMs = 100;

  // `libraryRoot` empty: the user's library folder.
  explicit ZorelControl(iplug::IMidiOutput* host, std::string libraryRoot = {});
  ~ZorelControl() override;

  // Overrides of the base.
  void OnUIClose();
  void OnParamChange(int paramIdx) override;
  bool OnAboutRequested();
  bool OnMenuCommand(int command);
  void OnIdle() override;
  void ProcessBlock(double** inputs, double** outputs, int nFrames) override;
  void ProcessMidiMsg(const iplug::MidiMessage& msg) override;
  void ProcessSysEx(const iplug::SysExMessage& msg) override;
  bool TryEnterEditor() override { return mEditorLock.try_lock(); }
  void LeaveEditor() override { mEditorLock.unlock(); }

  // The 100 ms device tick.
  void OnTimer();

  // Messages to the pedal.
  void SendBulkMode(bool on) { mSender.SendBulkMode(on); }
  void SendWritePreset() { mSender.SendWritePreset(); }
  void SendSettingsBlock(int type) { mSender.SendSettingsBlock(type); }
  void SendParameter(int deviceNumber, int value) { mSender.SendParameter(deviceNumber, value); }
  void SendRequestSettings(int type) { mSender.SendRequestSettings(type); }
  void SendRequestPreset(int slot) { mSender.SendRequestPreset(slot); }
  void SendSelectPreset(int program) { mSender.SendSelectPreset(program); }
  void SendRequestIR(int irNumber) { mSender.SendRequestIR(irNumber); }
  void SendRequestIRNames(int page) { mSender.SendRequestIRNames(page); }

  // Message boxes and file prompts. Without a window they still reach these
  // services, so the command-line tool can answer and print them.
  void SetModalServices(IModalServices* modal) { mModal = modal; }
  IModalServices* ModalServices() const { return mModal; }

  // User actions shared by the window, the menu and the command-line tool.
  void Reconnect();
  void PresetUp(bool press);
  void PresetDown(bool press);
  void StorePress(bool press);
  void RecallPress(bool press);
  void CommitPresetName(const std::string& name);
  bool StartExport();
  bool ImportBulkFile();
  bool SavePresetFile();
  bool LoadPresetFile();
  bool ImportWavForIR7();
  bool ImportWavForIR8();
  void OpenFirmwarePage();
  void CloseFirmwarePage();
  bool ChooseFirmwareFile();
  void LoadFirmware();
  void OpenGlobalSettings();
  void CloseGlobalSettings();
  void OpenMidiCCPage();
  void CloseMidiCCPage();
  void OpenProgramMapPage();
  void CloseProgramMapPage();
  // Scope 0 everything, 1 the presets, 2 the settings; asks first.
  void FactoryReset(int scope);
  bool OnManualRequested();
  // Factory IRs and the manual from the resources, names and the preset list
  // from the library: what start-up does once the surface exists.
  void InstallLibraryContent();

  // The control surface, if a window is open.
  void AttachSurface(IControlSurface* surface) { mSurface.Attach(surface); }
  SurfaceChannel& Surface() { return mSurface; }
  void SetListEvent(const ListEvent& event) { mListEvent = event; }
  // Marks the n-th user IR as the one the custom IR list has selected.
  void SelectIRRow(int n);

  // How far the firmware update / the IR upload has got (0..1), or -1 when
  // none runs; for front ends that show progress without a surface.
  double FirmwareProgress() const;
  double IRUploadProgress() const;

  SessionState& State() { return mState; }
  const SessionState& State() const { return mState; }
  PedalSender& Sender() { return mSender; }
  std::recursive_mutex& EditorLock() { return mEditorLock; }
  int PedalParamNumber(int index) const { return mPedalParamNumbers[static_cast<size_t>(index)]; }
  const BackgroundPattern& GetBackgroundPattern() const { return mBackgroundPattern; }

  // How long the destructor waits for the audio side to settle; the host
  // closes the stream first, so tests and tools may shorten it.
  static void SetShutdownWaitMs(int ms) { sShutdownWaitMs = ms; }
  static bool HasEditorTimer() { return sEditorTimer != nullptr; }

  // Called when a window opens or closes; the host and tests drive them.
  std::function<void()> mGraphicsFactory;
  std::function<void()> mLayoutRoutine;
  // Where OnUIClose stores the draw scale ("GUI" / "scale" of the settings
  // file); the host installs it.
  std::function<void(float scale)> mSaveDrawScale;
  LibraryCache& Library() { return *mLibrary; }
  DeviceTick& Tick() { return mTick; }

private:
  void ShowSectionIfNeeded(int section);
  void Readout(int tag, int paramIdx);
  int ParamInt(int index) const;
  void ReactToSoundParam(int index, int u);
  void ReactToEditorParam(int index, int u);
  void ReactToJackParam(int index);
  void UpdateUserIRNumber(int index, int u);
  void OnPresetListEvent(int u);
  void OnCustomIRListEvent(int index, int u);
  void SetAndQueue(int paramIdx, double normalized);
  void ShowCabinetResponse(int irValue);
  void ShowMessage(const std::string& text) { mSurface.PostMessage(text); }
  bool Confirm(const std::string& text);
  void ShowPresetNumber();
  void StepPreset(int delta);
  void IdleButtons();
  void SendFirmwareChunk();
  void SendIRUploadChunk();
  void EndFirmwarePage();
  void StartIRUpload(int number, std::span<const uint8_t> block);
  void OnIRStored();
  bool ImportWavFor(bool ir7);

  static std::unique_ptr<iplug::Timer> sEditorTimer;
  static int sShutdownWaitMs;

  std::recursive_mutex mEditorLock;
  SessionState mState;
  PedalSender mSender;
  SurfaceChannel mSurface;
  std::unique_ptr<LibraryCache> mLibrary;
  ReplyHandler mReplies;
  DeviceTick mTick;
  BackgroundPattern mBackgroundPattern;
  std::array<int, kNumPresetParams> mPedalParamNumbers{};
  ListEvent mListEvent;
  IModalServices* mModal = nullptr;
  // Long transfers paced by the device tick.
  std::unique_ptr<IRTransferSender> mIRSender;
  std::unique_ptr<FirmwareTransferSender> mFirmwareSender;
  std::vector<uint8_t> mFirmwareImage;
  std::string mLastFirmwarePath;
  std::string mLastWavFilePath;
  // Press and blink state of the footswitch buttons.
  bool mStorePressed = false;
  bool mRecallPressed = false;
  bool mRecallArmed = false;
  int mRepeatTicks = 0;
  int mBlinkPhase = 0;
  int mConfirmTicks = 0;
  bool mUIClosed = false;
};

iplug::PluginConfig MakeZorelConfig();

// Writes a finished export in one piece; an old file survives a failure.
bool WriteExportFile(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace zorel

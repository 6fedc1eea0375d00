#pragma once

#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "editor/EditHistory.h"
#include "editor/LibraryCache.h"
#include "editor/SurfaceChannel.h"
#include "editor/SurfaceState.h"
#include "library/IRUpload.h"
#include "library/PresetFileLoad.h"
#include "library/Snapshots.h"
#include "plugin/EditorLock.h"
#include "plugin/IModalServices.h"
#include "plugin/IPlugAPP.h"
#include "protocol/DeviceTick.h"
#include "protocol/LinkCheck.h"
#include "protocol/PedalSender.h"
#include "protocol/ReplyHandler.h"
#include "protocol/SessionEvents.h"
#include "protocol/SessionState.h"
#include "protocol/codec/FirmwareTransfer.h"
#include "protocol/codec/IrTransfer.h"

namespace zorel {

// The operations that overwrite what the pedal holds; each is preceded by a
// snapshot (SnapshotActions.cpp). The last five write one program with
// write preset (0x20), or one user IR slot.
enum class Overwrite {
  kImport,
  kRestoreSnapshot,
  kFactoryReset,
  kStore,
  kLoadPresetFile,
  kFirmware,
  kAmpModel,
  kAmbienceType,
  kRename,
  kUndo,
  kImportIR
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
// still runs one message at a time in arrival order. A modal dialog hands
// the lock back for its wait and retakes it at the same depth
// (app/window/ModalWait.h), so state may move on under a caller that asks
// the user something. Controls are touched
// only on the user-interface thread: requests for the surface made on the
// audio thread go through mSurface, which queues them for the next tick.
//
// The protocol reports what happened through ISessionEvents; the editor
// turns that into surface requests (SessionView.cpp), so the protocol knows
// nothing of controls.
class ZorelControl : public iplug::IPlugAPP, private ISessionEvents {
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

  // Message boxes and file prompts. Without a window they still reach these
  // services, so the command-line tool can answer and print them.
  void SetModalServices(IModalServices* modal) { mModal = modal; }
  IModalServices* ModalServices() const { return mModal; }

  // User actions shared by the window, the menu and the command-line tool.
  void Reconnect();
  // A MIDI port was opened: while unconnected, the next tick asks at once.
  void PortsChanged();
  // The host saw the pedal's port leave (`why` says which), and later come
  // back: the surface says so, and the connection starts again.
  void PedalGone(const std::string& why);
  void PedalPortsBack();
  // Set by the host: closes and opens again the ports in use, by name;
  // `quietly` (a link that stays silent) only when both are there, without
  // a message. True when they were opened again.
  std::function<bool(bool quietly)> mReopenPorts;
  void PresetUp(bool press);
  void PresetDown(bool press);
  void StorePress(bool press);
  void RecallPress(bool press);
  void CommitPresetName(const std::string& name);
  // The FILTER switch button, pressed and released (SurfaceActions.cpp).
  void FilterSwitchPress(bool press);
  // The amplifier model and ambience type buttons: light the button, then
  // write the model's or type's values into the preset and send it
  // (ModelActions.cpp). The surface calls them only for a button not lit.
  void ChooseAmpModel(int model);
  void ChooseAmbienceType(int type);
  // False when the user kept the pedal's preset as it was (no snapshot could
  // be taken); the values then stay in the editor only.
  bool ApplyAmpModelDefaults(int model);
  bool ApplyAmbienceDefaults(int type);
  // Undo and redo of the current preset's edits, and the comparison with
  // its stored version in the slot cache (EditActions.cpp). Each sends what
  // changes exactly as the edit it repeats or takes back would, and returns
  // false when there was nothing to do.
  bool Undo();
  bool Redo();
  // Switches between the edited preset and its stored version; false, with
  // a message, when the stored version is not in the library.
  bool ToggleCompare();
  bool Comparing() const { return mComparing; }
  const EditHistory& History() const { return mHistory; }
  // A gesture on the control surface (a press to its release, a wheel
  // step, a key): the edits made in it are one step of the history.
  void BeginEditGesture() override;
  void EndEditGesture() override;
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
  // Snapshots (SnapshotActions.cpp): the library's Snapshots folder, and
  // putting one back (by file name or by its number in the listing, oldest
  // first) after confirmation. A snapshot that still reads from the pedal
  // is pending; the operation it guards follows when it is written.
  lib::SnapshotStore& Snapshots();
  bool RestoreSnapshot(const std::string& nameOrNumber);
  bool SnapshotPending() const;
  // The snapshot written before the last overwrite; empty when none was.
  const std::string& LastSnapshotPath() const { return mLastSnapshotPath; }
  // The link check (LinkCheckActions.cpp): harmless requests, their answers
  // counted. Starts only while no transfer runs; false (with a message) else.
  bool StartLinkCheck();
  LinkCheck& Doctor();
  // Factory IRs and the manual from the resources, names and the preset list
  // from the library: what start-up does once the surface exists.
  void InstallLibraryContent();

  // The control surface, if a window is open.
  void AttachSurface(IControlSurface* surface) {
    // A surface that goes while a control holds the pointer ends its gesture.
    if (surface == nullptr) EndEditGesture();
    mSurface.Attach(surface);
  }
  SurfaceChannel& Surface() { return mSurface; }
  void SetListEvent(const ListEvent& event) { mListEvent = event; }
  // Marks the n-th user IR as the one the custom IR list has selected.
  void SelectIRRow(int n);
  // Shows the custom IR list for choosing the user IR of IR 7 / IR 8.
  void OpenUserIRList(bool ir7);

  // How far the firmware update / the IR upload has got (0..1), or -1 when
  // none runs; for front ends that show progress without a surface.
  double FirmwareProgress() const;
  double IRUploadProgress() const;

  SessionState& State() { return mState; }
  const SessionState& State() const { return mState; }
  // What the editor remembers of its surface (section, knob layer, list).
  const SurfaceState& View() const { return mView; }
  PedalSender& Sender() { return mSender; }
  iplug::EditorLock& EditorLock() { return mEditorLock; }
  int PedalParamNumber(int index) const { return mPedalParamNumbers[static_cast<size_t>(index)]; }

  // How long the destructor waits for the audio side to settle; the host
  // closes the stream first, so tests and tools may shorten it.
  static void SetShutdownWaitMs(int ms) { sShutdownWaitMs = ms; }
  static bool HasEditorTimer() { return sEditorTimer != nullptr; }

  // Where OnUIClose stores the draw scale ("GUI" / "scale" of the settings
  // file); the host installs it.
  std::function<void(float scale)> mSaveDrawScale;
  // Where the surface reads the draw scale from when it is built; without
  // it the surface opens at the default 0.5.
  std::function<float()> mLoadDrawScale;
  LibraryCache& Library() { return *mLibrary; }
  DeviceTick& Tick() { return mTick; }

private:
  void ShowSectionIfNeeded(int section);
  void Readout(int tag, int paramIdx);
  int ParamInt(int index) const;
  void ReactToSoundParam(int index, int u);
  void ShowBandReadouts(int band);
  void ReactToEditorParam(int index, int u);
  void ReactToJackParam(int index);
  void UpdateUserIRNumber(int index, int u);
  void OnPresetListEvent(int u);
  void OnCustomIRListEvent(int index, int u);
  void SetAndQueue(int paramIdx, double normalized);
  // Panels (SessionView.cpp): the section panel, the lit amplifier model
  // with its knob layer, the ambience type with its TIME knob, the FILTER
  // switch with its lamp.
  void SelectSection(int section);
  void SelectAmpModel(int model);
  void SelectAmbienceType(int type);
  void SetFilterSwitch(bool on);
  void ShowAmbienceTimeKnob(bool shown);
  // Model and ambience defaults: (parameter, value) pairs applied as one
  // block with sending suppressed, then the preset goes out whole.
  bool ApplyDefaultsBlock(std::span<const std::pair<int, int>> values, bool flatMid, Overwrite op);
  // Writes of the edited preset into its program (PresetWrites.cpp): a
  // snapshot of the program first, then write preset, the cache keeps what
  // was written and the user is told. False when the user stopped it.
  bool WriteEditedPreset(Overwrite op);
  void SendStoredPreset(Overwrite op);
  // Puts `before` back in the editor without sending anything: the write it
  // led to was stopped.
  void KeepLocally(const PresetSnapshot& before);
  // A short note on what the editor just did to the pedal: the status note
  // of the surface for a few seconds, or the headless messages.
  void ShowNote(const std::string& text);
  // The device lines and the greyed pedal of an editor without a pedal.
  void ShowNotConnected(const std::string& versionLine);
  void HealSilentLink(const std::string& what);
  void TickNote();

  // What the protocol reports (SessionView.cpp).
  bool ViewOpen() const override { return mSurface.IsOpen(); }
  void ShowMessage(const std::string& text) override { mSurface.PostMessage(text); }
  void ShowTransferProgress(double fraction, const std::string& text) override;
  void HideTransferProgress() override;
  void DeviceIdentified(const std::string& versionText) override;
  void SerialKnown(const std::string& serialText) override;
  void ConnectionLost() override;
  void LinkSilent(const std::string& what) override { HealSilentLink(what); }
  void PresetHighlighted(int previous, int slot) override;
  void PresetApplied(const AppliedPreset& preset) override;
  void PresetStored() override;
  void IRNameRowChanged(int row, const std::string& text) override;
  void FilterSwitchReported(bool on) override;
  void ShowCabinetResponse(int irValue) override;
  void IRStored() override { OnIRStored(); }
  void FirmwareLoaderReady() override;
  void FirmwareUpdateEnded() override { EndFirmwarePage(); }
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
  // Snapshots (SnapshotActions.cpp). GuardOverwrite writes the snapshot of
  // `op` and runs `proceed` (at once, or from the tick once what the cache
  // lacks has been read); false when the user stopped the operation.
  struct SnapshotPrep {
    Overwrite op = Overwrite::kImport;
    int slot = 0;
    std::function<void()> proceed;
    std::vector<int> missingIRs;
    int requestedIR = -1;
    int ticks = 0;
  };
  bool GuardOverwrite(Overwrite op, int slot, std::function<void()> proceed);
  std::string SnapshotShortfall(Overwrite op, int slot, std::vector<int>& missingIRs,
                                bool& blocksMissing);
  std::optional<std::vector<uint8_t>> BuildSnapshot(Overwrite op, int slot, std::string& why);
  bool WriteSnapshotThen(Overwrite op, int slot, const std::function<void()>& proceed);
  bool AskGoOnWithoutSnapshot(Overwrite op, const std::string& why);
  void StepSnapshotPrep();
  // Arms the import of a checked backup (or a snapshot's presets and IRs).
  void ArmImport(std::vector<uint8_t> bytes, const std::vector<int>& irNumbers);
  // The values, names and IRs of a preset file that was read and accepted.
  void ApplyLoadedPresetFile(const lib::LoadedPresetFile& load);
  // File prompt and decode, the question and the snapshot, then the slot
  // file for user IR `number` and `then`; false when the file is not
  // chosen or refused, or the user stopped it.
  bool ImportWavInto(int number, std::function<void(const lib::PreparedIRUpload&)> then);
  bool ImportWavIntoListSlot(int number);

  // The history's view of the preset, and putting a snapshot back.
  PresetSnapshot CurrentSnapshot() const;
  // False when a whole-preset write was stopped by the user.
  bool ApplySnapshot(const PresetSnapshot& target, StepKind kind);
  void EndCompare();
  void LeaveCompareInPlace();
  void BeginStep();
  void EndStep();

  static std::unique_ptr<iplug::Timer> sEditorTimer;
  static int sShutdownWaitMs;

  iplug::EditorLock mEditorLock;
  SessionState mState;
  SurfaceState mView;
  PedalSender mSender;
  SurfaceChannel mSurface;
  std::unique_ptr<LibraryCache> mLibrary;
  ReplyHandler mReplies;
  DeviceTick mTick;
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
  std::unique_ptr<lib::SnapshotStore> mSnapshots;
  std::unique_ptr<SnapshotPrep> mSnapshotPrep;
  std::string mLastSnapshotPath;
  std::unique_ptr<LinkCheck> mDoctor;
  // Undo, redo and compare.
  EditHistory mHistory;
  std::array<int, kNumPresetParams> mShownValues{}; // as of the last change
  PresetSnapshot mCompareEdits;                     // what compare returns to
  bool mComparing = false;
  bool mReplaying = false; // a snapshot is being put back: not an edit
  bool mSurfaceGesture = false;
  int mNoteTicks = 0; // device ticks the status note still shows
};

iplug::PluginConfig MakeZorelConfig();

// What to tell the user before `name` goes to the pedal when it holds
// characters a pedal name cannot; "" when it holds none.
std::string NameWarning(const std::string& name);

// Writes a finished export in one piece; an old file survives a failure.
bool WriteExportFile(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace zorel

#pragma once

#include <memory>
#include <string>

#include "plugin/IPlugQueue.h"
#include "plugin/IPlugStructs.h"
#include "plugin/IPluginBase.h"
#include "plugin/Timer.h"

namespace iplug {

// A parameter value travelling to the control surface (not normalized).
struct ParamTuple {
  int idx = 0;
  double value = 0.0;
};

// Host identity, the queues between the audio thread and the user-interface
// thread, parameter changes from code, and the 20 ms tick that drains the
// queues towards the control surface.
class IPlugAPIBase : public IPluginBase {
public:
  static constexpr int kParamChangesToUISlots = 513;
  static constexpr int kMidiQueueSlots = 33;
  static constexpr int kSysExQueueSlots = 5;
  static constexpr int kBaseTickMs = 20;

  explicit IPlugAPIBase(const PluginConfig& config);
  ~IPlugAPIBase() override;

  // Stores the normalized value and runs the change notification (source UI),
  // on the calling thread.
  void SetParameterValue(int paramIdx, double normalizedValue);
  // Queues a value for the controls bound to the parameter; drained by the
  // next base tick on the user-interface thread. Safe from any thread.
  void QueueUIParameterUpdate(int paramIdx, double value, bool normalized);
  void ApplyParameterToControls(int paramIdx, double value, bool normalized);

  void SetHost(const char* host, int version);
  const std::string& GetHostName() const { return mHostName; }
  int GetHostCode() const { return mHostCode; }
  int GetHostVersion() const { return mHostVersion; }
  virtual void OnHostIdentified() {}

  void SerializeEditorState(std::vector<uint8_t>& chunk) const;
  int UnserializeEditorState(const std::vector<uint8_t>& chunk, int startPos);

  bool HasUIConfigured() const { return mHasUI; }
  int GetEditorWidth() const { return mEditorWidth; }
  int GetEditorHeight() const { return mEditorHeight; }
  int GetMinWidth() const { return mMinWidth; }
  int GetMaxWidth() const { return mMaxWidth; }
  int GetMinHeight() const { return mMinHeight; }
  int GetMaxHeight() const { return mMaxHeight; }
  bool GetHostResizeEnabled() const { return mHostResize; }
  bool DoesMidiIn() const { return mDoesMidiIn; }
  bool DoesMidiOut() const { return mDoesMidiOut; }

  void SendMidiFromUI(const MidiMessage& msg) { mMidiFromUI.Push(msg); }
  virtual void SendSysExFromUI(const SysExMessage& msg) = 0;

  // The callable of the 20 ms timer; public so a host without a timer can
  // drive it.
  void OnBaseTick();
  virtual void OnIdle() {}
  // The user started / ended one gesture on the control surface (a press
  // to its release, a wheel step, a key); the changes in between belong
  // together.
  virtual void BeginEditGesture() {}
  virtual void EndEditGesture() {}
  virtual void OnMidiMsgUI(const MidiMessage& msg) {}
  virtual void OnSysexMsgUI(const QueuedSysEx& msg) {}

  // Written by the audio thread, read by the base tick.
  bool PushMidiToUI(const MidiMessage& msg) { return mMidiToUI.Push(msg); }
  bool PushSysExToUI(const QueuedSysEx& msg) { return mSysExToUI.Push(msg); }
  bool PopMidiFromUI(MidiMessage& msg) { return mMidiFromUI.Pop(msg); }
  size_t PendingUIParameterUpdates() const { return mParamChangesToUI.Count(); }

protected:
  void StartBaseTimer();
  void StopBaseTimer();

private:
  IPlugSharedWriterQueue<ParamTuple, kParamChangesToUISlots> mParamChangesToUI;
  IPlugQueue<MidiMessage, kMidiQueueSlots> mMidiToUI;
  IPlugQueue<QueuedSysEx, kSysExQueueSlots> mSysExToUI;
  IPlugQueue<MidiMessage, kMidiQueueSlots> mMidiFromUI;
  IPlugQueue<QueuedSysEx, kSysExQueueSlots>
      mSysExFromUI; // unused standalone: sends go out directly

  std::string mHostName;
  int mHostCode = 0;
  int mHostVersion = 0;
  bool mHasUI;
  bool mHostResize;
  bool mDoesMidiIn;
  bool mDoesMidiOut;
  int mEditorWidth;
  int mEditorHeight;
  int mMinWidth;
  int mMaxWidth;
  int mMinHeight;
  int mMaxHeight;
  std::unique_ptr<Timer> mBaseTimer;
};

} // namespace iplug

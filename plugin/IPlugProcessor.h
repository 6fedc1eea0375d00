#pragma once

#include <string>

#include "plugin/IPlugConfig.h"
#include "plugin/IPlugStructs.h"

namespace iplug {

// The audio side of the editor: channel layout, stream format, the block
// callback and the MIDI that passes through it.
class IPlugProcessor {
public:
  explicit IPlugProcessor(const PluginConfig& config);
  virtual ~IPlugProcessor() = default;

  virtual void ProcessBlock(double** inputs, double** outputs, int nFrames) {}
  virtual void ProcessMidiMsg(const MidiMessage& msg) {}
  virtual void ProcessSysEx(const SysExMessage& msg) {}
  // Sends to the MIDI output; false when nothing could be sent.
  virtual bool SendSysEx(const SysExMessage& msg) = 0;
  virtual bool SendMidiMsg(const MidiMessage& msg) = 0;

  int MaxNInputChannels() const { return mInputChannels; }
  int MaxNOutputChannels() const { return mOutputChannels; }
  // How many outputs the host has connected (the stream opens all of them).
  int NOutChansConnected() const { return mOutputsConnected; }
  void SetOutputsConnected(int n) { mOutputsConnected = n; }
  double GetSampleRate() const { return mSampleRate; }
  void SetSampleRate(double rate) { mSampleRate = rate; }
  int GetBlockSize() const { return mBlockSize; }
  void SetBlockSize(int size) { mBlockSize = size; }
  double GetTempo() const { return mTempo; }
  int GetTimeSigNumerator() const { return mTimeSigNum; }
  int GetTimeSigDenominator() const { return mTimeSigDen; }
  int GetLatency() const { return mLatency; }

private:
  int mInputChannels = 0;
  int mOutputChannels = 0;
  int mOutputsConnected = 0;
  double mSampleRate = 48000.0;
  int mBlockSize = 0;
  double mTempo = 120.0;
  int mTimeSigNum = 4;
  int mTimeSigDen = 4;
  int mLatency = 0;
};

// Reads "inputs-outputs" such as "0-2"; a missing or malformed side is 0.
void ParseChannelIO(const char* text, int& inputs, int& outputs);

} // namespace iplug

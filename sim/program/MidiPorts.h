#pragma once

// The program's two virtual MIDI ports, through RtMidi: the ALSA sequencer
// where it can be opened, JACK otherwise (or when asked). Incoming SysEx is
// handed to a callback on RtMidi's thread; sending happens on the caller's.

#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "sim/ProgramOptions.h"

class RtMidiIn;
class RtMidiOut;

namespace zorel::sim {

class MidiPorts {
public:
  using MessageHandler = std::function<void(std::vector<uint8_t>)>;

  // Opens both ports; throws std::runtime_error with a readable reason when
  // no requested MIDI system can be used.
  MidiPorts(MidiApiChoice api, const std::string& clientName, MessageHandler onSysEx);
  ~MidiPorts();
  MidiPorts(const MidiPorts&) = delete;
  MidiPorts& operator=(const MidiPorts&) = delete;

  // False when the MIDI system refused the message (reported once per error).
  bool Send(std::span<const uint8_t> message);

  const std::string& ApiName() const { return mApiName; }
  // The names other programs see and the editor chooses: the pedal's output
  // is the editor's input and the other way round.
  const std::string& EditorInputName() const { return mEditorInputName; }
  const std::string& EditorOutputName() const { return mEditorOutputName; }

  // Warnings and errors RtMidi reported since the last call.
  std::vector<std::string> TakeErrors();

  // JACK only: makes the output anew under the same name and connects it
  // where the old one was. A JACK client whose process thread missed its
  // wake-up after an xrun is never run again (the server logs "was not
  // finished, state = Triggered"), so what it sends is lost for good; a
  // new client sends. True when the output was renewed.
  bool RenewOutput();

private:
  void Open(int api, const std::string& clientName);
  void OpenOutput();
  void Close();
  void RecordError(const std::string& text);
  size_t ErrorCount();

  MessageHandler mOnSysEx;
  int mApi = 0;
  std::string mClientName;
  std::unique_ptr<RtMidiIn> mIn;
  std::unique_ptr<RtMidiOut> mOut;
  std::string mApiName;
  std::string mEditorInputName;
  std::string mEditorOutputName;
  std::mutex mErrorsMutex; // RtMidi may report from its own thread
  std::vector<std::string> mErrors;
};

} // namespace zorel::sim

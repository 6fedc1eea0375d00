#pragma once

// The MIDI library as the host sees it: one object per direction, listing
// ports, opening one by index, receiving or sending. RtMidiBackend.cpp is the
// real one; tests give the host their own.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zorel {

enum class MidiApiChoice { kAuto, kAlsa, kJack };

class IMidiPortList {
public:
  virtual ~IMidiPortList() = default;
  virtual unsigned PortCount() = 0;
  virtual std::string PortName(unsigned index) = 0;
  // Opens port `index` under our own port name; the library's reason on failure.
  virtual bool OpenPort(unsigned index, const std::string& ownPortName, std::string& error) = 0;
  virtual void ClosePort() = 0;
};

class IMidiInPort : public IMidiPortList {
public:
  // Called on the library's thread with each complete message.
  using Handler = std::function<void(const uint8_t* data, size_t size)>;
  virtual void SetHandler(Handler handler) = 0;
  virtual void CancelHandler() = 0;
  // Which kinds of message the library drops before the handler sees them.
  virtual void IgnoreTypes(bool sysex, bool timing, bool activeSensing) = 0;
};

class IMidiOutPort : public IMidiPortList {
public:
  // False when the library refused the message.
  virtual bool Send(const uint8_t* data, size_t size) = 0;
};

// Both directions of one MIDI system, or the reasons why none could start.
struct MidiObjects {
  std::unique_ptr<IMidiInPort> in;
  std::unique_ptr<IMidiOutPort> out;
  std::string apiName;
  std::vector<std::string> errors;
  // More port objects of the same system, one direction each, under their
  // own client name: the pedal search listens on every input at once. May
  // be empty; the host then builds a whole pair for each.
  std::function<std::unique_ptr<IMidiInPort>(const std::string& clientName)> moreInputs;
  std::function<std::unique_ptr<IMidiOutPort>(const std::string& clientName)> moreOutputs;
};

using MidiFactory =
    std::function<MidiObjects(const std::string& inClientName, const std::string& outClientName)>;

// RtMidi: the ALSA sequencer, and JACK when the sequencer cannot be opened
// (or only the one that is asked for).
MidiFactory RtMidiFactory(MidiApiChoice choice);

} // namespace zorel

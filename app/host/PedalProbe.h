#pragma once

// Finding the pedal's pair of MIDI ports without being told: every output is
// asked with the identity request while every input listens, and the pair
// on which the identity block comes back is the pedal's.
//
// 1. Every input is opened, each on its own port object, and listens.
// 2. Every output is opened, each on its own object (a port closed right
//    after a send may drop the message before the library hands it on), and
//    gets one identity request, and a second when nothing answered within
//    `listen`. The first identity block names the input.
// 3. With more than one output, the outputs are asked once more one at a
//    time, each given a few times the delay the first answer took, until the
//    pedal answers again: that output is the pedal's.
// Nothing but the identity request goes out; a port that will not open is
// skipped with a note. Without an answer the search ends after twice
// `listen`.

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/host/MidiBackend.h"

namespace zorel {

struct PedalPorts {
  std::string input;
  std::string output;
};

struct ProbeOptions {
  // How long the first round waits for an answer.
  std::chrono::milliseconds listen{1000};
  // The least each output is given in the second round.
  std::chrono::milliseconds leastWait{60};
  // Ports whose names start with one of these are our own: never asked.
  std::vector<std::string> ownPortPrefixes;
  // Sees every message the search sends (true) and hears (false), for the
  // MIDI monitor; called on the MIDI system's threads too.
  std::function<void(bool sent, const uint8_t* data, size_t size)> tap;
};

struct ProbeOutcome {
  std::optional<PedalPorts> ports;
  std::vector<std::string> notes; // ports skipped, and why
  size_t inputsListened = 0;
  size_t outputsAsked = 0;
};

using MakeMidiIn = std::function<std::unique_ptr<IMidiInPort>()>;
using MakeMidiOut = std::function<std::unique_ptr<IMidiOutPort>()>;

// Runs the search on the calling thread, which it blocks for its duration
// (about twice `listen` when nothing answers, less when the pedal does).
ProbeOutcome ProbeForPedal(const MakeMidiIn& makeInput, const MakeMidiOut& makeOutput,
                           const ProbeOptions& options = {});

} // namespace zorel

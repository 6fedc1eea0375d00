#pragma once

// How the virtual pedal departs from a perfect one, and how it paces what it
// sends. Every setting is independent; the defaults are a well-behaved pedal.

#include <cstdint>
#include <optional>

namespace zorel::sim {

struct Misbehaviour {
  // Each outgoing message is lost with this probability (0..1).
  double dropShare = 0.0;
  // A block message (preset dump, settings block, IR name page) leaves with a
  // wrong block checksum with this probability.
  double corruptBlockShare = 0.0;
  // The last chunk of an IR dump leaves with a wrong transfer checksum with
  // this probability.
  double corruptTransferShare = 0.0;
  // A message loses its tail with this probability: it is cut after a random
  // number of bytes and closed with F7, as a receiver sees a message whose
  // middle never arrived.
  double cutShare = 0.0;
  // A preset the pedal takes in (a parameter change to its edit buffer, a
  // preset write or restore) is kept with one value changed, with this
  // probability: the damage of a cable that a block checksum happens to
  // miss. Only reading the preset back shows it.
  double corruptReceivedShare = 0.0;
  // Every answer starts this much later, plus a random extra of up to
  // delayJitterUs. Order is kept: a later answer never overtakes.
  uint64_t delayUs = 0;
  uint64_t delayJitterUs = 0;
  // The chunks of an IR dump leave all at once instead of with the usual gap.
  bool irDumpBurst = false;
  // The identity reports this firmware version (x 10) instead of the real one.
  std::optional<int> reportedVersionTimes10;
  // Every byte takes the MIDI wire time (31250 baud, 10 bits a byte): a
  // message is delivered when its last byte is through, and the next one
  // starts after it.
  bool wirePacing = false;
};

// Microseconds one byte takes on a 31250-baud MIDI wire.
inline constexpr uint64_t kWireMicrosPerByte = 320;

// The gap a well-behaved pedal leaves between the chunks of an IR dump, so
// that a receiver with a short input queue (the editor holds four SysEx
// messages) drains one chunk before the next arrives.
inline constexpr uint64_t kDefaultIRChunkGapUs = 20000;

struct PedalConfig {
  Misbehaviour misbehaviour;
  uint64_t irChunkGapUs = kDefaultIRChunkGapUs;
  // Seeds every random choice above; the same seed gives the same run.
  uint64_t seed = 1;
};

} // namespace zorel::sim

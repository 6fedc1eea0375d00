#pragma once

// Which pedal the library's cache mirrors. The slot files hold one pedal's
// presets and user IRs, and nothing in them says whose: connect a second
// pedal and the checksum comparison would refetch the presets that differ
// (not those whose 14-bit sums happen to agree) while the user IRs, which
// are only checked for presence, would stay the first pedal's. So the
// library remembers the serial number of the pedal it mirrors, in
// "<root>/mirrored-pedal.txt", and every connection compares the pedal's
// serial with it.
//
// The design chosen is one cache, rebuilt when the pedal changes, rather
// than one cache per serial: the folder layout stays the one every other
// part of the editor and the user's habits know, and a second pedal costs
// one full read of its presets at the change. When the pedal is not the
// remembered one (or none is remembered, so that the cache's origin is
// unknown), the preset and user-IR slot files are deleted first and only
// then is the new serial written, so an interruption between the two can
// only lead to a second clearing, never to a cache filed under the wrong
// pedal. The factory IRs are the same on every pedal and are kept.

#include <optional>
#include <string>
#include <string_view>

namespace zorel::lib {

class SlotCache;

inline constexpr const char* kMirroredPedalFile = "/mirrored-pedal.txt";

// The serial as compared and stored: the identity block's 32 characters
// without the spaces and zero bytes that pad them, control characters
// turned into '?'. A pedal that reports a blank serial is "" and cannot
// be told from another one that does the same.
std::string NormalizeSerial(std::string_view serial);

// The remembered serial, or nothing when the library has never mirrored a
// pedal (or the file cannot be read).
std::optional<std::string> ReadMirroredPedalSerial(const std::string& root);

// Writes the serial (normalized) so that a reader sees the old or the new
// one whole. Returns whether it was written.
bool RememberMirroredPedal(const std::string& root, std::string_view serial);

enum class PedalMatch {
  kSamePedal,      // the cache is this pedal's
  kFirstPedal,     // no pedal remembered: whatever the cache holds is of unknown origin
  kDifferentPedal, // the cache is another pedal's
};

PedalMatch MatchPedal(const std::optional<std::string>& remembered, std::string_view connected);

// Whether the cache must be emptied and read again from the connected pedal.
constexpr bool CacheMustBeRebuilt(PedalMatch match) {
  return match != PedalMatch::kSamePedal;
}

// What the user is told when a different pedal is connected:
//   This Zorel (serial <connected>) is not the one whose presets and IRs this
//   library holds (serial <remembered>). The library's copy is cleared and
//   read anew from this pedal.
std::string DifferentPedalMessage(std::string_view remembered, std::string_view connected);

struct PedalAdoption {
  PedalMatch match = PedalMatch::kSamePedal;
  bool cacheCleared = false; // the caller refreshes the preset list and reads the pedal anew
  bool remembered = false;   // the serial is on disk (always true for kSamePedal)
  std::string message;       // for kDifferentPedal, empty otherwise
};

// On every connection, once the identity block has given the serial:
// matches it with the remembered one, clears the pedal's content from the
// cache when it must be rebuilt, then remembers the serial.
PedalAdoption AdoptConnectedPedal(SlotCache& cache, std::string_view serial);

} // namespace zorel::lib

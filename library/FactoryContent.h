#pragma once

// The factory content the editor carries in its resource bundle: the eight
// factory cabinet IRs as WAV files, written into "Factory IRs" so the cabinet
// display has them before the pedal has sent its own, and the user manual,
// written next to the library on demand and opened in the desktop's viewer.
// The bundle is reached through a lookup function so that this layer does
// not depend on it.

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace zorel::lib {

// The bytes of the resource with a number; empty when there is none.
using ResourceLookup = std::function<std::span<const uint8_t>(int id)>;

struct FactoryIRResource {
  int id;
  const char* fileName;
};

inline constexpr std::array<FactoryIRResource, 8> kFactoryIRResources{{
    {201, "01-Movrant.wav"},
    {202, "02-Lidtop.wav"},
    {203, "03-QS 8x10.wav"},
    {204, "04-Coast 2x15.wav"},
    {205, "05-Stage 2x15.wav"},
    {206, "06-Bolt 4x10.wav"},
    {207, "07-Tone 12L.wav"},
    {208, "08-Isle V30.wav"},
}};

inline constexpr int kManualResourceId = 102;
inline constexpr const char* kManualFileName = "Dravix_KWTN_ZL_OM1.pdf";

// Unless "01-Movrant.wav" is there already (then all eight count as
// present), creates "Factory IRs" and writes the eight files byte for byte.
// Returns the number of files written; files that cannot be created are
// skipped silently.
int InstallFactoryIRs(const std::string& root, const ResourceLookup& resources);

std::string ManualPath(const std::string& root);

// Writes the manual when no file of that name opens; an existing file is
// left as it is, whatever it holds. Returns whether the file is there now.
bool WriteManualIfMissing(const std::string& root, const ResourceLookup& resources);

// Hands a document to the desktop's default viewer without waiting for it.
using DocumentLauncher = std::function<bool(const std::string& path)>;

// Runs `opener` (xdg-open unless given) with the path as its one argument,
// without a shell. Returns whether the program could be started.
bool OpenWithDesktopViewer(const std::string& path, const std::string& opener = "xdg-open");

// "Read Manual": writes the manual if needed, then launches it. Returns
// whether a viewer was started.
bool OpenManual(const std::string& root, const ResourceLookup& resources,
                const DocumentLauncher& launch);

} // namespace zorel::lib

#pragma once

// The resources compiled into the executable: pictures, fonts, the SVG
// knob, the factory IR WAV files and the user manual. Each has a name and,
// where the editor addresses it by number, a number (201..208 the factory
// IRs, 102 the manual).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace zorel {

struct ResourceEntry {
  int id; // 0 when the resource has a name only
  const char* name;
  const unsigned char* data;
  size_t size;
};

// The bytes of a resource; empty when there is none of that number or name.
std::span<const uint8_t> FindResource(int id);
std::span<const uint8_t> FindResource(std::string_view name);

std::span<const ResourceEntry> AllResources();

} // namespace zorel

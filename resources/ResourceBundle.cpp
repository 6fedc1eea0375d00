#include "resources/ResourceBundle.h"

namespace zorel {

namespace bundle {
extern const ResourceEntry kEntries[];
extern const size_t kEntryCount;
} // namespace bundle

namespace {

std::span<const uint8_t> Bytes(const ResourceEntry& entry) {
  return {reinterpret_cast<const uint8_t*>(entry.data), entry.size};
}

} // namespace

std::span<const ResourceEntry> AllResources() {
  return {bundle::kEntries, bundle::kEntryCount};
}

std::span<const uint8_t> FindResource(int id) {
  if (id == 0) return {};
  for (const ResourceEntry& entry : AllResources())
    if (entry.id == id) return Bytes(entry);
  return {};
}

std::span<const uint8_t> FindResource(std::string_view name) {
  for (const ResourceEntry& entry : AllResources())
    if (name == entry.name) return Bytes(entry);
  return {};
}

} // namespace zorel

#pragma once

#include <string>

#include "app/host/HostSettings.h"

namespace zorel {

// settings.ini in the library root: sections "audio" and "midi" belong to the
// host, "GUI" to the window. Keys are read and written in a fixed order with
// fixed defaults and formats (SettingsFile.cpp).
class SettingsFile {
public:
  explicit SettingsFile(std::string libraryRoot);

  const std::string& Path() const { return mPath; }

  // Start-up: creates the folder when missing, reads the file when present
  // (a missing key takes its reading default, an absent file leaves
  // `settings` as it is), then writes every key back. Returns true.
  bool Load(HostSettings& settings);
  // Writes every "audio" and "midi" key; false when the file cannot be written.
  bool Save(const HostSettings& settings);

  // The window's draw scale ("GUI" / "scale"), 0.5 when absent.
  float ReadDrawScale() const;
  bool WriteDrawScale(float scale);

private:
  std::string mFolder;
  std::string mPath;
};

} // namespace zorel

#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zorel {

// An INI file read and written the way the desktop's profile functions do:
// "[section]" headers and "key=value" lines, section and key names compared
// without regard to letter case, values trimmed of surrounding blanks and of
// one pair of matching quotes. Writing a key keeps every other line of the
// file (the window's "GUI" section, comments, keys of other programs).
class ProfileFile {
public:
  // Reads `path`; false (and an empty file) when it cannot be read.
  bool Load(const std::string& path);
  // Writes to a temporary file beside `path` and renames it over `path`, so
  // a failed write leaves the old file whole.
  bool Save(const std::string& path) const;

  std::optional<std::string> Get(const std::string& section, const std::string& key) const;
  // The value cut to `maxChars` characters, or `fallback` when the key is absent.
  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& fallback, size_t maxChars = 99) const;
  // The leading decimal number of the value (0 when there is none), or
  // `fallback` when the key is absent. Values wrap to 32 bits as the
  // profile functions' unsigned result does.
  int GetInt(const std::string& section, const std::string& key, int fallback) const;

  void Set(const std::string& section, const std::string& key, const std::string& value);

  const std::vector<std::string>& Lines() const { return mLines; }

private:
  // Index of the header line of `section`, or -1.
  int FindSection(const std::string& section) const;
  // Index of the line of `key` inside the section that starts at `header`, or -1.
  int FindKey(int header, const std::string& key) const;

  std::vector<std::string> mLines;
};

// Parses a number as the profile functions do; exposed for the settings code.
int ProfileInt(const std::string& text);

} // namespace zorel

#include "app/host/ProfileFile.h"

#include "library/FileWriter.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <strings.h>
#include <unistd.h>

namespace zorel {

namespace {

std::string Trim(const std::string& s) {
  size_t b = 0;
  size_t e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && strcasecmp(a.c_str(), b.c_str()) == 0;
}

// "[name]" (blanks allowed around it) gives name.
std::optional<std::string> HeaderName(const std::string& line) {
  const std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[') return std::nullopt;
  const size_t close = t.find(']');
  if (close == std::string::npos) return std::nullopt;
  return Trim(t.substr(1, close - 1));
}

// The key of a "key=value" line; comments and lines without '=' have none.
std::optional<std::string> KeyName(const std::string& line) {
  const std::string t = Trim(line);
  if (t.empty() || t.front() == ';' || t.front() == '#') return std::nullopt;
  const size_t eq = t.find('=');
  if (eq == std::string::npos) return std::nullopt;
  return Trim(t.substr(0, eq));
}

std::string ValueOf(const std::string& line) {
  std::string v = Trim(line.substr(line.find('=') + 1));
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return v;
}

} // namespace

int ProfileInt(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  uint32_t value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
    value = value * 10u + static_cast<uint32_t>(text[i] - '0');
  if (negative) value = 0u - value;
  return static_cast<int>(value);
}

bool ProfileFile::Load(const std::string& path) {
  mLines.clear();
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    mLines.push_back(line);
  }
  return true;
}

// Written beside the old file under a unique name and renamed over it, so
// two processes saving at once never write into one temporary.
bool ProfileFile::Save(const std::string& path) const {
  std::string text;
  for (const std::string& line : mLines) text += line + '\n';
  return lib::ReplaceFileContents(
      path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

int ProfileFile::FindSection(const std::string& section) const {
  for (size_t i = 0; i < mLines.size(); ++i) {
    const auto name = HeaderName(mLines[i]);
    if (name && SameName(*name, section)) return static_cast<int>(i);
  }
  return -1;
}

int ProfileFile::FindKey(int header, const std::string& key) const {
  for (size_t i = static_cast<size_t>(header) + 1; i < mLines.size(); ++i) {
    if (HeaderName(mLines[i])) break;
    const auto name = KeyName(mLines[i]);
    if (name && SameName(*name, key)) return static_cast<int>(i);
  }
  return -1;
}

std::optional<std::string> ProfileFile::Get(const std::string& section,
                                            const std::string& key) const {
  const int header = FindSection(section);
  if (header < 0) return std::nullopt;
  const int line = FindKey(header, key);
  if (line < 0) return std::nullopt;
  return ValueOf(mLines[static_cast<size_t>(line)]);
}

std::string ProfileFile::GetString(const std::string& section, const std::string& key,
                                   const std::string& fallback, size_t maxChars) const {
  std::string value = Get(section, key).value_or(fallback);
  if (value.size() > maxChars) {
    // Never half a UTF-8 character: port names may carry any.
    size_t cut = maxChars;
    while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) --cut;
    value.resize(cut);
  }
  return value;
}

int ProfileFile::GetInt(const std::string& section, const std::string& key, int fallback) const {
  const auto value = Get(section, key);
  return value ? ProfileInt(*value) : fallback;
}

void ProfileFile::Set(const std::string& section, const std::string& key,
                      const std::string& value) {
  const std::string line = key + "=" + value;
  int header = FindSection(section);
  if (header < 0) {
    if (!mLines.empty() && !Trim(mLines.back()).empty()) mLines.emplace_back();
    mLines.push_back("[" + section + "]");
    mLines.push_back(line);
    return;
  }
  if (const int at = FindKey(header, key); at >= 0) {
    mLines[static_cast<size_t>(at)] = line;
    return;
  }
  // After the section's last non-blank line, before the blank lines that
  // separate it from the next section.
  size_t insert = static_cast<size_t>(header) + 1;
  for (size_t i = insert; i < mLines.size() && !HeaderName(mLines[i]); ++i) {
    if (!Trim(mLines[i]).empty()) insert = i + 1;
  }
  mLines.insert(mLines.begin() + static_cast<std::ptrdiff_t>(insert), line);
}

} // namespace zorel

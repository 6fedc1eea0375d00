#include "app/window/FileFilters.h"

#include <cctype>
#include <strings.h>

namespace zorel::window {

std::vector<std::string> SplitExtensions(std::string_view extensions) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < extensions.size()) {
    while (i < extensions.size() && std::isspace(static_cast<unsigned char>(extensions[i]))) ++i;
    size_t j = i;
    while (j < extensions.size() && !std::isspace(static_cast<unsigned char>(extensions[j]))) ++j;
    std::string_view word = extensions.substr(i, j - i);
    while (!word.empty() && (word.front() == '.' || word.front() == '*')) word.remove_prefix(1);
    if (!word.empty()) out.emplace_back(word);
    i = j;
  }
  return out;
}

std::string ExtensionPattern(std::string_view extension) {
  std::string pattern = "*.";
  for (const char c : extension) {
    const auto u = static_cast<unsigned char>(c);
    if (std::isalpha(u)) {
      pattern += '[';
      pattern += static_cast<char>(std::tolower(u));
      pattern += static_cast<char>(std::toupper(u));
      pattern += ']';
    } else if (c == '*' || c == '?' || c == '[' || c == ']') {
      pattern += '[';
      pattern += c;
      pattern += ']';
    } else {
      pattern += c;
    }
  }
  return pattern;
}

std::string FilterName(const std::vector<std::string>& extensions) {
  std::string name;
  for (const std::string& e : extensions) {
    if (!name.empty()) name += ';';
    name += "*." + e;
  }
  return name;
}

std::string WithDefaultExtension(const std::string& path,
                                 const std::vector<std::string>& extensions) {
  if (extensions.empty() || path.empty()) return path;
  const size_t slash = path.rfind('/');
  const size_t dot = path.rfind('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash + 1)) {
    const std::string ext = path.substr(dot + 1);
    for (const std::string& e : extensions)
      if (strcasecmp(ext.c_str(), e.c_str()) == 0) return path;
  }
  return path + "." + extensions.front();
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

} // namespace zorel::window

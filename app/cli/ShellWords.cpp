#include "app/cli/ShellWords.h"

namespace zorel::cli {

namespace {

bool Blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

std::optional<std::vector<std::string>> SplitShellWords(const std::string& line,
                                                        std::string& error) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false; // a quoted empty word counts, so this is not word.empty()
  size_t i = 0;
  const size_t n = line.size();
  while (i < n) {
    const char c = line[i];
    if (Blank(c)) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
      ++i;
      continue;
    }
    inWord = true;
    if (c == '\'') {
      const size_t close = line.find('\'', i + 1);
      if (close == std::string::npos) {
        error = "unterminated single quote";
        return std::nullopt;
      }
      word.append(line, i + 1, close - i - 1);
      i = close + 1;
    } else if (c == '"') {
      for (++i;; ++i) {
        if (i >= n) {
          error = "unterminated double quote";
          return std::nullopt;
        }
        if (line[i] == '"') break;
        if (line[i] == '\\' && i + 1 < n && (line[i + 1] == '"' || line[i + 1] == '\\')) ++i;
        word.push_back(line[i]);
      }
      ++i;
    } else if (c == '\\') {
      if (i + 1 >= n) {
        error = "the line ends in a lone backslash";
        return std::nullopt;
      }
      word.push_back(line[i + 1]);
      i += 2;
    } else {
      word.push_back(c);
      ++i;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}

} // namespace zorel::cli

#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zorel::cli {

// The words of one shell line, split as a POSIX shell splits them: blanks
// separate words; 'single quotes' keep everything up to the next single
// quote; "double quotes" keep everything up to the next unescaped double
// quote, where \" and \\ stand for " and \ (any other backslash stays as it
// is, so "C:\IRs" survives); outside quotes a backslash keeps the next
// character. Quoted parts join the text next to them ("Big "Room.wav is one
// word) and "" is an empty word. Nullopt, with `error` saying why, for an
// unterminated quote or a line that ends in a lone backslash.
std::optional<std::vector<std::string>> SplitShellWords(const std::string& line,
                                                        std::string& error);

} // namespace zorel::cli

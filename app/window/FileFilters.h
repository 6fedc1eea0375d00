#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zorel::window {

// The extension lists of file prompts ("q3p", "wav", "q3p q3b"): the words
// of the list, without dots, in order; the first is the default.
std::vector<std::string> SplitExtensions(std::string_view extensions);

// A shell pattern that matches the extension in any letter case, as the
// pedal's files may come from systems that do not keep case ("q3p" ->
// "*.[qQ]3[pP]").
std::string ExtensionPattern(std::string_view extension);

// The filter's name: every extension with a star and a dot before it,
// separated by ";" ("*.q3p;*.q3b").
std::string FilterName(const std::vector<std::string>& extensions);

// A name chosen for saving keeps an extension of the list (any case);
// otherwise the default extension is appended, so the file shows up in the
// open prompt's filter later.
std::string WithDefaultExtension(const std::string& path,
                                 const std::vector<std::string>& extensions);

// The folder part of a path ("" when it has none).
std::string FolderOf(const std::string& path);

} // namespace zorel::window

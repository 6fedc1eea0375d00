#pragma once

#include <string>
#include <string_view>

namespace igraphics {

// The text up to its first NUL with every byte that is not part of a valid
// UTF-8 sequence replaced by U+FFFD. cairo refuses invalid UTF-8 with an
// error that can stick to the shared scaled font, after which no text in that
// font draws at all; texts reach us from preset names sent by the pedal and
// from files, so they are cleaned before they are shaped.
std::string SanitizeUtf8(std::string_view text);

} // namespace igraphics

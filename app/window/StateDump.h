#pragma once

#include <string>

#include "app/window/MainWindow.h"

namespace zorel::window {

// What the window shows, as text, for tests and for looking into a running
// instance (`zorelcontrol --dump-state`): the window and surface on the
// screen (root coordinates), frames drawn, the editor's connection, open
// dialogs, the MIDI monitor (open, paused, its newest rows), and every control (tag, group, linked
// parameter, state, value, bounds in surface units, text). One item per line, "key value" pairs.
std::string DumpState(MainWindow& window);

// A text as one double-quoted token: quotes, backslashes and line breaks
// escaped.
std::string Quoted(const std::string& text);

} // namespace zorel::window

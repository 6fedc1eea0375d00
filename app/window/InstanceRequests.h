#pragma once

#include <string>

#include "app/window/MainWindow.h"

namespace zorel::window {

// The answers of the running instance on its socket (SingleInstance):
//   present          brings the window to the front (a second start)
//   state            DumpState: what the window shows
//   redraw-time N    draws the whole surface N times on screen and reports
//                    the time of one, for the benchmarks
//   monitor open|close|pause|resume|clear|save PATH
//                    Tools > MIDI Monitor and its buttons
// Anything else is answered "unknown request".
std::string AnswerRequest(MainWindow& window, const std::string& request);

} // namespace zorel::window

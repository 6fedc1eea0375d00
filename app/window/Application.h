#pragma once

#include "app/window/MainWindow.h"

namespace zorel::window {

// The zorelcontrol program, start to end:
//  1. the single instance: a second start asks the first to present its
//     window and ends with 0;
//  2. GTK (no display: a message and 1);
//  3. the host with the editor, settings.ini, the MIDI ports and the
//     parameter reset, then the audio stream;
//  4. the main window, whose opening builds the surface with `factory`;
//  5. the main loop, until the window is closed.
// Shut-down: the window's closing says goodbye to the pedal and stores the
// scale; then the host stops the stream, closes the ports and destroys the
// editor; the instance lock is released last. Returns 0 after a normal end
// or when another instance runs, 1 when a start-up step throws or there
// is no display, 2 for a bad command line.
int RunZorelControl(int argc, char** argv, const SurfaceFactory& factory);

} // namespace zorel::window

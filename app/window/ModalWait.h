#pragma once

#include <gtk/gtk.h>

#include <vector>

#include "plugin/EditorLock.h"

namespace zorel::window {

// How the window waits for a modal dialog (message box, file chooser,
// Preferences). The callers expect an answer before the call returns, so
// the dialog runs a nested main loop. The rule for that wait:
//
//  - The editor lock is handed back for the whole wait and taken again at
//    the same depth afterwards. The caller is usually deep inside the editor
//    (a button's action asking "Are you sure?") and holds it; kept, the
//    audio thread's try-lock would fail until the user answers and the
//    pedal's replies would overflow the input ring and be lost.
//  - Meanwhile the nested loop runs: the dialog's own events, redraws of the
//    main window (which gets no input: the dialog is modal), the single-
//    instance socket, and every timer tick (queue drain and OnIdle, device
//    tick, fallback drain) except a tick whose own callable opened the
//    dialog (GlibTimerService). Replies from the pedal are handled on the
//    audio thread as usual.
//  - So the editor may move on while the dialog is open (a reply applied,
//    a transfer paced, another box shown on top): code that opens a dialog
//    must look at the editor's state again after it returns, never rely on
//    what it read before.
//  - Closing the main window is put off until the last dialog is answered
//    (MainWindow), so nothing the waiting caller uses is destroyed under it;
//    a signal to end the program answers the dialogs first (CancelAll).
class ModalWait {
public:
  // `lock` may be null (no editor yet, or a test).
  static void SetEditorLock(iplug::EditorLock* lock) { sLock = lock; }
  // Runs `dialog` until it gives a response, under the rule above.
  static int RunDialog(GtkDialog* dialog);
  // Dialogs waiting now (nested ones count each).
  static int Depth() { return static_cast<int>(sOpen.size()); }
  // Answers every waiting dialog as its close button would (a signal asks
  // the program to end), the innermost first.
  static void CancelAll();
  // Called when the last open dialog has been answered. The caller that
  // opened it is still on the stack then: whatever this starts must wait
  // for the main loop (an idle source) and check Depth() again.
  static void SetOnAllAnswered(void (*hook)(void*), void* data) {
    sOnAllAnswered = hook;
    sHookData = data;
  }

private:
  static iplug::EditorLock* sLock;
  static std::vector<GtkDialog*> sOpen;
  static void (*sOnAllAnswered)(void*);
  static void* sHookData;
};

} // namespace zorel::window

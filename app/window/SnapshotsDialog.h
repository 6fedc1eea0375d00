#pragma once

#include <gtk/gtk.h>

namespace zorel {
class AppHost;
}

namespace zorel::window {

// "Snapshots...": the snapshots of the library, newest first, with what
// each holds; Restore puts the chosen one back after the editor's own
// confirmation. Runs modal on `parent`.
void RunSnapshotsDialog(GtkWindow* parent, AppHost& host);

// A "Check MIDI Link" button with a line for its result, for the
// Preferences dialog: runs the editor's link check and shows its figures.
GtkWidget* LinkCheckPanel(AppHost& host);

} // namespace zorel::window

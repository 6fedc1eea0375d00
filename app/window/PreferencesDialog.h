#pragma once

#include <gtk/gtk.h>

#include "app/host/AppHost.h"

namespace zorel::window {

// The dialog's texts, as the user sees them.
inline constexpr const char* kPreferencesTitle = "Preferences";
inline constexpr const char* kPreferencesGroup = "MIDI Device Settings";
inline constexpr const char* kPreferencesInput = "Input Device";
inline constexpr const char* kPreferencesOutput = "Output Device";
// Our own addition below the two lists.
inline constexpr const char* kPreferencesFindPedal = "_Find Pedal";

// "MIDI Settings...": the two MIDI port lists over the main window. A
// choice in a list changes the port at once; Apply restarts the audio
// stream and keeps the dialog open; OK restarts it when anything changed
// and saves settings.ini; Cancel (or closing the dialog) brings the earlier
// settings and their ports back and saves nothing. Returns true for OK.
bool RunPreferencesDialog(GtkWindow* parent, AppHost& host);

} // namespace zorel::window

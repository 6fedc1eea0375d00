#pragma once

#include <gtk/gtk.h>

#include <functional>

namespace zorel::window {

// The menu bar of MainMenuSpec(): activating an item (by mouse, mnemonic or
// its Ctrl shortcut, which `accelerators` carries) calls `onCommand` with
// the item's command number. `onCommand` must outlive the menu bar.
GtkWidget* BuildMenuBar(GtkAccelGroup* accelerators, const std::function<void(int)>* onCommand);

} // namespace zorel::window

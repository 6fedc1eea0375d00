#pragma once

#include <gtk/gtk.h>

#include "app/window/SurfaceView.h"
#include "controls/ModalServices.h"

namespace zorel::window {

// The two prompts that open over the surface and answer later, from the
// main loop: a one-line GTK entry laid over a control (preset name, number
// boxes, parameter values) and a GTK popup menu next to one. Neither waits:
// the graphics context keeps the other controls from the mouse until the
// answer arrives, and the answer enters the editor under its lock like any
// other user event.
//
// The entry commits with Enter or when it loses the focus (a click
// elsewhere) and is cancelled with Escape. A menu closed without a choice
// answers -1. Opening a prompt while one is open cancels the open one.
class SurfacePrompts {
public:
  explicit SurfacePrompts(SurfaceView& view) : mView(view) {}
  ~SurfacePrompts();
  SurfacePrompts(const SurfacePrompts&) = delete;
  SurfacePrompts& operator=(const SurfacePrompts&) = delete;

  void ShowTextEntry(const igraphics::TextStyle& style, const igraphics::Rect& bounds,
                     const std::string& initialText,
                     igraphics::IControlModalServices::TextCompletion done);
  void ShowPopupMenu(const igraphics::IPopupMenu& menu, const igraphics::Rect& anchor,
                     igraphics::IControlModalServices::MenuCompletion done);
  // Cancels whatever is open (the surface is going).
  void CancelAll();

  GtkWidget* OpenEntry() const { return mEntry; }
  GtkWidget* OpenMenu() const { return mMenu; }

private:
  static void OnEntryActivate(GtkEntry* entry, gpointer self);
  static gboolean OnEntryKey(GtkWidget* entry, GdkEventKey* event, gpointer self);
  static gboolean OnEntryFocusOut(GtkWidget* entry, GdkEvent* event, gpointer self);
  static void OnMenuItem(GtkMenuItem* item, gpointer self);
  static void OnMenuDeactivate(GtkMenuShell* menu, gpointer self);
  static gboolean FinishMenuLater(gpointer self);

  void FinishEntry(bool committed);
  void FinishMenu();

  SurfaceView& mView;
  GtkWidget* mEntry = nullptr;
  igraphics::IControlModalServices::TextCompletion mEntryDone;
  GtkCssProvider* mEntryStyle = nullptr;
  GtkWidget* mMenu = nullptr;
  igraphics::IControlModalServices::MenuCompletion mMenuDone;
  int mMenuChosen = -1;
  unsigned mMenuFinishSource = 0;
};

} // namespace zorel::window

#include "app/window/SurfacePrompts.h"

#include <cmath>
#include <cstdio>
#include <mutex>
#include <optional>

namespace zorel::window {

namespace {

constexpr const char* kItemIndexKey = "zorel-item-index";

// A TextStyle's size is the height of a line (ascender to descender); CSS
// sizes the em box, about 1.17 lines smaller for the surface's fonts.
constexpr double kLinePerEm = 1.17;

std::string CssColor(const igraphics::Color& c) {
  char text[64];
  std::snprintf(text, sizeof text, "rgba(%d,%d,%d,%.3f)", igraphics::Color::Clamped(c.R),
                igraphics::Color::Clamped(c.G), igraphics::Color::Clamped(c.B),
                igraphics::Color::Clamped(c.A) / 255.0);
  return text;
}

std::string EntryCss(const igraphics::TextStyle& style, double scale) {
  char size[32];
  std::snprintf(size, sizeof size, "%.1fpx", std::max(6.0, style.size * scale / kLinePerEm));
  return std::string("entry { font-family: Roboto, sans-serif; font-size: ") + size +
         "; min-height: 0; padding: 0 2px; border: none; border-radius: 0; box-shadow: none;"
         " background: " +
         CssColor(style.textEntryBGColor) + "; color: " + CssColor(style.textEntryFGColor) + "; }";
}

float Alignment(igraphics::EAlign align) {
  switch (align) {
  case igraphics::EAlign::Near:
    return 0.f;
  case igraphics::EAlign::Far:
    return 1.f;
  case igraphics::EAlign::Center:
    break;
  }
  return 0.5f;
}

// The answer of a prompt enters the editor like any user event.
template <typename F> void Locked(iplug::EditorLock* lock, F&& f) {
  std::optional<std::lock_guard<iplug::EditorLock>> guard;
  if (lock != nullptr) guard.emplace(*lock);
  f();
}

} // namespace

SurfacePrompts::~SurfacePrompts() {
  CancelAll();
  if (mMenuFinishSource != 0) g_source_remove(mMenuFinishSource);
}

void SurfacePrompts::CancelAll() {
  if (mEntry != nullptr) FinishEntry(false);
  if (mMenu != nullptr) {
    gtk_menu_shell_deactivate(GTK_MENU_SHELL(mMenu));
    mMenuChosen = -1;
    FinishMenu();
  }
}

// ---- text entry ---------------------------------------------------------------

void SurfacePrompts::ShowTextEntry(const igraphics::TextStyle& style, const igraphics::Rect& bounds,
                                   const std::string& initialText,
                                   igraphics::IControlModalServices::TextCompletion done) {
  CancelAll();
  const double s = mView.DrawScale();
  mEntry = gtk_entry_new();
  mEntryDone = std::move(done);
  gtk_entry_set_text(GTK_ENTRY(mEntry), initialText.c_str());
  gtk_entry_set_has_frame(GTK_ENTRY(mEntry), FALSE);
  gtk_entry_set_alignment(GTK_ENTRY(mEntry), Alignment(style.align));
  gtk_entry_set_width_chars(GTK_ENTRY(mEntry), 1);
  gtk_widget_set_halign(mEntry, GTK_ALIGN_START);
  gtk_widget_set_valign(mEntry, GTK_ALIGN_START);
  gtk_widget_set_margin_start(mEntry, static_cast<int>(std::lround(bounds.L * s)));
  gtk_widget_set_margin_top(mEntry, static_cast<int>(std::lround(bounds.T * s)));
  gtk_widget_set_size_request(mEntry, std::max(8, static_cast<int>(std::lround(bounds.W() * s))),
                              std::max(8, static_cast<int>(std::lround(bounds.H() * s))));
  mEntryStyle = gtk_css_provider_new();
  gtk_css_provider_load_from_data(mEntryStyle, EntryCss(style, s).c_str(), -1, nullptr);
  gtk_style_context_add_provider(gtk_widget_get_style_context(mEntry),
                                 GTK_STYLE_PROVIDER(mEntryStyle),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_signal_connect(mEntry, "activate", G_CALLBACK(OnEntryActivate), this);
  g_signal_connect(mEntry, "key-press-event", G_CALLBACK(OnEntryKey), this);
  g_signal_connect(mEntry, "focus-out-event", G_CALLBACK(OnEntryFocusOut), this);
  gtk_overlay_add_overlay(GTK_OVERLAY(mView.Widget()), mEntry);
  gtk_widget_show(mEntry);
  gtk_widget_grab_focus(mEntry); // selects the whole text
}

void SurfacePrompts::OnEntryActivate(GtkEntry*, gpointer self) {
  static_cast<SurfacePrompts*>(self)->FinishEntry(true);
}

gboolean SurfacePrompts::OnEntryKey(GtkWidget*, GdkEventKey* event, gpointer self) {
  if (event->keyval != GDK_KEY_Escape) return FALSE;
  static_cast<SurfacePrompts*>(self)->FinishEntry(false);
  return TRUE;
}

gboolean SurfacePrompts::OnEntryFocusOut(GtkWidget*, GdkEvent*, gpointer self) {
  static_cast<SurfacePrompts*>(self)->FinishEntry(true);
  return FALSE;
}

void SurfacePrompts::FinishEntry(bool committed) {
  GtkWidget* entry = mEntry;
  if (entry == nullptr) return;
  mEntry = nullptr;
  const std::string text = gtk_entry_get_text(GTK_ENTRY(entry));
  auto done = std::move(mEntryDone);
  mEntryDone = nullptr;
  g_signal_handlers_disconnect_by_data(entry, this);
  // Removed from the overlay after this handler has returned: GTK is still
  // delivering the event to it.
  g_idle_add(
      [](gpointer w) -> gboolean {
        gtk_widget_destroy(GTK_WIDGET(w));
        g_object_unref(w);
        return G_SOURCE_REMOVE;
      },
      g_object_ref(entry));
  gtk_widget_hide(entry);
  if (mEntryStyle != nullptr) {
    g_object_unref(mEntryStyle);
    mEntryStyle = nullptr;
  }
  gtk_widget_grab_focus(mView.DrawingArea());
  if (done) Locked(mView.Lock(), [&] { done(committed, text); });
  mView.RedrawDirty();
}

// ---- popup menu ---------------------------------------------------------------

void SurfacePrompts::ShowPopupMenu(const igraphics::IPopupMenu& menu, const igraphics::Rect& anchor,
                                   igraphics::IControlModalServices::MenuCompletion done) {
  CancelAll();
  mMenu = gtk_menu_new();
  g_object_ref_sink(mMenu);
  mMenuDone = std::move(done);
  mMenuChosen = -1;
  for (int i = 0; i < menu.NItems(); ++i) {
    const igraphics::IPopupMenu::Item& item = menu.GetItem(i);
    GtkWidget* row = gtk_check_menu_item_new_with_label(item.text.c_str());
    gtk_check_menu_item_set_draw_as_radio(GTK_CHECK_MENU_ITEM(row), TRUE);
    gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(row), item.checked);
    gtk_widget_set_sensitive(row, item.enabled);
    g_object_set_data(G_OBJECT(row), kItemIndexKey, GINT_TO_POINTER(i));
    g_signal_connect(row, "activate", G_CALLBACK(OnMenuItem), this);
    gtk_menu_shell_append(GTK_MENU_SHELL(mMenu), row);
  }
  g_signal_connect(mMenu, "deactivate", G_CALLBACK(OnMenuDeactivate), this);
  // Attached, the menu belongs to the main window for the desktop and for
  // GTK's pointer and keyboard grab.
  gtk_menu_attach_to_widget(GTK_MENU(mMenu), mView.DrawingArea(), nullptr);
  gtk_widget_show_all(mMenu);
  const double s = mView.DrawScale();
  const GdkRectangle rect{static_cast<int>(std::lround(anchor.L * s)),
                          static_cast<int>(std::lround(anchor.T * s)),
                          std::max(1, static_cast<int>(std::lround(anchor.W() * s))),
                          std::max(1, static_cast<int>(std::lround(anchor.H() * s)))};
  gtk_menu_popup_at_rect(GTK_MENU(mMenu), gtk_widget_get_window(mView.DrawingArea()), &rect,
                         GDK_GRAVITY_SOUTH_WEST, GDK_GRAVITY_NORTH_WEST, nullptr);
}

void SurfacePrompts::OnMenuItem(GtkMenuItem* item, gpointer self) {
  auto* prompts = static_cast<SurfacePrompts*>(self);
  prompts->mMenuChosen = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(item), kItemIndexKey));
}

// GTK closes the menu before it activates the chosen item, so the answer is
// given once the main loop is back.
void SurfacePrompts::OnMenuDeactivate(GtkMenuShell*, gpointer self) {
  auto* prompts = static_cast<SurfacePrompts*>(self);
  if (prompts->mMenuFinishSource == 0)
    prompts->mMenuFinishSource = g_idle_add(&SurfacePrompts::FinishMenuLater, self);
}

gboolean SurfacePrompts::FinishMenuLater(gpointer self) {
  auto* prompts = static_cast<SurfacePrompts*>(self);
  prompts->mMenuFinishSource = 0;
  prompts->FinishMenu();
  return G_SOURCE_REMOVE;
}

void SurfacePrompts::FinishMenu() {
  if (mMenuFinishSource != 0) {
    g_source_remove(mMenuFinishSource);
    mMenuFinishSource = 0;
  }
  GtkWidget* menu = mMenu;
  if (menu == nullptr) return;
  mMenu = nullptr;
  g_signal_handlers_disconnect_by_data(menu, this);
  gtk_container_foreach(
      GTK_CONTAINER(menu),
      [](GtkWidget* row, gpointer self) { g_signal_handlers_disconnect_by_data(row, self); }, this);
  gtk_widget_destroy(menu);
  g_object_unref(menu);
  auto done = std::move(mMenuDone);
  mMenuDone = nullptr;
  const int chosen = mMenuChosen;
  mMenuChosen = -1;
  if (done) Locked(mView.Lock(), [&] { done(chosen); });
  mView.RedrawDirty();
}

} // namespace zorel::window

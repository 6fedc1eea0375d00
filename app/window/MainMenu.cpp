#include "app/window/MainMenu.h"

#include "app/window/MenuCommands.h"

namespace zorel::window {

namespace {

constexpr const char* kCommandKey = "zorel-command";

void OnItemActivated(GtkMenuItem* item, gpointer data) {
  const auto* onCommand = static_cast<const std::function<void(int)>*>(data);
  const int command = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(item), kCommandKey));
  if (*onCommand) (*onCommand)(command);
}

} // namespace

GtkWidget* BuildMenuBar(GtkAccelGroup* accelerators, const std::function<void(int)>* onCommand) {
  GtkWidget* bar = gtk_menu_bar_new();
  for (const MenuSpec& spec : MainMenuSpec()) {
    GtkWidget* top = gtk_menu_item_new_with_mnemonic(MnemonicText(spec.title).c_str());
    GtkWidget* menu = gtk_menu_new();
    gtk_menu_set_accel_group(GTK_MENU(menu), accelerators);
    for (const MenuItemSpec& entry : spec.items) {
      if (entry.command == 0) {
        gtk_menu_shell_append(GTK_MENU_SHELL(menu), gtk_separator_menu_item_new());
        continue;
      }
      GtkWidget* item = gtk_menu_item_new_with_mnemonic(MnemonicText(entry.text).c_str());
      g_object_set_data(G_OBJECT(item), kCommandKey, GINT_TO_POINTER(entry.command));
      g_signal_connect(item, "activate", G_CALLBACK(OnItemActivated),
                       const_cast<std::function<void(int)>*>(onCommand));
      if (entry.shortcutKey != 0) {
        const auto mods = static_cast<GdkModifierType>(GDK_CONTROL_MASK |
                                                       (entry.shortcutShift ? GDK_SHIFT_MASK : 0));
        gtk_widget_add_accelerator(item, "activate", accelerators,
                                   gdk_unicode_to_keyval(static_cast<guint>(entry.shortcutKey)),
                                   mods, GTK_ACCEL_VISIBLE);
      }
      if (entry.secondKey != 0) {
        gtk_widget_add_accelerator(item, "activate", accelerators,
                                   gdk_unicode_to_keyval(static_cast<guint>(entry.secondKey)),
                                   GDK_CONTROL_MASK, GTK_ACCEL_VISIBLE);
      }
      gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
    }
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(top), menu);
    gtk_menu_shell_append(GTK_MENU_SHELL(bar), top);
  }
  return bar;
}

} // namespace zorel::window

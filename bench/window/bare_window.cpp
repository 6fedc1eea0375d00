// The yardstick for the window's start-up: a bare GTK 3 window with a menu
// bar and a 960 x 600 drawing area that fills itself, nothing else. Reports
// its first frame the way zorelcontrol does ($ZOREL_REPORT_FIRST_FRAME).
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <initializer_list>

namespace {

gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer) {
  static bool first = true;
  cairo_set_source_rgb(cr, 0.16, 0.17, 0.2);
  cairo_paint(cr);
  if (first && std::getenv("ZOREL_REPORT_FIRST_FRAME") != nullptr) {
    first = false;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(stderr, "bare window: first frame %lld\n",
                 static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    std::fflush(stderr);
  }
  return TRUE;
}

GtkWidget* Menu(const char* title, std::initializer_list<const char*> items) {
  GtkWidget* top = gtk_menu_item_new_with_mnemonic(title);
  GtkWidget* menu = gtk_menu_new();
  for (const char* item : items)
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), gtk_menu_item_new_with_mnemonic(item));
  gtk_menu_item_set_submenu(GTK_MENU_ITEM(top), menu);
  return top;
}

} // namespace

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "Bare");
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  GtkWidget* bar = gtk_menu_bar_new();
  gtk_menu_shell_append(GTK_MENU_SHELL(bar), Menu("_File", {"_Open", "_Quit"}));
  gtk_menu_shell_append(GTK_MENU_SHELL(bar), Menu("_Help", {"_About"}));
  GtkWidget* area = gtk_drawing_area_new();
  gtk_widget_set_size_request(area, 960, 600);
  g_signal_connect(area, "draw", G_CALLBACK(OnDraw), nullptr);
  gtk_box_pack_start(GTK_BOX(box), bar, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), area, TRUE, TRUE, 0);
  gtk_container_add(GTK_CONTAINER(window), box);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}

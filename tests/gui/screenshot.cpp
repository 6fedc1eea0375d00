// Writes the X screen (or one window and what lies over it) as a PNG:
//   gui_screenshot OUT.png [X Y WIDTH HEIGHT]
// for the GUI test's pictures of the running window.
#include <gdk/gdk.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 2 && argc != 6) {
    std::fprintf(stderr, "usage: %s OUT.png [X Y WIDTH HEIGHT]\n", argv[0]);
    return 2;
  }
  if (!gdk_init_check(&argc, &argv)) {
    std::fprintf(stderr, "no display\n");
    return 1;
  }
  GdkWindow* root = gdk_get_default_root_window();
  int x = 0, y = 0;
  int w = gdk_window_get_width(root), h = gdk_window_get_height(root);
  if (argc == 6) {
    x = std::atoi(argv[2]);
    y = std::atoi(argv[3]);
    w = std::atoi(argv[4]);
    h = std::atoi(argv[5]);
  }
  GdkPixbuf* shot = gdk_pixbuf_get_from_window(root, x, y, w, h);
  if (shot == nullptr) {
    std::fprintf(stderr, "nothing to capture\n");
    return 1;
  }
  GError* error = nullptr;
  if (!gdk_pixbuf_save(shot, argv[1], "png", &error, nullptr)) {
    std::fprintf(stderr, "%s\n", error->message);
    return 1;
  }
  g_object_unref(shot);
  return 0;
}

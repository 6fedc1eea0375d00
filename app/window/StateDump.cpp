#include "app/window/StateDump.h"

#include <cstdio>
#include <mutex>

#include "controls/TextControls.h"

namespace zorel::window {

namespace {

constexpr size_t kMonitorLinesShown = 5000;

void Line(std::string& out, const char* format, auto... args) {
  char line[512];
  std::snprintf(line, sizeof line, format, args...);
  out += line;
}

void DumpControl(std::string& out, igraphics::IGraphics& g, int index, igraphics::IControl& c) {
  const igraphics::Rect& r = c.Bounds();
  Line(out,
       "control %d tag %d group %s param %d hidden %d disabled %d value %.4f bounds %.1f %.1f "
       "%.1f %.1f",
       index, g.TagOf(&c), c.Group().empty() ? "-" : c.Group().c_str(),
       c.NValues() > 0 ? c.LinkedParam(0) : -1, c.IsHidden() ? 1 : 0, c.IsDisabled() ? 1 : 0,
       c.NValues() > 0 ? c.Value(0) : 0.0, r.L, r.T, r.R, r.B);
  if (const auto* text = dynamic_cast<const igraphics::ITextControl*>(&c))
    out += " text " + Quoted(text->GetText());
  out += '\n';
}

// The monitor's state and its newest rows.
void DumpMonitor(std::string& out, MonitorWindow& monitor) {
  Line(out, "monitor open %d paused %d lines %zu held %zu\n", monitor.IsOpen() ? 1 : 0,
       monitor.Paused() ? 1 : 0, monitor.Lines().size(), monitor.HeldLines());
  const auto& lines = monitor.Lines();
  const size_t from = lines.size() > kMonitorLinesShown ? lines.size() - kMonitorLinesShown : 0;
  for (size_t i = from; i < lines.size(); ++i) out += "monitor-line " + Quoted(lines[i]) + "\n";
}

} // namespace

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string DumpState(MainWindow& window) {
  std::string out;
  if (!window.IsOpen()) return "window closed\n";
  GtkWidget* top = GTK_WIDGET(window.Window());
  int x = 0, y = 0;
  if (GdkWindow* w = gtk_widget_get_window(top)) gdk_window_get_origin(w, &x, &y);
  out += "window " + Quoted(gtk_window_get_title(window.Window()));
  Line(out, " x %d y %d width %d height %d\n", x, y, gtk_widget_get_allocated_width(top),
       gtk_widget_get_allocated_height(top));

  SurfaceView& view = window.View();
  GtkWidget* area = view.DrawingArea();
  int sx = 0, sy = 0;
  if (GdkWindow* w = gtk_widget_get_window(area)) gdk_window_get_origin(w, &sx, &sy);
  const Size surface = view.OnScreen();
  igraphics::IGraphics* g = window.Graphics();
  Line(out, "surface x %d y %d width %d height %d scale %.4f screen-scale %d\n", sx, sy,
       surface.width, surface.height, g ? g->GetDrawScale() : 0.f,
       gtk_widget_get_scale_factor(area));
  Line(out, "frames %llu\n", static_cast<unsigned long long>(view.FramesDrawn()));

  ZorelControl& editor = window.Host().Editor();
  {
    std::lock_guard<iplug::EditorLock> lock(editor.EditorLock());
    Line(out, "editor connected %d preset %d\n", editor.State().mConnected ? 1 : 0,
         editor.State().mCurrentPresetSlot);
    // The preset's values 0..73 in order, and where undo and compare stand.
    out += "preset-values";
    for (int i = 0; i < kNumPresetParams; ++i) Line(out, " %d", editor.ParamAt(i)->Int());
    Line(out, "\nhistory undo %zu redo %zu comparing %d\n", editor.History().UndoCount(),
         editor.History().RedoCount(), editor.Comparing() ? 1 : 0);
  }
  DumpMonitor(out, window.Monitor());
  GList* toplevels = gtk_window_list_toplevels();
  for (GList* l = toplevels; l != nullptr; l = l->next) {
    GtkWindow* w = GTK_WINDOW(l->data);
    if (w == window.Window() || !gtk_widget_get_visible(GTK_WIDGET(w))) continue;
    if (window.Monitor().IsOpen() && w == window.Monitor().Window()) continue;
    if (gtk_window_get_window_type(w) != GTK_WINDOW_TOPLEVEL) continue;
    const char* title = gtk_window_get_title(w);
    out += "dialog " + Quoted(title ? title : "");
    // A message box says what it asks: scripts tell one question from another.
    if (GTK_IS_MESSAGE_DIALOG(w)) {
      gchar* text = nullptr;
      g_object_get(w, "text", &text, nullptr);
      out += " text " + Quoted(text ? text : "");
      g_free(text);
    }
    out += "\n";
  }
  g_list_free(toplevels);
  if (g != nullptr) {
    for (int i = 0; i < g->ControlCount(); ++i) DumpControl(out, *g, i, *g->GetControl(i));
  }
  return out;
}

} // namespace zorel::window

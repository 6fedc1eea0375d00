#include "app/window/SurfaceView.h"

#include <cmath>
#include <mutex>
#include <optional>
#include <vector>

#include "render/DrawContext.h"

namespace zorel::window {

using igraphics::ECursor;
using igraphics::Rect;

namespace {

// Behind the surface where the window is larger than it (the window's
// minimum size at a small scale, or a window the user enlarged).
constexpr double kBorderGrey = 0.18;

// The editor lock for one input event; nothing when there is no lock.
class EventLock {
public:
  explicit EventLock(iplug::EditorLock* lock) {
    if (lock != nullptr) mGuard.emplace(*lock);
  }

private:
  std::optional<std::lock_guard<iplug::EditorLock>> mGuard;
};

GtkSettings* Settings(GtkWidget* widget) {
  return gtk_settings_get_for_screen(gtk_widget_get_screen(widget));
}

const char* CursorName(ECursor cursor) {
  switch (cursor) {
  case ECursor::Hand:
    return "pointer";
  case ECursor::IBeam:
    return "text";
  case ECursor::SizeNWSE:
    return "nwse-resize";
  case ECursor::Arrow:
    break;
  }
  return "default";
}

} // namespace

SurfaceView::SurfaceView() : mDoubleClick(400, 5) {
  mOverlay = gtk_overlay_new();
  g_object_ref_sink(mOverlay);
  mArea = gtk_drawing_area_new();
  g_object_ref_sink(mArea); // the handlers are disconnected after the overlay is gone
  gtk_widget_set_can_focus(mArea, TRUE);
  gtk_widget_add_events(mArea, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                   GDK_POINTER_MOTION_MASK | GDK_LEAVE_NOTIFY_MASK |
                                   GDK_SCROLL_MASK | GDK_KEY_PRESS_MASK | GDK_KEY_RELEASE_MASK);
  gtk_container_add(GTK_CONTAINER(mOverlay), mArea);
  g_signal_connect(mArea, "draw", G_CALLBACK(OnDraw), this);
  g_signal_connect(mArea, "button-press-event", G_CALLBACK(OnButtonPress), this);
  g_signal_connect(mArea, "button-release-event", G_CALLBACK(OnButtonRelease), this);
  g_signal_connect(mArea, "motion-notify-event", G_CALLBACK(OnMotion), this);
  g_signal_connect(mArea, "leave-notify-event", G_CALLBACK(OnLeave), this);
  g_signal_connect(mArea, "scroll-event", G_CALLBACK(OnScroll), this);
  g_signal_connect(mArea, "key-press-event", G_CALLBACK(OnKey), this);
  g_signal_connect(mArea, "key-release-event", G_CALLBACK(OnKey), this);
  g_signal_connect(mArea, "notify::scale-factor", G_CALLBACK(OnScaleFactor), this);
  g_signal_connect_swapped(mArea, "realize", G_CALLBACK(+[](SurfaceView* self) {
                             self->ApplyScreenScale();
                             self->ApplyCursor();
                           }),
                           this);

  int doubleClickTime = 400;
  int doubleClickDistance = 5;
  g_object_get(Settings(mArea), "gtk-double-click-time", &doubleClickTime,
               "gtk-double-click-distance", &doubleClickDistance, nullptr);
  mDoubleClick = DoubleClickDetector(static_cast<unsigned>(doubleClickTime), doubleClickDistance);
}

SurfaceView::~SurfaceView() {
  g_signal_handlers_disconnect_by_data(mArea, this);
  gtk_widget_destroy(mOverlay);
  g_object_unref(mArea);
  g_object_unref(mOverlay);
}

void SurfaceView::Attach(igraphics::IGraphics* graphics, iplug::EditorLock* lock) {
  mGraphics = graphics;
  mLock = lock;
  if (graphics != nullptr && gtk_widget_get_realized(mArea)) ApplyScreenScale();
  RedrawAll();
}

Size SurfaceView::OnScreen() const {
  if (mGraphics == nullptr) return {};
  return SurfaceOnScreen(mGraphics->Width(), mGraphics->Height(), mGraphics->GetDrawScale());
}

void SurfaceView::ApplyScreenScale() {
  if (mGraphics == nullptr) return;
  mGraphics->SetScreenScale(static_cast<float>(gtk_widget_get_scale_factor(mArea)));
}

void SurfaceView::OnScaleFactor(GObject*, GParamSpec*, gpointer data) {
  auto* self = static_cast<SurfaceView*>(data);
  // Pictures are reloaded for the new scale factor and everything is drawn
  // again; the window keeps its size in logical pixels.
  self->ApplyScreenScale();
  self->RedrawAll();
}

// ---- drawing ------------------------------------------------------------------

void SurfaceView::RedrawAll() {
  gtk_widget_queue_draw(mArea);
}

void SurfaceView::QueueSurfaceArea(const Rect& area) {
  const double s = DrawScale();
  // Out to whole pixels, with one to spare for antialiased edges.
  const int x0 = static_cast<int>(std::floor(area.L * s)) - 1;
  const int y0 = static_cast<int>(std::floor(area.T * s)) - 1;
  const int x1 = static_cast<int>(std::ceil(area.R * s)) + 1;
  const int y1 = static_cast<int>(std::ceil(area.B * s)) + 1;
  gtk_widget_queue_draw_area(mArea, x0, y0, x1 - x0, y1 - y0);
}

void SurfaceView::RedrawDirty() {
  if (mGraphics == nullptr) return;
  std::vector<Rect> areas;
  {
    // Animations run here, and an animation's end may act on the editor.
    EventLock lock(mLock);
    if (!mGraphics->IsDirty(areas)) return;
  }
  // Apart, a knob and a readout across the surface do not make everything
  // between them be drawn.
  for (const Rect& area : areas) QueueSurfaceArea(area);
}

gboolean SurfaceView::OnDraw(GtkWidget*, cairo_t* cr, gpointer data) {
  static_cast<SurfaceView*>(data)->Draw(cr);
  return TRUE;
}

void SurfaceView::Draw(cairo_t* cr) {
  const int64_t start = g_get_monotonic_time();
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
  const Size surface = OnScreen();
  const int width = gtk_widget_get_allocated_width(mArea);
  const int height = gtk_widget_get_allocated_height(mArea);
  if (surface.width < width || surface.height < height || mGraphics == nullptr) {
    cairo_save(cr);
    cairo_set_source_rgb(cr, kBorderGrey, kBorderGrey, kBorderGrey);
    cairo_rectangle(cr, 0, 0, width, height);
    cairo_rectangle(cr, 0, 0, surface.width, surface.height);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cr);
    cairo_restore(cr);
  }
  if (mGraphics == nullptr) return;

  const float s = mGraphics->GetDrawScale();
  // Controls marked since the last look and lying outside this frame's
  // area go to the next frame: this one clears every mark.
  std::vector<Rect> pending;
  if (mGraphics->IsDirty(pending)) {
    const Rect clip(static_cast<float>(x1 / s), static_cast<float>(y1 / s),
                    static_cast<float>(x2 / s), static_cast<float>(y2 / s));
    for (const Rect& area : pending)
      if (!clip.Contains(area)) QueueSurfaceArea(area);
  }
  const Rect whole(0, 0, static_cast<float>(mGraphics->Width()),
                   static_cast<float>(mGraphics->Height()));
  const Rect area =
      Rect(static_cast<float>(std::floor(x1 / s)), static_cast<float>(std::floor(y1 / s)),
           static_cast<float>(std::ceil(x2 / s)), static_cast<float>(std::ceil(y2 / s)))
          .Intersect(whole);
  if (!area.Empty()) {
    igraphics::DrawContext context(cr, s, area);
    mGraphics->Draw(context, area);
  }
  ++mFrames;
  mLastFrameMicros = g_get_monotonic_time() - start;
  if (mFrames == 1 && mOnFirstFrame) mOnFirstFrame();
}

// ---- mouse and keys -----------------------------------------------------------

// A popup menu or a dialog opened by a press takes the pointer, and the
// release goes to it instead of to the surface, which would leave the
// pressed control holding the mouse. Once the pointer is back with no button
// down, the control gets the release it missed.
void SurfaceView::ReleaseLostCapture(unsigned state) {
  if (mGraphics == nullptr || mGraphics->MouseCapture() == nullptr) return;
  if ((state & (GDK_BUTTON1_MASK | GDK_BUTTON3_MASK)) != 0) return;
  EventLock lock(mLock);
  mGraphics->OnMouseUp(mLastX, mLastY, ModifiersFromState(state));
}

gboolean SurfaceView::OnButtonPress(GtkWidget* widget, GdkEventButton* event, gpointer data) {
  auto* self = static_cast<SurfaceView*>(data);
  // GTK adds its own double-click events after the second press; the
  // second press itself is what becomes the double click here.
  if (event->type != GDK_BUTTON_PRESS || self->mGraphics == nullptr) return FALSE;
  if (event->button != 1 && event->button != 3) return FALSE;
  self->ReleaseLostCapture(event->state);
  // Taking the focus ends a text entry open over the surface.
  gtk_widget_grab_focus(widget);
  const float s = self->DrawScale();
  const float x = static_cast<float>(event->x / s);
  const float y = static_cast<float>(event->y / s);
  self->mLastX = x;
  self->mLastY = y;
  const igraphics::MouseModifiers mod = ModifiersFromState(event->state, event->button);
  const bool isDouble =
      self->mDoubleClick.IsDoubleClick(event->button, event->time, event->x, event->y);
  {
    EventLock lock(self->mLock);
    if (isDouble) {
      self->mGraphics->OnMouseDblClick(x, y, mod);
    } else {
      self->mGraphics->OnMouseDown(x, y, mod);
    }
  }
  self->RedrawDirty();
  return TRUE;
}

gboolean SurfaceView::OnButtonRelease(GtkWidget*, GdkEventButton* event, gpointer data) {
  auto* self = static_cast<SurfaceView*>(data);
  if (self->mGraphics == nullptr || (event->button != 1 && event->button != 3)) return FALSE;
  const float s = self->DrawScale();
  const float x = static_cast<float>(event->x / s);
  const float y = static_cast<float>(event->y / s);
  self->mLastX = x;
  self->mLastY = y;
  {
    EventLock lock(self->mLock);
    self->mGraphics->OnMouseUp(x, y, ModifiersFromState(event->state, event->button));
  }
  self->RedrawDirty();
  return TRUE;
}

gboolean SurfaceView::OnMotion(GtkWidget*, GdkEventMotion* event, gpointer data) {
  auto* self = static_cast<SurfaceView*>(data);
  if (self->mGraphics == nullptr) return FALSE;
  self->ReleaseLostCapture(event->state);
  const float s = self->DrawScale();
  const float x = static_cast<float>(event->x / s);
  const float y = static_cast<float>(event->y / s);
  const float dX = x - self->mLastX;
  const float dY = y - self->mLastY;
  self->mLastX = x;
  self->mLastY = y;
  const igraphics::MouseModifiers mod = ModifiersFromState(event->state);
  {
    EventLock lock(self->mLock);
    // A held button drags the control it pressed, inside the area or not
    // (GTK keeps the pointer for the pressed widget until the release).
    if (mod.L || mod.R) {
      self->mGraphics->OnMouseDrag(x, y, dX, dY, mod);
    } else {
      self->mGraphics->OnMouseOver(x, y, mod);
    }
  }
  self->RedrawDirty();
  return TRUE;
}

gboolean SurfaceView::OnLeave(GtkWidget*, GdkEventCrossing* event, gpointer data) {
  auto* self = static_cast<SurfaceView*>(data);
  if (self->mGraphics == nullptr) return FALSE;
  // During a drag the pointer may leave and come back; the control keeps it.
  if ((event->state & (GDK_BUTTON1_MASK | GDK_BUTTON3_MASK)) != 0) return FALSE;
  {
    EventLock lock(self->mLock);
    self->mGraphics->OnMouseOut();
  }
  self->RedrawDirty();
  return FALSE;
}

gboolean SurfaceView::OnScroll(GtkWidget*, GdkEventScroll* event, gpointer data) {
  auto* self = static_cast<SurfaceView*>(data);
  if (self->mGraphics == nullptr) return FALSE;
  const float delta = WheelDelta(event->direction, event->delta_y);
  if (delta == 0.f) return FALSE;
  const float s = self->DrawScale();
  const float x = static_cast<float>(event->x / s);
  const float y = static_cast<float>(event->y / s);
  {
    EventLock lock(self->mLock);
    self->mGraphics->OnMouseWheel(x, y, ModifiersFromState(event->state), delta);
  }
  self->RedrawDirty();
  return TRUE;
}

gboolean SurfaceView::OnKey(GtkWidget*, GdkEventKey* event, gpointer data) {
  auto* self = static_cast<SurfaceView*>(data);
  if (self->mGraphics == nullptr) return FALSE;
  const igraphics::IKeyPress key = KeyPressFromEvent(event->keyval, event->state);
  if (key.VK == igraphics::kVK_NONE && key.utf8.empty()) return FALSE;
  bool handled = false;
  {
    EventLock lock(self->mLock);
    handled = event->type == GDK_KEY_PRESS
                  ? self->mGraphics->OnKeyDown(self->mLastX, self->mLastY, key)
                  : self->mGraphics->OnKeyUp(self->mLastX, self->mLastY, key);
  }
  self->RedrawDirty();
  return handled ? TRUE : FALSE;
}

// ---- window requests ----------------------------------------------------------

void SurfaceView::ResizeWindow(float screenWidth, float screenHeight) {
  const auto side = [](float v) {
    return std::isfinite(v) ? std::max(1, static_cast<int>(std::lround(v))) : 1;
  };
  if (mOnResize) mOnResize({side(screenWidth), side(screenHeight)});
  RedrawAll();
}

void SurfaceView::SetCursor(ECursor cursor) {
  mCursor = cursor;
  ApplyCursor();
}

void SurfaceView::HideCursor(bool hide) {
  mCursorHidden = hide;
  ApplyCursor();
}

void SurfaceView::ApplyCursor() {
  GdkWindow* window = gtk_widget_get_window(mArea);
  if (window == nullptr) return;
  GdkCursor* cursor = gdk_cursor_new_from_name(gdk_window_get_display(window),
                                               mCursorHidden ? "none" : CursorName(mCursor));
  gdk_window_set_cursor(window, cursor);
  if (cursor != nullptr) g_object_unref(cursor);
}

bool SurfaceView::OpenURL(const std::string& url) {
  GError* error = nullptr;
  const bool opened = g_app_info_launch_default_for_uri(url.c_str(), nullptr, &error) != FALSE;
  if (error != nullptr) {
    g_printerr("zorelcontrol: %s cannot be opened: %s\n", url.c_str(), error->message);
    g_error_free(error);
  }
  return opened;
}

} // namespace zorel::window

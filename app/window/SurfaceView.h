#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <functional>

#include "app/window/InputMapping.h"
#include "app/window/WindowGeometry.h"
#include "controls/IGraphics.h"
#include "controls/IGraphicsWindow.h"
#include "plugin/EditorLock.h"

namespace zorel::window {

// The control surface on screen: a drawing area (inside an overlay that
// also carries the text entry field) that the graphics context draws into
// with cairo at its draw scale, sharp on HiDPI monitors through GDK's scale
// factor, and that hands mouse and keys to the controls in surface units.
//
// Drawing: only what the controls marked is drawn. RedrawDirty (after every
// tick and input event) asks the context for the changed area and queues
// just that; GTK then calls the draw handler for it, as it does when it
// needs pixels itself (exposure, a resize). While nothing changes nothing is
// queued and nothing is drawn.
//
// Every input event enters the editor under its lock; drawing does not, as
// controls draw only from their own values.
class SurfaceView : public igraphics::IGraphicsWindow {
public:
  SurfaceView();
  ~SurfaceView() override;
  SurfaceView(const SurfaceView&) = delete;
  SurfaceView& operator=(const SurfaceView&) = delete;

  GtkWidget* Widget() const { return mOverlay; }
  GtkWidget* DrawingArea() const { return mArea; }

  // Shows `graphics` (null: nothing). `lock` is the editor's lock, held for
  // every input event (null: none).
  void Attach(igraphics::IGraphics* graphics, iplug::EditorLock* lock);
  igraphics::IGraphics* Graphics() const { return mGraphics; }
  iplug::EditorLock* Lock() const { return mLock; }
  float DrawScale() const { return mGraphics ? mGraphics->GetDrawScale() : 1.f; }
  // The surface's size on screen, in logical pixels.
  Size OnScreen() const;

  // Queues the area the controls marked as changed; nothing when none did.
  void RedrawDirty();
  void RedrawAll();

  // The window follows the surface's size (the corner resizer, a scale
  // read at start-up).
  std::function<void(Size surface)> mOnResize;
  // Called once, after the first frame has been drawn.
  std::function<void()> mOnFirstFrame;

  uint64_t FramesDrawn() const { return mFrames; }
  // Time spent in the draw handler by the last frame, in microseconds.
  int64_t LastFrameMicros() const { return mLastFrameMicros; }

  // IGraphicsWindow
  void ResizeWindow(float screenWidth, float screenHeight) override;
  void SetCursor(igraphics::ECursor cursor) override;
  void HideCursor(bool hide) override;
  bool OpenURL(const std::string& url) override;

private:
  static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer self);
  static gboolean OnButtonPress(GtkWidget* widget, GdkEventButton* event, gpointer self);
  static gboolean OnButtonRelease(GtkWidget* widget, GdkEventButton* event, gpointer self);
  static gboolean OnMotion(GtkWidget* widget, GdkEventMotion* event, gpointer self);
  static gboolean OnLeave(GtkWidget* widget, GdkEventCrossing* event, gpointer self);
  static gboolean OnScroll(GtkWidget* widget, GdkEventScroll* event, gpointer self);
  static gboolean OnKey(GtkWidget* widget, GdkEventKey* event, gpointer self);
  static void OnScaleFactor(GObject* widget, GParamSpec* spec, gpointer self);

  void Draw(cairo_t* cr);
  void ReleaseLostCapture(unsigned state);
  void QueueSurfaceArea(const igraphics::Rect& area);
  void ApplyScreenScale();
  void ApplyCursor();

  GtkWidget* mOverlay = nullptr;
  GtkWidget* mArea = nullptr;
  igraphics::IGraphics* mGraphics = nullptr;
  iplug::EditorLock* mLock = nullptr;
  DoubleClickDetector mDoubleClick;
  float mLastX = 0.f; // the pointer in surface units
  float mLastY = 0.f;
  igraphics::ECursor mCursor = igraphics::ECursor::Arrow;
  bool mCursorHidden = false;
  uint64_t mFrames = 0;
  int64_t mLastFrameMicros = 0;
};

} // namespace zorel::window

#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <string>

#include "app/host/AppHost.h"
#include "app/window/GtkModalServices.h"
#include "app/window/MonitorWindow.h"
#include "app/window/SurfaceView.h"
#include "controls/IGraphics.h"
#include "editor/ControlSurface.h"

namespace zorel::window {

inline constexpr const char* kMainWindowTitle = "ZorelControl";

// Builds the controls of the control surface into a new graphics context,
// attaches the surface to the editor, starts the library's start-up work
// and sizes the surface at the saved draw scale (BuildUserInterface); the
// window keeps what it returns alive while it is open.
using SurfaceFactory =
    std::function<std::unique_ptr<IControlSurface>(igraphics::IGraphics&, ZorelControl&)>;

// The main window: the menu bar over the control surface. Opening it
// creates the graphics context and builds the surface, then sizes the
// window to fit the surface and centres it. Closing it (the window's
// close button, File > Quit, a signal) tells the editor, which says goodbye
// to the pedal and stores the scale, and destroys surface, context and
// window in that order; `onClosed` then ends the main loop.
class MainWindow {
public:
  MainWindow(AppHost& host, GtkModalServices& modal, SurfaceFactory factory);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  void Open();
  bool IsOpen() const { return mWindow != nullptr; }
  // Brings the window to the front (a second start asked for it).
  void Present();
  // Closes now, or once the last modal dialog is answered.
  void RequestClose();
  void OnCommand(int command);

  GtkWindow* Window() const { return GTK_WINDOW(mWindow); }
  GtkWidget* MenuBar() const { return mMenuBar; }
  SurfaceView& View() { return mView; }
  igraphics::IGraphics* Graphics() const { return mGraphics.get(); }
  AppHost& Host() { return mHost; }
  MonitorWindow& Monitor() { return mMonitor; }

  std::function<void()> mOnClosed;

private:
  static gboolean OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer self);
  static void OnModalsAnswered(void* self);
  void Close();
  void FitToSurface(const Size& surface, bool centre);
  void ShowAbout();
  void ReadManual();
  void ShowPreferences();

  AppHost& mHost;
  GtkModalServices& mModal;
  SurfaceFactory mFactory;
  SurfaceView mView;
  MonitorWindow mMonitor;
  std::unique_ptr<igraphics::IGraphics> mGraphics;
  std::unique_ptr<IControlSurface> mSurface;
  GtkWidget* mWindow = nullptr;
  GtkWidget* mMenuBar = nullptr;
  GtkAccelGroup* mAccelerators = nullptr;
  std::function<void(int)> mCommandHandler;
  bool mCloseWanted = false;
  bool mClosing = false;
  bool mPresentWanted = false;
};

} // namespace zorel::window

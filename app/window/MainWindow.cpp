#include "app/window/MainWindow.h"

#include <mutex>

#include "app/window/MainMenu.h"
#include "app/window/MenuCommands.h"
#include "app/window/ModalWait.h"
#include "app/window/PreferencesDialog.h"
#include "app/window/SnapshotsDialog.h"
#include "resources/ResourceBundle.h"

#ifndef ZOREL_VERSION
#define ZOREL_VERSION "0"
#endif
#ifndef ZOREL_BUILD_DATE
#define ZOREL_BUILD_DATE "unknown"
#endif

namespace zorel::window {

namespace {

constexpr const char* kAboutText =
    "ZorelControl " ZOREL_VERSION "\nEditor and librarian for the Dravix Movrant Zorel\n"
    "by Dravix Movrant\nBuilt " ZOREL_BUILD_DATE;
constexpr const char* kSeeTheManual = "See the manual";

double NowMs() {
  return static_cast<double>(g_get_monotonic_time()) / 1000.0;
}

std::optional<std::span<const uint8_t>> FindBundled(std::string_view name) {
  const std::span<const uint8_t> bytes = FindResource(name);
  if (bytes.empty()) return std::nullopt;
  return bytes;
}

Area PrimaryMonitorArea(GtkWidget* window) {
  GdkDisplay* display = gtk_widget_get_display(window);
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (monitor == nullptr) monitor = gdk_display_get_monitor(display, 0);
  if (monitor == nullptr) return {0, 0, 1920, 1080};
  GdkRectangle r{};
  gdk_monitor_get_workarea(monitor, &r);
  return {r.x, r.y, r.width, r.height};
}

} // namespace

MainWindow::MainWindow(AppHost& host, GtkModalServices& modal, SurfaceFactory factory)
    : mHost(host), mModal(modal), mFactory(std::move(factory)), mMonitor(host) {
  mCommandHandler = [this](int command) { OnCommand(command); };
  mView.mOnResize = [this](Size surface) { FitToSurface(surface, false); };
}

MainWindow::~MainWindow() {
  if (IsOpen()) Close();
  ModalWait::SetOnAllAnswered(nullptr, nullptr);
}

void MainWindow::Open() {
  ZorelControl& editor = mHost.Editor();
  mWindow = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(mWindow), kMainWindowTitle);
  gtk_window_set_icon_name(GTK_WINDOW(mWindow), "zorelcontrol");
  mAccelerators = gtk_accel_group_new();
  gtk_window_add_accel_group(GTK_WINDOW(mWindow), mAccelerators);
  mMenuBar = BuildMenuBar(mAccelerators, &mCommandHandler);
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  gtk_box_pack_start(GTK_BOX(box), mMenuBar, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), mView.Widget(), TRUE, TRUE, 0);
  gtk_container_add(GTK_CONTAINER(mWindow), box);
  g_signal_connect(mWindow, "delete-event", G_CALLBACK(OnDeleteEvent), this);
  ModalWait::SetOnAllAnswered(&MainWindow::OnModalsAnswered, this);
  mModal.SetParent(GTK_WINDOW(mWindow));

  // The graphics context at the editor's size and the default scale; an
  // earlier opening's size and scale come back with the attachment.
  mGraphics = std::make_unique<igraphics::IGraphics>(
      &editor, editor.GetEditorWidth(), editor.GetEditorHeight(), 0.5f, &NowMs, &FindBundled);
  mGraphics->SetModalServices(&mModal);
  mGraphics->SetWindow(&mView);
  mView.Attach(mGraphics.get(), &editor.EditorLock());
  mModal.SetSurface(&mView);
  {
    std::lock_guard<iplug::EditorLock> lock(editor.EditorLock());
    editor.AttachGraphics(mGraphics.get());
    // The surface's builder also starts the library's work and applies
    // the draw scale of settings.ini.
    if (mFactory) mSurface = mFactory(*mGraphics, editor);
  }

  const SizeLimits limits{{editor.GetMinWidth(), editor.GetMinHeight()},
                          {editor.GetMaxWidth(), editor.GetMaxHeight()}};
  GdkGeometry hints{};
  hints.min_width = limits.min.width;
  hints.min_height = limits.min.height;
  hints.max_width = limits.max.width;
  hints.max_height = limits.max.height;
  gtk_window_set_geometry_hints(GTK_WINDOW(mWindow), nullptr, &hints,
                                static_cast<GdkWindowHints>(GDK_HINT_MIN_SIZE | GDK_HINT_MAX_SIZE));
  gtk_widget_show_all(box);
  FitToSurface(mView.OnScreen(), true);
  gtk_widget_show(mWindow);
  gtk_widget_grab_focus(mView.DrawingArea());
  if (mPresentWanted) Present();
}

void MainWindow::FitToSurface(const Size& surface, bool centre) {
  if (mWindow == nullptr) return;
  ZorelControl& editor = mHost.Editor();
  const SizeLimits limits{{editor.GetMinWidth(), editor.GetMinHeight()},
                          {editor.GetMaxWidth(), editor.GetMaxHeight()}};
  int menuHeight = 0;
  gtk_widget_get_preferred_height(mMenuBar, nullptr, &menuHeight);
  const Size window = WindowFor(surface, menuHeight, limits);
  if (centre) {
    gtk_window_set_default_size(GTK_WINDOW(mWindow), window.width, window.height);
    const Point at = CentredOn(PrimaryMonitorArea(mWindow), window);
    gtk_window_move(GTK_WINDOW(mWindow), at.x, at.y);
  }
  gtk_window_resize(GTK_WINDOW(mWindow), window.width, window.height);
}

void MainWindow::Present() {
  if (mWindow == nullptr) {
    mPresentWanted = true; // still starting: once the window is there
    return;
  }
  mPresentWanted = false;
  gtk_window_present_with_time(GTK_WINDOW(mWindow), GDK_CURRENT_TIME);
}

gboolean MainWindow::OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer self) {
  static_cast<MainWindow*>(self)->RequestClose();
  return TRUE; // the window is destroyed by Close, in its order
}

void MainWindow::RequestClose() {
  if (!IsOpen() || mClosing) return;
  // A dialog's caller is waiting inside the editor; closing now would
  // destroy what it is about to use.
  if (ModalWait::Depth() > 0) {
    mCloseWanted = true;
    return;
  }
  Close();
}

void MainWindow::OnModalsAnswered(void* data) {
  auto* self = static_cast<MainWindow*>(data);
  if (!self->mCloseWanted) return;
  // The dialog's caller is still on the stack: close from the main loop.
  g_idle_add(
      [](gpointer p) -> gboolean {
        auto* window = static_cast<MainWindow*>(p);
        if (window->mCloseWanted && ModalWait::Depth() == 0) {
          window->mCloseWanted = false;
          window->RequestClose();
        }
        return G_SOURCE_REMOVE;
      },
      self);
}

void MainWindow::Close() {
  mClosing = true;
  mMonitor.Close();
  ZorelControl& editor = mHost.Editor();
  mModal.SetSurface(nullptr); // open prompts are cancelled
  {
    std::lock_guard<iplug::EditorLock> lock(editor.EditorLock());
    // Says goodbye to the pedal, stores the scale, detaches the surface;
    // then the editor keeps the size and scale for a later opening.
    editor.OnUIClose();
    editor.AttachSurface(nullptr);
    editor.DetachGraphics();
    mView.Attach(nullptr, nullptr);
    mGraphics->SetWindow(nullptr);
    mSurface.reset();
    mGraphics.reset();
  }
  mModal.SetParent(nullptr);
  gtk_widget_destroy(mWindow);
  mWindow = nullptr;
  mMenuBar = nullptr;
  g_object_unref(mAccelerators);
  mAccelerators = nullptr;
  mClosing = false;
  if (mOnClosed) mOnClosed();
}

// ---- menu commands --------------------------------------------------------------

void MainWindow::OnCommand(int command) {
  if (!IsOpen() || mClosing) return;
  switch (command) {
  case kCmdAbout:
    ShowAbout();
    break;
  case kCmdMidiSettings:
    ShowPreferences();
    break;
  case kCmdQuit:
    RequestClose();
    return;
  case kCmdReadManual:
    ReadManual();
    break;
  case kCmdSnapshots:
    RunSnapshotsDialog(GTK_WINDOW(mWindow), mHost);
    break;
  case kCmdUndo:
  case kCmdRedo:
  case kCmdCompare: {
    ZorelControl& editor = mHost.Editor();
    std::lock_guard<iplug::EditorLock> lock(editor.EditorLock());
    if (command == kCmdUndo)
      editor.Undo();
    else if (command == kCmdRedo)
      editor.Redo();
    else
      editor.ToggleCompare();
    break;
  }
  case kCmdMidiMonitor:
    mMonitor.Open(GTK_WINDOW(mWindow));
    break;
  default:
    if (const int editorCommand = EditorMenuCommand(command)) {
      ZorelControl& editor = mHost.Editor();
      std::lock_guard<iplug::EditorLock> lock(editor.EditorLock());
      editor.OnMenuCommand(editorCommand);
    }
    break;
  }
  mView.RedrawDirty();
}

void MainWindow::ShowAbout() {
  ZorelControl& editor = mHost.Editor();
  bool shown = false;
  {
    std::lock_guard<iplug::EditorLock> lock(editor.EditorLock());
    shown = editor.OnAboutRequested();
  }
  if (!shown) mModal.ShowMessageDialog(kAboutText, kMainWindowTitle, MessageBoxType::kOK);
}

void MainWindow::ReadManual() {
  ZorelControl& editor = mHost.Editor();
  bool opened = false;
  {
    std::lock_guard<iplug::EditorLock> lock(editor.EditorLock());
    opened = editor.OnManualRequested();
  }
  if (!opened) mModal.ShowMessageDialog(kSeeTheManual, kMainWindowTitle, MessageBoxType::kOK);
}

void MainWindow::ShowPreferences() {
  // The dialog works on the host's ports and stream, not on the editor's
  // state, so it runs without the editor lock.
  RunPreferencesDialog(GTK_WINDOW(mWindow), mHost);
}

} // namespace zorel::window

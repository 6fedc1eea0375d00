#include "app/window/Application.h"

#include <glib-unix.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>

#include "app/window/GlibTimerService.h"
#include "app/window/InstanceRequests.h"
#include "app/window/MenuCommands.h"
#include "app/window/ModalWait.h"
#include "app/window/SingleInstance.h"
#include "app/window/WindowOptions.h"
#include "editor/LibraryCache.h"
#include "library/LibraryLock.h"

namespace zorel::window {

namespace {

// How long the pedal's goodbye gets to leave before the ports close (JACK
// hands MIDI over once per period).
constexpr unsigned kGoodbyeDrainMicros = 100000;
constexpr int kAskInstanceMs = 5000;

// For the benchmarks: the moment the first frame is drawn, on the monotonic
// clock, when $ZOREL_REPORT_FIRST_FRAME is set.
void ReportFirstFrame() {
  if (std::getenv("ZOREL_REPORT_FIRST_FRAME") == nullptr) return;
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  std::fprintf(stderr, "zorelcontrol: first frame %lld\n",
               static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
  std::fflush(stderr);
}

int AskRunningInstance(const SingleInstance& instance, bool dumpState) {
  const std::optional<std::string> reply =
      instance.Ask(dumpState ? "state" : "present", kAskInstanceMs);
  if (dumpState) {
    if (!reply) {
      std::fprintf(stderr, "zorelcontrol: the running ZorelControl did not answer\n");
      return 1;
    }
    std::fputs(reply->c_str(), stdout);
    return 0;
  }
  std::fprintf(stderr, reply ? "zorelcontrol: ZorelControl is already running; its window was "
                               "brought to the front\n"
                             : "zorelcontrol: ZorelControl is already running\n");
  return 0;
}

int RunWindow(const WindowOptions& options, SingleInstance& instance,
              const SurfaceFactory& factory) {
  // The host closes the stream before the editor goes, so the editor has no
  // audio side to wait for when it is destroyed.
  ZorelControl::SetShutdownWaitMs(0);
  std::vector<unsigned> signalSources;
  try {
    GlibTimerService timers; // before the editor: its ticks start on it
    GtkModalServices modal;
    std::unique_ptr<AppHost> host;
    std::unique_ptr<MainWindow> window;
    // Served from the first main-loop turn on, which may be a message box
    // of the start-up; a request to present then waits for the window.
    bool presentWanted = false;
    instance.Serve([&window, &presentWanted](const std::string& request) {
      if (window) return AnswerRequest(*window, request);
      if (request == "present") presentWanted = true;
      return std::string("starting\n");
    });

    AppHost::Options hostOptions;
    hostOptions.midi = RtMidiFactory(options.api);
    hostOptions.modal = &modal;
    hostOptions.midiInPort = options.inPort;
    hostOptions.midiOutPort = options.outPort;
    hostOptions.fallbackDrainMs = iplug::IPlugAPIBase::kBaseTickMs;
    host = std::make_unique<AppHost>(std::move(hostOptions));
    ModalWait::SetEditorLock(&host->Editor().EditorLock());
    // Asked for at start: the monitor lists the connection from its first
    // message, so the log runs before the ports open.
    if (options.monitor) host->Traffic().Start();
    host->InitHost();
    host->TryChangeAudio();

    window = std::make_unique<MainWindow>(*host, modal, factory);
    window->mOnClosed = [] { gtk_main_quit(); };
    window->View().mOnFirstFrame = &ReportFirstFrame;
    timers.SetAfterTick([&window] {
      if (window) window->View().RedrawDirty();
    });
    // A reply from the pedal is handled when it arrives, not at the next
    // tick or audio buffer: the input callback wakes the main loop.
    struct MidiArrival {
      AppHost* host;
      MainWindow* window;
    } arrival{host.get(), window.get()};
    if (host->MidiWakeFd() >= 0) {
      signalSources.push_back(g_unix_fd_add(
          host->MidiWakeFd(), G_IO_IN,
          [](gint, GIOCondition, gpointer data) -> gboolean {
            auto* a = static_cast<MidiArrival*>(data);
            a->host->DrainArrivedMidi();
            a->window->View().RedrawDirty();
            return G_SOURCE_CONTINUE;
          },
          &arrival));
    }
    for (const int sig : {SIGINT, SIGTERM, SIGHUP}) {
      signalSources.push_back(g_unix_signal_add(
          sig,
          [](gpointer w) -> gboolean {
            // Asked to end: open dialogs are answered as cancelled first.
            ModalWait::CancelAll();
            static_cast<MainWindow*>(w)->RequestClose();
            return G_SOURCE_CONTINUE;
          },
          window.get()));
    }
    window->Open();
    if (options.monitor) window->OnCommand(kCmdMidiMonitor);
    if (presentWanted) window->Present();
    gtk_main();

    for (const unsigned source : signalSources) g_source_remove(source);
    signalSources.clear();
    instance.Serve(nullptr);
    timers.SetAfterTick(nullptr);
    window.reset();
    bool saidGoodbye = false;
    {
      std::lock_guard<iplug::EditorLock> lock(host->Editor().EditorLock());
      saidGoodbye = host->Editor().State().mConnected;
    }
    if (saidGoodbye) g_usleep(kGoodbyeDrainMicros);
    ModalWait::SetEditorLock(nullptr);
    host.reset(); // stream, ports, editor
  } catch (const std::exception& e) {
    instance.Serve(nullptr);
    for (const unsigned source : signalSources) g_source_remove(source);
    ModalWait::SetEditorLock(nullptr);
    std::fprintf(stderr, "zorelcontrol: %s\n", e.what());
    return 1;
  }
  return 0;
}

} // namespace

int RunZorelControl(int argc, char** argv, const SurfaceFactory& factory) {
  // GTK's own options (--display, ...) first; this needs no display yet.
  gtk_parse_args(&argc, &argv);
  std::string error;
  const std::optional<WindowOptions> options =
      ParseWindowOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) {
    std::fprintf(stderr, "zorelcontrol: %s\n%s", error.c_str(), kWindowUsage);
    return 2;
  }
  if (options->help) {
    std::fputs(kWindowUsage, stdout);
    return 0;
  }
  if (options->checkDisplay) return gtk_init_check(&argc, &argv) ? 0 : 1;

  SingleInstance instance(SingleInstance::DefaultFolder(LibraryCache::DefaultRoot()));
  const bool first = instance.Acquire(error);
  if (!error.empty()) std::fprintf(stderr, "zorelcontrol: %s\n", error.c_str());
  if (!first && error.empty()) return AskRunningInstance(instance, options->dumpState);
  if (options->dumpState) {
    std::fprintf(stderr, "zorelcontrol: ZorelControl is not running\n");
    return 1;
  }
  // (A lock that could not be taken at all does not keep the window away.)

  // The surface is drawn with cairo into the window's buffer; OpenGL is never
  // used, and GTK's probing for it would load the GL driver (tens of MB,
  // and time at every start). A user's own GDK_GL setting is kept.
  g_setenv("GDK_GL", "disable", FALSE);
  if (!gtk_init_check(&argc, &argv)) {
    std::fprintf(stderr, "zorelcontrol: there is no display to open the window on (DISPLAY or "
                         "WAYLAND_DISPLAY); zorelctl works without one\n");
    return 1;
  }
  g_set_application_name("ZorelControl");
  gtk_window_set_default_icon_name("zorelcontrol");
  // One process at a time on a library: zorelctl takes the same lock.
  lib::LibraryLock libraryLock(LibraryCache::DefaultRoot());
  if (!libraryLock.TryAcquire()) {
    const std::string message = libraryLock.Message();
    std::fprintf(stderr, "zorelcontrol: %s\n", message.c_str());
    GtkWidget* box = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR,
                                            GTK_BUTTONS_OK, "%s", message.c_str());
    gtk_window_set_title(GTK_WINDOW(box), "");
    gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
    return 1;
  }
  return RunWindow(*options, instance, factory);
}

} // namespace zorel::window

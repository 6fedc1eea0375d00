#include "app/window/MonitorWindow.h"

#include <cstdio>
#include <fstream>

#include "app/window/ModalWait.h"

namespace zorel::window {

namespace {

enum Column { kColTime, kColDirection, kColLength, kColText, kColumns };

constexpr const char* kTextFilter = "*.txt";

GtkWidget* AddColumn(GtkWidget* view, const char* title, int column, float align) {
  GtkCellRenderer* cell = gtk_cell_renderer_text_new();
  g_object_set(cell, "xalign", align, "family", "Monospace", nullptr);
  GtkTreeViewColumn* c =
      gtk_tree_view_column_new_with_attributes(title, cell, "text", column, nullptr);
  gtk_tree_view_column_set_resizable(c, TRUE);
  gtk_tree_view_append_column(GTK_TREE_VIEW(view), c);
  return view;
}

} // namespace

MonitorWindow::~MonitorWindow() {
  Close();
}

void MonitorWindow::Open(GtkWindow* parent) {
  if (mWindow != nullptr) {
    gtk_window_present(GTK_WINDOW(mWindow));
    return;
  }
  mWindow = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(mWindow), kMonitorTitle);
  gtk_window_set_default_size(GTK_WINDOW(mWindow), 640, 420);
  if (parent != nullptr) gtk_window_set_transient_for(GTK_WINDOW(mWindow), parent);
  g_signal_connect(mWindow, "delete-event", G_CALLBACK(OnDelete), this);
  // Ctrl+W closes the monitor, as it closes a secondary window elsewhere.
  g_signal_connect(mWindow, "key-press-event",
                   G_CALLBACK(+[](GtkWidget*, GdkEventKey* key, gpointer self) -> gboolean {
                     if ((key->state & GDK_CONTROL_MASK) == 0 ||
                         gdk_keyval_to_lower(key->keyval) != GDK_KEY_w)
                       return FALSE;
                     static_cast<MonitorWindow*>(self)->Close();
                     return TRUE;
                   }),
                   this);

  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 4);
  gtk_container_set_border_width(GTK_CONTAINER(box), 6);
  GtkWidget* buttons = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
  mPauseButton = gtk_toggle_button_new_with_mnemonic("_Pause");
  GtkWidget* clear = gtk_button_new_with_mnemonic("_Clear");
  GtkWidget* save = gtk_button_new_with_mnemonic("_Save...");
  g_signal_connect(mPauseButton, "toggled", G_CALLBACK(+[](GtkToggleButton* b, gpointer self) {
                     static_cast<MonitorWindow*>(self)->SetPaused(gtk_toggle_button_get_active(b));
                   }),
                   this);
  g_signal_connect(clear, "clicked", G_CALLBACK(+[](GtkButton*, gpointer self) {
                     static_cast<MonitorWindow*>(self)->Clear();
                   }),
                   this);
  g_signal_connect(save, "clicked", G_CALLBACK(+[](GtkButton*, gpointer self) {
                     static_cast<MonitorWindow*>(self)->AskAndSave();
                   }),
                   this);
  mStatus = gtk_label_new("");
  gtk_widget_set_halign(mStatus, GTK_ALIGN_END);
  gtk_box_pack_start(GTK_BOX(buttons), mPauseButton, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(buttons), clear, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(buttons), save, FALSE, FALSE, 0);
  gtk_box_pack_end(GTK_BOX(buttons), mStatus, FALSE, FALSE, 0);

  mStore = gtk_list_store_new(kColumns, G_TYPE_STRING, G_TYPE_STRING, G_TYPE_STRING, G_TYPE_STRING);
  mView = gtk_tree_view_new_with_model(GTK_TREE_MODEL(mStore));
  AddColumn(mView, "Time (s)", kColTime, 1.0f);
  AddColumn(mView, "Dir", kColDirection, 0.0f);
  AddColumn(mView, "Bytes", kColLength, 1.0f);
  AddColumn(mView, "Message", kColText, 0.0f);
  GtkWidget* scroll = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroll), GTK_POLICY_AUTOMATIC,
                                 GTK_POLICY_AUTOMATIC);
  gtk_container_add(GTK_CONTAINER(scroll), mView);
  gtk_box_pack_start(GTK_BOX(box), buttons, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), scroll, TRUE, TRUE, 0);
  gtk_container_add(GTK_CONTAINER(mWindow), box);

  mFormatter.Reset();
  // Started already when the window was asked for at start-up, so that the
  // first messages of the connection are kept.
  if (!mHost.Traffic().Active()) mHost.Traffic().Start();
  mTimer = g_timeout_add(kRefreshMs, &MonitorWindow::OnTimer, this);
  UpdateStatus();
  gtk_widget_show_all(mWindow);
}

void MonitorWindow::Close() {
  if (mWindow == nullptr) return;
  // Nothing is logged any more: the ports are back to their bare cost.
  mHost.Traffic().Stop();
  g_source_remove(mTimer);
  mTimer = 0;
  gtk_widget_destroy(mWindow);
  g_object_unref(mStore);
  mWindow = nullptr;
  mStore = nullptr;
  mView = mPauseButton = mStatus = nullptr;
  mLines.clear();
  mHeld.clear();
  mPaused = false;
}

gboolean MonitorWindow::OnDelete(GtkWidget*, GdkEvent*, gpointer self) {
  static_cast<MonitorWindow*>(self)->Close();
  return TRUE;
}

gboolean MonitorWindow::OnTimer(gpointer self) {
  static_cast<MonitorWindow*>(self)->Refresh();
  return G_SOURCE_CONTINUE;
}

void MonitorWindow::Refresh() {
  if (mWindow == nullptr) return;
  const std::vector<TrafficLog::Entry> entries = mHost.Traffic().Take();
  if (entries.empty()) return;
  for (const TrafficLog::Entry& entry : entries) {
    std::string line = mFormatter.Line(entry);
    if (mPaused)
      mHeld.push_back(std::move(line));
    else
      AddRow(line);
  }
  if (!mPaused) {
    // Follow the newest row.
    GtkTreeIter last;
    const int rows = gtk_tree_model_iter_n_children(GTK_TREE_MODEL(mStore), nullptr);
    if (rows > 0 &&
        gtk_tree_model_iter_nth_child(GTK_TREE_MODEL(mStore), &last, nullptr, rows - 1)) {
      GtkTreePath* path = gtk_tree_model_get_path(GTK_TREE_MODEL(mStore), &last);
      gtk_tree_view_scroll_to_cell(GTK_TREE_VIEW(mView), path, nullptr, FALSE, 0, 0);
      gtk_tree_path_free(path);
    }
  }
  UpdateStatus();
}

void MonitorWindow::AddRow(const std::string& line) {
  // The line's own columns: seconds, direction, length, then the words.
  double seconds = 0;
  char direction[8] = {};
  size_t length = 0;
  int textAt = 0;
  if (std::sscanf(line.c_str(), "%lf %7s %zu %n", &seconds, direction, &length, &textAt) < 3)
    return;
  char time[32];
  std::snprintf(time, sizeof time, "%.3f", seconds);
  const std::string bytes = std::to_string(length);
  GtkTreeIter row;
  gtk_list_store_append(mStore, &row);
  gtk_list_store_set(mStore, &row, kColTime, time, kColDirection, direction, kColLength,
                     bytes.c_str(), kColText, line.c_str() + textAt, -1);
  mLines.push_back(line);
  if (mLines.size() > kMaxRows) {
    mLines.pop_front();
    GtkTreeIter first;
    if (gtk_tree_model_get_iter_first(GTK_TREE_MODEL(mStore), &first))
      gtk_list_store_remove(mStore, &first);
  }
}

void MonitorWindow::SetPaused(bool paused) {
  if (mWindow == nullptr || paused == mPaused) return;
  mPaused = paused;
  if (gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(mPauseButton)) != paused)
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(mPauseButton), paused);
  gtk_button_set_label(GTK_BUTTON(mPauseButton), paused ? "_Resume" : "_Pause");
  gtk_button_set_use_underline(GTK_BUTTON(mPauseButton), TRUE);
  if (!paused) {
    std::vector<std::string> held;
    held.swap(mHeld);
    for (const std::string& line : held) AddRow(line);
  }
  UpdateStatus();
}

void MonitorWindow::Clear() {
  if (mWindow == nullptr) return;
  gtk_list_store_clear(mStore);
  mLines.clear();
  mHeld.clear();
  UpdateStatus();
}

void MonitorWindow::UpdateStatus() {
  if (mStatus == nullptr) return;
  char text[96];
  if (mPaused)
    std::snprintf(text, sizeof text, "%zu messages, paused (%zu new)", mLines.size(), mHeld.size());
  else
    std::snprintf(text, sizeof text, "%zu messages", mLines.size());
  gtk_label_set_text(GTK_LABEL(mStatus), text);
}

bool MonitorWindow::SaveTo(const std::string& path, std::string& error) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (const std::string& line : mLines) out << line << '\n';
  out.close();
  if (!out) {
    error = "The file \"" + path + "\" could not be written.";
    return false;
  }
  return true;
}

void MonitorWindow::AskAndSave() {
  GtkWidget* chooser = gtk_file_chooser_dialog_new(
      "Save MIDI Monitor", GTK_WINDOW(mWindow), GTK_FILE_CHOOSER_ACTION_SAVE, "_Cancel",
      GTK_RESPONSE_CANCEL, "_Save", GTK_RESPONSE_ACCEPT, nullptr);
  gtk_file_chooser_set_do_overwrite_confirmation(GTK_FILE_CHOOSER(chooser), TRUE);
  gtk_file_chooser_set_current_name(GTK_FILE_CHOOSER(chooser), "midi-monitor.txt");
  GtkFileFilter* filter = gtk_file_filter_new();
  gtk_file_filter_set_name(filter, "Text files (*.txt)");
  gtk_file_filter_add_pattern(filter, kTextFilter);
  gtk_file_chooser_add_filter(GTK_FILE_CHOOSER(chooser), filter);
  const int response = ModalWait::RunDialog(GTK_DIALOG(chooser));
  gchar* file = response == GTK_RESPONSE_ACCEPT
                    ? gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser))
                    : nullptr;
  gtk_widget_destroy(chooser);
  if (file == nullptr || mWindow == nullptr) {
    g_free(file);
    return;
  }
  std::string error;
  if (!SaveTo(file, error)) {
    GtkWidget* box = gtk_message_dialog_new(GTK_WINDOW(mWindow), GTK_DIALOG_MODAL,
                                            GTK_MESSAGE_ERROR, GTK_BUTTONS_OK, "%s", error.c_str());
    gtk_window_set_title(GTK_WINDOW(box), "");
    ModalWait::RunDialog(GTK_DIALOG(box));
    gtk_widget_destroy(box);
  }
  g_free(file);
}

} // namespace zorel::window

#include "app/window/SnapshotsDialog.h"

#include <string>
#include <vector>

#include "app/host/AppHost.h"
#include "app/window/ModalWait.h"
#include "library/BulkFile.h"
#include "library/Snapshots.h"
#include "protocol/codec/SnapshotImage.h"

namespace zorel::window {

namespace {

constexpr int kResponseRestore = 1;

std::string Held(const lib::SnapshotStore& store, const lib::SnapshotInfo& info) {
  const auto bytes = store.Read(info, 2 * lib::kBulkFileMaxSize);
  if (!bytes) return "unreadable";
  const SnapshotParts parts = SplitSnapshotImage(*bytes);
  if (!parts.ok) return "damaged";
  if (parts.WholePedal())
    return "128 presets, " + std::to_string(parts.irNumbers.size()) + " user IRs, global settings";
  return std::to_string(parts.slots.size()) + " preset(s), " +
         std::to_string(parts.irNumbers.size()) + " user IR(s)";
}

struct LinkCheckView {
  AppHost* host = nullptr;
  GtkWidget* button = nullptr;
  GtkWidget* result = nullptr;
};

gboolean PollLinkCheck(gpointer data) {
  auto* view = static_cast<LinkCheckView*>(data);
  ZorelControl& editor = view->host->Editor();
  std::string report;
  {
    std::lock_guard<iplug::EditorLock> lock(editor.EditorLock());
    if (!editor.Doctor().Done()) return G_SOURCE_CONTINUE;
    report = editor.Doctor().Report();
  }
  gtk_label_set_text(GTK_LABEL(view->result), report.c_str());
  gtk_widget_set_sensitive(view->button, TRUE);
  g_object_unref(view->result);
  g_object_unref(view->button);
  delete view;
  return G_SOURCE_REMOVE;
}

void OnCheckLink(GtkButton* button, gpointer data) {
  auto* host = static_cast<AppHost*>(data);
  GtkWidget* result = GTK_WIDGET(g_object_get_data(G_OBJECT(button), "result"));
  bool started = false;
  {
    ZorelControl& editor = host->Editor();
    std::lock_guard<iplug::EditorLock> lock(editor.EditorLock());
    started = editor.StartLinkCheck();
  }
  if (!started) {
    gtk_label_set_text(GTK_LABEL(result),
                       "The pedal is busy; try again when the transfer has ended.");
    return;
  }
  gtk_label_set_text(GTK_LABEL(result), "Checking the MIDI link...");
  gtk_widget_set_sensitive(GTK_WIDGET(button), FALSE);
  // Held until the check ends, even when the dialog goes first.
  auto* view =
      new LinkCheckView{host, GTK_WIDGET(g_object_ref(button)), GTK_WIDGET(g_object_ref(result))};
  g_timeout_add(200, PollLinkCheck, view);
}

} // namespace

void RunSnapshotsDialog(GtkWindow* parent, AppHost& host) {
  ZorelControl& editor = host.Editor();
  const lib::SnapshotStore store(editor.Library().Root());
  std::vector<lib::SnapshotInfo> all = store.List();

  GtkWidget* dialog = gtk_dialog_new_with_buttons(
      "Snapshots", parent,
      static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT), "Restore",
      kResponseRestore, "Close", GTK_RESPONSE_CLOSE, nullptr);
  GtkWidget* content = gtk_dialog_get_content_area(GTK_DIALOG(dialog));
  gtk_container_set_border_width(GTK_CONTAINER(content), 8);
  const std::string intro = all.empty()
                                ? "No snapshots yet. One is written before every import, "
                                  "restore, store, factory reset and firmware update."
                                : "What the pedal held before each operation (newest first):";
  GtkWidget* label = gtk_label_new(intro.c_str());
  gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
  gtk_box_pack_start(GTK_BOX(content), label, FALSE, FALSE, 4);
  GtkWidget* list = gtk_list_box_new();
  for (auto it = all.rbegin(); it != all.rend(); ++it) {
    const std::string row = it->when + "   " + it->operation + "   " + Held(store, *it);
    GtkWidget* text = gtk_label_new(row.c_str());
    gtk_label_set_xalign(GTK_LABEL(text), 0.0f);
    gtk_list_box_insert(GTK_LIST_BOX(list), text, -1);
  }
  GtkWidget* scroll = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_widget_set_size_request(scroll, 560, 320);
  gtk_container_add(GTK_CONTAINER(scroll), list);
  gtk_box_pack_start(GTK_BOX(content), scroll, TRUE, TRUE, 0);
  gtk_dialog_set_response_sensitive(GTK_DIALOG(dialog), kResponseRestore, !all.empty());
  gtk_widget_show_all(dialog);

  const int response = ModalWait::RunDialog(GTK_DIALOG(dialog));
  std::string chosen;
  if (response == kResponseRestore) {
    GtkListBoxRow* row = gtk_list_box_get_selected_row(GTK_LIST_BOX(list));
    if (row != nullptr) {
      const int index = gtk_list_box_row_get_index(row);
      chosen = all[all.size() - 1 - static_cast<size_t>(index)].name;
    }
  }
  gtk_widget_destroy(dialog);
  if (chosen.empty()) return;
  // The editor asks before anything is sent, and takes a snapshot first.
  editor.RestoreSnapshot(chosen);
}

GtkWidget* LinkCheckPanel(AppHost& host) {
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 4);
  GtkWidget* button = gtk_button_new_with_mnemonic("Check MIDI _Link");
  gtk_widget_set_halign(button, GTK_ALIGN_START);
  GtkWidget* result = gtk_label_new("Sends a few harmless requests and counts the replies.");
  gtk_label_set_xalign(GTK_LABEL(result), 0.0f);
  gtk_label_set_line_wrap(GTK_LABEL(result), TRUE);
  gtk_label_set_max_width_chars(GTK_LABEL(result), 48);
  g_object_set_data(G_OBJECT(button), "result", result);
  g_signal_connect(button, "clicked", G_CALLBACK(OnCheckLink), &host);
  gtk_box_pack_start(GTK_BOX(box), button, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), result, FALSE, FALSE, 0);
  return box;
}

} // namespace zorel::window

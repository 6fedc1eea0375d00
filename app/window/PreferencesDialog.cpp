#include "app/window/PreferencesDialog.h"

#include "app/window/ModalWait.h"
#include "app/window/SnapshotsDialog.h"

namespace zorel::window {

namespace {

constexpr int kResponseApply = 40024;

struct PortList {
  AppHost* host;
  MidiDirection direction;
  bool filling = true; // selections made while the list is filled are not the user's
  GtkWidget* combo = nullptr;
};

int RowOf(const std::vector<std::string>& names, const std::string& name) {
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i] == name) return static_cast<int>(i);
  return 0;
}

void Refill(PortList& list, const std::vector<std::string>& names, const std::string& chosen) {
  list.filling = true;
  gtk_combo_box_text_remove_all(GTK_COMBO_BOX_TEXT(list.combo));
  for (const std::string& name : names)
    gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(list.combo), name.c_str());
  if (!names.empty()) gtk_combo_box_set_active(GTK_COMBO_BOX(list.combo), RowOf(names, chosen));
  list.filling = false;
}

struct FindButton {
  PortList* input;
  PortList* output;
};

// Find Pedal: the search, then both lists show the ports in use (the pair
// found, or what was open before when nothing answered).
void OnFindPedal(GtkButton*, gpointer data) {
  auto* find = static_cast<FindButton*>(data);
  AppHost& host = *find->input->host;
  GtkWidget* top = gtk_widget_get_toplevel(find->input->combo);
  GdkWindow* window = gtk_widget_get_window(top);
  GdkCursor* busy = nullptr;
  if (window != nullptr) {
    busy = gdk_cursor_new_from_name(gdk_window_get_display(window), "wait");
    gdk_window_set_cursor(window, busy);
    gdk_display_flush(gdk_window_get_display(window));
  }
  const bool found = host.FindPedal(AppHost::FindMode::kOnDemand);
  if (window != nullptr) gdk_window_set_cursor(window, nullptr);
  if (busy != nullptr) g_object_unref(busy);
  if (!found) return;
  Refill(*find->input, host.MidiInNames(), host.OpenMidiInPort());
  Refill(*find->output, host.MidiOutNames(), host.OpenMidiOutPort());
}

void OnPortChosen(GtkComboBox* combo, gpointer data) {
  auto* list = static_cast<PortList*>(data);
  if (list->filling) return;
  gchar* text = gtk_combo_box_text_get_active_text(GTK_COMBO_BOX_TEXT(combo));
  if (text == nullptr) return;
  list->host->ChoosePreferencesPort(list->direction, text);
  g_free(text);
}

GtkWidget* PortCombo(const std::vector<std::string>& names, int row, PortList& list) {
  GtkWidget* combo = gtk_combo_box_text_new();
  for (const std::string& name : names)
    gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(combo), name.c_str());
  if (!names.empty()) gtk_combo_box_set_active(GTK_COMBO_BOX(combo), row);
  gtk_widget_set_size_request(combo, 270, -1);
  g_signal_connect(combo, "changed", G_CALLBACK(OnPortChosen), &list);
  list.filling = false;
  list.combo = combo;
  return combo;
}

GtkWidget* Label(const char* text) {
  GtkWidget* label = gtk_label_new(text);
  gtk_widget_set_halign(label, GTK_ALIGN_START);
  return label;
}

} // namespace

bool RunPreferencesDialog(GtkWindow* parent, AppHost& host) {
  const AppHost::PreferenceRows rows = host.BeginPreferences();
  PortList input{&host, MidiDirection::kInput};
  PortList output{&host, MidiDirection::kOutput};
  // Without both MIDI objects the lists stay empty.
  const bool midi = host.HasMidiIn() && host.HasMidiOut();
  const std::vector<std::string> none;

  GtkWidget* dialog = gtk_dialog_new_with_buttons(
      kPreferencesTitle, parent,
      static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT), "Apply",
      kResponseApply, "OK", GTK_RESPONSE_OK, "Cancel", GTK_RESPONSE_CANCEL, nullptr);
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
  gtk_window_set_resizable(GTK_WINDOW(dialog), FALSE);

  GtkWidget* frame = gtk_frame_new(kPreferencesGroup);
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 4);
  gtk_container_set_border_width(GTK_CONTAINER(box), 12);
  gtk_box_pack_start(GTK_BOX(box), Label(kPreferencesInput), FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), PortCombo(midi ? host.MidiInNames() : none, rows.input, input),
                     FALSE, FALSE, 0);
  GtkWidget* outputLabel = Label(kPreferencesOutput);
  gtk_widget_set_margin_top(outputLabel, 8);
  gtk_box_pack_start(GTK_BOX(box), outputLabel, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box),
                     PortCombo(midi ? host.MidiOutNames() : none, rows.output, output), FALSE,
                     FALSE, 0);
  // Asks every port for the pedal; the pair that answers is chosen and saved.
  FindButton find{&input, &output};
  GtkWidget* findButton = gtk_button_new_with_mnemonic(kPreferencesFindPedal);
  gtk_widget_set_margin_top(findButton, 8);
  gtk_widget_set_halign(findButton, GTK_ALIGN_START);
  gtk_widget_set_sensitive(findButton, midi);
  g_signal_connect(findButton, "clicked", G_CALLBACK(OnFindPedal), &find);
  gtk_box_pack_start(GTK_BOX(box), findButton, FALSE, FALSE, 0);
  gtk_container_add(GTK_CONTAINER(frame), box);
  GtkWidget* content = gtk_dialog_get_content_area(GTK_DIALOG(dialog));
  gtk_container_set_border_width(GTK_CONTAINER(content), 8);
  gtk_box_pack_start(GTK_BOX(content), frame, TRUE, TRUE, 0);
  GtkWidget* check = LinkCheckPanel(host);
  gtk_widget_set_margin_top(check, 8);
  gtk_box_pack_start(GTK_BOX(content), check, FALSE, FALSE, 0);
  gtk_widget_show_all(dialog);

  int response = GTK_RESPONSE_NONE;
  for (;;) {
    response = ModalWait::RunDialog(GTK_DIALOG(dialog));
    if (response != kResponseApply) break;
    host.ApplyPreferences();
  }
  // The lists must not report once the dialog is going.
  input.filling = output.filling = true;
  gtk_widget_destroy(dialog);
  if (response == GTK_RESPONSE_OK) {
    host.AcceptPreferences();
    return true;
  }
  host.CancelPreferences();
  return false;
}

} // namespace zorel::window

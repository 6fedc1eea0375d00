#include "app/window/GtkModalServices.h"

#include <sys/stat.h>

#include "app/window/FileFilters.h"
#include "app/window/ModalWait.h"

namespace zorel::window {

using zorel::FileAction;
using zorel::MessageBoxResult;
using zorel::MessageBoxType;

namespace {

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

GtkModalServices::~GtkModalServices() = default;

void GtkModalServices::SetSurface(SurfaceView* view) {
  if (mPrompts) mPrompts->CancelAll();
  mPrompts.reset();
  if (view != nullptr) mPrompts = std::make_unique<SurfacePrompts>(*view);
}

MessageBoxResult GtkModalServices::ShowMessageDialog(const std::string& text,
                                                     const std::string& caption,
                                                     MessageBoxType type) {
  GtkWidget* dialog = gtk_message_dialog_new(
      mParent, static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
      GTK_MESSAGE_OTHER, GTK_BUTTONS_NONE, "%s", text.c_str());
  if (type == MessageBoxType::kOKCancel)
    gtk_dialog_add_button(GTK_DIALOG(dialog), "Cancel", GTK_RESPONSE_CANCEL);
  gtk_dialog_add_button(GTK_DIALOG(dialog), "OK", GTK_RESPONSE_OK);
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
  gtk_window_set_title(GTK_WINDOW(dialog), caption.c_str());
  if (mParent == nullptr) gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
  const int response = ModalWait::RunDialog(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  // A box closed by its window's close button answers as Cancel would; an
  // OK box has only the one answer.
  if (type == MessageBoxType::kOK) return MessageBoxResult::kOK;
  return response == GTK_RESPONSE_OK ? MessageBoxResult::kOK : MessageBoxResult::kCancel;
}

void GtkModalServices::ChooseFileDialog(std::string& fileName, std::string& folder,
                                        FileAction action, const std::string& extensions) {
  const bool save = action == FileAction::kSave;
  const std::vector<std::string> exts = SplitExtensions(extensions);
  GtkWidget* dialog = gtk_file_chooser_dialog_new(
      save ? "Save" : "Open", mParent,
      save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN, "_Cancel",
      GTK_RESPONSE_CANCEL, save ? "_Save" : "_Open", GTK_RESPONSE_ACCEPT, nullptr);
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
  gtk_file_chooser_set_local_only(chooser, TRUE);
  gtk_file_chooser_set_do_overwrite_confirmation(chooser, save ? TRUE : FALSE);
  if (!exts.empty()) {
    GtkFileFilter* filter = gtk_file_filter_new();
    gtk_file_filter_set_name(filter, FilterName(exts).c_str());
    for (const std::string& e : exts)
      gtk_file_filter_add_pattern(filter, ExtensionPattern(e).c_str());
    gtk_file_chooser_add_filter(chooser, filter);
    gtk_file_chooser_set_filter(chooser, filter);
  }
  // With no folder of its own the chooser opens "Recent", which without a
  // session's file services only reports that it cannot be shown: the home
  // folder instead.
  std::string startFolder = IsFolder(folder) ? folder : FolderOf(fileName);
  if (!IsFolder(startFolder)) startFolder = g_get_home_dir();
  if (IsFolder(startFolder)) gtk_file_chooser_set_current_folder(chooser, startFolder.c_str());
  if (save && !fileName.empty()) {
    gtk_file_chooser_set_current_name(chooser, BaseName(fileName).c_str());
  } else if (!save && FileExists(fileName)) {
    gtk_file_chooser_set_filename(chooser, fileName.c_str());
  }

  std::string chosen;
  while (ModalWait::RunDialog(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
    gchar* path = gtk_file_chooser_get_filename(chooser);
    if (path == nullptr) break;
    chosen = path;
    g_free(path);
    if (!save) break;
    // GTK asked about the name as typed; a name that only now receives its
    // extension is asked about here.
    const std::string withExtension = WithDefaultExtension(chosen, exts);
    if (withExtension == chosen || !FileExists(withExtension)) {
      chosen = withExtension;
      break;
    }
    const std::string question = "A file named \"" + BaseName(withExtension) +
                                 "\" already exists. Do you want to replace it?";
    if (ShowMessageDialog(question, "", MessageBoxType::kOKCancel) == MessageBoxResult::kOK) {
      chosen = withExtension;
      break;
    }
    chosen.clear();
  }
  gtk_widget_destroy(dialog);
  fileName = chosen;
  if (!chosen.empty()) folder = FolderOf(chosen);
}

void GtkModalServices::ShowPopupMenu(const igraphics::IPopupMenu& menu,
                                     const igraphics::Rect& anchor, MenuCompletion done) {
  if (!mPrompts) {
    if (done) done(-1);
    return;
  }
  mPrompts->ShowPopupMenu(menu, anchor, std::move(done));
}

void GtkModalServices::ShowTextEntry(const igraphics::TextStyle& style,
                                     const igraphics::Rect& bounds, const std::string& initialText,
                                     TextCompletion done) {
  if (!mPrompts) {
    if (done) done(false, {});
    return;
  }
  mPrompts->ShowTextEntry(style, bounds, initialText, std::move(done));
}

} // namespace zorel::window

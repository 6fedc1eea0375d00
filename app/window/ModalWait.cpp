#include "app/window/ModalWait.h"

#include <optional>

namespace zorel::window {

iplug::EditorLock* ModalWait::sLock = nullptr;
std::vector<GtkDialog*> ModalWait::sOpen;
void (*ModalWait::sOnAllAnswered)(void*) = nullptr;
void* ModalWait::sHookData = nullptr;

int ModalWait::RunDialog(GtkDialog* dialog) {
  sOpen.push_back(dialog);
  int response = GTK_RESPONSE_NONE;
  {
    std::optional<iplug::EditorLockRelease> release;
    if (sLock != nullptr) release.emplace(*sLock);
    response = gtk_dialog_run(dialog);
  }
  sOpen.pop_back();
  if (sOpen.empty() && sOnAllAnswered != nullptr) sOnAllAnswered(sHookData);
  return response;
}

} // namespace zorel::window

namespace zorel::window {

void ModalWait::CancelAll() {
  for (auto it = sOpen.rbegin(); it != sOpen.rend(); ++it)
    gtk_dialog_response(*it, GTK_RESPONSE_DELETE_EVENT);
}

} // namespace zorel::window

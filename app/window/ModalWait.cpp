#include "app/window/ModalWait.h"

#include <optional>

namespace zorel::window {

iplug::EditorLock* ModalWait::sLock = nullptr;
int ModalWait::sDepth = 0;
void (*ModalWait::sOnAllAnswered)(void*) = nullptr;
void* ModalWait::sHookData = nullptr;

int ModalWait::RunDialog(GtkDialog* dialog) {
  ++sDepth;
  int response = GTK_RESPONSE_NONE;
  {
    std::optional<iplug::EditorLockRelease> release;
    if (sLock != nullptr) release.emplace(*sLock);
    response = gtk_dialog_run(dialog);
  }
  --sDepth;
  if (sDepth == 0 && sOnAllAnswered != nullptr) sOnAllAnswered(sHookData);
  return response;
}

} // namespace zorel::window

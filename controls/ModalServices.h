#pragma once

#include <functional>
#include <string>

#include "controls/IPopupMenu.h"
#include "plugin/IModalServices.h"
#include "render/Rect.h"
#include "render/TextStyle.h"

namespace igraphics {

// Every modal service of the control surface behind one interface: the
// message boxes and file prompts that the library and protocol code use
// (zorel::IModalServices), plus the popup menus and text entry that the
// controls open. The window implements it with GTK; headless runs and tests
// use ScriptedModalServices.
//
// Menus and text entry answer through a completion that may run during the
// call (a script, a modal dialog) or later from the event loop (a popup
// that stays open). A completion that never runs leaves the request open;
// the graphics context then keeps other controls from the mouse until the
// request is answered.
class IControlModalServices : public zorel::IModalServices {
public:
  // `chosen` is the index of the chosen item, or -1 when the menu was
  // dismissed.
  using MenuCompletion = std::function<void(int chosen)>;
  // `committed` is false when the entry was cancelled.
  using TextCompletion = std::function<void(bool committed, const std::string& text)>;

  // A popup menu of `menu`'s items next to `anchor` (surface units).
  virtual void ShowPopupMenu(const IPopupMenu& menu, const Rect& anchor, MenuCompletion done) = 0;
  // A one-line text field over `bounds` holding `initialText`.
  virtual void ShowTextEntry(const TextStyle& style, const Rect& bounds,
                             const std::string& initialText, TextCompletion done) = 0;
};

} // namespace igraphics

#pragma once

#include <gtk/gtk.h>

#include <memory>

#include "app/window/SurfacePrompts.h"
#include "controls/ModalServices.h"

namespace zorel::window {

// Every modal service of the editor and its surface on GTK: message boxes
// and file choosers that answer before they return (ModalWait.h says what
// runs meanwhile), and the prompts over the surface that answer later.
// User-interface thread only. Before the main window exists (a message at
// start-up) the dialogs have no parent; without a surface the prompts
// answer "nothing chosen" at once.
class GtkModalServices : public igraphics::IControlModalServices {
public:
  GtkModalServices() = default;
  ~GtkModalServices() override;

  void SetParent(GtkWindow* parent) { mParent = parent; }
  void SetSurface(SurfaceView* view);
  SurfacePrompts* Prompts() const { return mPrompts.get(); }

  zorel::MessageBoxResult ShowMessageDialog(const std::string& text, const std::string& caption,
                                            zorel::MessageBoxType type) override;
  void ChooseFileDialog(std::string& fileName, std::string& folder, zorel::FileAction action,
                        const std::string& extensions) override;
  void ShowPopupMenu(const igraphics::IPopupMenu& menu, const igraphics::Rect& anchor,
                     MenuCompletion done) override;
  void ShowTextEntry(const igraphics::TextStyle& style, const igraphics::Rect& bounds,
                     const std::string& initialText, TextCompletion done) override;

private:
  GtkWindow* mParent = nullptr;
  std::unique_ptr<SurfacePrompts> mPrompts;
};

} // namespace zorel::window

#pragma once

// The modal dialogs of the control surface that code outside it needs:
// message boxes and file prompts. The window implements them with GTK
// dialogs; headless runs and tests answer from a script.

#include <string>

namespace zorel {

enum class MessageBoxType { kOK = 0, kOKCancel = 1 };
enum class MessageBoxResult { kOK = 1, kCancel = 2 };
enum class FileAction { kOpen = 0, kSave = 1 };

class IModalServices {
public:
  virtual ~IModalServices() = default;

  // A modal box with `text` (UTF-8) and `caption` (empty for every box the
  // library shows); returns once the user has answered.
  virtual MessageBoxResult ShowMessageDialog(const std::string& text, const std::string& caption,
                                             MessageBoxType type) = 0;

  // A file prompt. `fileName` and `folder` go in as the initial name and
  // folder and come out as the chosen full path and its folder; on cancel
  // `fileName` comes out empty. `extensions` is a space-separated list such
  // as "q3p"; the first is the default. Saving asks before overwriting.
  virtual void ChooseFileDialog(std::string& fileName, std::string& folder, FileAction action,
                                const std::string& extensions) = 0;
};

} // namespace zorel

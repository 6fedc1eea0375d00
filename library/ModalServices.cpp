#include "library/ModalServices.h"

#include "library/LibraryPaths.h"

namespace zorel::lib {

MessageBoxResult QueuedModalServices::ShowMessageDialog(const std::string& text,
                                                        const std::string& caption,
                                                        MessageBoxType type) {
  mMessages.push_back({text, type});
  // A plain message box has nothing to answer; only confirmations take
  // from the queue.
  if (type == MessageBoxType::kOK || mAnswers.empty()) return MessageBoxResult::kOK;
  const MessageBoxResult answer = mAnswers.front();
  mAnswers.pop_front();
  return answer;
}

void QueuedModalServices::ChooseFileDialog(std::string& fileName, std::string& folder,
                                           FileAction action, const std::string& extensions) {
  mPrompts.push_back({fileName, folder, action, extensions});
  std::string chosen;
  if (!mFiles.empty()) {
    chosen = std::move(mFiles.front());
    mFiles.pop_front();
  }
  fileName = chosen;
  if (!chosen.empty()) folder = FolderPart(chosen);
}

} // namespace zorel::lib

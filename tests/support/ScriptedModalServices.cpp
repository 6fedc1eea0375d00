#include "tests/support/ScriptedModalServices.h"

#include <utility>

namespace zorel::test {

using zorel::FileAction;
using zorel::MessageBoxResult;
using zorel::MessageBoxType;

MessageBoxResult ScriptedModalServices::ShowMessageDialog(const std::string& text,
                                                          const std::string& caption,
                                                          MessageBoxType type) {
  mMessages.push_back({text, caption, type});
  // A plain box has only one answer; only confirmations take from the queue.
  if (type == MessageBoxType::kOK) return MessageBoxResult::kOK;
  if (mAnswers.empty()) return mDefaultConfirmation;
  const MessageBoxResult answer = mAnswers.front();
  mAnswers.pop_front();
  return answer;
}

void ScriptedModalServices::ChooseFileDialog(std::string& fileName, std::string& folder,
                                             FileAction action, const std::string& extensions) {
  mPrompts.push_back({fileName, folder, action, extensions});
  std::string chosen;
  if (!mFiles.empty()) {
    chosen = std::move(mFiles.front());
    mFiles.pop_front();
  }
  fileName = chosen;
  if (!chosen.empty()) {
    const size_t slash = chosen.find_last_of('/');
    folder = slash == std::string::npos ? std::string() : chosen.substr(0, slash + 1);
  }
}

void ScriptedModalServices::ShowPopupMenu(const IPopupMenu& menu, const Rect& anchor,
                                          MenuCompletion done) {
  MenuRequest request{{}, menu.CheckedIndex(), anchor};
  for (int i = 0; i < menu.NItems(); ++i) request.items.push_back(menu.GetItem(i).text);
  mMenus.push_back(std::move(request));
  if (!mMenuChoices.empty()) {
    const int choice = mMenuChoices.front();
    mMenuChoices.pop_front();
    done(choice);
  } else if (mHold) {
    mOpenMenu = std::move(done);
  } else {
    done(-1);
  }
}

void ScriptedModalServices::ShowTextEntry(const TextStyle& style, const Rect& bounds,
                                          const std::string& initialText, TextCompletion done) {
  mTextRequests.push_back({style, bounds, initialText});
  if (!mTexts.empty()) {
    std::optional<std::string> text = std::move(mTexts.front());
    mTexts.pop_front();
    done(text.has_value(), text.value_or(std::string()));
  } else if (mHold) {
    mOpenText = std::move(done);
  } else {
    done(false, {});
  }
}

bool ScriptedModalServices::AnswerMenu(int index) {
  if (!mOpenMenu) return false;
  MenuCompletion done = std::exchange(mOpenMenu, nullptr);
  done(index);
  return true;
}

bool ScriptedModalServices::AnswerText(std::optional<std::string> text) {
  if (!mOpenText) return false;
  TextCompletion done = std::exchange(mOpenText, nullptr);
  done(text.has_value(), text.value_or(std::string()));
  return true;
}

} // namespace zorel::test

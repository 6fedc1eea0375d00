#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "controls/ModalServices.h"

namespace zorel::test {

using igraphics::IPopupMenu;
using igraphics::Rect;
using igraphics::TextStyle;

// Modal services answered from a script, for the tests of every layer: the
// answers are queued in advance, and every request is recorded.
//
// Without a queued answer a plain message box answers OK, a confirmation
// answers the default confirmation (Cancel unless changed: an unattended run
// must not overwrite presets or the pedal's settings on its own), a file
// prompt is cancelled, a menu is dismissed and a text entry is cancelled.
// With HoldPrompts(true) menus and text entries stay open until
// AnswerMenu / AnswerText, as they do in a window.
class ScriptedModalServices final : public igraphics::IControlModalServices {
public:
  // `confirmation`: what an unanswered OK/Cancel box answers.
  explicit ScriptedModalServices(
      zorel::MessageBoxResult confirmation = zorel::MessageBoxResult::kCancel)
      : mDefaultConfirmation(confirmation) {}

  struct Message {
    std::string text;
    std::string caption;
    zorel::MessageBoxType type;
  };
  struct FilePrompt {
    std::string fileName; // as passed in
    std::string folder;
    zorel::FileAction action;
    std::string extensions;
  };
  struct MenuRequest {
    std::vector<std::string> items;
    int checked = -1;
    Rect anchor;
  };
  struct TextRequest {
    TextStyle style;
    Rect bounds;
    std::string initialText;
  };

  void QueueMessageAnswer(zorel::MessageBoxResult answer) { mAnswers.push_back(answer); }
  void SetDefaultConfirmation(zorel::MessageBoxResult answer) { mDefaultConfirmation = answer; }
  // The full path the next file prompt returns; "" cancels it.
  void QueueFile(std::string path) { mFiles.push_back(std::move(path)); }
  // The item index the next menu chooses; -1 dismisses it.
  void QueueMenuChoice(int index) { mMenuChoices.push_back(index); }
  // The text the next entry commits; nullopt cancels it.
  void QueueText(std::optional<std::string> text) { mTexts.push_back(std::move(text)); }

  void HoldPrompts(bool hold) { mHold = hold; }
  bool MenuOpen() const { return static_cast<bool>(mOpenMenu); }
  bool TextEntryOpen() const { return static_cast<bool>(mOpenText); }
  // Answer the open menu or entry; false when none is open.
  bool AnswerMenu(int index);
  bool AnswerText(std::optional<std::string> text);

  const std::vector<Message>& Messages() const { return mMessages; }
  void Clear() { mMessages.clear(); }
  const std::vector<FilePrompt>& FilePrompts() const { return mPrompts; }
  const std::vector<MenuRequest>& Menus() const { return mMenus; }
  const std::vector<TextRequest>& TextEntries() const { return mTextRequests; }

  zorel::MessageBoxResult ShowMessageDialog(const std::string& text, const std::string& caption,
                                            zorel::MessageBoxType type) override;
  void ChooseFileDialog(std::string& fileName, std::string& folder, zorel::FileAction action,
                        const std::string& extensions) override;
  void ShowPopupMenu(const IPopupMenu& menu, const Rect& anchor, MenuCompletion done) override;
  void ShowTextEntry(const TextStyle& style, const Rect& bounds, const std::string& initialText,
                     TextCompletion done) override;

private:
  std::deque<zorel::MessageBoxResult> mAnswers;
  zorel::MessageBoxResult mDefaultConfirmation;
  std::deque<std::string> mFiles;
  std::deque<int> mMenuChoices;
  std::deque<std::optional<std::string>> mTexts;
  bool mHold = false;
  MenuCompletion mOpenMenu;
  TextCompletion mOpenText;
  std::vector<Message> mMessages;
  std::vector<FilePrompt> mPrompts;
  std::vector<MenuRequest> mMenus;
  std::vector<TextRequest> mTextRequests;
};

} // namespace zorel::test

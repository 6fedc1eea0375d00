#pragma once

#include "plugin/IModalServices.h"

// The modal dialogs the library's file operations need: message boxes and
// file prompts. The control surface implements them with its native dialogs;
// headless runs and tests use QueuedModalServices, whose answers are set up
// in advance.

#include <deque>
#include <string>
#include <vector>

namespace zorel::lib {

// Answers queued in advance, in order; every request is recorded. An empty
// queue answers OK to boxes and cancels file prompts.
class QueuedModalServices final : public IModalServices {
public:
  struct Message {
    std::string text;
    MessageBoxType type;
  };
  struct FilePrompt {
    std::string fileName; // as passed in
    std::string folder;
    FileAction action;
    std::string extensions;
  };

  void QueueAnswer(MessageBoxResult answer) { mAnswers.push_back(answer); }
  // The full path the next file prompt returns; "" cancels it.
  void QueueFile(std::string path) { mFiles.push_back(std::move(path)); }

  const std::vector<Message>& Messages() const { return mMessages; }
  const std::vector<FilePrompt>& FilePrompts() const { return mPrompts; }

  MessageBoxResult ShowMessageDialog(const std::string& text, const std::string& caption,
                                     MessageBoxType type) override;
  void ChooseFileDialog(std::string& fileName, std::string& folder, FileAction action,
                        const std::string& extensions) override;

private:
  std::deque<MessageBoxResult> mAnswers;
  std::deque<std::string> mFiles;
  std::vector<Message> mMessages;
  std::vector<FilePrompt> mPrompts;
};

// Texts of the boxes, exactly as the user sees them.
inline constexpr const char* kMsgFinished = "Finished successfully!";
inline constexpr const char* kMsgUnknownFileFormat = "Unknown file format.";
inline constexpr const char* kMsgUnsupportedVersion =
    "Unsupported file version. \nPlease update the Zorel Editor \nto the latest version.";
inline constexpr const char* kMsgPresetNotSaved =
    "Current Preset not saved. \nContinue without saving?";
inline constexpr const char* kMsgOverwriteUserIR =
    "This operation will overwrite the currently selected User IR. \nContinue without saving?";
inline constexpr const char* kMsgOverwritePresets =
    "This operation will overwrite the current Presets!\nAre you sure to continue?";

} // namespace zorel::lib

#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "plugin/IModalServices.h"

namespace zorel::cli {

// The editor's message boxes and file prompts on a terminal. Every box's
// text is printed. An OK/Cancel box is answered OK only when the user gave
// --yes; otherwise its text is printed as what would be overwritten, the
// answer is Cancel and Refused() tells the command to stop. A file prompt is
// answered once with the path from the command line; saving over an
// existing file also needs --yes.
class ConsoleModal final : public IModalServices {
public:
  ConsoleModal(FILE* out, bool yes) : mOut(out), mYes(yes) {}

  // The path the next file prompt answers (once).
  void AnswerNextFilePrompt(std::string path) { mNextFile = std::move(path); }
  bool Refused() const { return mRefused; }
  void ClearRefused() { mRefused = false; }
  const std::vector<std::string>& Messages() const { return mMessages; }
  bool AssumesYes() const { return mYes; }
  // Where the boxes go; the device lines go there too.
  FILE* Out() const { return mOut; }

  MessageBoxResult ShowMessageDialog(const std::string& text, const std::string& caption,
                                     MessageBoxType type) override;
  void ChooseFileDialog(std::string& fileName, std::string& folder, FileAction action,
                        const std::string& extensions) override;

private:
  FILE* mOut;
  bool mYes;
  bool mRefused = false;
  std::string mNextFile;
  std::vector<std::string> mMessages;
};

} // namespace zorel::cli

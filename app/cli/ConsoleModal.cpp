#include "app/cli/ConsoleModal.h"

#include <filesystem>

namespace zorel::cli {

MessageBoxResult ConsoleModal::ShowMessageDialog(const std::string& text,
                                                 const std::string& caption, MessageBoxType type) {
  mMessages.push_back(text);
  if (!caption.empty()) std::fprintf(mOut, "%s: ", caption.c_str());
  std::fprintf(mOut, "%s\n", text.c_str());
  if (type == MessageBoxType::kOK) {
    std::fflush(mOut);
    return MessageBoxResult::kOK;
  }
  if (mYes) {
    std::fprintf(mOut, "(confirmed by --yes)\n");
    std::fflush(mOut);
    return MessageBoxResult::kOK;
  }
  std::fprintf(mOut, "Not confirmed: nothing was changed. Run again with --yes to go ahead.\n");
  std::fflush(mOut);
  mRefused = true;
  return MessageBoxResult::kCancel;
}

void ConsoleModal::ChooseFileDialog(std::string& fileName, std::string& folder, FileAction action,
                                    const std::string& extensions) {
  std::string path = std::move(mNextFile);
  mNextFile.clear();
  fileName.clear();
  if (path.empty()) return; // a prompt nobody expected: cancelled
  std::error_code ec;
  if (action == FileAction::kSave && std::filesystem::exists(path, ec) && !mYes) {
    std::fprintf(mOut, "%s already exists; run again with --yes to overwrite it.\n", path.c_str());
    std::fflush(mOut);
    mRefused = true;
    return;
  }
  fileName = path;
  const std::filesystem::path p(path);
  folder = p.has_parent_path() ? p.parent_path().string() : std::string(".");
}

} // namespace zorel::cli

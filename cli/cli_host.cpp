#include "cli/cli_host.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "platform/files.h"

namespace orimo::cli {

bool DryRunFiles::Taken(const std::string& path) const { return taken_.count(path) > 0 || Exists(path); }

bool DryRunFiles::IsDirectory(const std::string& path) {
  return folders_.count(path) > 0 || orimo::IsDirectory(path);
}

bool DryRunFiles::MakeFolder(const std::string& path) {
  if (Taken(path) || folders_.count(path)) return false;
  folders_.insert(path);
  return true;
}

bool DryRunFiles::CopyNew(const std::string& from, const std::string& to) {
  auto slash = to.rfind('/');
  std::string folder = slash == std::string::npos ? "." : to.substr(0, slash);
  if (Taken(to) || !IsDirectory(folder) || !FileSize(from)) return false;
  taken_.insert(to);
  return true;
}

bool DryRunFiles::CopyReplacing(const std::string& from, const std::string&) { return FileSize(from).has_value(); }

bool DryRunFiles::RenameNoReplace(const std::string& from, const std::string& to) {
  return Exists(from) && !Taken(to);
}

CliHost::CliHost(const std::string& baseDir, bool dryRun)
    // A dry run logs nothing: its log has no file.
    : log_(std::make_unique<TLOG>(dryRun ? "" : baseDir + "/Log.txt", dryRun ? "" : baseDir + "/Log.bak")),
      dryRun_(dryRun) {
  fields_.BaseDir = baseDir;
}

bool CliHost::Interactive() { return ::isatty(STDIN_FILENO) && ::isatty(STDERR_FILENO); }

void CliHost::SetProgress(int position) {
  progress_ = position;
  if (!::isatty(STDERR_FILENO)) return;
  if (position == 0)
    std::fprintf(stderr, "\r\033[K");
  else
    std::fprintf(stderr, "\r%s %d / %d\033[K", fields_.CurrentExt.c_str(), position, progressMax_);
  std::fflush(stderr);
}

void CliHost::Notice(const std::string& text) {
  if (text == "ディレクトリ設定が正しくありません") {
    folderMessage = true;
    std::cerr << text << "\n";
    return;
  }
  std::cout << text << "\n";
}

bool CliHost::AskOkCancel(const std::string& text, const std::string& caption) {
  if (assumeYes) return true;
  if (!Interactive()) return false;
  std::cerr << caption << ": " << text << " [y/N] " << std::flush;
  std::string answer;
  std::getline(std::cin, answer);
  return answer == "y" || answer == "Y" || answer == "yes";
}

bool CliHost::AskYesNo(const std::string& text, const std::string& caption) {
  // A failed entry is reported and the walk goes on.
  ++failedEntries;
  std::cerr << caption << " " << text << "\n";
  return true;
}

void CliHost::ShowError(const std::string& text) {
  lastError = text;
  if (!currentFile_.empty() && text.find(currentFile_) == std::string::npos) std::cerr << currentFile_ << ": ";
  std::cerr << text << "\n";
}

int CliHost::AskChoice(const std::string& title, const char* const* buttons, const int* codes, int count) {
  std::cerr << title << "\n";
  for (int i = 0; i < count; ++i) std::cerr << "  " << codes[i] << ") " << buttons[i] << "\n";
  for (;;) {
    std::cerr << "> " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer)) return AnswerSkip;  // end of input: the close box
    for (int i = 0; i < count; ++i)
      if (answer == std::to_string(codes[i])) return codes[i];
  }
}

void CliHost::ShowDuplicatePrompt() {
  fields_.PromptAnswer = AnswerSkip;
  if (onClash != kAsk) {
    fields_.PromptAnswer = onClash;
  } else if (!dryRun_) {
    static const char* const kButtons[] = {"中止", "継続（コピーしない）", "以降、重複しても継続",
                                           "再確認フォルダへコピー", "継続（今回のみ上書き）"};
    static const int kCodes[] = {0, 1, 2, 3, 4};
    fields_.PromptAnswer = AskChoice("ファイル名の重複を検出しました！\n  " + fields_.SourceFile + "\n  " +
                                         fields_.TargetFile,
                                     kButtons, kCodes, 5);
  }
}

void CliHost::ShowNonExifPrompt() {
  fields_.PromptAnswer = AnswerSkip;
  if (onUnreadable != kAsk) {
    fields_.PromptAnswer = onUnreadable;
  } else if (!dryRun_) {
    static const char* const kButtons[] = {"中止", "継続（コピーしない）", "以降、検出しても継続",
                                           "Exif規格外フォルダへコピー"};
    static const int kCodes[] = {0, 1, 2, 3};
    fields_.PromptAnswer = AskChoice("撮影日情報の取得に失敗しました！ (stage " +
                                         std::to_string(fields_.ExifFailStage) + ")\n  " + fields_.SourceFile,
                                     kButtons, kCodes, 4);
  }
}

void CliHost::OnOrganise(OrganiseEvent event, const std::string& source, const std::string& detail) {
  switch (event) {
    case OrganiseEvent::PassedMarked:
      if (dryRun_) std::cout << "skip " << source << " (marked)\n";
      break;
    case OrganiseEvent::Copied:
      ++tally.copied;
      if (dryRun_) std::cout << "copy " << source << " -> " << detail << "\n";
      break;
    case OrganiseEvent::Clash:
      ++tally.clashes;
      if (dryRun_) std::cout << "clash " << source << " -> " << detail << "\n";
      break;
    case OrganiseEvent::Unreadable:
      ++tally.unreadable;
      if (dryRun_) std::cout << "unreadable " << source << " stage " << detail << "\n";
      break;
    case OrganiseEvent::ToSideFolder:
      ++tally.sideFolder;
      break;
    case OrganiseEvent::Overwritten:
      ++tally.overwritten;
      break;
    case OrganiseEvent::Marked:
      ++tally.marked;
      break;
    case OrganiseEvent::NotOrganised:
      ++tally.notOrganised;
      break;
  }
}

}  // namespace orimo::cli

#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>

#include "app/log.h"
#include "app/run_host.h"

namespace orimo::cli {

// How a prompt is answered from the terminal: a fixed answer, or ask (-1).
inline constexpr int kAsk = -1;

// A dry run's file changes: nothing is touched; the targets an earlier entry would take count
// as taken, so that a later entry's clash is predicted.
class DryRunFiles : public FileOps {
 public:
  bool IsDirectory(const std::string& path) override;
  bool MakeFolder(const std::string& path) override;
  bool CopyNew(const std::string& from, const std::string& to) override;
  bool CopyReplacing(const std::string& from, const std::string& to) override;
  bool RenameNoReplace(const std::string& from, const std::string& to) override;

 private:
  bool Taken(const std::string& path) const;
  std::set<std::string> folders_, taken_;
};

// The window's part played on a terminal: folders and options from the command line and
// Orimo.ini, prompts answered by options or asked on the terminal, progress on standard error.
class CliHost : public RunHost {
 public:
  CliHost(const std::string& baseDir, bool dryRun);

  std::map<FolderPanel, std::string> folders;
  RunOptions options;
  int onClash = kAsk;
  int onUnreadable = kAsk;
  bool assumeYes = false;

  // What happened, for the summary and the exit code.
  struct Tally {
    int copied = 0, marked = 0, clashes = 0, unreadable = 0, sideFolder = 0, notOrganised = 0;
    int overwritten = 0;
  } tally;
  bool folderMessage = false;  // the run said "ディレクトリ設定が正しくありません"
  std::string lastError;       // the error that ended a run, if any
  int failedEntries = 0;       // delete/restore entries that failed

  std::string FolderText(FolderPanel panel) override { return folders[panel]; }
  RunOptions Options() override { return options; }
  RunFields& Fields() override { return fields_; }
  TLOG& Log() override { return *log_; }
  void SetBusy(BusyKind, bool) override {}
  void SetProgressMax(int maximum) override { progressMax_ = maximum; }
  void SetProgress(int position) override;
  int Progress() override { return progress_; }
  void ProcessMessages() override {}
  void Notice(const std::string& text) override;
  bool AskOkCancel(const std::string& text, const std::string& caption) override;
  bool AskYesNo(const std::string& text, const std::string& caption) override;
  void ShowError(const std::string& text) override;
  void ShowDuplicatePrompt() override;
  void ShowNonExifPrompt() override;
  FileOps& Files() override { return dryRun_ ? static_cast<FileOps&>(dryFiles_) : RealFileOps(); }
  void OnOrganise(OrganiseEvent event, const std::string& source, const std::string& detail) override;
  void OnResizeFile(const std::string& source) override { currentFile_ = source; }

  // True when standard input and output are a terminal that can be asked.
  static bool Interactive();

 private:
  int AskChoice(const std::string& title, const char* const* buttons, const int* codes, int count);

  RunFields fields_;
  std::unique_ptr<TLOG> log_;
  bool dryRun_;
  DryRunFiles dryFiles_;
  std::string currentFile_;  // the file the resize run works on, named with its error
  int progress_ = 0;
  int progressMax_ = 0;
};

}  // namespace orimo::cli

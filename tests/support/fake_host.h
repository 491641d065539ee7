#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/log.h"
#include "app/run_host.h"

namespace orimo::test {

// A window stand-in that records what a run asks of it and answers from scripts.
class FakeHost : public RunHost {
 public:
  // The log goes to `baseDir`/Log.txt; Fields().BaseDir is `baseDir`.
  explicit FakeHost(const std::string& baseDir);

  std::map<FolderPanel, std::string> folders;
  RunOptions options;
  RunFields fields;
  std::unique_ptr<TLOG> log;

  // Scripted answers, taken front first; when empty, prompts answer AnswerSkip and questions
  // answer OK / Yes.
  std::deque<int> duplicateAnswers;
  std::deque<int> nonExifAnswers;
  std::deque<bool> questionAnswers;
  // Runs at every ProcessMessages call (count from 1), to act "during" a run.
  std::function<void(int call)> onProcessMessages;

  // What happened, in order: "notice:TEXT", "okcancel:CAPTION:TEXT", "yesno:CAPTION:TEXT",
  // "error:TEXT", "duplicate:SOURCE|TARGET|EXT", "nonexif:SOURCE|STAGE|EXT", "busy:on/off".
  std::vector<std::string> events;
  int progress = 0;
  int progressMax = 100;
  std::vector<int> progressHistory;  // every position set
  int processCalls = 0;
  bool busy = false;

  std::string FolderText(FolderPanel panel) override { return folders[panel]; }
  RunOptions Options() override { return options; }
  RunFields& Fields() override { return fields; }
  TLOG& Log() override { return *log; }
  void SetBusy(BusyKind kind, bool on) override;
  void SetProgressMax(int maximum) override { progressMax = maximum; }
  void SetProgress(int position) override {
    progress = position;
    progressHistory.push_back(position);
  }
  int Progress() override { return progress; }
  void ProcessMessages() override;
  void Notice(const std::string& text) override { events.push_back("notice:" + text); }
  bool AskOkCancel(const std::string& text, const std::string& caption) override;
  bool AskYesNo(const std::string& text, const std::string& caption) override;
  void ShowError(const std::string& text) override { events.push_back("error:" + text); }
  void ShowDuplicatePrompt() override;
  void ShowNonExifPrompt() override;

  // The messages of Log.txt in order, without their time stamps (CP932 turned back to UTF-8).
  std::vector<std::string> LogMessages() const;
};

}  // namespace orimo::test

#include "tests/support/fake_host.h"

#include "platform/cp932.h"
#include "tests/support/temp_dir.h"

namespace orimo::test {

FakeHost::FakeHost(const std::string& baseDir)
    : log(std::make_unique<TLOG>(baseDir + "/Log.txt", baseDir + "/Log.bak")) {
  fields.BaseDir = baseDir;
}

void FakeHost::SetBusy(BusyKind kind, bool on) {
  busy = on;
  events.push_back(std::string("busy:") + (kind == BusyKind::Organise ? "organise:" : "resize:") + (on ? "on" : "off"));
}

void FakeHost::ProcessMessages() {
  ++processCalls;
  if (onProcessMessages) onProcessMessages(processCalls);
}

bool FakeHost::AskOkCancel(const std::string& text, const std::string& caption) {
  events.push_back("okcancel:" + caption + ":" + text);
  if (questionAnswers.empty()) return true;
  bool a = questionAnswers.front();
  questionAnswers.pop_front();
  return a;
}

bool FakeHost::AskYesNo(const std::string& text, const std::string& caption) {
  events.push_back("yesno:" + caption + ":" + text);
  if (questionAnswers.empty()) return true;
  bool a = questionAnswers.front();
  questionAnswers.pop_front();
  return a;
}

void FakeHost::ShowDuplicatePrompt() {
  events.push_back("duplicate:" + fields.SourceFile + "|" + fields.TargetFile + "|" + fields.CurrentExt);
  fields.PromptAnswer = AnswerSkip;
  if (!duplicateAnswers.empty()) {
    fields.PromptAnswer = duplicateAnswers.front();
    duplicateAnswers.pop_front();
  }
}

void FakeHost::ShowNonExifPrompt() {
  events.push_back("nonexif:" + fields.SourceFile + "|" + std::to_string(fields.ExifFailStage) + "|" +
                   fields.CurrentExt);
  fields.PromptAnswer = AnswerSkip;
  if (!nonExifAnswers.empty()) {
    fields.PromptAnswer = nonExifAnswers.front();
    nonExifAnswers.pop_front();
  }
}

std::vector<std::string> FakeHost::LogMessages() const {
  std::string text = FromCp932(ReadFile(log->LogPath()));
  std::vector<std::string> messages;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    // "YYMMDD  (hh:mm:ss) message"; an empty line (after an end message) is kept as "".
    messages.push_back(line.size() >= 19 ? line.substr(19) : line);
    pos = end + 2;
  }
  return messages;
}

}  // namespace orimo::test

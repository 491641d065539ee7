#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/file_ops.h"

namespace orimo {

class TLOG;

// The four folder panels whose captions are the working folders.
enum class FolderPanel { OrganiseSource, OrganiseDestination, ResizeSource, ResizeDestination };

// Answer codes of the two organise prompts, stored in PromptAnswer.
enum PromptAnswerCode : std::int32_t {
  AnswerAbort = 0,
  AnswerSkip = 1,
  AnswerContinueAlways = 2,
  AnswerToSideFolder = 3,
  AnswerOverwriteOnce = 4,
};

// The main window's run-state fields, shared by the organise run and its prompts.
struct RunFields {
  std::string BaseDir;
  std::string SourceFile;
  std::string TargetFile;
  std::string CurrentExt;
  std::int32_t PromptAnswer = 0;
  std::int32_t ExifFailStage = 0;
};

// The options the organise and maintenance commands read from the window's controls.
struct RunOptions {
  std::array<bool, 6> types = {true, false, false, false, false, false};  // file-type table order
  int dateBasis = 0;          // selected item of the basis group: 0 capture date, else file date
  bool markOrganised = true;  // "@"
  bool markDuplicates = true; // "x2"
  int sizePreset = 2;         // selected resize preset, -1 for none
};

enum class BusyKind { Organise, Resize };

// What the organise run did with one entry. The window has no use for these; the command-line
// front end counts and prints them.
enum class OrganiseEvent {
  PassedMarked,   // the name already carries a mark
  Copied,         // detail: the target
  Clash,          // detail: the target that could not be written
  Unreadable,     // detail: the failure stage
  ToSideFolder,   // detail: the side-folder copy's path
  Overwritten,    // detail: the target
  Marked,         // detail: the marked name
  NotOrganised,   // the entry was left where it was (skipped, ignored, or its walk aborted)
};

// How every run reaches the window: the main window implements it, tests implement a fake.
// The runs never include a widget header.
class RunHost {
 public:
  virtual ~RunHost() = default;

  // The caption of a folder panel as it stands now (a drop during a run changes it).
  virtual std::string FolderText(FolderPanel panel) = 0;
  virtual RunOptions Options() = 0;
  virtual RunFields& Fields() = 0;
  virtual TLOG& Log() = 0;

  virtual void SetBusy(BusyKind kind, bool busy) = 0;
  virtual void SetProgressMax(int maximum) = 0;
  virtual void SetProgress(int position) = 0;
  virtual int Progress() = 0;
  // Lets the window repaint and handle waiting input (drops, shortcuts) between files.
  virtual void ProcessMessages() = 0;

  // A notice: the text, caption "Orimo", OK.
  virtual void Notice(const std::string& text) = 0;
  // Questions with the buttons named; true for OK / Yes.
  virtual bool AskOkCancel(const std::string& text, const std::string& caption) = 0;
  virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
  // The general error box, for a platform error that ended a command.
  virtual void ShowError(const std::string& text) = 0;

  // The organise prompts, shown modally; each leaves its answer in Fields().PromptAnswer.
  virtual void ShowDuplicatePrompt() = 0;
  virtual void ShowNonExifPrompt() = 0;

  // The file changes of the organise run go through here (a dry run predicts them instead).
  virtual FileOps& Files() { return RealFileOps(); }
  virtual void OnOrganise(OrganiseEvent, const std::string& /*source*/, const std::string& /*detail*/) {}
  // The resize run is about to convert `source`.
  virtual void OnResizeFile(const std::string& /*source*/) {}
};

// Holds a run's busy state and leaves it however the run ends, a thrown platform error
// included, so that the window never stays locked.
class BusyScope {
 public:
  BusyScope(RunHost& host, BusyKind kind) : host_(host), kind_(kind) { host_.SetBusy(kind_, true); }
  ~BusyScope() { host_.SetBusy(kind_, false); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  RunHost& host_;
  BusyKind kind_;
};

}  // namespace orimo

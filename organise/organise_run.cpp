#include "organise/organise_run.h"

#include <cstdio>
#include <string_view>

#include "app/log.h"
#include "app/run_host.h"
#include "organise/exif_reader.h"
#include "organise/file_types.h"
#include "platform/files.h"

namespace orimo {
namespace {

bool EndsWith(std::string_view name, std::string_view suffix) {
  return name.size() >= suffix.size() && name.substr(name.size() - suffix.size()) == suffix;
}

std::string FileDateName(const LocalTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d%02d%02d_%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
  return text;
}

// The date name comes from the file's bytes; a "/" in it would make the month folder or the
// copy's name reach outside the destination, so it stands as "_" in the paths built from it.
std::string PathSafe(std::string dateName) {
  for (char& c : dateName)
    if (c == '/') c = '_';
  return dateName;
}

void Advance(RunHost& host) { host.SetProgress(host.Progress() + 1); }

void MakeFolderIfMissing(FileOps& files, const std::string& path) {
  if (!files.IsDirectory(path)) files.MakeFolder(path);  // a failure shows later, as a failed copy
}

// Walk state that lives for one type only.
struct Walk {
  RunHost& host;
  RunOptions options;
  bool IgnoreExifFailures = false;
  bool IgnoreCopyFailures = false;

  enum class Next { Continue, Stop };

  void Log(std::string_view message) { host.Log().Write(message); }
  FileOps& Files() { return host.Files(); }
  void Tell(OrganiseEvent event, const std::string& source, const std::string& detail = {}) {
    host.OnOrganise(event, source, detail);
  }

  void Mark(const std::string& source, const char* mark) {
    if (Files().RenameNoReplace(source, source + mark)) Tell(OrganiseEvent::Marked, source, source + mark);
  }

  void MarkDuplicate(const std::string& source) {
    if (options.markDuplicates) Mark(source, kDuplicateMark);
  }

  Next ExifFailure(const std::string& source, const std::string& entryName, const CaptureDate& read) {
    RunFields& fields = host.Fields();
    Tell(OrganiseEvent::Unreadable, source, std::to_string(read.stage));
    Tell(OrganiseEvent::NotOrganised, source);
    if (IgnoreExifFailures) {
      fields.ExifFailStage = 0;
      Log("無視選択済み　FileClose(FileHnd)");
      return Next::Continue;
    }
    Log("エラー発生　FileClose(FileHnd)");
    fields.SourceFile = source;
    fields.ExifFailStage = read.stage;
    host.ShowNonExifPrompt();
    switch (fields.PromptAnswer) {
      case AnswerAbort:
        fields.ExifFailStage = 0;
        Log("中止　FindClose(hFind)");
        return Next::Stop;
      case AnswerSkip:
        Log("継続（コピーしない）");
        break;
      case AnswerContinueAlways:
        IgnoreExifFailures = true;
        Log("無視");
        break;
      case AnswerToSideFolder: {
        Log("再確認");
        std::string sideFolder = fields.BaseDir + "/ExifNG";
        MakeFolderIfMissing(Files(), sideFolder);
        std::string copy = sideFolder + "/" + std::to_string(read.stage) + "_" + entryName;
        if (Files().CopyNew(source, copy)) Tell(OrganiseEvent::ToSideFolder, source, copy);
        break;
      }
      default:
        break;
    }
    fields.ExifFailStage = 0;
    return Next::Continue;
  }

  Next CopyFailure(const std::string& source, const std::string& target, const std::string& dateName) {
    RunFields& fields = host.Fields();
    Tell(OrganiseEvent::Clash, source, target);
    if (IgnoreCopyFailures) {
      Tell(OrganiseEvent::NotOrganised, source);
      MarkDuplicate(source);
      Log("コピー失敗：無視選択済み");
      return Next::Continue;
    }
    fields.SourceFile = source;
    fields.TargetFile = target;
    host.ShowDuplicatePrompt();
    bool overwritten = false;
    switch (fields.PromptAnswer) {
      case AnswerAbort:
        Tell(OrganiseEvent::NotOrganised, source);
        Log("コピー失敗：中止　　FindClose(hFind)");
        return Next::Stop;
      case AnswerSkip:
        Log("コピー失敗：再試行");
        break;
      case AnswerContinueAlways:
        IgnoreCopyFailures = true;
        Log("コピー失敗：無視");
        break;
      case AnswerToSideFolder: {
        Log("コピー失敗：再確認フォルダへ");
        std::string sideFolder = fields.BaseDir + "/Recheck";
        MakeFolderIfMissing(Files(), sideFolder);
        std::string copy = sideFolder + "/" + dateName + fields.CurrentExt;
        if (Files().CopyNew(source, copy)) Tell(OrganiseEvent::ToSideFolder, source, copy);
        break;
      }
      case AnswerOverwriteOnce:
        // The old copy stays whole until the new one is complete.
        overwritten = Files().CopyReplacing(source, target);
        if (overwritten) Tell(OrganiseEvent::Overwritten, source, target);
        Log("コピー失敗：上書き");
        break;
      default:
        break;
    }
    if (!overwritten) Tell(OrganiseEvent::NotOrganised, source);
    MarkDuplicate(source);
    return Next::Continue;
  }

  Next Entry(const std::string& entryName) {
    host.ProcessMessages();
    // A folder dropped on a panel during the run holds from the next entry on.
    const std::string source = host.FolderText(FolderPanel::OrganiseSource) + "/" + entryName;
    const std::string destination = host.FolderText(FolderPanel::OrganiseDestination);
    if (EndsWith(entryName, kOrganisedMark) || EndsWith(entryName, kDuplicateMark)) {
      Tell(OrganiseEvent::PassedMarked, source);
      return Next::Continue;
    }

    std::string dateName;
    if (options.dateBasis != 0) {
      std::optional<LocalTime> modified = ModificationTime(source);
      if (!modified) {
        Tell(OrganiseEvent::NotOrganised, source);
        return Next::Continue;
      }
      dateName = FileDateName(*modified);
    } else {
      Log("CheckFile: " + source);
      CaptureDate read = ReadCaptureDate(source);
      if (!read.ok) return ExifFailure(source, entryName, read);
      Log("正常終了　FileClose(FileHnd)");
      dateName = read.dateName;
    }
    dateName = PathSafe(std::move(dateName));

    const std::string monthFolder = destination + "/" + MonthFolderName(dateName);
    MakeFolderIfMissing(Files(), monthFolder);
    const std::string target = monthFolder + "/" + dateName + host.Fields().CurrentExt;
    // Never replaces, and never leaves a partial file under the date name.
    const bool copied = Files().CopyNew(source, target);
    Advance(host);
    if (!copied) return CopyFailure(source, target, dateName);
    Tell(OrganiseEvent::Copied, source, target);
    // Never replaces either: when the marked name is taken, the source keeps its name.
    if (options.markOrganised) Mark(source, kOrganisedMark);
    return Next::Continue;
  }
};

}  // namespace

std::string MonthFolderName(const std::string& dateName) {
  std::string year = dateName.substr(0, 4);
  std::string month = dateName.size() > 4 ? dateName.substr(4, 2) : std::string();
  return year + "年" + month + "月";
}

void OrganizeFiles(RunHost& host, const std::string& pattern) {
  Walk walk{host, host.Options()};

  std::optional<std::vector<std::string>> counted = ListMatching(pattern);
  if (!counted || counted->empty()) return;
  host.SetProgressMax(static_cast<int>(counted->size()));
  // The walk's own snapshot: copies made into the same folder are never walked again.
  std::vector<std::string> entries = ListMatching(pattern).value_or(std::vector<std::string>{});

  walk.Log("整理対象フォルダ:  " + pattern);
  for (const std::string& name : entries) {
    if (walk.Entry(name) == Walk::Next::Stop) return;
  }
  walk.Log("整理終了　FindClose(hFind)\n");
  host.SetProgress(0);
}

void OrganiseCommand(RunHost& host) {
  BusyScope busy(host, BusyKind::Organise);
  if (!IsDirectory(host.FolderText(FolderPanel::OrganiseSource)) ||
      !IsDirectory(host.FolderText(FolderPanel::OrganiseDestination))) {
    host.Notice("ディレクトリ設定が正しくありません");
    return;
  }
  for (std::size_t i = 0; i < kFileTypes.size(); ++i) {
    if (!host.Options().types[i]) continue;
    host.Fields().CurrentExt = kFileTypes[i].extension;
    // Abort ends only this type's walk; the next ticked type still runs.
    OrganizeFiles(host, SearchPattern(host.FolderText(FolderPanel::OrganiseSource), kFileTypes[i].extension));
  }
  host.Notice("整理完了");
  host.SetProgress(0);
}

}  // namespace orimo

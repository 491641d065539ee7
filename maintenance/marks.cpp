#include "maintenance/marks.h"

#include <functional>
#include <vector>

#include "app/run_host.h"
#include "organise/file_types.h"
#include "platform/files.h"

namespace orimo {
namespace {

const char* kFolderNotRight = "ディレクトリ設定が正しくありません";
const char* kContinue = "続けますか？\n";

const char* MarkText(Mark mark) { return mark == Mark::Organised ? kOrganisedMark : kDuplicateMark; }

// The two-pass walk shared by delete and restore. `treat` acts on one marked entry by its full
// path and says whether it succeeded; a failure asks whether to go on.
void WalkMarked(RunHost& host, const std::string& pattern, const char* failCaption,
                const std::function<bool(const std::string&)>& treat) {
  auto counted = ListMatching(pattern);
  if (!counted || counted->empty()) return;
  host.SetProgressMax(static_cast<int>(counted->size()));

  // The entries are named in the folder that was listed, so that a name is never acted on in
  // another folder than the one it was found in.
  const std::string folder = PatternFolder(pattern);
  auto listed = ListMatching(pattern);
  for (const std::string& name : listed.value_or(std::vector<std::string>{})) {
    const std::string path = folder + "/" + name;
    bool ok = treat(path);
    host.SetProgress(host.Progress() + 1);
    if (!ok && !host.AskYesNo(kContinue + path, failCaption)) return;  // the bar keeps its place
  }
  host.SetProgress(0);
}

// Runs `walk` on each ticked type's pattern in table order; every type is treated whatever
// happened to the one before. False when the source folder is not a folder.
bool ForEachTickedType(RunHost& host, Mark mark, void (*walk)(RunHost&, const std::string&)) {
  const std::string folder = host.FolderText(FolderPanel::OrganiseSource);
  if (!IsDirectory(folder)) {
    host.Notice(kFolderNotRight);
    return false;
  }
  const RunOptions options = host.Options();
  for (std::size_t i = 0; i < kFileTypes.size(); ++i) {
    if (options.types[i]) walk(host, SearchPattern(folder, std::string(kFileTypes[i].extension) + MarkText(mark)));
  }
  return true;
}

}  // namespace

void DeleteMarkedCommand(RunHost& host, Mark mark) {
  const char* question =
      mark == Mark::Organised ? "整理済みファイルを全て削除しますか？" : "重複検出ファイルを全て削除しますか？";
  if (!host.AskOkCancel(question, "削除の確認")) return;
  if (!ForEachTickedType(host, mark, DeleteMarkedFiles)) return;
  host.Notice("削除完了");
  host.SetProgress(0);
}

void DeleteMarkedFiles(RunHost& host, const std::string& pattern) {
  // unlink: a link named like a marked file goes, never what it points to; a folder stays.
  WalkMarked(host, pattern, "ファイル削除に失敗しました！", [](const std::string& path) { return DeleteFile(path); });
}

void RestoreMarkedCommand(RunHost& host, Mark mark) {
  if (!ForEachTickedType(host, mark, RestoreMarkedNames)) return;
  host.Notice("ファイル名復元完了");
  host.SetProgress(0);
}

void RestoreMarkedNames(RunHost& host, const std::string& pattern) {
  WalkMarked(host, pattern, "ファイル名を戻すのに失敗しました！", [](const std::string& path) {
    // The mark is told by the last byte alone: "@" is one byte, "x2" two.
    std::string restored = path.substr(0, path.size() - (path.back() == '@' ? 1 : 2));
    return RenameNoReplace(path, restored);
  });
}

}  // namespace orimo

#include "resize/resize_run.h"

#include <optional>

#include "app/log.h"
#include "app/run_host.h"
#include "organise/file_types.h"
#include "platform/error.h"
#include "platform/files.h"
#include "resize/jpeg_resizer.h"

namespace orimo {
namespace {

constexpr const char* kDone = "変換完了";
constexpr const char* kBadFolders = "ディレクトリ設定が正しくありません";
constexpr const char* kSameFolder = "変換元と変換先が同じフォルダです";
constexpr const char* kCannotCreate = "ファイル %s を作成できません";
constexpr const char* kLogStart = "変換対象フォルダ:  ";
constexpr const char* kLogEnd = "変換終了　FindClose(hFind)\n";

}  // namespace

PresetSize PresetFor(int index) {
  static constexpr PresetSize kPresets[] = {{320, 240}, {640, 480}, {800, 600}, {1024, 768}, {1280, 960}};
  if (index < 0 || index > 4) return {800, 600};
  return kPresets[index];
}

void ResizeCommand(RunHost& host) {
  std::optional<std::string> error;
  {
    BusyScope busy(host, BusyKind::Resize);
    const std::string source = host.FolderText(FolderPanel::ResizeSource);
    const std::string destination = host.FolderText(FolderPanel::ResizeDestination);
    if (!IsDirectory(source) || !IsDirectory(destination)) {
      host.Notice(kBadFolders);
    } else if (SameEntry(source, destination)) {
      host.Notice(kSameFolder);
    } else {
      try {
        ResizeJpegFiles(host, SearchPattern(source, ".jpg"));
        host.Notice(kDone);
      } catch (const PlatformError& e) {
        error = e.what();
      }
      host.SetProgress(0);
    }
  }
  // The error box comes after the window is usable again, as the general error handler's would.
  if (error) host.ShowError(*error);
}

int ResizeJpegFiles(RunHost& host, const std::string& pattern) {
  const PresetSize size = PresetFor(host.Options().sizePreset);

  auto counted = ListMatching(pattern);
  if (!counted || counted->empty()) return 0;
  host.SetProgressMax(static_cast<int>(counted->size()));

  auto listing = ListMatching(pattern);
  host.Log().Write(std::string(kLogStart) + pattern);

  JpegResizer resizer;
  for (const std::string& name : listing.value_or(std::vector<std::string>())) {
    host.ProcessMessages();
    // A folder dropped during the run applies from the next file on.
    const std::string sourceFolder = host.FolderText(FolderPanel::ResizeSource);
    const std::string destinationFolder = host.FolderText(FolderPanel::ResizeDestination);
    if (SameEntry(sourceFolder, destinationFolder)) throw PlatformError(kSameFolder);
    host.OnResizeFile(sourceFolder + "/" + name);
    const std::string& encoded = resizer.Resize(sourceFolder + "/" + name, size.width, size.height);
    const std::string target = destinationFolder + "/" + name;
    if (!WriteFileAtomically(target, encoded)) throw PlatformError(FormatMessage(kCannotCreate, target));
    host.SetProgress(host.Progress() + 1);
  }

  host.Log().Write(kLogEnd);
  host.SetProgress(0);
  return 1;
}

}  // namespace orimo

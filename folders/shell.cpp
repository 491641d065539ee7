#include "folders/shell.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include "platform/files.h"

namespace orimo {
namespace {

// The desktop's "open": the file manager for a folder, the associated application for a file.
class DesktopServicesOpener : public DesktopOpener {
 public:
  bool Open(const std::string& path) override {
    // openUrl may hand a missing file to a launcher that fails later, out of our sight.
    if (!Exists(path)) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
  }
};

DesktopServicesOpener systemOpener;
DesktopOpener* currentOpener = &systemOpener;

}  // namespace

DesktopOpener& SystemOpener() { return systemOpener; }

void SetDesktopOpener(DesktopOpener* opener) { currentOpener = opener ? opener : &systemOpener; }

DesktopOpener& CurrentOpener() { return *currentOpener; }

void OpenFolderInShell(const std::string& path, const NoticeFn& notice) {
  if (path.empty()) {
    notice("ディレクトリパスが無効です");
    return;
  }
  if (!IsDirectory(path)) {
    notice("ディレクトリが存在しません");
    return;
  }
  CurrentOpener().Open(path);  // a desktop that does not open it is not reported
}

void OpenDocument(const std::string& path, const std::string& /*parameters*/, const NoticeFn& notice) {
  // A desktop URL carries no parameters; the one caller passes none.
  if (!Exists(path) || !CurrentOpener().Open(path)) notice("Could not create process");
}

}  // namespace orimo

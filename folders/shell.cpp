#include "folders/shell.h"

#include <QDesktopServices>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
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
    // The launcher is started detached and reports success whether or not anything opens the
    // file; ask first, so that a document nothing can show is reported.
    if (!IsDirectory(path) && !HasAssociatedApplication(path)) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
  }
};

DesktopServicesOpener systemOpener;
DesktopOpener* currentOpener = &systemOpener;

// xdg-mime answers at once; one that does not is not waited for.
constexpr int kQueryTimeoutMs = 3000;

}  // namespace

bool HasAssociatedApplication(const std::string& path) {
  const QString query = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (query.isEmpty()) return true;
  const QString type = QMimeDatabase().mimeTypeForFile(QString::fromStdString(path)).name();
  QProcess process;
  process.setStandardInputFile(QProcess::nullDevice());
  process.start(query, {QStringLiteral("query"), QStringLiteral("default"), type});
  if (!process.waitForFinished(kQueryTimeoutMs)) {
    process.kill();
    process.waitForFinished();
    return true;
  }
  if (process.exitStatus() != QProcess::NormalExit) return true;
  // 0: answered; 4: "the action failed", its answer when nothing is associated. Any other code
  // means it could not find out.
  const int code = process.exitCode();
  if (code != 0 && code != 4) return true;
  return !process.readAllStandardOutput().trimmed().isEmpty();
}

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

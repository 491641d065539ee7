#include "folders/browse.h"

#include <QDir>
#include <QFileDialog>
#include <QString>
#include <QStringList>

#include <utility>

#include "platform/files.h"

namespace orimo {
namespace {

std::function<std::string(const std::string&)>& TestAnswer() {
  static std::function<std::string(const std::string&)> answer;
  return answer;
}

}  // namespace

std::string BrowseForFolder(QWidget* parent, const std::string& startPath) {
  if (TestAnswer()) return TestAnswer()(startPath);

  // Qt's own dialog rather than the desktop's, so that it opens on the start folder and offers
  // its path field the same way everywhere.
  QFileDialog dialog(parent, QStringLiteral("フォルダを選択してください"));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
  dialog.setDirectory(IsDirectory(startPath) ? QString::fromStdString(startPath) : QDir::homePath());
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return {};
  return chosen.front().toStdString();
}

void SetFolderDialogForTests(std::function<std::string(const std::string& startPath)> answer) {
  TestAnswer() = std::move(answer);
}

}  // namespace orimo

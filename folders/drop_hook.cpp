#include "folders/drop_hook.h"

#include <QDropEvent>
#include <QEvent>
#include <QMetaObject>
#include <QMimeData>
#include <QUrl>

#include <utility>

namespace orimo {
namespace {

std::string LocalPath(const QUrl& url) {
  if (!url.isLocalFile()) return {};
  std::string path = url.toLocalFile().toStdString();
  while (path.size() > 1 && path.back() == '/') path.pop_back();  // a folder URL may end in "/"
  return path;
}

bool CarriesLocalPath(const QMimeData* data) {
  if (!data || !data->hasUrls()) return false;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) return true;
  }
  return false;
}

}  // namespace

DropHook::DropHook(QObject* parent) : QObject(parent) {}

void DropHook::AddPanel(QWidget* panel, Handler handler) {
  panel->setAcceptDrops(true);
  targets_.push_back({panel, std::move(handler)});
}

bool DropHook::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
    return QObject::eventFilter(watched, event);
  }
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget) return QObject::eventFilter(watched, event);
  for (const Target& target : targets_) {
    if (!target.panel || (target.panel != widget && !target.panel->isAncestorOf(widget))) continue;
    auto* drop = static_cast<QDropEvent*>(event);  // DragEnter and DragMove derive from it
    if (!CarriesLocalPath(drop->mimeData())) return QObject::eventFilter(watched, event);
    drop->acceptProposedAction();
    if (type == QEvent::Drop) {
      std::vector<std::string> paths;
      for (const QUrl& url : drop->mimeData()->urls()) paths.push_back(LocalPath(url));
      // Handed over once the drop itself has ended, as the shell posts its drop message after
      // the drag: a handler's message box must not hold the file manager's drag open. A copy of
      // the handler, as one that adds panels moves targets_; dropped with the hook.
      QMetaObject::invokeMethod(
          this, [handler = target.handler, paths = std::move(paths)] { handler(paths); }, Qt::QueuedConnection);
    }
    return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace orimo

#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

namespace orimo {

// The application-wide hook on window events: a drop of files onto one of the registered
// panels is accepted and then, once control is back in the event loop, handed to that panel's
// handler with the dropped paths (local files and folders); every other event passes untouched. Installed once on the application by the main window.
// Each URL of a drop is one item: a local file or folder gives its path (no trailing "/"), any
// other URL an empty path. A drag is taken only when it carries at least one local path.
class DropHook : public QObject {
 public:
  using Handler = std::function<void(const std::vector<std::string>& paths)>;

  explicit DropHook(QObject* parent = nullptr);
  // Marks `panel` as accepting drops and routes them to `handler`. Panels are tested in the
  // order they were added.
  void AddPanel(QWidget* panel, Handler handler);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Target {
    QPointer<QWidget> panel;  // a panel that is gone is passed over
    Handler handler;
  };
  std::vector<Target> targets_;
};

}  // namespace orimo

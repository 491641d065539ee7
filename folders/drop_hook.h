#pragma once

#include <QObject>

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace orimo {

// The application-wide hook on window events: a drop of files onto one of the registered
// panels is handed to that panel's handler with the dropped paths (local files and folders);
// every other event passes untouched. Installed once on the application by the main window.
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
    QWidget* panel;
    Handler handler;
  };
  std::vector<Target> targets_;
};

}  // namespace orimo

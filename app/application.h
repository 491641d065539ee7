#pragma once

#include <QApplication>

#include <functional>
#include <string>

namespace orimo {

// The application object with the general error handler: an error a platform operation raised
// inside an event handler is shown in an error box, and the window carries on.
class OrimoApplication : public QApplication {
 public:
  OrimoApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // The error box: QMessageBox::critical with caption "Orimo". Tests put a recorder in its place.
  static void ShowErrorBox(const std::string& text);
  static void SetErrorBoxForTests(std::function<void(const std::string&)> box);
};

}  // namespace orimo

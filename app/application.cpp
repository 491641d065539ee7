#include "app/application.h"

#include <QMessageBox>

#include <exception>

#include "platform/error.h"

namespace orimo {

namespace {
std::function<void(const std::string&)>& ErrorBoxOverride() {
  static std::function<void(const std::string&)> box;
  return box;
}
}  // namespace

OrimoApplication::OrimoApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool OrimoApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const PlatformError& e) {
    ShowErrorBox(e.what());
  } catch (const std::exception& e) {
    ShowErrorBox(e.what());
  }
  // The event counts as handled: the command that raised the error has ended.
  return true;
}

void OrimoApplication::ShowErrorBox(const std::string& text) {
  if (ErrorBoxOverride()) {
    ErrorBoxOverride()(text);
    return;
  }
  QMessageBox::critical(activeWindow(), QStringLiteral("Orimo"), QString::fromStdString(text), QMessageBox::Ok);
}

void OrimoApplication::SetErrorBoxForTests(std::function<void(const std::string&)> box) {
  ErrorBoxOverride() = std::move(box);
}

}  // namespace orimo

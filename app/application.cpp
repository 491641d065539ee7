#include "app/application.h"

#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include <exception>

#include "platform/error.h"

namespace orimo {

namespace {
std::function<void(const std::string&)>& ErrorBoxOverride() {
  static std::function<void(const std::string&)> box;
  return box;
}
}  // namespace

OrimoApplication::OrimoApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // The program's face for every window and box. A window's own setFont does not reach its
  // controls once it carries a style sheet (the main window does, and the prompts and boxes
  // are its children), so the face is the application's.
  QFont face(QStringLiteral("IPAPGothic"));
  face.setPixelSize(12);
  setFont(face);
  // The toolkit's own buttons and dialogs speak Japanese like the rest of the program, whatever
  // the desktop's language (when the translations are installed).
  auto* translator = new QTranslator(this);
  if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    installTranslator(translator);
  else
    delete translator;
}

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

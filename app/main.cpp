// The entry point: one instance only, the three windows, the message loop.
#include <QMessageBox>

#include <exception>
#include <memory>

#include "app/application.h"
#include "app/unit1.h"
#include "organise/prompts/unit2.h"
#include "organise/prompts/unit3.h"
#include "platform/error.h"
#include "platform/instance_lock.h"

int main(int argc, char** argv) {
  orimo::OrimoApplication app(argc, argv);
  orimo::InstanceLock lock("Zubrakel");
  if (!lock.Acquire()) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Orimo"), QStringLiteral("二重起動は禁止されています。"),
                    QMessageBox::Ok);
    box.exec();
    return 0;
  }
  QApplication::setApplicationName(QStringLiteral("Orimo"));

  std::unique_ptr<orimo::TForm1> form1;
  std::unique_ptr<orimo::TForm2> form2;
  std::unique_ptr<orimo::TForm3> form3;
  try {
    form1 = std::make_unique<orimo::TForm1>();
    orimo::Form1 = form1.get();
    form2 = std::make_unique<orimo::TForm2>(form1->Fields(), form1.get());
    orimo::Form2 = form2.get();
    form3 = std::make_unique<orimo::TForm3>(form1->Fields(), form1.get());
    orimo::Form3 = form3.get();
    form1->show();
    app.exec();
  } catch (const std::exception& e) {
    // Also a settings write that failed while the window was being built: it never opens.
    orimo::OrimoApplication::ShowErrorBox(e.what());
  }
  lock.Release();
  // The prompts go first: they refer to the main window's fields.
  orimo::Form3 = nullptr;
  orimo::Form2 = nullptr;
  form3.reset();
  form2.reset();
  form1.reset();  // FormDestroy: settings saved, log released
  return 0;
}

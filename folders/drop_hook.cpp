#include "folders/drop_hook.h"

namespace orimo {

DropHook::DropHook(QObject* parent) : QObject(parent) {}  // placeholder
void DropHook::AddPanel(QWidget*, Handler) {}
bool DropHook::eventFilter(QObject* watched, QEvent* event) { return QObject::eventFilter(watched, event); }

}  // namespace orimo

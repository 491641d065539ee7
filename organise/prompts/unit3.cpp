#include "organise/prompts/unit3.h"

namespace orimo {

TForm3::TForm3(RunFields& fields, QWidget* parent) : QDialog(parent), fields_(fields) {}  // placeholder

}  // namespace orimo

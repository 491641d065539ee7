#include "organise/prompts/unit2.h"

namespace orimo {

TForm2::TForm2(RunFields& fields, QWidget* parent) : QDialog(parent), fields_(fields) {}  // placeholder

}  // namespace orimo

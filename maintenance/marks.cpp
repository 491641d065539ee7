#include "maintenance/marks.h"

namespace orimo {

void DeleteMarkedCommand(RunHost&, Mark) {}  // placeholder
void DeleteMarkedFiles(RunHost&, const std::string&) {}
void RestoreMarkedCommand(RunHost&, Mark) {}
void RestoreMarkedNames(RunHost&, const std::string&) {}

}  // namespace orimo

#include "organise/organise_run.h"

namespace orimo {

void OrganiseCommand(RunHost&) {}  // placeholder
void OrganizeFiles(RunHost&, const std::string&) {}
std::string MonthFolderName(const std::string&) { return {}; }

}  // namespace orimo

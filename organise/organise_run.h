#pragma once

#include <string>

namespace orimo {

class RunHost;

// The organise command (the window's Action3Execute): busy state, folder check, one walk per
// ticked type in table order, "整理完了".
void OrganiseCommand(RunHost& host);

// The walk of one type: `pattern` is the source folder + "/*" + the type's extension;
// host.Fields().CurrentExt holds that extension.
void OrganizeFiles(RunHost& host, const std::string& pattern);

// "2010年03月" from "20100312_061919"; shorter date names give what there is.
std::string MonthFolderName(const std::string& dateName);

}  // namespace orimo

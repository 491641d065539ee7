#include "folders/browse.h"

namespace orimo {

std::string BrowseForFolder(QWidget*, const std::string&) { return {}; }  // placeholder
void SetFolderDialogForTests(std::function<std::string(const std::string&)>) {}

}  // namespace orimo

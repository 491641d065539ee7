#pragma once

#include <functional>
#include <string>

class QWidget;

namespace orimo {

// The modal folder dialog "フォルダを選択してください", opening on `startPath` (its default place
// when that names no folder), with a path field to type into. Returns the chosen folder, or
// "" after a cancel.
std::string BrowseForFolder(QWidget* parent, const std::string& startPath);

// Tests answer the dialog instead of a user: the function gets the start path and returns
// what the user would have chosen. An empty function restores the real dialog.
void SetFolderDialogForTests(std::function<std::string(const std::string& startPath)> answer);

}  // namespace orimo

#pragma once

#include <functional>
#include <string>

namespace orimo {

// Hands a folder or a document to the desktop ("open" verb). Tests put a recorder in its place.
class DesktopOpener {
 public:
  virtual ~DesktopOpener() = default;
  // True when the desktop took the request.
  virtual bool Open(const std::string& path) = 0;
};

// The opener the program uses: the desktop's own file manager / associated application.
DesktopOpener& SystemOpener();
// Replaces the opener (nullptr restores the system's); for tests.
void SetDesktopOpener(DesktopOpener* opener);
DesktopOpener& CurrentOpener();

// False when the desktop can say that no application is associated with the file's type (the
// desktop's launcher would start and fail out of sight, or not start at all); true when one is,
// or when the desktop cannot be asked.
bool HasAssociatedApplication(const std::string& path);

using NoticeFn = std::function<void(const std::string&)>;

// Opens a folder in the file manager: "ディレクトリパスが無効です" for an empty path,
// "ディレクトリが存在しません" for one that names no folder; the desktop's answer is ignored.
void OpenFolderInShell(const std::string& path, const NoticeFn& notice);

// Opens a document with its associated application; "Could not create process" when the
// document is missing or nothing opens it.
void OpenDocument(const std::string& path, const std::string& parameters, const NoticeFn& notice);

}  // namespace orimo

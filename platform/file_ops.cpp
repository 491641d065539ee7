#include "platform/file_ops.h"

#include "platform/files.h"

namespace orimo {

bool FileOps::IsDirectory(const std::string& path) { return orimo::IsDirectory(path); }
bool FileOps::MakeFolder(const std::string& path) { return orimo::MakeFolder(path); }
bool FileOps::CopyNew(const std::string& from, const std::string& to) { return orimo::CopyNew(from, to); }
bool FileOps::CopyReplacing(const std::string& from, const std::string& to) {
  return orimo::CopyReplacing(from, to);
}
bool FileOps::RenameNoReplace(const std::string& from, const std::string& to) {
  return orimo::RenameNoReplace(from, to);
}

FileOps& RealFileOps() {
  static FileOps ops;
  return ops;
}

}  // namespace orimo

#pragma once

#include <string>

namespace orimo {

// The file changes a run makes, behind one seam so that a dry run can predict them without
// touching anything. The default methods are the real platform operations of files.h.
class FileOps {
 public:
  virtual ~FileOps() = default;
  virtual bool IsDirectory(const std::string& path);
  virtual bool MakeFolder(const std::string& path);
  virtual bool CopyNew(const std::string& from, const std::string& to);
  virtual bool CopyReplacing(const std::string& from, const std::string& to);
  virtual bool RenameNoReplace(const std::string& from, const std::string& to);
};

// The real operations.
FileOps& RealFileOps();

}  // namespace orimo

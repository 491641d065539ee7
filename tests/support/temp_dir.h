#pragma once

#include <string>
#include <vector>

namespace orimo::test {

// A fresh folder under the system's temporary directory, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void WriteFile(const std::string& path, const std::string& data);
std::string ReadFile(const std::string& path);  // empty when missing
bool PathExists(const std::string& path);
void MakeDirs(const std::string& path);
// Names in a folder, sorted; "." and ".." left out.
std::vector<std::string> ListNames(const std::string& folder);
// Every file below `folder`, as sorted relative paths ("2010年03月/20100312_061919.jpg").
std::vector<std::string> ListTree(const std::string& folder);
// Sets a file's modification time (local time).
void SetModificationTime(const std::string& path, int year, int month, int day, int hour, int minute, int second);

}  // namespace orimo::test

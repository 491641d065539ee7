#include "files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <ctime>
#include <memory>
#include <random>

namespace orimo {
namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string FolderOf(const std::string& path) {
  auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  bool ok() const { return fd_ >= 0; }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

// Without O_NONBLOCK a pipe named like a photo would block the run at its open; the callers
// then refuse anything but a regular file.
int OpenForReading(const std::string& path) { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK); }

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// A fresh, exclusively created temporary file in `folder`; its path goes to `tempPath`.
Fd CreateTemp(const std::string& folder, mode_t mode, std::string& tempPath) {
  static std::mt19937_64 random{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[17];
    std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
    tempPath = folder + "/" + kTempPrefix + suffix;
    int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0) return Fd(fd);
    if (errno != EEXIST) break;
  }
  tempPath.clear();
  return Fd();
}

// Publishes `temp` as `to` without replacing anything that stands there.
bool PublishNoReplace(const std::string& temp, const std::string& to) {
#ifdef SYS_renameat2
  if (::syscall(SYS_renameat2, AT_FDCWD, temp.c_str(), AT_FDCWD, to.c_str(), 1 /*RENAME_NOREPLACE*/) == 0)
    return true;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
#endif
  // File systems without the flag: a hard link cannot replace either.
  if (::link(temp.c_str(), to.c_str()) != 0) return false;
  ::unlink(temp.c_str());
  return true;
}

// Copies all data of `in` to `out`: in the kernel where it can, else through a buffer.
bool CopyData(int in, int out) {
  bool kernel = true;
  for (;;) {
    if (kernel) {
      ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
      if (n > 0) continue;
      if (n == 0) return true;
      if (errno == EINTR) continue;
      if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return false;
      kernel = false;  // nothing was copied by the failed call; go on by hand from here
    }
    char buffer[1 << 16];
    ssize_t n = ::read(in, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    if (!WriteAll(out, buffer, static_cast<std::size_t>(n))) return false;
  }
}

// The data, permission bits and times of the open source `src` into the open `dst`.
bool CopyContent(int src, const struct stat& st, int dst) {
  struct timespec times[2] = {st.st_atim, st.st_mtim};
  return CopyData(src, dst) && ::fchmod(dst, st.st_mode & 07777) == 0 && ::futimens(dst, times) == 0;
}

// Opens a source for copying; only a regular file is one.
Fd OpenSource(const std::string& from, struct stat& st) {
  Fd src(OpenForReading(from));
  if (src.ok() && (::fstat(src.get(), &st) != 0 || !S_ISREG(st.st_mode))) return Fd();
  return Fd(src.release());
}

// Copies the source into a new temporary file in the folder of `to`, with the source's
// permission bits and times. Returns the temporary path, empty on failure.
std::string CopyToTemp(const std::string& from, const std::string& to) {
  struct stat st {};
  Fd src = OpenSource(from, st);
  if (!src.ok()) return {};
  std::string temp;
  Fd dst = CreateTemp(FolderOf(to), 0600, temp);
  if (!dst.ok()) return {};
  bool ok = CopyContent(src.get(), st, dst.get());
  ok = ::close(dst.release()) == 0 && ok;
  if (!ok) {
    ::unlink(temp.c_str());
    return {};
  }
  return temp;
}

enum class Anonymous { Published, Failed, Unsupported };

// A nameless file in `folder`, or -1 with errno set.
int OpenAnonymous(const std::string& folder, mode_t mode) {
  return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
}

bool AnonymousUnsupported(int error) { return error == EOPNOTSUPP || error == EISDIR || error == EINVAL; }

// Puts the whole nameless file `fd` over `to`: it gets a temporary name first (a link cannot
// replace), which the rename then takes away, so only a crash in between those two calls leaves
// a temporary file behind, and a whole one.
Anonymous ReplaceWithAnonymous(int fd, const std::string& to) {
  static std::mt19937_64 random{std::random_device{}()};
  char self[64];
  std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[17];
    std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
    std::string temp = FolderOf(to) + "/" + kTempPrefix + suffix;
    if (::linkat(AT_FDCWD, self, AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) != 0) {
      if (errno == EEXIST) continue;
      if (errno == ENOENT && ::access("/proc/self/fd", F_OK) != 0) return Anonymous::Unsupported;  // no /proc
      return Anonymous::Failed;
    }
    if (::rename(temp.c_str(), to.c_str()) == 0) return Anonymous::Published;
    ::unlink(temp.c_str());
    return Anonymous::Failed;
  }
  return Anonymous::Failed;
}

// The copy as a nameless file that gets its name only when whole: nothing is left behind by a
// failure or a crash, and linking cannot replace an entry.
Anonymous CopyNewAnonymous(const std::string& from, const std::string& to) {
  int fd = OpenAnonymous(FolderOf(to), 0600);
  if (fd < 0) return AnonymousUnsupported(errno) ? Anonymous::Unsupported : Anonymous::Failed;
  Fd dst(fd);
  struct stat st {};
  Fd src = OpenSource(from, st);
  if (!src.ok() || !CopyContent(src.get(), st, dst.get())) return Anonymous::Failed;
  char self[64];
  std::snprintf(self, sizeof self, "/proc/self/fd/%d", dst.get());
  if (::linkat(AT_FDCWD, self, AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW) == 0) return Anonymous::Published;
  if (errno == ENOENT && ::access("/proc/self/fd", F_OK) != 0) return Anonymous::Unsupported;  // no /proc
  return Anonymous::Failed;
}

}  // namespace

bool EndsWithNoCase(const std::string& name, const std::string& suffix) {
  if (name.size() < suffix.size()) return false;
  std::size_t offset = name.size() - suffix.size();
  for (std::size_t i = 0; i < suffix.size(); ++i)
    if (LowerAscii(name[offset + i]) != LowerAscii(suffix[i])) return false;
  return true;
}

std::optional<std::vector<std::string>> ListMatching(const std::string& pattern) {
  auto slash = pattern.rfind('/');
  const std::string folder = FolderOf(pattern);
  std::string glob = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
  // Only the form "*SUFFIX" is used by the program.
  std::string suffix = !glob.empty() && glob[0] == '*' ? glob.substr(1) : glob;
  bool exact = glob.empty() || glob[0] != '*';
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
  if (!dir) return std::nullopt;
  std::vector<std::string> names;
  while (dirent* entry = ::readdir(dir.get())) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    bool match = exact ? name.size() == suffix.size() && EndsWithNoCase(name, suffix)
                       : EndsWithNoCase(name, suffix);
    if (match) names.push_back(std::move(name));
  }
  return names;
}

bool IsDirectory(const std::string& path) {
  if (path.empty() || path == "***") return false;
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool SameEntry(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

bool Exists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::lstat(path.c_str(), &st) == 0;
}

std::optional<LocalTime> ModificationTime(const std::string& path) {
  Fd fd(OpenForReading(path));
  if (!fd.ok()) return std::nullopt;
  struct stat st {};
  // Only a regular file is a picture or a video; a folder, pipe or device is passed over.
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  time_t t = st.st_mtim.tv_sec;
  struct tm tm {};
  if (!::localtime_r(&t, &tm)) return std::nullopt;
  return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec & ~1};
}

bool CopyNew(const std::string& from, const std::string& to) {
  if (Exists(to)) return false;  // the common clash: answer before copying anything
  Anonymous anonymous = CopyNewAnonymous(from, to);
  if (anonymous != Anonymous::Unsupported) return anonymous == Anonymous::Published;
  std::string temp = CopyToTemp(from, to);
  if (temp.empty()) return false;
  if (!PublishNoReplace(temp, to)) {
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

bool CopyReplacing(const std::string& from, const std::string& to) {
  // Written nameless first, as a new copy is, so that a kill leaves nothing half-copied.
  int fd = OpenAnonymous(FolderOf(to), 0600);
  if (fd < 0 && !AnonymousUnsupported(errno)) return false;
  if (fd >= 0) {
    Fd dst(fd);
    struct stat st {};
    Fd src = OpenSource(from, st);
    if (!src.ok() || !CopyContent(src.get(), st, dst.get())) return false;
    Anonymous done = ReplaceWithAnonymous(dst.get(), to);
    if (done != Anonymous::Unsupported) return done == Anonymous::Published;
  }
  std::string temp = CopyToTemp(from, to);
  if (temp.empty()) return false;
  if (::rename(temp.c_str(), to.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

bool RenameNoReplace(const std::string& from, const std::string& to) {
  if (from.empty() || to.empty()) return false;
#ifdef SYS_renameat2
  if (::syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), 1 /*RENAME_NOREPLACE*/) == 0)
    return true;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
#endif
  struct stat st {};
  if (::lstat(from.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  ::unlink(from.c_str());
  return true;
}

bool DeleteFile(const std::string& path) { return !path.empty() && ::unlink(path.c_str()) == 0; }

bool MakeFolder(const std::string& path) { return ::mkdir(path.c_str(), 0777) == 0; }

std::optional<long long> FileSize(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return static_cast<long long>(st.st_size);
}

bool WriteFileAtomically(const std::string& path, const std::string& data) {
  mode_t mode = 0644;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) return false;
    mode = st.st_mode & 07777;
  }
  // Nameless while it is written: a kill or a full disk leaves nothing behind.
  int anonymous = OpenAnonymous(FolderOf(path), mode);
  if (anonymous < 0 && !AnonymousUnsupported(errno)) return false;
  if (anonymous >= 0) {
    Fd fd(anonymous);
    if (!WriteAll(fd.get(), data.data(), data.size()) || ::fchmod(fd.get(), mode) != 0 || ::fsync(fd.get()) != 0)
      return false;
    Anonymous done = ReplaceWithAnonymous(fd.get(), path);
    if (done != Anonymous::Unsupported) return done == Anonymous::Published;
  }
  std::string temp;
  Fd fd = CreateTemp(FolderOf(path), mode, temp);
  if (!fd.ok()) return false;
  bool ok = WriteAll(fd.get(), data.data(), data.size());
  ok = ok && ::fchmod(fd.get(), mode) == 0;
  ok = ok && ::fsync(fd.get()) == 0;
  ok = ok && ::close(fd.release()) == 0;
  ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  Fd fd(OpenForReading(path));
  if (!fd.ok()) return std::nullopt;
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  std::string data;
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    data.append(buffer, static_cast<std::size_t>(n));
  }
  return data;
}

std::string CurrentDirectory() {
  char buffer[PATH_MAX];
  if (!::getcwd(buffer, sizeof buffer)) return ".";
  return buffer;
}

}  // namespace orimo

#include "app/log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/cp932.h"
#include "platform/files.h"

namespace orimo {

TLOG::TLOG(std::string logPath, std::string backupPath)
    : LogPath_(std::move(logPath)), BackupPath_(std::move(backupPath)) {}

TLOG::~TLOG() = default;

std::string FormatLogLine(std::string_view message, const std::tm& now) {
  char date[32];
  std::snprintf(date, sizeof date, "%02d%02d%02d  ", now.tm_year + 1900 - 2000, now.tm_mon + 1,
                now.tm_mday);
  char time[32];
  std::snprintf(time, sizeof time, "(%02d:%02d:%02d) ", now.tm_hour, now.tm_min, now.tm_sec);
  // Text mode: every line feed, the message's own included, is written as CR LF.
  std::string text = ToCp932Lossy(message) + "\n";
  std::string line = std::string(date) + time;
  for (char c : text) {
    if (c == '\n') line += '\r';
    line += c;
  }
  return line;
}

void TLOG::RotateIfLarge(const std::string& logPath, const std::string& backupPath) {
  if (FileSize(logPath).value_or(0) < kRotateSize) return;
  // Each step's failure is ignored: whatever happens, this call's line starts a new log.
  DeleteFile(backupPath);
  ::rename(logPath.c_str(), backupPath.c_str());
  DeleteFile(logPath);
}

void TLOG::Write(std::string_view message) {
  if (LogPath_.empty()) return;  // a log without a file (a dry run) writes nothing
  std::tm now{};
  if (clock_) {
    now = clock_();
  } else {
    time_t t = ::time(nullptr);
    ::localtime_r(&t, &now);
  }
  const std::string line = FormatLogLine(message, now);
  // Non-blocking, and only a regular file is written: a pipe named Log.txt must not stop a run.
  auto open = [this] {
    int fd = ::open(LogPath_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644);
    struct stat st {};
    if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
      ::close(fd);
      fd = -1;
    }
    return fd;
  };
  int fd = open();
  struct stat st {};
  bool known = fd >= 0 && ::fstat(fd, &st) == 0;
  // The size check before the line, from the open file itself; only a log that has reached the
  // limit is let go, rotated and opened anew.
  if (known && st.st_size >= kRotateSize) {
    ::close(fd);
    RotateIfLarge(LogPath_, BackupPath_);
    fd = open();
    known = fd >= 0 && ::fstat(fd, &st) == 0;
  }
  if (fd < 0) return;  // the line is dropped; the log reports nothing
  std::size_t done = 0;
  while (done < line.size()) {
    ssize_t n = ::write(fd, line.data() + done, line.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  // A line cut short (disk full) is taken back, so the file holds whole lines only.
  if (done < line.size() && known) {
    if (::ftruncate(fd, st.st_size) != 0) { /* nothing more can be done */ }
  }
  ::close(fd);
}

}  // namespace orimo

#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <string_view>

namespace orimo {

// The run log: one time-stamped CP932 line per call, appended to Log.txt and rotated into
// Log.bak at 20000 bytes. It holds no open file: every line opens, appends and closes, so each
// line is complete in the file when Write returns. It never reports a failure.
class TLOG {
 public:
  using Clock = std::function<std::tm()>;

  // An empty logPath makes a log that writes nothing.
  TLOG(std::string logPath, std::string backupPath);
  virtual ~TLOG();

  void Write(std::string_view message);

  // The size check and one-generation rotation Write runs before every line.
  static void RotateIfLarge(const std::string& logPath, const std::string& backupPath);

  const std::string& LogPath() const { return LogPath_; }
  const std::string& BackupPath() const { return BackupPath_; }

  // Tests fix the moment a line is stamped with.
  void SetClock(Clock clock) { clock_ = std::move(clock); }

  static constexpr long long kRotateSize = 20000;

 private:
  std::string LogPath_;
  std::string BackupPath_;
  Clock clock_;
};

// The line as it stands in the file (CP932, CRLF), for a message and a moment.
std::string FormatLogLine(std::string_view message, const std::tm& now);

}  // namespace orimo

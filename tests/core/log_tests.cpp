#include <sys/stat.h>

#include <gtest/gtest.h>

#include "app/log.h"
#include "platform/cp932.h"
#include "tests/support/temp_dir.h"

namespace orimo {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::tm Moment(int year, int month, int day, int hour, int minute, int second) {
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  return tm;
}

TEST(TLOG, LineLayout) {
  struct Case {
    std::tm when;
    const char* message;
    std::string line;
  } const kCases[] = {
      {Moment(2024, 3, 15, 9, 5, 7), "abc", "240315  (09:05:07) abc\r\n"},
      {Moment(2009, 12, 31, 0, 0, 7), "", "091231  (00:00:07) \r\n"},
      {Moment(2010, 1, 1, 23, 59, 59), "整理終了　FindClose(hFind)\n",
       *ToCp932("100101  (23:59:59) 整理終了　FindClose(hFind)\r\n\r\n")},
      {Moment(2010, 1, 1, 1, 2, 3), "コピー失敗：中止　　FindClose(hFind)",
       *ToCp932("100101  (01:02:03) コピー失敗：中止　　FindClose(hFind)\r\n")},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.message);
    EXPECT_EQ(FormatLogLine(c.message, c.when), c.line);
  }
}

class TLOGFiles : public ::testing::Test {
 protected:
  TempDir dir;
  std::string logPath = dir / "Log.txt";
  std::string bakPath = dir / "Log.bak";
  TLOG log{logPath, bakPath};
  void SetUp() override {
    log.SetClock([] { return Moment(2024, 3, 15, 9, 5, 7); });
  }
  static constexpr const char* kLine = "240315  (09:05:07) new\r\n";
};

TEST_F(TLOGFiles, FirstWriteCreatesTheLogAndLeavesTheBackup) {
  log.Write("new");
  EXPECT_EQ(ReadFile(logPath), kLine);
  EXPECT_FALSE(test::PathExists(bakPath));
  log.Write("new");
  EXPECT_EQ(ReadFile(logPath), std::string(kLine) + kLine);
}

TEST_F(TLOGFiles, RotatesFromExactly20000Bytes) {
  const std::string almost(19999, 'a');
  WriteFile(logPath, almost);
  WriteFile(bakPath, "older");
  log.Write("new");  // 19999 bytes: appended, now beyond the limit
  EXPECT_EQ(ReadFile(logPath), almost + kLine);
  EXPECT_EQ(ReadFile(bakPath), "older");
  log.Write("new");  // the next line rotates
  EXPECT_EQ(ReadFile(bakPath), almost + kLine);
  EXPECT_EQ(ReadFile(logPath), kLine);

  const std::string exact(20000, 'b');
  WriteFile(logPath, exact);
  log.Write("new");
  EXPECT_EQ(ReadFile(bakPath), exact);
  EXPECT_EQ(ReadFile(logPath), kLine);
}

TEST_F(TLOGFiles, BackupThatCannotBeReplacedStillStartsANewLog) {
  // A backup that cannot be deleted: here a folder that holds a file.
  test::MakeDirs(bakPath);
  WriteFile(bakPath + "/keep", "x");
  WriteFile(logPath, std::string(20000, 'c'));
  log.Write("new");
  EXPECT_EQ(ReadFile(logPath), kLine);
  EXPECT_EQ(ReadFile(bakPath + "/keep"), "x");
}

TEST_F(TLOGFiles, UnwritableLogIsSilent) {
  TLOG nowhere(dir / "missing/Log.txt", dir / "missing/Log.bak");
  EXPECT_NO_THROW(nowhere.Write("lost"));
  EXPECT_FALSE(test::PathExists(dir / "missing"));
  // A pipe in the log's place neither blocks nor is written.
  ASSERT_EQ(::mkfifo(logPath.c_str(), 0600), 0);
  EXPECT_NO_THROW(log.Write("lost"));
}

}  // namespace
}  // namespace orimo

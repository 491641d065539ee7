#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/cp932.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/ini_profile.h"
#include "platform/instance_lock.h"
#include "tests/support/temp_dir.h"

namespace orimo {
namespace {

using test::ListNames;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(Cp932, LengthCountsDoubleByteCharacters) {
  struct Case {
    const char* text;
    std::size_t bytes;
  } const kCases[] = {
      {"", 0},
      {"abc", 3},
      {"写真", 4},
      {"ｱｲｳ", 3},                 // half-width katakana are single bytes
      {"/home/写真/2010年", 17},
      {"\xF0\x9F\x98\x80", 2},    // an emoji has no CP932 form: counted as one double-byte
      {"\xFF", 1},                // a stray byte
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Cp932Length(c.text), c.bytes);
  }
}

TEST(Cp932, RoundTripAndUnrepresentable) {
  auto cp = ToCp932("整理完了");
  ASSERT_TRUE(cp);
  EXPECT_EQ(*cp, "\x90\xae\x97\x9d\x8a\xae\x97\xb9");
  EXPECT_EQ(FromCp932(*cp), "整理完了");
  EXPECT_FALSE(ToCp932("\xF0\x9F\x98\x80"));
  EXPECT_FALSE(ToCp932("bad\xFF"));
  EXPECT_EQ(ToCp932Lossy("a\xF0\x9F\x98\x80" "b"), "a?b");
  EXPECT_EQ(FromCp932("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
}

TEST(Listing, MatchesSuffixWithoutCaseTopLevelOnly) {
  TempDir dir;
  for (const char* name : {"a.jpg", "B.JPG", "c.Jpg", "d.jpg@", "e.jpgx2", "f.jpeg", "g.bmp"})
    WriteFile(dir / name, "x");
  test::MakeDirs(dir / "folder.jpg/inner.jpg");
  auto jpg = ListMatching(dir.path() + "/*.jpg");
  ASSERT_TRUE(jpg);
  std::sort(jpg->begin(), jpg->end());
  EXPECT_EQ(*jpg, (std::vector<std::string>{"B.JPG", "a.jpg", "c.Jpg", "folder.jpg"}));
  auto marked = ListMatching(dir.path() + "/*.JPG@");
  ASSERT_TRUE(marked);
  EXPECT_EQ(*marked, std::vector<std::string>{"d.jpg@"});
  EXPECT_FALSE(ListMatching(dir.path() + "/missing/*.jpg"));
}

TEST(Files, DirectoryTest) {
  TempDir dir;
  WriteFile(dir / "file", "x");
  EXPECT_TRUE(IsDirectory(dir.path()));
  EXPECT_TRUE(IsDirectory(dir.path() + "/"));
  EXPECT_FALSE(IsDirectory(dir / "file"));
  EXPECT_FALSE(IsDirectory(dir / "missing"));
  EXPECT_FALSE(IsDirectory(""));
  EXPECT_FALSE(IsDirectory("***"));
}

TEST(Files, ModificationTimeHasEvenSecondsAndRefusesFolders) {
  TempDir dir;
  WriteFile(dir / "a", "x");
  test::SetModificationTime(dir / "a", 2010, 3, 12, 6, 19, 19);
  auto t = ModificationTime(dir / "a");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->year, 2010);
  EXPECT_EQ(t->month, 3);
  EXPECT_EQ(t->day, 12);
  EXPECT_EQ(t->hour, 6);
  EXPECT_EQ(t->minute, 19);
  EXPECT_EQ(t->second, 18);
  EXPECT_FALSE(ModificationTime(dir.path()));
  EXPECT_FALSE(ModificationTime(dir / "missing"));
}

TEST(Files, CopyNewNeverReplacesAndKeepsTimeAndMode) {
  TempDir dir;
  WriteFile(dir / "src", "new content");
  ::chmod((dir / "src").c_str(), 0640);
  test::SetModificationTime(dir / "src", 2011, 1, 2, 3, 4, 6);
  WriteFile(dir / "taken", "old");

  EXPECT_FALSE(CopyNew(dir / "src", dir / "taken"));
  EXPECT_EQ(ReadFile(dir / "taken"), "old");

  ASSERT_TRUE(CopyNew(dir / "src", dir / "copy"));
  EXPECT_EQ(ReadFile(dir / "copy"), "new content");
  struct stat a {}, b {};
  ::stat((dir / "src").c_str(), &a);
  ::stat((dir / "copy").c_str(), &b);
  EXPECT_EQ(a.st_mtim.tv_sec, b.st_mtim.tv_sec);
  EXPECT_EQ(b.st_mode & 07777, 0640u);
  // Nothing but the two sources and the copy: no temporary file left.
  EXPECT_EQ(ListNames(dir.path()), (std::vector<std::string>{"copy", "src", "taken"}));
}

TEST(Files, FailedCopiesLeaveNothing) {
  TempDir dir;
  test::MakeDirs(dir / "sub");
  // A folder is not a file to copy, a missing source neither; a missing target folder fails.
  EXPECT_FALSE(CopyNew(dir / "sub", dir / "a"));
  EXPECT_FALSE(CopyNew(dir / "missing", dir / "b"));
  WriteFile(dir / "src", "x");
  EXPECT_FALSE(CopyNew(dir / "src", dir / "nofolder/c"));
  EXPECT_FALSE(CopyReplacing(dir / "missing", dir / "src"));
  EXPECT_EQ(ReadFile(dir / "src"), "x");
  // A pipe named like a photo neither blocks nor copies.
  ASSERT_EQ(::mkfifo((dir / "pipe.jpg").c_str(), 0600), 0);
  EXPECT_FALSE(CopyNew(dir / "pipe.jpg", dir / "d"));
  EXPECT_FALSE(ModificationTime(dir / "pipe.jpg"));
  EXPECT_EQ(ListNames(dir.path()), (std::vector<std::string>{"pipe.jpg", "src", "sub"}));
}

TEST(Files, CopyReplacingReplacesWhole) {
  TempDir dir;
  WriteFile(dir / "src", "fresh");
  WriteFile(dir / "dst", "stale and longer");
  ASSERT_TRUE(CopyReplacing(dir / "src", dir / "dst"));
  EXPECT_EQ(ReadFile(dir / "dst"), "fresh");
  EXPECT_EQ(ListNames(dir.path()), (std::vector<std::string>{"dst", "src"}));
}

TEST(Files, RenameNeverReplaces) {
  TempDir dir;
  WriteFile(dir / "IMG_0005.jpg", "unmarked");
  WriteFile(dir / "IMG_0005.jpg@", "marked");
  EXPECT_FALSE(RenameNoReplace(dir / "IMG_0005.jpg@", dir / "IMG_0005.jpg"));
  EXPECT_EQ(ReadFile(dir / "IMG_0005.jpg"), "unmarked");
  EXPECT_EQ(ReadFile(dir / "IMG_0005.jpg@"), "marked");
  EXPECT_TRUE(RenameNoReplace(dir / "IMG_0005.jpg@", dir / "IMG_0006.jpg"));
  EXPECT_EQ(ReadFile(dir / "IMG_0006.jpg"), "marked");
}

TEST(Files, DeleteRefusesFolders) {
  TempDir dir;
  test::MakeDirs(dir / "x.jpg@");
  WriteFile(dir / "y.jpg@", "x");
  EXPECT_FALSE(DeleteFile(dir / "x.jpg@"));
  EXPECT_TRUE(DeleteFile(dir / "y.jpg@"));
  EXPECT_FALSE(DeleteFile(dir / "y.jpg@"));
}

TEST(IniProfile, ReadsWithoutCaseFirstMatchWins) {
  TempDir dir;
  std::string ini = dir / "Orimo.ini";
  WriteFile(ini, "; comment\r\n[opt]\r\n jpeg = 1 \r\nJPEG=0\r\n[DIR]\r\nRead=\x8e\xca\x90\x5e\r\n[OPT]\r\nBMP=0\r\n");
  EXPECT_EQ(IniProfile::ReadString(ini, "OPT", "JPEG", "eof"), "1");
  EXPECT_EQ(IniProfile::ReadString(ini, "DIR", "read", "eof"), "写真");
  EXPECT_EQ(IniProfile::ReadString(ini, "OPT", "BMP", "eof"), "eof");  // only the first [OPT] counts
  EXPECT_EQ(IniProfile::ReadString(ini, "OPT", "Search", "eof"), "eof");
  EXPECT_EQ(IniProfile::ReadString(dir / "missing.ini", "OPT", "JPEG", "eof"), "eof");
}

TEST(IniProfile, WriteKeepsOtherContentByteForByte) {
  TempDir dir;
  std::string ini = dir / "Orimo.ini";
  const std::string before = "junk without equals\n\x01\x02\xff\r\n[opt]\r\nJpeg=1\r\nOther=keep\n[X]\r\ny=2";
  WriteFile(ini, before);
  IniProfile::WriteString(ini, "OPT", "JPEG", "0");
  IniProfile::WriteString(ini, "OPT", "Search", "1");
  IniProfile::WriteString(ini, "DIR", "Read", "/写真");
  EXPECT_EQ(ReadFile(ini),
            "junk without equals\n\x01\x02\xff\r\n[opt]\r\nJPEG=0\r\nOther=keep\nSearch=1\r\n[X]\r\ny=2\r\n"
            "[DIR]\r\nRead=/\x8e\xca\x90\x5e\r\n");
  EXPECT_EQ(IniProfile::ReadString(ini, "DIR", "Read", "eof"), "/写真");
}

TEST(IniProfile, WriteFailuresRaiseAndKeepTheFile) {
  TempDir dir;
  std::string ini = dir / "Orimo.ini";
  WriteFile(ini, "[DIR]\r\nRead=/old\r\n");
  try {
    IniProfile::WriteString(ini, "DIR", "Read", "/\xF0\x9F\x98\x80");
    FAIL() << "no error";
  } catch (const PlatformError& e) {
    EXPECT_EQ(std::string(e.what()), ini + " に書き込めません");
  }
  EXPECT_EQ(ReadFile(ini), "[DIR]\r\nRead=/old\r\n");
  std::string inFile = dir / "Orimo.ini/Orimo.ini";  // a path under a file cannot be written
  EXPECT_THROW(IniProfile::WriteString(inFile, "OPT", "ModSize", "1"), PlatformError);
  EXPECT_EQ(ListNames(dir.path()), std::vector<std::string>{"Orimo.ini"});
}

TEST(InstanceLock, SecondHolderIsRefusedAcrossProcesses) {
  TempDir dir;
  ::setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
  InstanceLock first("Zubrakel");
  ASSERT_TRUE(first.Acquire());
  pid_t child = ::fork();
  if (child == 0) {
    InstanceLock second("Zubrakel");
    ::_exit(second.Acquire() ? 1 : 0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the second process got the lock";
  first.Release();
  InstanceLock third("Zubrakel");
  EXPECT_TRUE(third.Acquire());
}

}  // namespace
}  // namespace orimo

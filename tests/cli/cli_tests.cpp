// The command-line front end, run as the built executable without a terminal.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "organise/organise_run.h"
#include "platform/files.h"
#include "tests/cli/cli_process.h"
#include "tests/support/exif_fixture.h"
#include "tests/support/fake_host.h"
#include "tests/support/temp_dir.h"

namespace orimo {
namespace {

using test::ListTree;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

using test::CliRun;
using test::RunCli;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

TEST(CliExif, OneLinePerFileInOrder) {
  TempDir dir;
  test::ExifFixture blanks;
  blanks.date = "    :  :     :  :  ";
  test::ExifFixture empty;
  empty.date = std::string(19, '\0');
  test::ExifFixture noDate;
  noDate.dateAt = -1;
  WriteFile(dir / "a.jpg", test::BuildExifJpeg({}));
  WriteFile(dir / "b.jpg", test::BuildExifJpeg(blanks));
  WriteFile(dir / "c.jpg", test::BuildExifJpeg(empty));
  WriteFile(dir / "d.jpg", test::BuildExifJpeg(noDate));
  CliRun r = RunCli({"exif", "a.jpg", "b.jpg", "c.jpg", "d.jpg", "missing.jpg"}, dir.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "a.jpg\tOK\t20100312_061919\n"
            "b.jpg\tOK\t        _      \n"
            "c.jpg\tOK\t\n"
            "d.jpg\tFAIL\t4\n"
            "missing.jpg\tFAIL\t1\n");
}

// A source folder with a clash inside the run, one with a taken target, an unreadable date
// and a marked file.
class CliOrganise : public ::testing::Test {
 protected:
  TempDir base;
  std::string from = base / "card";
  std::string to = base / "photos";

  void SetUp() override {
    test::MakeDirs(from);
    test::MakeDirs(to + "/2011年05月");
    WriteFile(from + "/IMG_0001.JPG", test::PhotoWithDate("2010:03:12 06:19:19"));
    WriteFile(from + "/IMG_0002.JPG", test::PhotoWithDate("2010:03:12 06:19:19", test::SmallJpeg(8, 8)));
    WriteFile(from + "/IMG_0003.jpg", test::PhotoWithDate("2011:05:01 10:00:00"));
    WriteFile(to + "/2011年05月/20110501_100000.jpg", "already there");
    WriteFile(from + "/IMG_0004.jpg", "no exif at all");
    WriteFile(from + "/IMG_0005.jpg@", "marked before");
    WriteFile(from + "/IMG_0006.jpg", test::PhotoWithDate("2012:01:02 03:04:05"));
  }

  std::vector<std::string> Args(std::vector<std::string> extra) const {
    std::vector<std::string> args{"organise", "--base", base.path(), "--from", from, "--to", to, "--types", "jpeg",
                                  "--basis", "exif"};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
  }
};

TEST_F(CliOrganise, DryRunTouchesNothingAndPredictsTheRun) {
  auto before = ListTree(base.path());
  struct stat st {};
  ::stat((from + "/IMG_0001.JPG").c_str(), &st);
  CliRun dry = RunCli(Args({"--dry-run"}), base.path());
  EXPECT_EQ(dry.status, 1) << dry.err;
  EXPECT_EQ(ListTree(base.path()), before);
  struct stat after {};
  ::stat((from + "/IMG_0001.JPG").c_str(), &after);
  EXPECT_EQ(st.st_mtim.tv_sec, after.st_mtim.tv_sec);

  std::set<std::string> copies, clashes;
  for (const auto& line : Lines(dry.out)) {
    if (line.rfind("copy ", 0) == 0) copies.insert(line);
    if (line.rfind("clash ", 0) == 0) clashes.insert(line);
  }
  const std::string m10 = to + "/2010年03月/20100312_061919.jpg";
  const std::string m11 = to + "/2011年05月/20110501_100000.jpg";
  const std::string m12 = to + "/2012年01月/20120102_030405.jpg";
  // IMG_0001 and IMG_0002 share a second: whichever the listing yields first is copied.
  EXPECT_EQ(copies.size(), 2u);
  EXPECT_TRUE(copies.count("copy " + from + "/IMG_0006.jpg -> " + m12));
  EXPECT_EQ(clashes.size(), 2u);
  EXPECT_TRUE(clashes.count("clash " + from + "/IMG_0003.jpg -> " + m11));
  EXPECT_NE(dry.out.find("unreadable " + from + "/IMG_0004.jpg stage 1\n"), std::string::npos);
  EXPECT_EQ(dry.out.find("IMG_0005"), std::string::npos);  // a marked name is no "*.jpg" entry
  EXPECT_NE(dry.out.find("would copy 2, marked 4, clashes 2, unreadable 1, to side folders 0\n"), std::string::npos);

  CliRun real = RunCli(Args({"--on-clash", "skip", "--on-unreadable", "skip"}), base.path());
  EXPECT_EQ(real.status, 1) << real.err;
  EXPECT_NE(real.out.find("copied 2, marked 4, clashes 2, unreadable 1, to side folders 0\n"), std::string::npos);
  for (const auto& line : copies) {
    std::string source = line.substr(5, line.find(" -> ") - 5);
    std::string target = line.substr(line.find(" -> ") + 4);
    EXPECT_EQ(ReadFile(target), ReadFile(source + "@")) << line;
  }
  for (const auto& line : clashes) {
    std::string source = line.substr(6, line.find(" -> ") - 6);
    EXPECT_TRUE(test::PathExists(source + "x2")) << line;
  }
  EXPECT_EQ(ReadFile(m11), "already there");
}

TEST_F(CliOrganise, SameResultAsTheWindowsRun) {
  // The same fixture organised headless, as the window does it, with the same answers.
  TempDir twin;
  std::string twinFrom = twin / "card", twinTo = twin / "photos";
  test::MakeDirs(twinFrom);
  test::MakeDirs(twinTo + "/2011年05月");
  for (const auto& name : test::ListNames(from)) WriteFile(twinFrom + "/" + name, ReadFile(from + "/" + name));
  WriteFile(twinTo + "/2011年05月/20110501_100000.jpg", "already there");
  test::FakeHost host(twin.path());
  host.folders[FolderPanel::OrganiseSource] = twinFrom;
  host.folders[FolderPanel::OrganiseDestination] = twinTo;
  host.nonExifAnswers = {AnswerToSideFolder};
  host.duplicateAnswers = {AnswerToSideFolder, AnswerToSideFolder};
  OrganiseCommand(host);

  CliRun r = RunCli(Args({"--on-clash", "recheck", "--on-unreadable", "exifng"}), base.path());
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(ListTree(to), ListTree(twinTo));
  EXPECT_EQ(test::ListNames(from), test::ListNames(twinFrom));
  EXPECT_EQ(ListTree(base / "Recheck"), ListTree(twin / "Recheck"));
  EXPECT_EQ(ListTree(base / "ExifNG"), ListTree(twin / "ExifNG"));
  // The same log lines, the paths aside.
  test::FakeHost reader(base.path());
  auto cliLog = reader.LogMessages();
  auto windowLog = host.LogMessages();
  ASSERT_EQ(cliLog.size(), windowLog.size());
  for (std::size_t i = 0; i < cliLog.size(); ++i) {
    std::string a = cliLog[i], b = windowLog[i];
    if (a.find(base.path()) != std::string::npos) a.replace(a.find(base.path()), base.path().size(), "BASE");
    if (b.find(twin.path()) != std::string::npos) b.replace(b.find(twin.path()), twin.path().size(), "BASE");
    EXPECT_EQ(a, b) << i;
  }
}

TEST_F(CliOrganise, ExitCodes) {
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* err;  // part of standard error
  } const kCases[] = {
      {{"--on-unreadable", "skip"}, 2, "--on-clash"},
      {{"--on-clash", "skip"}, 2, "--on-unreadable"},
      {{"--on-clash", "maybe", "--on-unreadable", "skip"}, 2, "--on-clash"},
      {{"--frobnicate"}, 2, "--frobnicate"},
      {{"--from", "/nonexistent", "--on-clash", "skip", "--on-unreadable", "skip"}, 2,
       "ディレクトリ設定が正しくありません"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.args[0]);
    auto before = ListTree(base.path());
    CliRun r = RunCli(Args(c.args), base.path());
    EXPECT_EQ(r.status, c.status);
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    EXPECT_EQ(ListTree(base.path()), before);
  }
}

TEST(CliOrganiseClean, EverythingOrganisedExitsZeroAndSettingsAreRead) {
  TempDir base;
  test::MakeDirs(base / "in");
  test::MakeDirs(base / "out");
  WriteFile(base / "in/a.bmp", "bitmap");
  test::SetModificationTime(base / "in/a.bmp", 2010, 3, 12, 6, 19, 19);
  // Orimo.ini gives the folders and the types; BMP forces the file date.
  WriteFile(base / "Orimo.ini", "[DIR]\r\nRead=" + base.path() + "/in\r\nWrite=" + base.path() +
                                    "/out\r\n[OPT]\r\nJPEG=1\r\nBMP=0\r\nSearch=0\r\n");
  const std::string ini = ReadFile(base / "Orimo.ini");
  CliRun r = RunCli({"organise", "--on-clash", "abort", "--on-unreadable", "abort"}, base.path());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ListTree(base / "out"), std::vector<std::string>{"2010年03月/20100312_061918.bmp"});
  EXPECT_TRUE(test::PathExists(base / "in/a.bmp@"));
  EXPECT_EQ(ReadFile(base / "Orimo.ini"), ini);  // never written
}

TEST(CliResize, ConvertsAndNamesTheFileThatEndsTheRun) {
  TempDir base;
  test::MakeDirs(base / "in");
  test::MakeDirs(base / "out");
  WriteFile(base / "in/a.JPG", test::SmallJpeg(40, 30));
  CliRun ok = RunCli({"resize", "--from", base / "in", "--to", base / "out", "--size", "0"}, base.path());
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_NE(ok.out.find("変換完了"), std::string::npos);
  EXPECT_TRUE(test::PathExists(base / "out/a.JPG"));

  WriteFile(base / "in/a.JPG", "not a picture");
  CliRun bad = RunCli({"resize", "--from", base / "in", "--to", base / "out", "--size", "0"}, base.path());
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find(base / "in/a.JPG: JPEG エラー #"), std::string::npos) << bad.err;
  EXPECT_EQ(bad.out.find("変換完了"), std::string::npos);
}

TEST(CliMarks, DeleteNeedsYesWithoutATerminalAndReportsFailures) {
  TempDir base;
  test::MakeDirs(base / "in/album.jpg@");
  WriteFile(base / "in/a.jpg@", "x");
  WriteFile(base / "in/b.jpg", "y");
  CliRun refused = RunCli({"delete-marked", "--mark", "@", "--from", base / "in"}, base.path());
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("--yes"), std::string::npos);
  EXPECT_TRUE(test::PathExists(base / "in/a.jpg@"));

  CliRun done = RunCli({"delete-marked", "--mark", "@", "--from", base / "in", "--yes"}, base.path());
  EXPECT_EQ(done.status, 1);  // the folder named like a marked file cannot be deleted
  EXPECT_NE(done.err.find(base / "in/album.jpg@"), std::string::npos);
  EXPECT_NE(done.out.find("削除完了"), std::string::npos);
  EXPECT_EQ(test::ListNames(base / "in"), (std::vector<std::string>{"album.jpg@", "b.jpg"}));

  WriteFile(base / "in/c.jpgx2", "z");
  CliRun restored = RunCli({"restore-marked", "--mark", "x2", "--from", base / "in"}, base.path());
  EXPECT_EQ(restored.status, 0);
  EXPECT_TRUE(test::PathExists(base / "in/c.jpg"));
}

}  // namespace
}  // namespace orimo

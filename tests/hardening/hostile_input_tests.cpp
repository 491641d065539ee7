// Names and files meant to trip a program up: bytes that are not UTF-8, names at the file
// system's length limit, long paths, newlines, leading dashes, links, pipes, and pictures whose
// headers claim more than any camera makes.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include <jerror.h>
#include <jpeglib.h>

#include "organise/exif_reader.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/ini_profile.h"
#include "resize/jpeg_codec.h"
#include "resize/jpeg_resizer.h"
#include "tests/cli/cli_process.h"
#include "tests/support/exif_fixture.h"
#include "tests/support/temp_dir.h"

namespace orimo {
namespace {

using test::ListNames;
using test::ListTree;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::vector<std::string> OrganiseArgs(const std::string& base, const std::string& from, const std::string& to,
                                      const std::string& basis = "exif") {
  return {"organise", "--base",     base,   "--from",     from,   "--to",           to,    "--types",
          "jpeg",     "--basis",    basis,  "--mark",     "--dup-mark", "--on-clash", "skip", "--on-unreadable",
          "skip"};
}

std::string CodecError(int code) { return "JPEG エラー #" + std::to_string(code); }

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const PlatformError& e) {
    return e.what();
  }
  return "no error";
}

// The picture with the size in its frame header replaced.
std::string WithClaimedSize(std::string jpeg, int width, int height) {
  for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
    if (jpeg[i] == '\xFF' && (jpeg[i + 1] == '\xC0' || jpeg[i + 1] == '\xC2')) {
      jpeg[i + 5] = static_cast<char>(height >> 8);
      jpeg[i + 6] = static_cast<char>(height & 0xFF);
      jpeg[i + 7] = static_cast<char>(width >> 8);
      jpeg[i + 8] = static_cast<char>(width & 0xFF);
      return jpeg;
    }
  }
  ADD_FAILURE() << "no frame header";
  return jpeg;
}

// Fails the test (by the alarm's default action) instead of letting a blocked open hang it.
struct Watchdog {
  Watchdog() { ::alarm(30); }
  ~Watchdog() { ::alarm(0); }
};

TEST(HostileInput, PicturesClaimingHugeSizesAreRefused) {
  TempDir dir;
  WriteFile(dir / "huge.jpg", WithClaimedSize(test::SmallJpeg(16, 16), 65500, 65500));
  WriteFile(dir / "wide.jpg", WithClaimedSize(test::SmallJpeg(16, 16), 65500, 4000));
  WriteFile(dir / "huge_progressive.jpg", WithClaimedSize(test::NoisyJpeg(16, 16, 0, 90, /*progressive=*/true), 65500, 65500));
  WriteFile(dir / "camera.jpg", test::SmallJpeg(3000, 2000));
  // The whole-picture decode refuses what no camera makes, with the codec's out-of-memory error.
  for (const char* name : {"huge.jpg", "wide.jpg", "huge_progressive.jpg"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(ErrorOf([&] { DecodeJpegFile(dir / name); }), CodecError(JERR_OUT_OF_MEMORY));
  }
  // A camera-sized picture still decodes at its size.
  RgbImage camera = DecodeJpegFile(dir / "camera.jpg");
  EXPECT_EQ(camera.width, 3000);
  EXPECT_EQ(camera.pixels.size(), 3000u * 2000u * 3u);
  // The resizer streams rows, but a progressive picture's coefficients would fill memory: the
  // codec's memory limit turns that into an error too.
  JpegResizer resizer;
  std::string error = ErrorOf([&] { resizer.Resize(dir / "huge_progressive.jpg", 320, 240); });
  EXPECT_EQ(error.rfind("JPEG エラー #", 0), 0u) << error;
  EXPECT_NO_THROW(resizer.Resize(dir / "camera.jpg", 320, 240));
}

TEST(HostileInput, PipesNamedLikePhotosNeverBlock) {
  Watchdog watchdog;
  TempDir dir;
  ASSERT_EQ(::mkfifo((dir / "pipe.jpg").c_str(), 0600), 0);
  const std::string pipe = dir / "pipe.jpg";
  EXPECT_EQ(ErrorOf([&] { DecodeJpegFile(pipe); }), "ファイル " + pipe + " は開けません");
  JpegRowReader reader;
  EXPECT_EQ(ErrorOf([&] { reader.Open(pipe); }), "ファイル " + pipe + " は開けません");
  EXPECT_FALSE(ReadCaptureDate(pipe).ok);
  EXPECT_FALSE(ModificationTime(pipe));
  EXPECT_FALSE(ReadWholeFile(pipe));
  EXPECT_FALSE(CopyNew(pipe, dir / "copy.jpg"));
  EXPECT_FALSE(Exists(dir / "copy.jpg"));

  // Whole runs: the pipe is passed over (organise) or the run's error (resize), at once.
  TempDir from, to, base;
  ASSERT_EQ(::mkfifo((from / "x.jpg").c_str(), 0600), 0);
  WriteFile(from / "a.jpg", test::PhotoWithDate("2012:01:02 03:04:05"));
  for (const char* basis : {"exif", "mtime"}) {
    SCOPED_TRACE(basis);
    test::CliRun run = test::RunCli(OrganiseArgs(base.path(), from.path(), to.path(), basis));
    EXPECT_EQ(run.status, 1) << run.err;  // the pipe is not organised
  }
  EXPECT_EQ(ListTree(to.path()), std::vector<std::string>{"2012年01月/20120102_030405.jpg"});
  test::CliRun resize = test::RunCli({"resize", "--base", base.path(), "--from", from.path(), "--to", to.path(),
                                      "--size", "0"});
  EXPECT_EQ(resize.status, 1);
  EXPECT_NE(resize.err.find("ファイル " + from.path() + "/x.jpg は開けません"), std::string::npos) << resize.err;
}

TEST(HostileInput, NamesTheFileSystemTakesAreOrganisedAndNeverLost) {
  TempDir base, from, to;
  const std::string name255 = std::string(251, 'n') + ".jpg";
  struct Case {
    std::string name;
    bool marked;  // whether the "@" fits the name
  } const kCases[] = {
      {"\xFF\xFE\x80.jpg", true},        // not UTF-8
      {"\x82\xA0 cp932.jpg", true},      // CP932 bytes, as an old archive may carry
      {"line\nbreak.jpg", true},
      {"-x.jpg", true},
      {"--help.jpg", true},
      {name255, false},                  // 255 bytes: with its mark, 256
  };
  int second = 0;
  std::map<std::string, std::string> contents;
  for (const Case& c : kCases) {
    char date[32];
    std::snprintf(date, sizeof date, "2013:05:06 07:08:%02d", second += 2);
    contents[c.name] = test::PhotoWithDate(date) + c.name;
    WriteFile(from / c.name, contents[c.name]);
  }
  // A path past 259 bytes.
  std::string deep = from.path();
  while (deep.size() < 300) deep += "/" + std::string(40, 'd');
  test::MakeDirs(deep);
  WriteFile(deep + "/deep.jpg", test::PhotoWithDate("2013:05:06 07:09:00"));

  test::CliRun run = test::RunCli(OrganiseArgs(base.path(), from.path(), to.path()));
  EXPECT_EQ(run.status, 0) << run.err;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const std::string now = from / (c.name + (c.marked ? "@" : ""));
    EXPECT_EQ(ReadFile(now), contents[c.name]);
    if (!c.marked) {
      EXPECT_FALSE(Exists(from / (c.name + "@")));
    }
  }
  EXPECT_EQ(ListTree(to.path()).size(), std::size(kCases));
  // A second run: the unmarked long name clashes with its own copy and cannot be marked "x2"
  // either; it keeps its name and content.
  run = test::RunCli(OrganiseArgs(base.path(), from.path(), to.path()));
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(ReadFile(from / name255), contents[name255]);
  EXPECT_EQ(ListTree(to.path()).size(), std::size(kCases));

  // The long path is organised from its own folder.
  run = test::RunCli(OrganiseArgs(base.path(), deep, to.path()));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Exists(deep + "/deep.jpg@"));
  EXPECT_TRUE(Exists(to / "2013年05月/20130506_070900.jpg"));

  // Leading dashes: a file name is never taken for an option by the exif command.
  WriteFile(base / "-x.jpg", test::PhotoWithDate("2014:01:01 00:00:00"));
  test::CliRun exif = test::RunCli({"exif", "./-x.jpg", "-x.jpg"}, base.path());
  EXPECT_EQ(exif.status, 0) << exif.err;
  EXPECT_EQ(exif.out, "./-x.jpg\tOK\t20140101_000000\n-x.jpg\tOK\t20140101_000000\n");

  // Marks come off again, whatever the bytes of the name.
  test::CliRun restore = test::RunCli({"restore-marked", "--mark", "@", "--base", base.path(), "--from", from.path(),
                                       "--types", "jpeg"});
  EXPECT_EQ(restore.status, 0) << restore.err;
  for (const Case& c : kCases) EXPECT_EQ(ReadFile(from / c.name), contents[c.name]) << c.name;
}

TEST(HostileInput, LinksAreOrganisedAsTheirFilesAndOnlyTheLinkIsMarkedOrDeleted) {
  TempDir base, from, to, outside;
  const std::string target = outside / "real.jpg";
  const std::string photo = test::PhotoWithDate("2015:02:03 04:05:06");
  WriteFile(target, photo);
  ASSERT_EQ(::symlink(target.c_str(), (from / "link.jpg").c_str()), 0);
  ASSERT_EQ(::symlink((outside / "gone.jpg").c_str(), (from / "dangling.jpg").c_str()), 0);
  for (const char* basis : {"exif", "mtime"}) {
    SCOPED_TRACE(basis);
    test::CliRun run = test::RunCli(OrganiseArgs(base.path(), from.path(), to.path(), basis));
    EXPECT_EQ(run.status, 1) << run.err;  // the dangling link is not organised
  }
  // The link was organised like its file (by the first run; the second found it marked).
  EXPECT_EQ(ListTree(to.path()), std::vector<std::string>{"2015年02月/20150203_040506.jpg"});
  EXPECT_EQ(ReadFile(to / "2015年02月/20150203_040506.jpg"), photo);
  struct stat st {};
  ASSERT_EQ(::lstat((from / "link.jpg@").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link itself carries the mark";
  EXPECT_EQ(ReadFile(target), photo);
  EXPECT_EQ(ListNames(outside.path()), std::vector<std::string>{"real.jpg"});
  ASSERT_EQ(::lstat((from / "dangling.jpg").c_str(), &st), 0);

  test::CliRun del = test::RunCli({"delete-marked", "--mark", "@", "--yes", "--base", base.path(), "--from",
                                   from.path(), "--types", "jpeg"});
  EXPECT_EQ(del.status, 0) << del.err;
  EXPECT_EQ(ListNames(from.path()), std::vector<std::string>{"dangling.jpg"});
  EXPECT_EQ(ReadFile(target), photo) << "the link's target stays";
}

// Folder names go into Orimo.ini as values: whatever bytes a folder name may hold, it either
// reads back as itself or is refused with the file left as it was.
TEST(HostileInput, ProfileValuesReadBackAsWrittenOrAreRefused) {
  TempDir dir;
  const std::string ini = dir / "Orimo.ini";
  const std::string start = "[DIR]\r\nRead=/start\r\n[OPT]\r\nJPEG=1\r\n";
  struct Case {
    std::string value;
    bool stored;
  } const kCases[] = {
      {"/photos/trailing blank ", true}, {" /leading", true},  {"\t/tab\t", true},
      {"\"/quoted\"", true},             {"\"", true},          {"/写真/2010年", true},
      {"", true},                        {"/a=b;c[d]", true},
      {"/line\nbreak", false},           {"/cr\r", false},       {"/x\r\n[OPT]\r\nJPEG=0", false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.value);
    WriteFile(ini, start);
    if (c.stored) {
      IniProfile::WriteString(ini, "DIR", "Read", c.value);
      EXPECT_EQ(IniProfile::ReadString(ini, "DIR", "Read", "missing"), c.value);
    } else {
      EXPECT_THROW(IniProfile::WriteString(ini, "DIR", "Read", c.value), PlatformError);
      EXPECT_EQ(ReadFile(ini), start);
    }
    EXPECT_EQ(IniProfile::ReadString(ini, "OPT", "JPEG", "missing"), "1");
  }
}

}  // namespace
}  // namespace orimo

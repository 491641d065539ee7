#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

#include "organise/organise_run.h"
#include "tests/support/exif_fixture.h"
#include "tests/support/fake_host.h"
#include "tests/support/temp_dir.h"

namespace orimo {
namespace {

using test::FakeHost;
using test::ListNames;
using test::ListTree;
using test::MakeDirs;
using test::PathExists;
using test::PhotoWithDate;
using test::ReadFile;
using test::SetModificationTime;
using test::TempDir;
using test::WriteFile;
using Names = std::vector<std::string>;

constexpr const char* kNotice = "notice:整理完了";
constexpr const char* kEndLine = "整理終了　FindClose(hFind)";
constexpr const char* kRead = "正常終了　FileClose(FileHnd)";
constexpr const char* kError = "エラー発生　FileClose(FileHnd)";

TEST(MonthFolderName, TakesWhatThereIs) {
  const struct {
    const char* dateName;
    const char* folder;
  } kCases[] = {
      {"20100312_061919", "2010年03月"}, {"", "年月"}, {"201", "201年月"}, {"2010", "2010年月"},
      {"20105", "2010年5月"}, {"        _      ", "    年  月"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.dateName);
    EXPECT_EQ(MonthFolderName(c.dateName), c.folder);
  }
}

// A base folder (log, side folders), a source and a destination, and the window stand-in.
class OrganiseRun : public ::testing::Test {
 protected:
  std::unique_ptr<TempDir> rootDir;
  std::string root, base, src, dst;
  std::unique_ptr<FakeHost> host;

  void SetUp() override { Reset(); }
  // A fresh world, for tables whose rows each need one.
  void Reset() {
    host.reset();
    rootDir = std::make_unique<TempDir>();
    root = rootDir->path();
    base = root + "/base";
    src = root + "/src";
    dst = root + "/dst";
    MakeDirs(base);
    MakeDirs(src);
    MakeDirs(dst);
    host = std::make_unique<FakeHost>(base);
    host->folders[FolderPanel::OrganiseSource] = src;
    host->folders[FolderPanel::OrganiseDestination] = dst;
    host->options.types = {true, false, false, false, false, false};
    host->options.dateBasis = 0;
  }

  void Photo(const std::string& name, const std::string& date, const std::string& folder = {}) {
    WriteFile((folder.empty() ? src : folder) + "/" + name, PhotoWithDate(date) + name);  // distinct bytes
  }
  void FileDated(const std::string& path, int y, int mo, int d, int h, int mi, int s) {
    WriteFile(path, "data of " + path);
    SetModificationTime(path, y, mo, d, h, mi, s);
  }
  void UseFileDates(std::array<bool, 6> types) {
    host->options.dateBasis = 1;
    host->options.types = types;
  }
  std::vector<std::string> Prompts() const {
    std::vector<std::string> shown;
    for (const auto& e : host->events)
      if (e.rfind("duplicate:", 0) == 0 || e.rfind("nonexif:", 0) == 0) shown.push_back(e);
    return shown;
  }
  // The log with each "CheckFile: PATH" line as "CheckFile", since the listing order is the file
  // system's.
  Names LogShape() const {
    Names shape;
    for (const auto& m : host->LogMessages()) shape.push_back(m.rfind("CheckFile: ", 0) == 0 ? "CheckFile" : m);
    return shape;
  }
  std::string Folder(const std::string& pattern) const { return "整理対象フォルダ:  " + pattern; }
};

TEST_F(OrganiseRun, CopiesToTheDateNameAndMarksTheSource) {
  Photo("IMG_0001.JPG", "2010:03:12 06:19:19");
  std::string original = ReadFile(src + "/IMG_0001.JPG");

  OrganiseCommand(*host);

  EXPECT_EQ(ListTree(dst), Names{"2010年03月/20100312_061919.jpg"});
  EXPECT_EQ(ReadFile(dst + "/2010年03月/20100312_061919.jpg"), original);
  EXPECT_EQ(ListNames(src), Names{"IMG_0001.JPG@"});
  EXPECT_EQ(ReadFile(src + "/IMG_0001.JPG@"), original);
  EXPECT_EQ(host->LogMessages(), (Names{Folder(src + "/*.jpg"), "CheckFile: " + src + "/IMG_0001.JPG", kRead, kEndLine, ""}));
  EXPECT_EQ(host->events, (Names{"busy:organise:on", kNotice, "busy:organise:off"}));
  EXPECT_EQ(host->progressMax, 1);
  EXPECT_EQ(host->progressHistory, (std::vector<int>{1, 0, 0}));
  EXPECT_EQ(host->processCalls, 1);
}

TEST_F(OrganiseRun, SameSecondPromptsAndSkipMarksTheSecond) {
  Photo("A.JPG", "2010:03:12 06:19:19");
  Photo("B.JPG", "2010:03:12 06:19:19");
  host->duplicateAnswers = {AnswerSkip};

  OrganiseCommand(*host);

  Names names = ListNames(src);
  ASSERT_EQ(names.size(), 2u);
  // Whichever the listing yields first is copied; the other is put to the prompt.
  bool aFirst = names == Names{"A.JPG@", "B.JPGx2"};
  ASSERT_TRUE(aFirst || names == (Names{"A.JPGx2", "B.JPG@"})) << names[0] << " " << names[1];
  std::string first = aFirst ? "A.JPG" : "B.JPG", second = aFirst ? "B.JPG" : "A.JPG";
  std::string target = dst + "/2010年03月/20100312_061919.jpg";
  EXPECT_EQ(Prompts(), Names{"duplicate:" + src + "/" + second + "|" + target + "|.jpg"});
  EXPECT_EQ(ListTree(dst), Names{"2010年03月/20100312_061919.jpg"});
  EXPECT_EQ(ReadFile(target), ReadFile(src + "/" + first + "@"));
  EXPECT_EQ(LogShape(), (Names{Folder(src + "/*.jpg"), "CheckFile", kRead, "CheckFile", kRead, "コピー失敗：再試行", kEndLine, ""}));
  EXPECT_EQ(host->progressHistory, (std::vector<int>{1, 2, 0, 0}));
}

TEST_F(OrganiseRun, DuplicateAnswers) {
  struct Case {
    int answer;
    const char* logLine;  // nullptr: none
    bool marked;
    bool overwritten;
    bool toRecheck;
  } const kCases[] = {
      {AnswerAbort, "コピー失敗：中止　　FindClose(hFind)", false, false, false},
      {AnswerSkip, "コピー失敗：再試行", true, false, false},
      {AnswerContinueAlways, "コピー失敗：無視", true, false, false},
      {AnswerToSideFolder, "コピー失敗：再確認フォルダへ", true, false, true},
      {AnswerOverwriteOnce, "コピー失敗：上書き", true, true, false},
      {7, nullptr, true, false, false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.answer);
    Reset();
    std::string month = dst + "/2010年03月";
    MakeDirs(month);
    WriteFile(month + "/20100312_061919.jpg", "old");
    Photo("IMG_0001.JPG", "2010:03:12 06:19:19");
    std::string photo = ReadFile(src + "/IMG_0001.JPG");
    host->duplicateAnswers = {c.answer};

    OrganiseCommand(*host);

    Names log{Folder(src + "/*.jpg"), "CheckFile: " + src + "/IMG_0001.JPG", kRead};
    if (c.logLine) log.push_back(c.logLine);
    if (c.answer != AnswerAbort) log.insert(log.end(), {kEndLine, ""});
    EXPECT_EQ(host->LogMessages(), log);
    EXPECT_EQ(ListNames(src), Names{c.marked ? "IMG_0001.JPGx2" : "IMG_0001.JPG"});
    EXPECT_EQ(ReadFile(month + "/20100312_061919.jpg"), c.overwritten ? photo : "old");
    EXPECT_EQ(ListTree(dst), Names{"2010年03月/20100312_061919.jpg"});
    EXPECT_EQ(ReadFile(base + "/Recheck/20100312_061919.jpg"), c.toRecheck ? photo : "");
    // The position counts the attempt; only a normal end sets it back.
    EXPECT_EQ(host->progressHistory, (c.answer == AnswerAbort ? std::vector<int>{1, 0} : std::vector<int>{1, 0, 0}));
    EXPECT_EQ(host->events.back(), "busy:organise:off");
  }
}

TEST_F(OrganiseRun, RecheckHoldingTheNameKeepsItsFileAndStillMarks) {
  Photo("IMG_0001.JPG", "2010:03:12 06:19:19");
  MakeDirs(dst + "/2010年03月");
  WriteFile(dst + "/2010年03月/20100312_061919.jpg", "taken");
  MakeDirs(base + "/Recheck");
  WriteFile(base + "/Recheck/20100312_061919.jpg", "parked earlier");
  host->duplicateAnswers = {AnswerToSideFolder};

  OrganiseCommand(*host);

  EXPECT_EQ(ReadFile(base + "/Recheck/20100312_061919.jpg"), "parked earlier");
  EXPECT_EQ(ListNames(base + "/Recheck"), Names{"20100312_061919.jpg"});  // no temporary left
  EXPECT_EQ(ListNames(src), Names{"IMG_0001.JPGx2"});
}

TEST_F(OrganiseRun, ContinueAlwaysHoldsForOneTypeOnly) {
  UseFileDates({true, true, false, false, false, false});
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.bmp", "e.bmp"}) FileDated(src + "/" + name, 2012, 7, 8, 9, 10, 12);
  host->duplicateAnswers = {AnswerContinueAlways, AnswerSkip};

  OrganiseCommand(*host);

  EXPECT_EQ(Prompts().size(), 2u);  // one per type
  EXPECT_EQ(host->LogMessages(), (Names{Folder(src + "/*.jpg"), "コピー失敗：無視", "コピー失敗：無視選択済み", kEndLine, "",
                                        Folder(src + "/*.bmp"), "コピー失敗：再試行", kEndLine, ""}));
  EXPECT_EQ(ListTree(dst), (Names{"2012年07月/20120708_091012.bmp", "2012年07月/20120708_091012.jpg"}));
  Names names = ListNames(src);
  EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const std::string& n) { return n.ends_with("x2"); }), 3);
  EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const std::string& n) { return n.ends_with("@"); }), 2);
}

TEST_F(OrganiseRun, AbortEndsOnlyThatType) {
  UseFileDates({true, true, false, false, false, false});
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) FileDated(src + "/" + name, 2012, 7, 8, 9, 10, 12);
  FileDated(src + "/d.bmp", 2013, 1, 2, 3, 4, 6);
  host->duplicateAnswers = {AnswerAbort};

  OrganiseCommand(*host);

  EXPECT_EQ(host->LogMessages(), (Names{Folder(src + "/*.jpg"), "コピー失敗：中止　　FindClose(hFind)",
                                        Folder(src + "/*.bmp"), kEndLine, ""}));
  EXPECT_EQ(ListTree(dst), (Names{"2012年07月/20120708_091012.jpg", "2013年01月/20130102_030406.bmp"}));
  Names names = ListNames(src);
  // One JPEG copied and marked, one aborted on, one never reached; the BMP still organised.
  EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const std::string& n) { return n.ends_with(".jpg"); }), 2);
  EXPECT_TRUE(PathExists(src + "/d.bmp@"));
  EXPECT_EQ(host->events.back(), "busy:organise:off");
  EXPECT_EQ(host->events[host->events.size() - 2], kNotice);
}

TEST_F(OrganiseRun, NonExifAnswers) {
  struct Case {
    int answer;
    const char* logLine;
    bool toExifNG;
  } const kCases[] = {
      {AnswerAbort, "中止　FindClose(hFind)", false},
      {AnswerSkip, "継続（コピーしない）", false},
      {AnswerContinueAlways, "無視", false},
      {AnswerToSideFolder, "再確認", true},
      {AnswerOverwriteOnce, nullptr, false},  // not an answer of this prompt: nothing
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.answer);
    Reset();
    test::ExifFixture noMark;
    noMark.byteOrderMark = "XX";
    WriteFile(src + "/IMG_0002.JPG", test::BuildExifJpeg(noMark));
    host->nonExifAnswers = {c.answer};

    OrganiseCommand(*host);

    EXPECT_EQ(Prompts(), Names{"nonexif:" + src + "/IMG_0002.JPG|2|.jpg"});
    EXPECT_EQ(host->fields.ExifFailStage, 0);
    Names log{Folder(src + "/*.jpg"), "CheckFile: " + src + "/IMG_0002.JPG", kError};
    if (c.logLine) log.push_back(c.logLine);
    if (c.answer != AnswerAbort) log.insert(log.end(), {kEndLine, ""});
    EXPECT_EQ(host->LogMessages(), log);
    EXPECT_EQ(ListNames(src), Names{"IMG_0002.JPG"});  // never marked
    EXPECT_EQ(ListTree(dst), Names{});
    EXPECT_EQ(ListTree(base + "/ExifNG"), c.toExifNG ? Names{"2_IMG_0002.JPG"} : Names{});
    if (c.toExifNG) {
      EXPECT_EQ(ReadFile(base + "/ExifNG/2_IMG_0002.JPG"), ReadFile(src + "/IMG_0002.JPG"));
    }
    // An unreadable date never moves the position.
    EXPECT_EQ(host->progressHistory, (c.answer == AnswerAbort ? std::vector<int>{0} : std::vector<int>{0, 0}));
  }
}

TEST_F(OrganiseRun, StageZeroGoesToTheSideFolderAsZero) {
  test::ExifFixture zeroOffset;
  zeroOffset.dateOffset = 0;
  WriteFile(src + "/IMG_0003.JPG", test::BuildExifJpeg(zeroOffset));
  host->nonExifAnswers = {AnswerToSideFolder};
  OrganiseCommand(*host);
  EXPECT_EQ(Prompts(), Names{"nonexif:" + src + "/IMG_0003.JPG|0|.jpg"});
  EXPECT_EQ(ListTree(base + "/ExifNG"), Names{"0_IMG_0003.JPG"});
  EXPECT_EQ(ListNames(src), Names{"IMG_0003.JPG"});
}

TEST_F(OrganiseRun, MonthFolderThatCannotBeMadeIsACopyFailure) {
  WriteFile(dst + "/2010年03月", "a file where the month folder should be");
  Photo("IMG_0001.JPG", "2010:03:12 06:19:19");
  OrganiseCommand(*host);
  EXPECT_EQ(Prompts(), Names{"duplicate:" + src + "/IMG_0001.JPG|" + dst + "/2010年03月/20100312_061919.jpg|.jpg"});
  EXPECT_EQ(ListTree(dst), Names{"2010年03月"});
  EXPECT_EQ(ListNames(src), Names{"IMG_0001.JPGx2"});
  EXPECT_EQ(host->progressHistory, (std::vector<int>{1, 0, 0}));
}

TEST_F(OrganiseRun, ExifIgnoreAlwaysThenNoPrompt) {
  WriteFile(src + "/a.jpg", "no exif");
  WriteFile(src + "/b.jpg", "none either");
  Photo("c.jpg", "2010:03:12 06:19:19");
  host->nonExifAnswers = {AnswerContinueAlways};

  OrganiseCommand(*host);

  EXPECT_EQ(Prompts().size(), 1u);
  Names shape = LogShape();
  auto at = [&](const char* line) { return std::find(shape.begin(), shape.end(), line) - shape.begin(); };
  EXPECT_EQ(std::count(shape.begin(), shape.end(), kError), 1);
  EXPECT_EQ(std::count(shape.begin(), shape.end(), "無視"), 1);
  EXPECT_EQ(std::count(shape.begin(), shape.end(), "無視選択済み　FileClose(FileHnd)"), 1);
  EXPECT_EQ(at("無視"), at(kError) + 1);
  EXPECT_LT(at("無視"), at("無視選択済み　FileClose(FileHnd)"));
  EXPECT_EQ(std::count(shape.begin(), shape.end(), "CheckFile"), 3);
  EXPECT_EQ(ListTree(dst), Names{"2010年03月/20100312_061919.jpg"});
  EXPECT_EQ(ListNames(src), (Names{"a.jpg", "b.jpg", "c.jpg@"}));
}

TEST_F(OrganiseRun, FileDatesHaveEvenSecondsAndUnreadableFilesArePassedOver) {
  UseFileDates({false, false, true, false, false, true});
  FileDated(src + "/CLIP.MOV", 2011, 5, 6, 7, 8, 9);
  FileDated(src + "/MOV_0001.3g2", 2011, 5, 6, 23, 59, 58);
  ASSERT_EQ(::symlink((src + "/gone").c_str(), (src + "/dangling.mov").c_str()), 0);
  MakeDirs(src + "/folder.mov");

  OrganiseCommand(*host);

  EXPECT_EQ(ListTree(dst), (Names{"2011年05月/20110506_070808.mov", "2011年05月/20110506_235958.3g2"}));
  EXPECT_EQ(Prompts(), Names{});
  EXPECT_EQ(host->LogMessages(), (Names{Folder(src + "/*.mov"), kEndLine, "", Folder(src + "/*.3g2"), kEndLine, ""}));
  EXPECT_EQ(host->progressMax, 1);
  // The MOV walk counted three entries but attempted one copy.
  EXPECT_EQ(host->progressHistory, (std::vector<int>{1, 0, 1, 0, 0}));
  EXPECT_TRUE(PathExists(src + "/dangling.mov"));
  EXPECT_TRUE(PathExists(src + "/CLIP.MOV@"));
}

TEST_F(OrganiseRun, FolderNamedLikeAPhoto) {
  MakeDirs(src + "/x.jpg");
  OrganiseCommand(*host);  // capture date: the reader cannot open it as a file
  EXPECT_EQ(Prompts(), Names{"nonexif:" + src + "/x.jpg|1|.jpg"});

  host->events.clear();
  host->options.dateBasis = 1;
  OrganiseCommand(*host);  // file date: passed over
  EXPECT_EQ(Prompts(), Names{});
  EXPECT_EQ(ListTree(dst), Names{});
  EXPECT_EQ(ListTree(base + "/ExifNG"), Names{});
}

TEST_F(OrganiseRun, NoTypeEnabledOnlyNotices) {
  host->options.types = {};
  Photo("IMG_0001.JPG", "2010:03:12 06:19:19");
  OrganiseCommand(*host);
  EXPECT_EQ(host->events, (Names{"busy:organise:on", kNotice, "busy:organise:off"}));
  EXPECT_FALSE(PathExists(base + "/Log.txt"));
  EXPECT_EQ(ListNames(src), Names{"IMG_0001.JPG"});
}

TEST_F(OrganiseRun, NothingMatchingIsSilent) {
  WriteFile(src + "/notes.txt", "x");
  OrganiseCommand(*host);
  EXPECT_FALSE(PathExists(base + "/Log.txt"));
  EXPECT_EQ(host->progressHistory, std::vector<int>{0});
  EXPECT_EQ(host->progressMax, 100);  // untouched
}

TEST_F(OrganiseRun, MissingFoldersAreRefused) {
  const struct {
    const char* what;
    std::string source, destination;
  } kCases[] = {
      {"no source", root + "/missing", dst},
      {"no destination", src, root + "/missing"},
      {"design-time caption", "***", dst},
      {"a file as source", root + "/file", dst},
  };
  WriteFile(root + "/file", "x");
  Photo("IMG_0001.JPG", "2010:03:12 06:19:19");
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    host->events.clear();
    host->folders[FolderPanel::OrganiseSource] = c.source;
    host->folders[FolderPanel::OrganiseDestination] = c.destination;
    OrganiseCommand(*host);
    EXPECT_EQ(host->events, (Names{"busy:organise:on", "notice:ディレクトリ設定が正しくありません", "busy:organise:off"}));
  }
  EXPECT_EQ(ListNames(src), Names{"IMG_0001.JPG"});
  EXPECT_FALSE(PathExists(base + "/Log.txt"));
}

TEST_F(OrganiseRun, FolderTextsChangedDuringTheRunHoldFromTheNextEntry) {
  // Entry 2's ProcessMessages sees a drop on both panels: its source path and month folder come
  // from the new texts, while the listing stays in the old folder; the BMP walk lists the new one.
  UseFileDates({true, true, false, false, false, false});
  std::string src2 = root + "/src2", dst2 = root + "/dst2";
  MakeDirs(src2);
  MakeDirs(dst2);
  FileDated(src + "/a.jpg", 2010, 1, 1, 10, 0, 0);
  FileDated(src + "/b.jpg", 2010, 2, 1, 10, 0, 0);
  FileDated(src + "/old.bmp", 2010, 3, 1, 10, 0, 0);
  FileDated(src2 + "/a.jpg", 2011, 1, 1, 10, 0, 0);
  FileDated(src2 + "/b.jpg", 2011, 2, 1, 10, 0, 0);
  FileDated(src2 + "/new.bmp", 2011, 3, 1, 10, 0, 0);
  host->onProcessMessages = [&](int call) {
    if (call != 2) return;
    host->folders[FolderPanel::OrganiseSource] = src2;
    host->folders[FolderPanel::OrganiseDestination] = dst2;
  };

  OrganiseCommand(*host);

  bool aFirst = PathExists(src + "/a.jpg@");
  EXPECT_EQ(ListNames(src), (aFirst ? Names{"a.jpg@", "b.jpg", "old.bmp"} : Names{"a.jpg", "b.jpg@", "old.bmp"}));
  EXPECT_EQ(ListNames(src2), (aFirst ? Names{"a.jpg", "b.jpg@", "new.bmp@"} : Names{"a.jpg@", "b.jpg", "new.bmp@"}));
  EXPECT_EQ(ListTree(dst), Names{aFirst ? "2010年01月/20100101_100000.jpg" : "2010年02月/20100201_100000.jpg"});
  EXPECT_EQ(ListTree(dst2), (Names{aFirst ? "2011年02月/20110201_100000.jpg" : "2011年01月/20110101_100000.jpg",
                                   "2011年03月/20110301_100000.bmp"}));
  Names log = host->LogMessages();
  ASSERT_EQ(log.size(), 6u);
  EXPECT_EQ(log[0], Folder(src + "/*.jpg"));
  EXPECT_EQ(log[3], Folder(src2 + "/*.bmp"));
}

TEST_F(OrganiseRun, MarkedNamesAreNeverReplaced) {
  UseFileDates({true, false, false, false, false, false});
  FileDated(src + "/a.jpg", 2010, 1, 1, 10, 0, 0);
  WriteFile(src + "/a.jpg@", "an older file with the marked name");
  FileDated(src + "/b.jpg", 2010, 1, 1, 10, 0, 0);
  WriteFile(src + "/b.jpgx2", "an older duplicate");
  MakeDirs(dst + "/2010年01月");
  WriteFile(dst + "/2010年01月/20100101_100000.jpg", "taken");

  OrganiseCommand(*host);  // a.jpg: copy fails, x2 free → a.jpgx2; b.jpg: x2 taken → keeps its name

  EXPECT_EQ(ListNames(src), (Names{"a.jpg@", "a.jpgx2", "b.jpg", "b.jpgx2"}));
  EXPECT_EQ(ReadFile(src + "/a.jpg@"), "an older file with the marked name");
  EXPECT_EQ(ReadFile(src + "/b.jpgx2"), "an older duplicate");
  EXPECT_EQ(ReadFile(src + "/b.jpg"), "data of " + src + "/b.jpg");

  // A successful copy whose "@" name is taken: the source keeps its name too.
  Reset();
  Photo("c.jpg", "2010:03:12 06:19:19");
  WriteFile(src + "/c.jpg@", "older");
  OrganiseCommand(*host);
  EXPECT_EQ(ListNames(src), (Names{"c.jpg", "c.jpg@"}));
  EXPECT_EQ(ReadFile(src + "/c.jpg@"), "older");
  EXPECT_EQ(ListTree(dst), Names{"2010年03月/20100312_061919.jpg"});
}

TEST_F(OrganiseRun, MarksOffLeaveSourcesAlone) {
  host->options.markOrganised = false;
  host->options.markDuplicates = false;
  Photo("a.jpg", "2010:03:12 06:19:19");
  Photo("b.jpg", "2010:03:12 06:19:19");
  OrganiseCommand(*host);
  EXPECT_EQ(ListNames(src), (Names{"a.jpg", "b.jpg"}));
  EXPECT_EQ(ListTree(dst), Names{"2010年03月/20100312_061919.jpg"});
}

TEST_F(OrganiseRun, MarkedEntriesArePassedOver) {
  WriteFile(src + "/IMG_0001.JPG@", "x");
  WriteFile(src + "/IMG_0002.JPGx2", "x");
  host->fields.CurrentExt = ".jpg";
  OrganizeFiles(*host, src + "/*");  // a listing that yields marked names
  EXPECT_EQ(host->LogMessages(), (Names{Folder(src + "/*"), kEndLine, ""}));
  EXPECT_EQ(host->progressMax, 2);
  EXPECT_EQ(host->progressHistory, std::vector<int>{0});
  EXPECT_EQ(host->processCalls, 2);
  EXPECT_EQ(ListTree(dst), Names{});
}

TEST_F(OrganiseRun, SourceAndDestinationTheSame) {
  host->folders[FolderPanel::OrganiseDestination] = src;
  Photo("a.jpg", "2010:03:12 06:19:19");
  Photo("b.jpg", "2011:04:01 00:00:00");
  OrganiseCommand(*host);
  EXPECT_EQ(ListTree(src), (Names{"2010年03月/20100312_061919.jpg", "2011年04月/20110401_000000.jpg", "a.jpg@", "b.jpg@"}));
  EXPECT_EQ(Prompts(), Names{});
}

TEST_F(OrganiseRun, JapaneseAndNonUtf8Names) {
  std::string sjis = "\x8E\xCA\x90\x5E.jpg";  // 写真 in Shift-JIS bytes: not UTF-8
  Photo("写真①.JPG", "2010:03:12 06:19:19");
  Photo(sjis, "2010:03:12 06:19:20");
  std::string dst2 = root + "/出力先";
  MakeDirs(dst2);
  host->folders[FolderPanel::OrganiseDestination] = dst2;

  OrganiseCommand(*host);

  EXPECT_EQ(ListTree(dst2), (Names{"2010年03月/20100312_061919.jpg", "2010年03月/20100312_061920.jpg"}));
  EXPECT_EQ(ListNames(src), (Names{sjis + "@", "写真①.JPG@"}));
  Names log = host->LogMessages();
  EXPECT_NE(std::find(log.begin(), log.end(), "CheckFile: " + src + "/写真①.JPG"), log.end());
}

TEST_F(OrganiseRun, LinkIsOrganisedLikeTheFileItNames) {
  std::string outside = root + "/elsewhere.jpg";
  WriteFile(outside, PhotoWithDate("2010:03:12 06:19:19"));
  ASSERT_EQ(::symlink(outside.c_str(), (src + "/link.jpg").c_str()), 0);
  OrganiseCommand(*host);
  EXPECT_EQ(ReadFile(dst + "/2010年03月/20100312_061919.jpg"), ReadFile(outside));
  EXPECT_EQ(ListNames(src), Names{"link.jpg@"});  // the link is marked, the file it names is untouched
  EXPECT_EQ(ListNames(root), (Names{"base", "dst", "elsewhere.jpg", "src"}));
}

TEST_F(OrganiseRun, DateNameNeverLeavesTheDestination) {
  // Year "..//", month "..", day "//": taken as it is, the month folder would be dst/..//年..月.
  Photo("evil.jpg", "..//:..:// ..:..:..");
  OrganiseCommand(*host);
  EXPECT_EQ(ListNames(root), (Names{"base", "dst", "src"}));
  EXPECT_EQ(ListTree(dst), Names{"..__年..月/..__..___.......jpg"});
}

TEST_F(OrganiseRun, BusyStateIsLeftWhenARunThrows) {
  Photo("IMG_0001.JPG", "2010:03:12 06:19:19");
  host->onProcessMessages = [](int) { throw std::runtime_error("platform error"); };
  EXPECT_THROW(OrganiseCommand(*host), std::runtime_error);
  EXPECT_FALSE(host->busy);
  EXPECT_EQ(host->events.back(), "busy:organise:off");
}

}  // namespace
}  // namespace orimo

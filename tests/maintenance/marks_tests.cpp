#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "maintenance/marks.h"
#include "organise/file_types.h"
#include "platform/files.h"
#include "tests/support/fake_host.h"
#include "tests/support/temp_dir.h"

namespace orimo {
namespace {

using test::FakeHost;
using test::ListNames;
using test::ListTree;
using test::MakeDirs;
using test::PathExists;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;
using Names = std::vector<std::string>;

constexpr std::array<bool, 6> kJpegOnly = {true, false, false, false, false, false};
constexpr std::array<bool, 6> kJpegBmp = {true, true, false, false, false, false};
constexpr std::array<bool, 6> kJpegMov = {true, false, true, false, false, false};
constexpr std::array<bool, 6> k3g2Only = {false, false, false, false, false, true};

const std::string kAskDeleteOrganised = "okcancel:削除の確認:整理済みファイルを全て削除しますか？";
const std::string kAskDeleteDuplicates = "okcancel:削除の確認:重複検出ファイルを全て削除しますか？";
const std::string kDeleted = "notice:削除完了";
const std::string kRestored = "notice:ファイル名復元完了";
const std::string kFolderNotRight = "notice:ディレクトリ設定が正しくありません";
const std::string kDeleteFailed = "yesno:ファイル削除に失敗しました！:続けますか？\n";
const std::string kRestoreFailed = "yesno:ファイル名を戻すのに失敗しました！:続けますか？\n";

// A base folder with the organise source "src" and destination "dst"; the host shows them.
struct Folders {
  TempDir base;
  std::string src = base / "src";
  std::string dst = base / "dst";
  FakeHost host{base.path()};

  explicit Folders(std::array<bool, 6> types = kJpegOnly) {
    MakeDirs(src);
    MakeDirs(dst);
    host.folders[FolderPanel::OrganiseSource] = src;
    host.folders[FolderPanel::OrganiseDestination] = dst;
    host.options.types = types;
  }
  // Each file holds its own first name, so a rename can be followed.
  void Put(const Names& names) {
    for (const auto& n : names) WriteFile(src + "/" + n, n);
  }
};

enum class Command { Delete, Restore };

void RunCommand(FakeHost& host, Command command, Mark mark) {
  if (command == Command::Delete) {
    DeleteMarkedCommand(host, mark);
  } else {
    RestoreMarkedCommand(host, mark);
  }
}

TEST(MarkCommands, TreatOnlyTheTickedTypesOfTheirOwnMark) {
  struct Case {
    const char* what;
    Command command;
    Mark mark;
    std::array<bool, 6> types;
    Names files;
    Names after;
    Names events;
  } const kCases[] = {
      {"@ delete, JPEG only", Command::Delete, Mark::Organised, kJpegOnly,
       {"IMG_0001.jpg@", "IMG_0002.JPG@", "IMG_0003.jpgx2", "IMG_0004.jpg", "MVI_0005.mov@"},
       {"IMG_0003.jpgx2", "IMG_0004.jpg", "MVI_0005.mov@"},
       {kAskDeleteOrganised, kDeleted}},
      {"x2 delete, JPEG only", Command::Delete, Mark::Duplicate, kJpegOnly,
       {"IMG_0001.jpg@", "IMG_0003.jpgx2", "DSC00012.JPGx2", "MVI_0005.movx2"},
       {"IMG_0001.jpg@", "MVI_0005.movx2"},
       {kAskDeleteDuplicates, kDeleted}},
      {"@ delete, nothing marked", Command::Delete, Mark::Organised, kJpegBmp,
       {"IMG_0004.jpg", "PICT0001.bmp"},
       {"IMG_0004.jpg", "PICT0001.bmp"},
       {kAskDeleteOrganised, kDeleted}},
      {"@ delete, 3G2", Command::Delete, Mark::Organised, k3g2Only,
       {"CLIP01.3g2@", "CLIP02.3G2@", "CLIP03.3g2x2", "IMG_0001.jpg@"},
       {"CLIP03.3g2x2", "IMG_0001.jpg@"},
       {kAskDeleteOrganised, kDeleted}},
      {"@ restore, JPEG and MOV", Command::Restore, Mark::Organised, kJpegMov,
       {"IMG_0001.jpg@", "MVI_0002.MOV@", "IMG_0003.jpgx2", "PICT0004.bmp@"},
       {"IMG_0001.jpg", "IMG_0003.jpgx2", "MVI_0002.MOV", "PICT0004.bmp@"},
       {kRestored}},
      {"x2 restore, JPEG only", Command::Restore, Mark::Duplicate, kJpegOnly,
       {"IMG_0001.jpg@", "IMG_0003.jpgx2", "DSC00012.JPGX2"},
       {"DSC00012.JPG", "IMG_0001.jpg@", "IMG_0003.jpg"},
       {kRestored}},
      {"@ restore, 3G2", Command::Restore, Mark::Organised, k3g2Only,
       {"CLIP01.3g2@", "CLIP02.3g2x2"},
       {"CLIP01.3g2", "CLIP02.3g2x2"},
       {kRestored}},
      {"x2 restore, 3G2", Command::Restore, Mark::Duplicate, k3g2Only,
       {"CLIP01.3g2@", "CLIP02.3g2x2"},
       {"CLIP01.3g2@", "CLIP02.3g2"},
       {kRestored}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    Folders f(c.types);
    f.Put(c.files);
    RunCommand(f.host, c.command, c.mark);
    EXPECT_EQ(ListNames(f.src), c.after);
    EXPECT_EQ(f.host.events, c.events);
    EXPECT_EQ(f.host.progress, 0);
    EXPECT_EQ(f.host.processCalls, 0);  // neither pumps messages nor goes busy
    EXPECT_FALSE(f.host.busy);
  }
}

TEST(MarkCommands, RestoreKeepsTheContentAndTheRestOfTheName) {
  Folders f;
  f.Put({"Img_0001.JpG@"});
  RestoreMarkedCommand(f.host, Mark::Organised);
  EXPECT_EQ(ListNames(f.src), (Names{"Img_0001.JpG"}));
  EXPECT_EQ(ReadFile(f.src + "/Img_0001.JpG"), "Img_0001.JpG@");
}

TEST(DeleteMarkedCommand, CancelDoesNothingMore) {
  Folders f;
  f.Put({"IMG_0001.jpg@"});
  f.host.folders[FolderPanel::OrganiseSource] = "";  // not even the folder check follows
  f.host.questionAnswers = {false};
  DeleteMarkedCommand(f.host, Mark::Organised);
  f.host.folders[FolderPanel::OrganiseSource] = f.src;
  f.host.questionAnswers = {false};
  DeleteMarkedCommand(f.host, Mark::Organised);
  EXPECT_EQ(ListNames(f.src), (Names{"IMG_0001.jpg@"}));
  EXPECT_EQ(f.host.events, (Names{kAskDeleteOrganised, kAskDeleteOrganised}));
  EXPECT_TRUE(f.host.progressHistory.empty());
}

TEST(MarkCommands, FolderCheckAfterTheConfirmation) {
  Folders f;
  WriteFile(f.base / "plain.jpg@", "x");
  const std::string kFolders[] = {"", "***", f.base / "missing", f.base / "plain.jpg@"};
  for (const auto& folder : kFolders) {
    SCOPED_TRACE(folder);
    f.host.events.clear();
    f.host.folders[FolderPanel::OrganiseSource] = folder;
    DeleteMarkedCommand(f.host, Mark::Organised);
    EXPECT_EQ(f.host.events, (Names{kAskDeleteOrganised, kFolderNotRight}));
    f.host.events.clear();
    RestoreMarkedCommand(f.host, Mark::Duplicate);
    EXPECT_EQ(f.host.events, (Names{kFolderNotRight}));  // restore asks nothing first
  }
  EXPECT_TRUE(PathExists(f.base / "plain.jpg@"));
  EXPECT_TRUE(f.host.progressHistory.empty());
}

// A sub-folder named like a marked file cannot be deleted: the user is asked, and No ends only
// that type.
TEST(DeleteMarkedCommand, FailedDeletionAskedPerEntry) {
  for (bool goOn : {true, false}) {
    SCOPED_TRACE(goOn ? "Yes" : "No");
    Folders f(kJpegBmp);
    MakeDirs(f.src + "/ALBUM.jpg@");
    WriteFile(f.src + "/ALBUM.jpg@/IMG_0100.jpg@", "inside");
    f.Put({"IMG_0001.jpg@", "IMG_0002.jpg@", "IMG_0003.jpg@", "PICT0001.bmp@", "PICT0002.BMP@"});
    // The walk visits entries in listing order; what follows the folder is what No leaves.
    Names jpegOrder = ListMatching(f.src + "/*.jpg@").value();
    std::size_t at = 0;
    while (jpegOrder[at] != "ALBUM.jpg@") ++at;
    f.host.questionAnswers = {true, goOn};

    DeleteMarkedCommand(f.host, Mark::Organised);

    Names left = {"ALBUM.jpg@"};
    if (!goOn) left.insert(left.end(), jpegOrder.begin() + at + 1, jpegOrder.end());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(ListNames(f.src), left);  // the BMP files went either way
    EXPECT_EQ(ListTree(f.src + "/ALBUM.jpg@"), (Names{"IMG_0100.jpg@"}));
    EXPECT_EQ(f.host.events,
              (Names{kAskDeleteOrganised, kDeleteFailed + f.src + "/ALBUM.jpg@", kDeleted}));
    // JPEG: 1..at+1, then (Yes) on to the end and back to 0; after No the bar keeps its place
    // and the BMP walk goes on from there; then the command's 0.
    std::vector<int> progress;
    int last = static_cast<int>(goOn ? jpegOrder.size() : at + 1);
    for (int i = 1; i <= last; ++i) progress.push_back(i);
    if (goOn) progress.push_back(0);
    int from = goOn ? 0 : last;
    progress.insert(progress.end(), {from + 1, from + 2, 0, 0});
    EXPECT_EQ(f.host.progressHistory, progress);
    EXPECT_EQ(f.host.progress, 0);
  }
}

TEST(RestoreMarkedCommand, TakenNameKeepsBothAndAsks) {
  for (bool goOn : {true, false}) {
    SCOPED_TRACE(goOn ? "Yes" : "No");
    Folders f(kJpegMov);
    WriteFile(f.src + "/IMG_0005.jpg", "back again");
    WriteFile(f.src + "/IMG_0005.jpg@", "organised");
    f.Put({"MVI_0001.mov@"});
    f.host.questionAnswers = {goOn};

    RestoreMarkedCommand(f.host, Mark::Organised);

    EXPECT_EQ(ReadFile(f.src + "/IMG_0005.jpg"), "back again");
    EXPECT_EQ(ReadFile(f.src + "/IMG_0005.jpg@"), "organised");
    EXPECT_EQ(ListNames(f.src), (Names{"IMG_0005.jpg", "IMG_0005.jpg@", "MVI_0001.mov"}));
    EXPECT_EQ(f.host.events, (Names{kRestoreFailed + f.src + "/IMG_0005.jpg@", kRestored}));
    EXPECT_EQ(f.host.progress, 0);
  }
}

TEST(RestoreMarkedCommand, NoLeavesTheRestOfThatTypeMarked) {
  Folders f(kJpegMov);
  // Two clashes, so the first question comes whatever the listing order.
  for (const char* n : {"A.jpg", "B.jpg"}) WriteFile(f.src + "/" + n, "unmarked");
  f.Put({"A.jpg@", "B.jpg@", "MVI_0001.MOV@"});
  f.host.questionAnswers = {false};
  RestoreMarkedCommand(f.host, Mark::Organised);
  EXPECT_EQ(ListNames(f.src), (Names{"A.jpg", "A.jpg@", "B.jpg", "B.jpg@", "MVI_0001.MOV"}));
  ASSERT_EQ(f.host.events.size(), 2u);  // one question only
  EXPECT_EQ(f.host.events.back(), kRestored);
}

// Deleting is for good: only the source folder's own marked entries go.
TEST(MarkCommands, SubFoldersDestinationAndLinkTargetsUntouched) {
  Folders f(kJpegBmp);
  MakeDirs(f.src + "/sub");
  WriteFile(f.src + "/sub/IMG_0009.jpg@", "nested");
  WriteFile(f.dst + "/IMG_0008.jpg@", "destination");
  MakeDirs(f.base / "album");
  WriteFile(f.base / "album/IMG_0007.jpg@", "in a linked folder");
  WriteFile(f.base / "target.jpg@", "pointed at");
  ASSERT_EQ(::symlink((f.base / "target.jpg@").c_str(), (f.src + "/LINK.jpg@").c_str()), 0);
  ASSERT_EQ(::symlink((f.base / "album").c_str(), (f.src + "/ALBUM.bmp@").c_str()), 0);
  ASSERT_EQ(::symlink((f.base / "gone").c_str(), (f.src + "/DANGLING.jpg@").c_str()), 0);
  f.Put({"IMG_0001.jpg@"});

  DeleteMarkedCommand(f.host, Mark::Organised);

  EXPECT_EQ(ListNames(f.src), (Names{"sub"}));  // the links themselves went
  EXPECT_EQ(ReadFile(f.src + "/sub/IMG_0009.jpg@"), "nested");
  EXPECT_EQ(ReadFile(f.dst + "/IMG_0008.jpg@"), "destination");
  EXPECT_EQ(ReadFile(f.base / "album/IMG_0007.jpg@"), "in a linked folder");
  EXPECT_EQ(ReadFile(f.base / "target.jpg@"), "pointed at");
  EXPECT_EQ(f.host.events, (Names{kAskDeleteOrganised, kDeleted}));

  f.host.events.clear();
  RestoreMarkedCommand(f.host, Mark::Organised);
  EXPECT_EQ(ListNames(f.src), (Names{"sub"}));
  EXPECT_EQ(ListNames(f.dst), (Names{"IMG_0008.jpg@"}));
  EXPECT_EQ(f.host.events, (Names{kRestored}));
}

TEST(DeleteMarkedFiles, ProgressFollowsTheWalk) {
  Folders f;
  DeleteMarkedFiles(f.host, SearchPattern(f.src, ".jpg@"));
  EXPECT_TRUE(f.host.progressHistory.empty());  // nothing matched: the bar is not touched
  EXPECT_EQ(f.host.progressMax, 100);

  f.Put({"A.jpg@", "B.jpg@", "C.jpg"});
  DeleteMarkedFiles(f.host, SearchPattern(f.src, ".jpg@"));
  EXPECT_EQ(f.host.progressMax, 2);
  EXPECT_EQ(f.host.progressHistory, (std::vector<int>{1, 2, 0}));
  EXPECT_EQ(ListNames(f.src), (Names{"C.jpg"}));
}

// A name found in one folder is never acted on in another, whatever the panel shows.
TEST(MarkWalks, ActOnTheFolderThatWasListed) {
  Folders f;
  f.Put({"A.jpg@"});
  WriteFile(f.dst + "/A.jpg@", "other folder");
  f.host.folders[FolderPanel::OrganiseSource] = f.dst;
  DeleteMarkedFiles(f.host, SearchPattern(f.src, ".jpg@"));
  EXPECT_EQ(ListNames(f.src), Names{});
  EXPECT_EQ(ListNames(f.dst), (Names{"A.jpg@"}));

  f.Put({"B.jpgx2"});
  RestoreMarkedNames(f.host, SearchPattern(f.src, ".jpgx2"));
  EXPECT_EQ(ListNames(f.src), (Names{"B.jpg"}));
  EXPECT_EQ(ListNames(f.dst), (Names{"A.jpg@"}));
}

}  // namespace
}  // namespace orimo

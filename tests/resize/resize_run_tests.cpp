#include "resize/resize_run.h"

#include <unistd.h>

#include <algorithm>
#include <functional>

#include <gtest/gtest.h>
#include <jerror.h>

#include "platform/files.h"
#include "resize/jpeg_codec.h"
#include "resize/jpeg_resizer.h"
#include "tests/resize/jpeg_fixtures.h"
#include "tests/resize/reference_resize.h"
#include "tests/support/fake_host.h"
#include "tests/support/temp_dir.h"

namespace orimo {
namespace {

using test::EncodeFixture;
using test::FakeHost;
using test::FixtureFormat;
using test::ReadFile;
using test::ReferenceResize;
using test::TempDir;
using test::WriteFile;

const std::string kDone = "notice:変換完了";
const std::string kBusyOn = "busy:resize:on";
const std::string kBusyOff = "busy:resize:off";

// A photograph-like JPEG in the given coding.
std::string Photo(int width, int height, FixtureFormat::Kind kind = FixtureFormat::Rgb420, unsigned seed = 1) {
  RgbImage rgb = test::PhotoLike(width, height, seed);
  std::vector<unsigned char> samples;
  for (std::size_t i = 0; i < rgb.pixels.size(); i += 3) {
    const unsigned char* p = &rgb.pixels[i];
    if (kind == FixtureFormat::Grey) {
      samples.push_back(p[0]);
    } else if (kind == FixtureFormat::CmykAdobe || kind == FixtureFormat::CmykPlain || kind == FixtureFormat::Ycck) {
      samples.insert(samples.end(), {p[0], p[1], p[2], static_cast<unsigned char>(255 - p[0] / 2)});
    } else {
      samples.insert(samples.end(), p, p + 3);
    }
  }
  return EncodeFixture(width, height, samples, {kind, 90});
}

// The same JPEG with a small EXIF block after SOI, as a camera writes one.
std::string WithExif(const std::string& jpeg) {
  const std::string tiff("II*\0\x08\0\0\0\0\0\0\0\0\0", 14);  // header, an empty IFD
  const std::string payload = std::string("Exif\0\0", 6) + tiff;
  const std::size_t length = payload.size() + 2;
  std::string segment = std::string("\xFF\xE1", 2) + static_cast<char>(length >> 8) + static_cast<char>(length & 0xFF) + payload;
  return jpeg.substr(0, 2) + segment + jpeg.substr(2);
}

struct Size {
  int width, height;
  bool operator==(const Size&) const = default;
};

Size SizeOf(const std::string& path) {
  RgbImage image = DecodeJpegFile(path);
  return {image.width, image.height};
}

// A source and a destination folder under one base folder that also holds the log.
struct Folders {
  TempDir base;
  std::string source = base / "src";
  std::string destination = base / "dst";
  FakeHost host{base.path()};
  Folders() {
    test::MakeDirs(source);
    test::MakeDirs(destination);
    host.folders[FolderPanel::ResizeSource] = source;
    host.folders[FolderPanel::ResizeDestination] = destination;
  }
  std::string Src(const std::string& name) const { return source + "/" + name; }
  std::string Dst(const std::string& name) const { return destination + "/" + name; }
  // The names in the order the run will meet them.
  std::vector<std::string> ListingOrder() const { return *ListMatching(source + "/*.jpg"); }
};

TEST(PresetFor, TableAndFallback) {
  struct Case {
    int index;
    int width, height;
  };
  const Case kCases[] = {{0, 320, 240},  {1, 640, 480}, {2, 800, 600}, {3, 1024, 768},
                         {4, 1280, 960}, {-1, 800, 600}, {5, 800, 600}, {-7, 800, 600}};
  for (const Case& row : kCases) {
    SCOPED_TRACE(row.index);
    EXPECT_EQ(PresetFor(row.index).width, row.width);
    EXPECT_EQ(PresetFor(row.index).height, row.height);
  }
}

TEST(ResizeCommand, WritesEveryJpegUnderItsOwnNameAtThePresetSize) {
  Folders f;
  f.host.options.sizePreset = 0;
  WriteFile(f.Src("a.JPG"), WithExif(Photo(400, 300)));
  ASSERT_TRUE(test::InspectJpeg(ReadFile(f.Src("a.JPG"))).exif);
  WriteFile(f.Src("b.jpg"), Photo(90, 70, FixtureFormat::Rgb444, 2));
  WriteFile(f.Src("c.png"), "not listed");
  test::MakeDirs(f.Src("sub"));
  WriteFile(f.Src("sub/d.jpg"), "not entered");
  WriteFile(f.Dst("b.jpg"), "an older output, replaced without asking");

  ResizeCommand(f.host);

  EXPECT_EQ(f.host.events, (std::vector<std::string>{kBusyOn, kDone, kBusyOff}));
  EXPECT_EQ(test::ListNames(f.destination), (std::vector<std::string>{"a.JPG", "b.jpg"}));
  for (const char* name : {"a.JPG", "b.jpg"}) {
    SCOPED_TRACE(name);
    test::JpegMarkers m = test::InspectJpeg(ReadFile(f.Dst(name)));
    EXPECT_EQ(m.frameMarker, 0xC0);  // baseline
    EXPECT_EQ(m.components, 3);
    EXPECT_EQ(m.width, 320);
    EXPECT_EQ(m.height, 240);
    EXPECT_EQ(m.luminanceTable, test::LuminanceTableForQuality(90));
    EXPECT_FALSE(m.exif);
    // And the sampling: the bytes of the plain reference.
    EXPECT_EQ(ReadFile(f.Dst(name)), ReferenceResize(f.Src(name), 320, 240));
  }
  EXPECT_EQ(f.host.LogMessages(), (std::vector<std::string>{"変換対象フォルダ:  " + f.source + "/*.jpg",
                                                             "変換終了　FindClose(hFind)", ""}));
  EXPECT_EQ(f.host.progressMax, 2);
  // One step a file, then back to 0 (the walk and the command each set it).
  EXPECT_EQ(f.host.progressHistory, (std::vector<int>{1, 2, 0, 0}));
  EXPECT_EQ(f.host.progress, 0);
  EXPECT_EQ(f.host.processCalls, 2);
  EXPECT_FALSE(f.host.busy);
}

TEST(ResizeJpegFiles, NothingMatchedLeavesNoTrace) {
  Folders f;
  WriteFile(f.Src("a.png"), "x");
  EXPECT_EQ(ResizeJpegFiles(f.host, f.source + "/*.jpg"), 0);
  EXPECT_FALSE(test::PathExists(f.host.log->LogPath()));
  EXPECT_TRUE(f.host.progressHistory.empty());
  EXPECT_EQ(f.host.progressMax, 100);  // untouched

  ResizeCommand(f.host);
  EXPECT_EQ(f.host.events, (std::vector<std::string>{kBusyOn, kDone, kBusyOff}));
  EXPECT_FALSE(test::PathExists(f.host.log->LogPath()));
  EXPECT_EQ(f.host.progress, 0);
}

TEST(ResizeJpegFiles, UsesThePresetReadAtTheStart) {
  struct Case {
    int preset;
    Size size;
  };
  const Case kCases[] = {{-1, {800, 600}}, {4, {1280, 960}}, {1, {640, 480}}};
  for (const Case& row : kCases) {
    SCOPED_TRACE(row.preset);
    Folders f;
    f.host.options.sizePreset = row.preset;
    WriteFile(f.Src("a.jpg"), Photo(64, 48));
    WriteFile(f.Src("b.jpg"), Photo(64, 48));
    // A change of the selection during the run does not reach it.
    f.host.onProcessMessages = [&](int) { f.host.options.sizePreset = 0; };
    EXPECT_EQ(ResizeJpegFiles(f.host, f.source + "/*.jpg"), 1);
    EXPECT_EQ(SizeOf(f.Dst("a.jpg")), row.size);
    EXPECT_EQ(SizeOf(f.Dst("b.jpg")), row.size);
  }
}

TEST(ResizeCommand, RefusesFoldersThatAreNotThere) {
  struct Case {
    const char* source;
    const char* destination;
  };
  const Case kCases[] = {{"src", "missing"}, {"missing", "dst"}, {"***", "dst"}, {"", "dst"}, {"src", "file.jpg"}};
  for (const Case& row : kCases) {
    SCOPED_TRACE(std::string(row.source) + " -> " + row.destination);
    Folders f;
    WriteFile(f.Src("a.jpg"), Photo(32, 32));
    WriteFile(f.base / "file.jpg", "x");
    auto text = [&](const char* name) {
      std::string s = name;
      return s.empty() || s == "***" ? s : f.base / s;
    };
    f.host.folders[FolderPanel::ResizeSource] = text(row.source);
    f.host.folders[FolderPanel::ResizeDestination] = text(row.destination);
    ResizeCommand(f.host);
    EXPECT_EQ(f.host.events,
              (std::vector<std::string>{kBusyOn, "notice:ディレクトリ設定が正しくありません", kBusyOff}));
    EXPECT_FALSE(test::PathExists(f.host.log->LogPath()));
    EXPECT_TRUE(test::ListNames(f.destination).empty());
    EXPECT_EQ(f.host.processCalls, 0);
  }
}

TEST(ResizeCommand, RefusesToWriteOverTheOriginals) {
  Folders f;
  std::string original = Photo(64, 48);
  WriteFile(f.Src("a.jpg"), original);
  ASSERT_EQ(::symlink(f.source.c_str(), (f.base / "link").c_str()), 0);
  // The same folder under other texts: with a trailing "/.", and through a link.
  for (std::string destination : {f.source + "/.", f.base / "link", f.base / "dst/../src"}) {
    SCOPED_TRACE(destination);
    f.host.events.clear();
    f.host.folders[FolderPanel::ResizeDestination] = destination;
    ResizeCommand(f.host);
    EXPECT_EQ(f.host.events, (std::vector<std::string>{kBusyOn, "notice:変換元と変換先が同じフォルダです", kBusyOff}));
    EXPECT_EQ(ReadFile(f.Src("a.jpg")), original);
    EXPECT_FALSE(test::PathExists(f.host.log->LogPath()));
  }
}

TEST(ResizeCommand, FolderTextsChangedDuringTheRunApplyToLaterFiles) {
  Folders f;
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) WriteFile(f.Src(name), Photo(48, 32, FixtureFormat::Rgb420, 1));
  std::vector<std::string> order = f.ListingOrder();
  ASSERT_EQ(order.size(), 3u);
  // The second source holds other pictures under the same names.
  std::string source2 = f.base / "src2", destination2 = f.base / "dst2";
  test::MakeDirs(source2);
  test::MakeDirs(destination2);
  for (const std::string& name : order) WriteFile(source2 + "/" + name, Photo(200, 20, FixtureFormat::Rgb444, 9));
  f.host.onProcessMessages = [&](int call) {
    if (call == 2) f.host.folders[FolderPanel::ResizeDestination] = destination2;  // before the second file
    if (call == 3) f.host.folders[FolderPanel::ResizeSource] = source2;            // before the third
  };
  ResizeCommand(f.host);

  EXPECT_EQ(f.host.events, (std::vector<std::string>{kBusyOn, kDone, kBusyOff}));
  EXPECT_EQ(test::ListNames(f.destination), (std::vector<std::string>{order[0]}));
  std::vector<std::string> later = {order[1], order[2]};
  std::sort(later.begin(), later.end());
  EXPECT_EQ(test::ListNames(destination2), later);
  EXPECT_EQ(ReadFile(f.Dst(order[0])), ReferenceResize(f.Src(order[0]), 800, 600));
  EXPECT_EQ(ReadFile(destination2 + "/" + order[1]), ReferenceResize(f.Src(order[1]), 800, 600));
  EXPECT_EQ(ReadFile(destination2 + "/" + order[2]), ReferenceResize(source2 + "/" + order[2], 800, 600));
  // The log names the folder the listing began in.
  EXPECT_EQ(f.host.LogMessages().front(), "変換対象フォルダ:  " + f.source + "/*.jpg");
}

TEST(ResizeCommand, ADestinationDroppedOntoTheSourceStopsTheRun) {
  Folders f;
  for (const char* name : {"a.jpg", "b.jpg"}) WriteFile(f.Src(name), Photo(48, 32));
  std::vector<std::string> order = f.ListingOrder();
  std::string secondOriginal = ReadFile(f.Src(order[1]));
  f.host.onProcessMessages = [&](int call) {
    if (call == 2) f.host.folders[FolderPanel::ResizeDestination] = f.source;
  };
  ResizeCommand(f.host);
  EXPECT_EQ(f.host.events,
            (std::vector<std::string>{kBusyOn, kBusyOff, "error:変換元と変換先が同じフォルダです"}));
  EXPECT_EQ(ReadFile(f.Src(order[1])), secondOriginal);
  EXPECT_EQ(test::ListNames(f.destination), (std::vector<std::string>{order[0]}));
}

// Each way a file can end the run: the error's text, what stays written, the window put back.
TEST(ResizeCommand, AFileThatFailsEndsTheRunThere) {
  struct Case {
    const char* what;
    // Spoils the second file of the listing; gives the expected error text.
    std::function<std::string(Folders&, const std::string& name)> spoil;
  };
  const Case kCases[] = {
      {"damaged",
       [](Folders& f, const std::string& name) {
         WriteFile(f.Src(name), "this is not a JPEG");
         return "JPEG エラー #" + std::to_string(JERR_NO_SOI);
       }},
      {"cut off in its header",
       [](Folders& f, const std::string& name) {
         WriteFile(f.Src(name), Photo(48, 32).substr(0, 300));
         return "JPEG エラー #" + std::to_string(JERR_SOF_NO_SOS);
       }},
      {"cut off in its picture data: it would come out grey-filled",
       [](Folders& f, const std::string& name) {
         std::string photo = Photo(48, 32);
         WriteFile(f.Src(name), photo.substr(0, photo.size() * 2 / 3));
         return "JPEG エラー #" + std::to_string(JWRN_JPEG_EOF);
       }},
      {"a dangling link",
       [](Folders& f, const std::string& name) {
         orimo::DeleteFile(f.Src(name));
         EXPECT_EQ(::symlink((f.base / "gone").c_str(), f.Src(name).c_str()), 0);
         return "ファイル " + f.Src(name) + " は開けません";
       }},
      {"a folder where the output goes",
       [](Folders& f, const std::string& name) {
         test::MakeDirs(f.Dst(name));
         return "ファイル " + f.Dst(name) + " を作成できません";
       }},
  };
  for (const Case& row : kCases) {
    SCOPED_TRACE(row.what);
    Folders f;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) WriteFile(f.Src(name), Photo(48, 32));
    std::vector<std::string> order = f.ListingOrder();
    std::string expected = row.spoil(f, order[1]);

    ResizeCommand(f.host);

    EXPECT_EQ(f.host.events, (std::vector<std::string>{kBusyOn, kBusyOff, "error:" + expected}));
    EXPECT_EQ(ReadFile(f.Dst(order[0])), ReferenceResize(f.Src(order[0]), 800, 600));
    EXPECT_FALSE(test::PathExists(f.Dst(order[2])));
    EXPECT_EQ(f.host.progress, 0);
    EXPECT_FALSE(f.host.busy);
    EXPECT_EQ(f.host.LogMessages(), (std::vector<std::string>{"変換対象フォルダ:  " + f.source + "/*.jpg"}));
    // No temporary file is left in the destination.
    for (const std::string& name : test::ListNames(f.destination))
      EXPECT_NE(name.rfind(kTempPrefix, 0), 0u) << name;
  }
}

TEST(ResizeCommand, ASourceFolderEndingInASeparatorReachesTheSameFiles) {
  Folders f;
  WriteFile(f.Src("a.jpg"), Photo(40, 30));
  f.host.folders[FolderPanel::ResizeSource] = f.source + "/";
  ResizeCommand(f.host);
  EXPECT_EQ(f.host.events, (std::vector<std::string>{kBusyOn, kDone, kBusyOff}));
  EXPECT_EQ(f.host.LogMessages().front(), "変換対象フォルダ:  " + f.source + "//*.jpg");
  EXPECT_EQ(SizeOf(f.Dst("a.jpg")), (Size{800, 600}));
}

// The streaming path (row by row, skipping unsampled rows) against the plain full decode.
TEST(JpegResizer, GivesTheBytesOfThePlainFullDecode) {
  struct Case {
    const char* what;
    FixtureFormat::Kind kind;
    int width, height;
    int preset;
  };
  const Case kCases[] = {
      {"4:2:0 reduced", FixtureFormat::Rgb420, 1000, 750, 0},
      {"4:2:0 reduced hard, rows skipped across MCU rows", FixtureFormat::Rgb420, 2000, 1500, 0},
      {"4:4:4", FixtureFormat::Rgb444, 700, 500, 0},
      {"4:2:2", FixtureFormat::Rgb422, 700, 500, 1},
      {"greyscale", FixtureFormat::Grey, 650, 490, 0},
      {"Adobe CMYK", FixtureFormat::CmykAdobe, 500, 400, 0},
      {"plain CMYK", FixtureFormat::CmykPlain, 330, 250, 0},
      {"YCCK", FixtureFormat::Ycck, 330, 250, 0},
      {"Adobe CMYK reduced hard", FixtureFormat::CmykAdobe, 1700, 1300, 0},
      {"4:4:4 reduced hard", FixtureFormat::Rgb444, 2000, 1500, 0},
      {"4:2:2 reduced hard", FixtureFormat::Rgb422, 2000, 1500, 0},
      {"greyscale reduced hard", FixtureFormat::Grey, 2000, 1500, 0},
      {"progressive reduced hard", FixtureFormat::Progressive420, 2000, 1500, 0},
      {"progressive", FixtureFormat::Progressive420, 900, 700, 0},
      {"odd sizes", FixtureFormat::Rgb420, 333, 217, 0},
      {"odd sizes, 4:4:4", FixtureFormat::Rgb444, 1001, 777, 0},
      {"height not a whole MCU row, last row sampled", FixtureFormat::Rgb420, 641, 241, 0},
      {"enlarged, every pixel repeated", FixtureFormat::Rgb420, 100, 75, 4},
      {"portrait to landscape", FixtureFormat::Rgb420, 750, 1000, 0},
      {"one pixel", FixtureFormat::Rgb420, 1, 1, 0},
      {"one row", FixtureFormat::Rgb420, 900, 1, 0},
      {"one column", FixtureFormat::Grey, 1, 900, 0},
  };
  TempDir dir;
  JpegResizer resizer;  // reused, as a run does
  for (const Case& row : kCases) {
    SCOPED_TRACE(row.what);
    PresetSize size = PresetFor(row.preset);
    WriteFile(dir / "in.jpg", Photo(row.width, row.height, row.kind, static_cast<unsigned>(row.width)));
    const std::string& fast = resizer.Resize(dir / "in.jpg", size.width, size.height);
    EXPECT_TRUE(fast == ReferenceResize(dir / "in.jpg", size.width, size.height));
  }
}

// Whole blocks of one colour survive coding, so the output shows which source pixel each
// target pixel took: block (bx, by) of a 16-pixel grid must land where the stretch puts it.
TEST(JpegResizer, StretchesEachAxisOnItsOwn) {
  struct Case {
    int blocksAcross, blocksDown;
    int preset;
  };
  const Case kCases[] = {{10, 8, 4}, {60, 40, 0}, {8, 12, 2}};
  TempDir dir;
  for (const Case& row : kCases) {
    SCOPED_TRACE(std::to_string(row.blocksAcross) + "x" + std::to_string(row.blocksDown));
    RgbImage blocks = test::PositionBlocks(row.blocksAcross, row.blocksDown);
    WriteFile(dir / "blocks.jpg", EncodeFixture(blocks.width, blocks.height, blocks.pixels, {FixtureFormat::Rgb444, 100}));
    PresetSize size = PresetFor(row.preset);
    JpegResizer resizer;
    WriteFile(dir / "out.jpg", resizer.Resize(dir / "blocks.jpg", size.width, size.height));
    RgbImage out = DecodeJpegFile(dir / "out.jpg");
    ASSERT_EQ(out.width, size.width);
    ASSERT_EQ(out.height, size.height);
    // The centre of each block's area in the target.
    for (int by = 0; by < row.blocksDown; ++by)
      for (int bx = 0; bx < row.blocksAcross; ++bx) {
        int x = ((2 * bx + 1) * 8) * size.width / blocks.width;
        int y = ((2 * by + 1) * 8) * size.height / blocks.height;
        unsigned char want[3];
        test::BlockColour(bx, by, want);
        const unsigned char* got = &out.pixels[(static_cast<std::size_t>(y) * out.width + x) * 3];
        for (int c = 0; c < 3; ++c) ASSERT_NEAR(got[c], want[c], 12) << "block " << bx << "," << by;
      }
  }
}

}  // namespace
}  // namespace orimo

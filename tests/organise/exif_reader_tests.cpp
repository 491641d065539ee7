#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csetjmp>
#include <cstdio>
#include <functional>

#include <jpeglib.h>

#include "organise/exif_reader.h"
#include "tests/support/exif_fixture.h"
#include "tests/support/temp_dir.h"

namespace orimo {
namespace {

using test::BuildExifJpeg;
using test::ExifFixture;
using test::ExifLayout;
using test::Segment;
using test::TempDir;
using test::WriteFile;

struct Expect {
  bool ok;
  int stage;
  std::string dateName;
};
constexpr const char* kName = "20100312_061919";
Expect Found(std::string name = kName) { return {true, 0, std::move(name)}; }
Expect Stage(int stage) { return {false, stage, ""}; }

void ExpectResult(const CaptureDate& got, const Expect& want) {
  EXPECT_EQ(got.ok, want.ok);
  if (want.ok) {
    EXPECT_EQ(got.dateName, want.dateName);
  } else {
    EXPECT_EQ(got.stage, want.stage);
    EXPECT_EQ(got.dateName, "");
  }
}

// Each row builds one crafted file: a fixture with its knobs set, optionally cut short.
struct PathCase {
  const char* name;
  std::function<void(ExifFixture&)> craft;
  std::function<std::size_t(const ExifLayout&)> cut;  // keep this many bytes; none: keep all
  Expect expect;
};

std::string Segments(int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s += Segment(static_cast<std::uint8_t>(0xE2 + i % 10), "pad");
  return s;
}

const PathCase kPathCases[] = {
    {"little-endian", [](ExifFixture&) {}, nullptr, Found()},
    {"big-endian gives the same name", [](ExifFixture& f) { f.bigEndian = true; }, nullptr, Found()},
    {"APP0 before APP1", [](ExifFixture& f) { f.segmentsBefore = {test::App0Jfif()}; }, nullptr, Found()},
    {"XMP APP1 first", [](ExifFixture& f) { f.segmentsBefore = {Segment(0xE1, std::string("http://ns.adobe.com/xap/1.0/\0<x/>", 33))}; },
     nullptr, Stage(1)},
    {"APP1 as tenth segment", [](ExifFixture& f) { f.segmentsBefore = {Segments(9)}; }, nullptr, Found()},
    {"APP1 as eleventh segment", [](ExifFixture& f) { f.segmentsBefore = {Segments(10)}; }, nullptr, Stage(1)},
    {"a marker need not start with FF", [](ExifFixture& f) { f.segmentsBefore = {std::string("\x12\x34\x00\x04xy", 6)}; },
     nullptr, Found()},
    // Pass 1: marker 12 34, L = 0 → back to offset 4; pass 2: marker 00 00, L = 2 → offset 8.
    {"length 0 steps back", [](ExifFixture& f) { f.segmentsBefore = {std::string("\x12\x34\x00\x00\x00\x02", 6)}; },
     nullptr, Found()},
    {"keyword is case-sensitive", [](ExifFixture& f) { f.keyword = "EXIF"; }, nullptr, Stage(1)},
    {"no byte-order mark", [](ExifFixture& f) { f.byteOrderMark = "IM"; }, nullptr, Stage(2)},
    {"byte order MM with little-endian data", [](ExifFixture& f) { f.byteOrderMark = "MM"; }, nullptr, Stage(3)},
    {"0x8769 and 0x9003 as last entries", [](ExifFixture& f) {
       f.exifPointerAt = f.ifd0Count - 1;
       f.dateAt = f.exifCount - 1;
     }, nullptr, Found()},
    {"0x8769 and 0x9003 as last entries, big-endian", [](ExifFixture& f) {
       f.bigEndian = true;
       f.exifPointerAt = f.ifd0Count - 1;
       f.dateAt = f.exifCount - 1;
     }, nullptr, Found()},
    {"no 0x8769", [](ExifFixture& f) { f.exifPointerAt = -1; }, nullptr, Stage(3)},
    {"first directory empty", [](ExifFixture& f) { f.ifd0Count = 0; }, nullptr, Stage(3)},
    {"count stops before 0x8769", [](ExifFixture& f) { f.ifd0CountField = 1; }, nullptr, Stage(3)},
    {"no 0x9003", [](ExifFixture& f) { f.dateAt = -1; }, nullptr, Stage(4)},
    {"Exif directory empty", [](ExifFixture& f) { f.exifCount = 0; }, nullptr, Stage(4)},
    {"date offset 0", [](ExifFixture& f) { f.dateOffset = 0; }, nullptr, Stage(0)},
    {"date offset past the end", [](ExifFixture& f) { f.dateOffset = 100000; }, nullptr, Found("")},
    {"date offset near 4 GiB does not wrap", [](ExifFixture& f) { f.dateOffset = 0xFFFFFFFF; }, nullptr, Found("")},
    {"Exif offset near 4 GiB does not wrap", [](ExifFixture& f) { f.exifOffset = 0xFFFFFFF0; }, nullptr, Stage(4)},
    {"Exif offset back at the first directory", [](ExifFixture& f) { f.exifOffset = 8; }, nullptr, Stage(4)},
    // B+1 holds "I" 2A 00: the year field stops at the zero.
    {"date offset into the TIFF header", [](ExifFixture& f) { f.dateOffset = 1; }, nullptr, Found("I*")},
    {"zero date", [](ExifFixture& f) { f.date = "0000:00:00 00:00:00"; }, nullptr, Found("00000000_000000")},
    {"blanks and colons", [](ExifFixture& f) { f.date = "    :  :     :  :  "; }, nullptr, Found("        _      ")},
    {"separators are not looked at", [](ExifFixture& f) { f.date = "2010-03-12T06-19-19"; }, nullptr, Found()},
    {"no digit test", [](ExifFixture& f) { f.date = "abcd:ef:gh ij:kl:mn"; }, nullptr, Found("abcdefgh_ijklmn")},
    {"zero byte inside the month", [](ExifFixture& f) { f.date = std::string("2010:0\0:12 06:19:19", 19); }, nullptr,
     Found("20100")},
    {"zero first byte", [](ExifFixture& f) { f.date = std::string("\0" "010:03:12 06:19:19", 19); }, nullptr, Found("")},
    {"short date text at the end of the file", [](ExifFixture& f) {
       f.date = "2010:03";
       f.body = "";
     }, nullptr, Found("201003")},
    {"N0 = 65535 with nothing behind", [](ExifFixture& f) {
       f.ifd0Count = 0;
       f.ifd0CountField = 65535;
     }, [](const ExifLayout& l) { return l.ifd0 + 2; }, Stage(3)},
    {"N0 = 65535 before a real 0x8769", [](ExifFixture& f) { f.ifd0CountField = 65535; }, nullptr, Found()},
    {"0-byte file", nullptr, [](const ExifLayout&) { return std::size_t{0}; }, Stage(1)},
    {"start marker only", nullptr, [](const ExifLayout&) { return std::size_t{2}; }, Stage(1)},
    {"cut inside the keyword", nullptr, [](const ExifLayout& l) { return l.app1 + 6; }, Stage(1)},
    {"cut before the byte-order mark", nullptr, [](const ExifLayout& l) { return l.base; }, Stage(2)},
    {"cut before the first count", nullptr, [](const ExifLayout& l) { return l.ifd0; }, Stage(3)},
    {"cut before the 0x8769 entry", nullptr, [](const ExifLayout& l) { return l.ifd0 + 2 + 12; }, Stage(3)},
    {"cut before the Exif count", nullptr, [](const ExifLayout& l) { return l.exifIfd; }, Stage(4)},
    {"cut before the 0x9003 entry", nullptr, [](const ExifLayout& l) { return l.exifIfd + 2 + 12; }, Stage(4)},
    {"cut before the date", nullptr, [](const ExifLayout& l) { return l.date; }, Found("")},
    {"cut inside the date", nullptr, [](const ExifLayout& l) { return l.date + 13; }, Found("20100312_06")},
};

TEST(ReadCaptureDate, FollowsTheFixedPath) {
  TempDir dir;
  for (const PathCase& c : kPathCases) {
    SCOPED_TRACE(c.name);
    ExifFixture fixture;
    if (c.craft) c.craft(fixture);
    ExifLayout layout;
    std::string bytes = BuildExifJpeg(fixture, &layout);
    if (c.cut) bytes.resize(c.cut(layout));
    WriteFile(dir / "x.jpg", bytes);
    ExpectResult(ReadCaptureDate(dir / "x.jpg"), c.expect);
  }
}

struct Decoded {
  bool ok = false;
  int width = 0, height = 0;
};

struct JumpingError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

// Decodes a small picture (up to 1024 pixels wide) with libjpeg; a codec error comes back as
// ok = false. Every local is trivially destructible, so the jump out of the codec skips nothing.
Decoded Decode(const std::string& bytes) {
  static unsigned char row[1024 * 3];
  jpeg_decompress_struct cinfo{};
  JumpingError error{};
  cinfo.err = jpeg_std_error(&error.mgr);
  error.mgr.error_exit = [](j_common_ptr c) { std::longjmp(reinterpret_cast<JumpingError*>(c->err)->jump, 1); };
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return {};
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  jpeg_read_header(&cinfo, TRUE);
  jpeg_start_decompress(&cinfo);
  if (cinfo.output_width * cinfo.output_components > sizeof row) {
    jpeg_destroy_decompress(&cinfo);
    return {};
  }
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW rows[1] = {row};
    jpeg_read_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_decompress(&cinfo);
  Decoded result{true, static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height)};
  jpeg_destroy_decompress(&cinfo);
  return result;
}

TEST(ReadCaptureDate, DecodablePhotoKeepsItsDate) {
  // The photo fixture the other suites use: a real picture that decodes, with a readable date.
  TempDir dir;
  std::string photo = test::PhotoWithDate("2021:11:30 23:59:58", test::SmallJpeg(64, 48));
  WriteFile(dir / "p.jpg", photo);
  ExpectResult(ReadCaptureDate(dir / "p.jpg"), Found("20211130_235958"));
  Decoded decoded = Decode(photo);
  EXPECT_TRUE(decoded.ok);
  EXPECT_EQ(decoded.width, 64);
  EXPECT_EQ(decoded.height, 48);
}

TEST(ReadCaptureDate, ReachesStepsFarIntoALargeFile) {
  // The walk leaves the first block twice: a 60 000-byte segment before APP1, and a date text
  // 150 000 bytes into the picture data.
  TempDir dir;
  ExifFixture fixture;
  fixture.segmentsBefore = {Segment(0xE2, std::string(60000, 'p'))};
  fixture.body = std::string(200000, 'x');
  fixture.body.replace(150000, 19, "2011:04:05 10:20:30");
  ExifLayout layout;
  BuildExifJpeg(fixture, &layout);
  fixture.dateOffset = static_cast<std::uint32_t>(layout.body + 150000 - layout.base);
  WriteFile(dir / "big.jpg", BuildExifJpeg(fixture));
  ExpectResult(ReadCaptureDate(dir / "big.jpg"), Found("20110405_102030"));
}

TEST(ReadCaptureDate, StepsAcrossTheFirstBlockBoundary) {
  // The first block the reader takes is 4096 bytes: put an entry, then the date text, across it.
  struct Case {
    const char* name;
    std::function<std::size_t(const ExifLayout&)> piece;
  } const kCases[] = {
      {"0x8769 entry", [](const ExifLayout& l) { return l.ifd0 + 2 + 12 + 5; }},
      {"date text", [](const ExifLayout& l) { return l.date + 9; }},
  };
  TempDir dir;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    ExifFixture fixture;
    fixture.segmentsBefore = {Segment(0xE2, std::string(100, 'p'))};
    ExifLayout layout;
    BuildExifJpeg(fixture, &layout);
    fixture.segmentsBefore = {Segment(0xE2, std::string(100 + 4096 - c.piece(layout), 'p'))};
    BuildExifJpeg(fixture, &layout);
    ASSERT_EQ(c.piece(layout), 4096u);
    WriteFile(dir / "x.jpg", BuildExifJpeg(fixture));
    ExpectResult(ReadCaptureDate(dir / "x.jpg"), Found());
  }
}

TEST(ReadCaptureDate, OffsetsDoNotWrapAt4GiB) {
  // A segment before APP1 holds a decoy: an Exif directory whose 0x9003 entry points at a decoy
  // date text. Offsets that reach them only when B + offset wraps around 2^32 must read zeros.
  const std::uint64_t decoyDir = 6, decoyText = decoyDir + 14;
  auto decoySegment = [](std::uint32_t dateValue) {
    std::string entry("\x01\x00\x03\x90\x02\x00\x14\x00\x00\x00", 10);
    for (int i = 0; i < 4; ++i) entry += static_cast<char>(dateValue >> (8 * i) & 0xFF);
    return Segment(0xE2, entry + "1999:01:01 00:00:00");
  };
  ExifFixture fixture;
  fixture.segmentsBefore = {decoySegment(0)};
  ExifLayout layout;
  BuildExifJpeg(fixture, &layout);
  const std::uint64_t wrap = std::uint64_t{1} << 32;
  auto wrapTo = [&](std::uint64_t at) { return static_cast<std::uint32_t>(wrap - layout.base + at); };
  fixture.segmentsBefore = {decoySegment(wrapTo(decoyText))};

  TempDir dir;
  ExifFixture exifWraps = fixture;
  exifWraps.exifOffset = wrapTo(decoyDir);
  WriteFile(dir / "a.jpg", BuildExifJpeg(exifWraps));
  {
    SCOPED_TRACE("Exif offset");
    ExpectResult(ReadCaptureDate(dir / "a.jpg"), Stage(4));
  }
  ExifFixture dateWraps = fixture;
  dateWraps.dateOffset = wrapTo(decoyText);
  WriteFile(dir / "b.jpg", BuildExifJpeg(dateWraps));
  {
    SCOPED_TRACE("date offset");
    ExpectResult(ReadCaptureDate(dir / "b.jpg"), Found(""));
  }
}

TEST(ReadCaptureDate, WhatIsNotARegularFileReadsAsEmpty) {
  TempDir dir;
  test::MakeDirs(dir / "folder.jpg");
  ASSERT_EQ(::mkfifo((dir / "pipe.jpg").c_str(), 0600), 0);  // must not wait for a writer
  WriteFile(dir / "real.jpg", BuildExifJpeg({}));
  ASSERT_EQ(::symlink((dir / "real.jpg").c_str(), (dir / "link.jpg").c_str()), 0);
  ASSERT_EQ(::symlink((dir / "gone.jpg").c_str(), (dir / "dangling.jpg").c_str()), 0);

  const struct {
    const char* name;
    Expect expect;
  } kFiles[] = {
      {"missing.jpg", Stage(1)}, {"folder.jpg", Stage(1)}, {"pipe.jpg", Stage(1)},
      {"dangling.jpg", Stage(1)}, {"link.jpg", Found()},  // a link reads as the file it names
  };
  for (const auto& f : kFiles) {
    SCOPED_TRACE(f.name);
    ExpectResult(ReadCaptureDate(dir / f.name), f.expect);
  }
}

TEST(ReadCaptureDate, ClosesTheFileOnEveryPath) {
  TempDir dir;
  WriteFile(dir / "ok.jpg", BuildExifJpeg({}));
  WriteFile(dir / "bad.jpg", "not a picture");
  int before = ::dup(0);
  ::close(before);
  for (int i = 0; i < 50; ++i) {
    ReadCaptureDate(dir / "ok.jpg");
    ReadCaptureDate(dir / "bad.jpg");
  }
  int after = ::dup(0);
  ::close(after);
  EXPECT_EQ(after, before);  // the lowest free descriptor did not move: nothing was left open
}

}  // namespace
}  // namespace orimo

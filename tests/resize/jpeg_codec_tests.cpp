#include "resize/jpeg_codec.h"

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <jerror.h>

#include "platform/error.h"
#include "tests/resize/jpeg_fixtures.h"
#include "tests/support/temp_dir.h"

namespace orimo {
namespace {

using test::EncodeFixture;
using test::FixtureFormat;
using test::TempDir;
using test::ReadFile;
using test::WriteFile;

std::string ErrorOf(const std::string& path) {
  try {
    DecodeJpegFile(path);
  } catch (const PlatformError& e) {
    return e.what();
  }
  return "(no error)";
}

std::string CodecError(int code) { return "JPEG エラー #" + std::to_string(code); }

TEST(DecodeJpegFile, EveryColourKindComesOutAsRgb) {
  struct Case {
    const char* name;
    FixtureFormat::Kind kind;
    std::vector<unsigned char> sample;  // one pixel as stored
    int r, g, b;
  };
  const Case kCases[] = {
      {"4:4:4", FixtureFormat::Rgb444, {200, 100, 30}, 200, 100, 30},
      {"4:2:0", FixtureFormat::Rgb420, {200, 100, 30}, 200, 100, 30},
      {"progressive", FixtureFormat::Progressive420, {200, 100, 30}, 200, 100, 30},
      {"greyscale", FixtureFormat::Grey, {100}, 100, 100, 100},
      // Adobe CMYK holds inverted inks: 255 is no ink.
      {"Adobe CMYK", FixtureFormat::CmykAdobe, {200, 100, 255, 128}, 100, 50, 128},
      {"plain CMYK", FixtureFormat::CmykPlain, {55, 155, 0, 127}, 100, 50, 128},
      // YCCK (always with the Adobe marker): the codec gives back the inverted inks.
      {"YCCK", FixtureFormat::Ycck, {200, 100, 255, 128}, 100, 50, 128},
  };
  TempDir dir;
  for (const Case& row : kCases) {
    SCOPED_TRACE(row.name);
    const int w = 40, h = 24;
    std::vector<unsigned char> samples;
    for (int i = 0; i < w * h; ++i) samples.insert(samples.end(), row.sample.begin(), row.sample.end());
    WriteFile(dir / "p.jpg", EncodeFixture(w, h, samples, {row.kind, 95}));
    RgbImage image = DecodeJpegFile(dir / "p.jpg");
    ASSERT_EQ(image.width, w);
    ASSERT_EQ(image.height, h);
    ASSERT_EQ(image.pixels.size(), static_cast<std::size_t>(w * h * 3));
    for (int i = 0; i < w * h; i += 37) {
      EXPECT_NEAR(image.pixels[i * 3 + 0], row.r, 3) << "pixel " << i;
      EXPECT_NEAR(image.pixels[i * 3 + 1], row.g, 3) << "pixel " << i;
      EXPECT_NEAR(image.pixels[i * 3 + 2], row.b, 3) << "pixel " << i;
    }
  }
}

TEST(DecodeJpegFile, ReportsWhatWentWrong) {
  TempDir dir;
  std::string good = EncodeFixture(16, 16, std::vector<unsigned char>(16 * 16 * 3, 90), {});
  WriteFile(dir / "empty.jpg", "");
  WriteFile(dir / "text.jpg", "not a picture at all");
  WriteFile(dir / "header.jpg", good.substr(0, 2) + std::string("\xFF\xD9", 2));
  test::MakeDirs(dir / "folder.jpg");

  EXPECT_EQ(ErrorOf(dir / "missing.jpg"), "ファイル " + (dir / "missing.jpg") + " は開けません");
  EXPECT_EQ(ErrorOf(dir / "folder.jpg"), "ファイル " + (dir / "folder.jpg") + " は開けません");
  EXPECT_EQ(ErrorOf(dir / "empty.jpg"), CodecError(JERR_INPUT_EMPTY));
  EXPECT_EQ(ErrorOf(dir / "text.jpg"), CodecError(JERR_NO_SOI));
  EXPECT_EQ(ErrorOf(dir / "header.jpg"), CodecError(JERR_NO_IMAGE));
}

TEST(JpegRowReader, CarriesOnAfterAFailedFile) {
  TempDir dir;
  WriteFile(dir / "bad.jpg", "garbage");
  WriteFile(dir / "good.jpg", EncodeFixture(48, 32, std::vector<unsigned char>(48 * 32 * 3, 120), {}));
  JpegRowReader reader;
  EXPECT_THROW(reader.Open(dir / "bad.jpg"), PlatformError);
  reader.Open(dir / "good.jpg");
  ASSERT_EQ(reader.Width(), 48);
  std::vector<unsigned char> row(48 * 3);
  reader.ReadRow(row.data());
  reader.SkipRows(20);
  EXPECT_EQ(reader.NextRow(), 21);
  // Left half-read: the next Open starts cleanly.
  reader.Open(dir / "good.jpg");
  for (int y = 0; y < 32; ++y) reader.ReadRow(row.data());
  EXPECT_NEAR(row[0], 120, 2);
  reader.Close();
}

TEST(EncodeJpeg, BaselineJfifAtQualityNinety) {
  TempDir dir;
  WriteFile(dir / "o.jpg", EncodeJpeg(test::PhotoLike(50, 30, 1), 90));
  test::JpegMarkers m = test::InspectJpeg(ReadFile(dir / "o.jpg"));
  EXPECT_TRUE(m.jfif);
  EXPECT_FALSE(m.exif);
  EXPECT_EQ(m.frameMarker, 0xC0);
  EXPECT_EQ(m.components, 3);
  EXPECT_EQ(m.width, 50);
  EXPECT_EQ(m.height, 30);
  EXPECT_EQ(m.luminanceTable, test::LuminanceTableForQuality(90));
  RgbImage back = DecodeJpegFile(dir / "o.jpg");
  EXPECT_EQ(back.width, 50);
  EXPECT_EQ(back.height, 30);
}

}  // namespace
}  // namespace orimo

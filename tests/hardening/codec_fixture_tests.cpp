// Inputs the fuzz targets found, kept as fixtures (tests/fixtures/): each must give the
// program's own answer, never a crash.
#include <gtest/gtest.h>

#include "organise/exif_reader.h"
#include "platform/cp932.h"
#include "platform/error.h"
#include "platform/ini_profile.h"
#include "resize/jpeg_codec.h"
#include "resize/jpeg_resizer.h"
#include "tests/support/temp_dir.h"

namespace orimo {
namespace {

using test::ListNames;

// Every fixture is read by every reader: a file that trips one reader says nothing about which
// reader the next one will trip.
TEST(FuzzFixtures, EveryReaderAnswersEveryFixture) {
  const std::string folder = ORIMO_FIXTURES;
  test::TempDir dir;
  int seen = 0;
  for (const std::string& name : ListNames(folder)) {
    if (name == "README.md") continue;
    SCOPED_TRACE(name);
    ++seen;
    const std::string path = folder + "/" + name;
    const std::string bytes = test::ReadFile(path);
    CaptureDate date = ReadCaptureDate(path);
    if (date.ok) {
      EXPECT_LE(date.dateName.size(), 15u);
    }
    try {
      RgbImage image = DecodeJpegFile(path);
      EXPECT_EQ(image.pixels.size(), static_cast<std::size_t>(image.width) * image.height * 3);
    } catch (const PlatformError&) {
    }
    const std::string utf8 = FromCp932(bytes);
    if (auto back = ToCp932(utf8)) {
      EXPECT_EQ(FromCp932(*back), utf8);
    }
    test::WriteFile(dir / "Orimo.ini", bytes);
    try {
      IniProfile::WriteString(dir / "Orimo.ini", "OPT", "ModSize", "3");
      EXPECT_EQ(IniProfile::ReadString(dir / "Orimo.ini", "OPT", "ModSize", ""), "3");
    } catch (const PlatformError&) {
    }
  }
  EXPECT_GT(seen, 0);
}

// The rows (at most the first 8) a reader gives for a file, or its error.
std::string RowsOrError(JpegRowReader& reader, const std::string& path) {
  std::string rows;
  try {
    reader.Open(path);
    std::vector<unsigned char> row(static_cast<std::size_t>(reader.Width()) * 3);
    for (int y = 0; y < reader.Height() && y < 8; ++y) {
      reader.ReadRow(row.data());
      rows.append(row.begin(), row.end());
    }
    reader.Close();
  } catch (const PlatformError& e) {
    return e.what();
  }
  return rows;
}

// One reader serves a whole resize batch: what it makes of a file must not depend on the file
// it read before. (The codec keeps the last file's tables; a file that has none of its own was
// decoded with them, into another picture.)
TEST(FuzzFixtures, AReusedReaderReadsEveryFileAsAFreshOne) {
  const std::string folder = ORIMO_FIXTURES;
  std::vector<std::string> jpegs;
  for (const std::string& name : ListNames(folder))
    if (name.size() > 4 && name.substr(name.size() - 4) == ".jpg") jpegs.push_back(folder + "/" + name);
  ASSERT_GE(jpegs.size(), 2u);
  for (const std::string& before : jpegs) {
    for (const std::string& path : jpegs) {
      SCOPED_TRACE(before + " then " + path);
      JpegRowReader reused, fresh;
      RowsOrError(reused, before);
      EXPECT_EQ(RowsOrError(reused, path), RowsOrError(fresh, path));
    }
  }
  // The resizer, as the batch uses it.
  JpegResizer resizer;
  const std::string omitted = folder + "/jpeg_huffman_tables_omitted.jpg";
  const std::string alone = resizer.Resize(omitted, 20, 15);
  resizer.Resize(folder + "/jpeg_optimized_huffman_tables.jpg", 20, 15);
  EXPECT_EQ(resizer.Resize(omitted, 20, 15), alone);
}

}  // namespace
}  // namespace orimo

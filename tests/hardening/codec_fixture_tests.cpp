// Inputs the fuzz targets found, kept as fixtures (tests/fixtures/): each must give the
// program's own answer, never a crash.
#include <gtest/gtest.h>

#include "organise/exif_reader.h"
#include "platform/cp932.h"
#include "platform/error.h"
#include "platform/ini_profile.h"
#include "resize/jpeg_codec.h"
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

}  // namespace
}  // namespace orimo

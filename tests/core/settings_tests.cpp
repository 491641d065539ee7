#include <gtest/gtest.h>

#include "app/settings.h"
#include "platform/error.h"
#include "tests/support/temp_dir.h"

namespace orimo {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(Settings, DefaultsWithoutAFile) {
  TempDir dir;
  Settings s = LoadSettings(SettingsPath(dir.path()));
  EXPECT_EQ(s.read, "/");
  EXPECT_EQ(s.modWrite, "/");
  EXPECT_EQ(s.types, (std::array<bool, 6>{true, false, false, false, false, false}));
  EXPECT_EQ(s.modSize, 1);
  EXPECT_EQ(s.search, 0);
  EXPECT_TRUE(s.checked);
  EXPECT_TRUE(s.doubleMark);
}

TEST(Settings, DecodingRules) {
  struct Case {
    const char* line;  // under [OPT] or [DIR]
    int jpeg, modSize, search;  // -9: not looked at
  } const kCases[] = {
      {"[OPT]\r\nJPEG=1", 0, -9, -9},
      {"[OPT]\r\nJPEG=yes", 0, -9, -9},
      {"[OPT]\r\nJPEG=00", 0, -9, -9},
      {"[OPT]\r\nJPEG=0", 1, -9, -9},
      {"[OPT]\r\nJPEG=", 1, -9, -9},      // empty counts as absent: on
      {"[OPT]\r\nJPEG=eof", 1, -9, -9},
      {"[OPT]\r\nJPEG=EOF", 0, -9, -9},   // a stored value like any other
      {"[opt]\r\njpeg=1", 0, -9, -9},
      {"[OPT]\r\nModSize=7", -9, 4, -9},
      {"[OPT]\r\nModSize=-3", -9, -1, -9},
      {"[OPT]\r\nModSize=abc", -9, 1, -9},
      {"[OPT]\r\nModSize=3", -9, 3, -9},
      {"[OPT]\r\nModSize=99999999999999999999", -9, 4, -9},
      {"[OPT]\r\nSearch=0", -9, -9, 0},
      {"[OPT]\r\nSearch=1", -9, -9, 1},
      {"[OPT]\r\nSearch=x", -9, -9, 1},
      {"[OPT]\r\nSearch=", -9, -9, 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.line);
    TempDir dir;
    WriteFile(SettingsPath(dir.path()), c.line);
    Settings s = LoadSettings(SettingsPath(dir.path()));
    if (c.jpeg != -9) {
      EXPECT_EQ(s.types[0], c.jpeg == 1);
    }
    if (c.modSize != -9) {
      EXPECT_EQ(s.modSize, c.modSize);
    }
    if (c.search != -9) {
      EXPECT_EQ(s.search, c.search);
    }
  }
}

TEST(Settings, FolderKeys) {
  struct Case {
    const char* value;
    const char* caption;
  } const kCases[] = {{"", "/"}, {"eof", "/"}, {"EOF", "EOF"}, {"/home/写真", "/home/写真"}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.value);
    TempDir dir;
    std::string ini = SettingsPath(dir.path());
    WriteFolderSetting(ini, "Read", c.value);
    EXPECT_EQ(LoadSettings(ini).read, c.caption);
  }
}

TEST(Settings, GarbageFileGivesDefaults) {
  TempDir dir;
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>((i * 7919) & 0xFF));
  WriteFile(SettingsPath(dir.path()), garbage);
  Settings s = LoadSettings(SettingsPath(dir.path()));
  EXPECT_EQ(s.modSize, 1);
  WriteModSize(SettingsPath(dir.path()), 1);
  EXPECT_EQ(ReadFile(SettingsPath(dir.path())).substr(0, garbage.size()), garbage);
}

TEST(Settings, SaveWritesEveryKeyButModSize) {
  TempDir dir;
  std::string ini = SettingsPath(dir.path());
  Settings s;
  s.read = "/a";
  s.write = "";
  s.types = {false, true, false, false, false, true};
  s.search = 1;
  s.checked = false;
  SaveSettings(ini, s);
  EXPECT_EQ(ReadFile(ini),
            "[DIR]\r\nRead=/a\r\nWrite=\r\nModRead=/\r\nModWrite=/\r\n"
            "[OPT]\r\nJPEG=1\r\nBMP=0\r\nMOV=1\r\nAVI=1\r\nMP4=1\r\n3G2=0\r\nSearch=1\r\nChecked=1\r\nDouble=0\r\n");
}

TEST(Settings, SaveStopsAtTheFailingKey) {
  TempDir dir;
  std::string ini = SettingsPath(dir.path());
  WriteFile(ini, "[DIR]\r\nRead=/old\r\n");
  Settings s;
  s.read = "/new";
  s.write = "/\xF0\x9F\x98\x80";  // no CP932 form: this write fails
  EXPECT_THROW(SaveSettings(ini, s), PlatformError);
  EXPECT_EQ(ReadFile(ini), "[DIR]\r\nRead=/new\r\n");
}

TEST(Settings, DateBasisRule) {
  EXPECT_EQ(EffectiveDateBasis({true, false, false, false, false, false}, 0), 0);
  EXPECT_EQ(EffectiveDateBasis({false, false, false, false, false, false}, 0), 0);
  EXPECT_EQ(EffectiveDateBasis({true, false, false, false, false, false}, 1), 1);
  for (int i = 1; i < 6; ++i) {
    std::array<bool, 6> types{};
    types[i] = true;
    EXPECT_EQ(EffectiveDateBasis(types, 0), 1) << i;
  }
}

}  // namespace
}  // namespace orimo

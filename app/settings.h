#pragma once

#include <array>
#include <string>

namespace orimo {

// Orimo.ini: the four folders and the options, sections DIR and OPT. On/off options are stored
// "0" for on and "1" for off; selections as item indexes.

inline constexpr const char* kSettingsFileName = "Orimo.ini";
inline constexpr const char* kDefaultFolder = "/";  // absent folder keys give the root

// BaseDir + "/Orimo.ini", joined without any check of separators.
std::string SettingsPath(const std::string& baseDir);

// Reads one key as the profile does, "eof" standing for a missing key; an empty or "eof" result
// counts as absent and gives nothing.
bool ReadSettingsKey(const std::string& iniPath, const char* section, const char* key, std::string& value);

// The decoded content of the file, in the order the start-up reads it.
struct Settings {
  std::string read = kDefaultFolder, write = kDefaultFolder;
  std::string modRead = kDefaultFolder, modWrite = kDefaultFolder;
  // JPEG, BMP, MOV, AVI, MP4, 3G2.
  std::array<bool, 6> types = {true, false, false, false, false, false};
  int modSize = 1;        // clamped to -1 … 4
  int search = 0;         // 0 capture date, 1 file date (as stored, before the date-basis rule)
  bool checked = true;    // "@" mark
  bool doubleMark = true; // "x2" mark
};

// Every key decoded by its rule; a missing file gives the defaults.
Settings LoadSettings(const std::string& iniPath);

// The decoding rules, one value each; `present` false means the key counted as absent.
bool DecodeOnOff(bool present, const std::string& text, bool whenAbsent);
int DecodeModSize(bool present, const std::string& text);  // clamped to -1 … 4
int DecodeSearch(bool present, const std::string& text);

// The OPT keys of the six types, in table order.
inline constexpr std::array<const char*, 6> kTypeKeys = {"JPEG", "BMP", "MOV", "AVI", "MP4", "3G2"};

// Single-key writes; each raises PlatformError "<path> に書き込めません" on failure.
void WriteFolderSetting(const std::string& iniPath, const char* key, const std::string& folder);
void WriteModSize(const std::string& iniPath, int index);

// The program-end save: every key but ModSize, in order; a failing write ends it there.
void SaveSettings(const std::string& iniPath, const Settings& s);

// The date-basis rule: any non-JPEG type forces the file date (1).
int EffectiveDateBasis(const std::array<bool, 6>& types, int search);

}  // namespace orimo

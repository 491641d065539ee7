#include "app/settings.h"

#include <charconv>

#include "platform/ini_profile.h"

namespace orimo {

std::string SettingsPath(const std::string& baseDir) { return baseDir + "/" + kSettingsFileName; }

bool ReadSettingsKey(const std::string& iniPath, const char* section, const char* key, std::string& value) {
  value = IniProfile::ReadString(iniPath, section, key, "eof");
  return !(value == "eof" || value.empty());
}

bool DecodeOnOff(bool present, const std::string& text, bool whenAbsent) {
  return present ? text == "0" : whenAbsent;
}

int DecodeModSize(bool present, const std::string& text) {
  int value = 1;
  if (present) {
    // The platform's decimal conversion: an optional sign and digits, nothing else around them.
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') ++begin;
    long long parsed = 0;
    auto [ptr, ec] = std::from_chars(begin, end, parsed);
    if (ec == std::errc() && ptr == end) {
      value = parsed < -1 ? -1 : parsed > 4 ? 4 : static_cast<int>(parsed);
    } else if (ec == std::errc::result_out_of_range && ptr == end) {
      value = text.find('-') == std::string::npos ? 4 : -1;
    }
  }
  return value < -1 ? -1 : value > 4 ? 4 : value;
}

int DecodeSearch(bool present, const std::string& text) { return present && text == "0" ? 0 : present ? 1 : 0; }

Settings LoadSettings(const std::string& iniPath) {
  Settings s;
  std::string v;
  const std::pair<const char*, std::string*> folders[] = {
      {"Read", &s.read}, {"Write", &s.write}, {"ModRead", &s.modRead}, {"ModWrite", &s.modWrite}};
  for (auto [key, target] : folders)
    if (ReadSettingsKey(iniPath, "DIR", key, v)) *target = v;
  for (std::size_t i = 0; i < kTypeKeys.size(); ++i) {
    bool present = ReadSettingsKey(iniPath, "OPT", kTypeKeys[i], v);
    s.types[i] = DecodeOnOff(present, v, i == 0);
  }
  bool present = ReadSettingsKey(iniPath, "OPT", "ModSize", v);
  s.modSize = DecodeModSize(present, v);
  present = ReadSettingsKey(iniPath, "OPT", "Search", v);
  s.search = DecodeSearch(present, v);
  present = ReadSettingsKey(iniPath, "OPT", "Checked", v);
  s.checked = DecodeOnOff(present, v, true);
  present = ReadSettingsKey(iniPath, "OPT", "Double", v);
  s.doubleMark = DecodeOnOff(present, v, true);
  return s;
}

void WriteFolderSetting(const std::string& iniPath, const char* key, const std::string& folder) {
  IniProfile::WriteString(iniPath, "DIR", key, folder);
}

void WriteModSize(const std::string& iniPath, int index) {
  IniProfile::WriteString(iniPath, "OPT", "ModSize", std::to_string(index));
}

void SaveSettings(const std::string& iniPath, const Settings& s) {
  WriteFolderSetting(iniPath, "Read", s.read);
  WriteFolderSetting(iniPath, "Write", s.write);
  WriteFolderSetting(iniPath, "ModRead", s.modRead);
  WriteFolderSetting(iniPath, "ModWrite", s.modWrite);
  auto onOff = [](bool on) { return std::string(on ? "0" : "1"); };
  for (std::size_t i = 0; i < kTypeKeys.size(); ++i)
    IniProfile::WriteString(iniPath, "OPT", kTypeKeys[i], onOff(s.types[i]));
  IniProfile::WriteString(iniPath, "OPT", "Search", s.search == 0 ? "0" : "1");
  IniProfile::WriteString(iniPath, "OPT", "Checked", onOff(s.checked));
  IniProfile::WriteString(iniPath, "OPT", "Double", onOff(s.doubleMark));
}

int EffectiveDateBasis(const std::array<bool, 6>& types, int search) {
  for (std::size_t i = 1; i < types.size(); ++i)
    if (types[i]) return 1;
  return search == 0 ? 0 : 1;
}

}  // namespace orimo

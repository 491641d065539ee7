#pragma once

#include <string>

namespace orimo {

// The INI profile format the settings file keeps: "[section]" lines open sections, "key=value"
// lines hold entries, section and key names are matched without ASCII letter case, the file is
// code page 932 with CRLF line ends. Every call opens the file, does its one access and lets it
// go; nothing is cached.
class IniProfile {
 public:
  // The value of `key` in `section` (UTF-8), or `fallback` when the file, the section or the key
  // is missing. The first matching section and key win, as the profile functions do. Blanks
  // around the value are dropped, then one pair of double quotes enclosing it.
  static std::string ReadString(const std::string& path, const std::string& section,
                                const std::string& key, const std::string& fallback);

  // Sets `key` in `section` to `value`, keeping every other byte of the file; creates the
  // section or the file when missing. The file is replaced atomically. Raises PlatformError
  // "<path> に書き込めません" when the file cannot be written, the value has no CP932 form, or a
  // name or the value holds a line break (or the section a "]", the key a "="), which would
  // spill into lines of their own; the stored value is then left as it was. A value with blanks
  // at either end or a leading quote is written in double quotes, so that it reads back as is.
  static void WriteString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& value);
};

}  // namespace orimo

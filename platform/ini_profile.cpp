#include "ini_profile.h"

#include <optional>
#include <string_view>
#include <vector>

#include "cp932.h"
#include "error.h"
#include "files.h"

namespace orimo {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// One line of the file, with where it starts and ends (its line break excluded).
struct Line {
  std::size_t begin, end, next;
};

std::vector<Line> SplitLines(const std::string& text) {
  std::vector<Line> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t nl = text.find('\n', pos);
    std::size_t end = nl == std::string::npos ? text.size() : nl;
    std::size_t next = nl == std::string::npos ? text.size() : nl + 1;
    if (end > pos && text[end - 1] == '\r') --end;
    lines.push_back({pos, end, next});
    pos = next;
  }
  return lines;
}

// "[name]" gives name; any other line nothing.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

// "key=value" gives key and value; a line without "=" nothing.
bool SplitEntry(std::string_view line, std::string_view& key, std::string_view& value) {
  auto eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  key = Trim(line.substr(0, eq));
  value = Trim(line.substr(eq + 1));
  return true;
}

// Where the key's line is, or where a new entry of the section goes.
struct Place {
  bool sectionFound = false;
  bool keyFound = false;
  std::size_t lineIndex = 0;     // the key's line
  std::size_t insertAfter = 0;   // byte offset after the section's last entry line
};

Place Locate(const std::string& text, const std::vector<Line>& lines, std::string_view section,
             std::string_view key) {
  Place place;
  bool inSection = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view line(text.data() + lines[i].begin, lines[i].end - lines[i].begin);
    if (auto name = SectionName(line)) {
      if (place.sectionFound) break;  // the first matching section is the one
      inSection = EqualsNoCase(*name, section);
      if (inSection) {
        place.sectionFound = true;
        place.insertAfter = lines[i].next;
      }
      continue;
    }
    if (!inSection) continue;
    std::string_view k, v;
    if (SplitEntry(line, k, v)) {
      if (EqualsNoCase(k, key)) {
        place.keyFound = true;
        place.lineIndex = i;
        return place;
      }
    }
    if (!Trim(line).empty()) place.insertAfter = lines[i].next;
  }
  return place;
}

// A value that reads back trimmed (blanks at either end) or that starts with a quote is written
// in double quotes; the reader takes one enclosing pair off, as the profile functions do. So a
// folder named with a trailing blank comes back as itself.
std::string Quoted(const std::string& value) {
  bool needs = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) || value.front() == '"');
  return needs ? "\"" + value + "\"" : value;
}

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
  return value;
}

// A line break inside a name or a value would end its line early and make the rest a line of
// its own: another entry, or a section that takes the place of the real one.
bool OneLine(const std::string& text) { return text.find_first_of("\r\n") == std::string::npos; }

[[noreturn]] void CannotWrite(const std::string& path) {
  throw PlatformError(FormatMessage("%s に書き込めません", path));
}

}  // namespace

std::string IniProfile::ReadString(const std::string& path, const std::string& section,
                                   const std::string& key, const std::string& fallback) {
  auto text = ReadWholeFile(path);
  if (!text) return fallback;
  auto cpSection = ToCp932(section).value_or(section);
  auto cpKey = ToCp932(key).value_or(key);
  auto lines = SplitLines(*text);
  Place place = Locate(*text, lines, cpSection, cpKey);
  if (!place.keyFound) return fallback;
  const Line& l = lines[place.lineIndex];
  std::string_view k, v;
  SplitEntry(std::string_view(text->data() + l.begin, l.end - l.begin), k, v);
  return FromCp932(Unquoted(v));
}

void IniProfile::WriteString(const std::string& path, const std::string& section,
                             const std::string& key, const std::string& value) {
  auto cpSection = ToCp932(section);
  auto cpKey = ToCp932(key);
  auto cpValue = ToCp932(value);
  if (!cpSection || !cpKey || !cpValue) CannotWrite(path);
  if (!OneLine(*cpSection) || !OneLine(*cpKey) || !OneLine(*cpValue) || cpSection->find(']') != std::string::npos ||
      cpKey->find('=') != std::string::npos)
    CannotWrite(path);
  std::string text;
  if (Exists(path)) {
    auto existing = ReadWholeFile(path);
    if (!existing) CannotWrite(path);
    text = std::move(*existing);
  }
  auto lines = SplitLines(text);
  Place place = Locate(text, lines, *cpSection, *cpKey);
  std::string entry = *cpKey + "=" + Quoted(*cpValue);
  if (place.keyFound) {
    const Line& l = lines[place.lineIndex];
    text.replace(l.begin, l.end - l.begin, entry);
  } else if (place.sectionFound) {
    std::size_t at = place.insertAfter;
    std::string insert;
    if (at > 0 && text[at - 1] != '\n') insert = "\r\n";
    insert += entry + "\r\n";
    text.insert(at, insert);
  } else {
    if (!text.empty() && text.back() != '\n') text += "\r\n";
    text += "[" + *cpSection + "]\r\n" + entry + "\r\n";
  }
  if (!WriteFileAtomically(path, text)) CannotWrite(path);
}

}  // namespace orimo

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/ini_profile.h"
#include "tests/fuzz/fuzz_file.h"

namespace {

// Keys the program's settings use, in the sections it uses and one it does not.
const std::vector<std::pair<std::string, std::string>> kProbes = {
    {"DIR", "Read"}, {"DIR", "Write"}, {"DIR", "ModRead"}, {"OPT", "JPEG"},
    {"OPT", "Search"}, {"opt", "checked"}, {"X", "ModSize"}, {"", "ModSize"}};

std::vector<std::string> ReadProbes(const std::string& path) {
  std::vector<std::string> values;
  for (const auto& [section, key] : kProbes)
    values.push_back(orimo::IniProfile::ReadString(path, section, key, "\x01missing"));
  return values;
}

}  // namespace

// Read, write one key, read it back: the value must come back, every other key must read as
// before, and the bytes outside the one line that held the key must survive unchanged.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = WriteScratch("ini", data, size);
  const std::vector<std::string> probesBefore = ReadProbes(path);
  try {
    orimo::IniProfile::WriteString(path, "OPT", "ModSize", "3");
  } catch (const orimo::PlatformError&) {
    return 0;
  }
  if (orimo::IniProfile::ReadString(path, "OPT", "ModSize", "eof") != "3") std::abort();
  if (ReadProbes(path) != probesBefore) std::abort();
  const std::string before(reinterpret_cast<const char*>(data), size);
  const std::string after = orimo::ReadWholeFile(path).value_or("");
  // The change is one range: what the write removed lies within one line.
  std::size_t prefix = 0;
  while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
    ++suffix;
  const std::string removed = before.substr(prefix, before.size() - prefix - suffix);
  if (removed.find('\n') != std::string::npos) std::abort();
  return 0;
}

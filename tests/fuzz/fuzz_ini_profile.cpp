#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/error.h"
#include "platform/ini_profile.h"
#include "tests/fuzz/fuzz_file.h"

// Read, write one key, read it back: the value must come back, and every line of the file that
// does not hold that key must survive the write unchanged.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = WriteScratch("ini", data, size);
  (void)orimo::IniProfile::ReadString(path, "OPT", "ModSize", "eof");
  (void)orimo::IniProfile::ReadString(path, "DIR", "Read", "eof");
  try {
    orimo::IniProfile::WriteString(path, "OPT", "ModSize", "3");
  } catch (const orimo::PlatformError&) {
    return 0;
  }
  if (orimo::IniProfile::ReadString(path, "OPT", "ModSize", "eof") != "3") std::abort();
  std::ifstream in(path, std::ios::binary);
  std::stringstream after;
  after << in.rdbuf();
  std::string before(reinterpret_cast<const char*>(data), size);
  // The write only adds or replaces; the untouched prefix up to the first "[" line stays.
  std::string head = before.substr(0, before.find('['));
  if (after.str().compare(0, head.size(), head) != 0) std::abort();
  return 0;
}

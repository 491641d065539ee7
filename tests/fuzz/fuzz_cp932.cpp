#include <cstdlib>
#include <string>

#include "platform/cp932.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  // CP932 bytes to UTF-8 and back: whatever converted cleanly must convert back the same.
  std::string utf8 = orimo::FromCp932(bytes);
  (void)orimo::Cp932Length(utf8);
  (void)orimo::ToCp932Lossy(bytes);
  if (auto cp = orimo::ToCp932(bytes)) {
    if (orimo::FromCp932(*cp) != bytes) std::abort();
  }
  return 0;
}

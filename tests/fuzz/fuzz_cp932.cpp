#include <cstdlib>
#include <string>

#include "platform/cp932.h"

namespace {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool ValidUtf8(const std::string& s) {
  for (std::size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int n = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (n < 0 || i + static_cast<std::size_t>(n) >= s.size())
      return false;
    unsigned long cp = n == 0 ? c : c & (0x3F >> n);
    for (int k = 1; k <= n; ++k) {
      unsigned char t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = cp << 6 | (t & 0x3F);
    }
    static const unsigned long kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += static_cast<std::size_t>(n) + 1;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  // CP932 to UTF-8: always valid UTF-8, and stable: converted back and forth it stays the same.
  std::string utf8 = orimo::FromCp932(bytes);
  if (!ValidUtf8(utf8)) std::abort();
  if (auto cp = orimo::ToCp932(utf8)) {
    if (orimo::FromCp932(*cp) != utf8) std::abort();
    if (orimo::Cp932Length(utf8) != cp->size()) std::abort();
  }
  // The same bytes taken as UTF-8: whatever converts cleanly converts back the same, and the
  // lossy form agrees with it.
  (void)orimo::Cp932Length(bytes);
  std::string lossy = orimo::ToCp932Lossy(bytes);
  if (auto cp = orimo::ToCp932(bytes)) {
    if (orimo::FromCp932(*cp) != bytes) std::abort();
    if (lossy != *cp) std::abort();
    if (orimo::Cp932Length(bytes) != cp->size()) std::abort();
  }
  return 0;
}

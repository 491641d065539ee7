#include "error.h"

namespace orimo {

std::string FormatMessage(const std::string& pattern, const std::string& value) {
  for (const char* marker : {"%s", "%d"}) {
    auto at = pattern.find(marker);
    if (at != std::string::npos) return pattern.substr(0, at) + value + pattern.substr(at + 2);
  }
  return pattern;
}

}  // namespace orimo

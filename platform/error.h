#pragma once

#include <stdexcept>
#include <string>

namespace orimo {

// The one error a platform operation raises; its text (UTF-8) is what the general error
// handler shows the user. The program's own logic reports through return values instead.
class PlatformError : public std::runtime_error {
 public:
  explicit PlatformError(const std::string& text) : std::runtime_error(text) {}
};

// printf-like filling of a message that holds one "%s" or "%d".
std::string FormatMessage(const std::string& pattern, const std::string& value);

}  // namespace orimo

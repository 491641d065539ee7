#pragma once

#include <string>

namespace orimo::test {

// The plain way to resize: decode the whole picture, take for target pixel (x, y) the source
// pixel (x * W / w, y * H / h), encode at quality 90. The batch's streaming path must give
// these bytes exactly.
std::string ReferenceResize(const std::string& path, int width, int height);

}  // namespace orimo::test

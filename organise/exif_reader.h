#pragma once

#include <string>

namespace orimo {

// What the capture-date reader gives back: the date name on success, else the stage (0 … 4)
// at which the walk through the file stopped.
struct CaptureDate {
  bool ok = false;
  std::string dateName;  // up to 15 bytes, normally YYYYMMDD_HHMMSS; may be empty
  int stage = 0;
};

// Reads the EXIF DateTimeOriginal (0x9003) of a JPEG file along one fixed positional path.
CaptureDate ReadCaptureDate(const std::string& path);

}  // namespace orimo

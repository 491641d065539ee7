#pragma once

#include <string>
#include <vector>

namespace orimo {

// A picture as 8-bit RGB triplets, rows top to bottom.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> pixels;  // width * height * 3
};

// Decodes a whole JPEG file at full size (greyscale and CMYK come out as RGB). Raises
// PlatformError "ファイル %s は開けません" when the file cannot be opened and "JPEG エラー #%d"
// (the codec's message number) when it cannot be decoded.
RgbImage DecodeJpegFile(const std::string& path);

}  // namespace orimo

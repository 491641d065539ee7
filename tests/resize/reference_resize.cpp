#include "tests/resize/reference_resize.h"

#include "resize/jpeg_codec.h"

namespace orimo::test {

std::string ReferenceResize(const std::string& path, int width, int height) {
  RgbImage source = DecodeJpegFile(path);
  RgbImage target;
  target.width = width;
  target.height = height;
  target.pixels.resize(static_cast<std::size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    long long sy = static_cast<long long>(y) * source.height / height;
    for (int x = 0; x < width; ++x) {
      long long sx = static_cast<long long>(x) * source.width / width;
      for (int c = 0; c < 3; ++c)
        target.pixels[(static_cast<std::size_t>(y) * width + x) * 3 + c] =
            source.pixels[(static_cast<std::size_t>(sy) * source.width + sx) * 3 + c];
    }
  }
  return EncodeJpeg(target, 90);
}

}  // namespace orimo::test

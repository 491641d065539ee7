#pragma once

#include <string>
#include <vector>

#include "resize/jpeg_codec.h"

namespace orimo {

// The source pixel a target pixel takes along one axis when a picture of `sourceSize` is
// stretched to `targetSize`: pixels are repeated or dropped, never blended.
inline int NearestSource(int target, int sourceSize, int targetSize) {
  return static_cast<int>(static_cast<long long>(target) * sourceSize / targetSize);
}

// Stretches JPEG files to a fixed size by nearest-neighbour sampling and encodes the result
// (quality 90, baseline, codec defaults). The output bytes are those of decoding the whole
// picture, sampling it and encoding the samples, but the source is decoded row by row and the
// rows no target row samples are skipped, so memory stays a few rows whatever the picture's size.
// One object serves a whole batch; its codec state and buffers are reused from file to file.
class JpegResizer {
 public:
  static constexpr int kQuality = 90;

  // The encoded picture, valid until the next call. Raises PlatformError as DecodeJpegFile does.
  const std::string& Resize(const std::string& sourcePath, int width, int height);

 private:
  void Stretch(int width, int height);

  JpegRowReader reader_;
  JpegRowWriter writer_;
  std::vector<unsigned char> sourceRow_;
  std::vector<unsigned char> targetRow_;
  std::vector<int> columnOffsets_;
};

}  // namespace orimo

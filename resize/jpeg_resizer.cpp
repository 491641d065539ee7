#include "resize/jpeg_resizer.h"

namespace orimo {

const std::string& JpegResizer::Resize(const std::string& sourcePath, int width, int height) {
  reader_.Open(sourcePath);
  try {
    Stretch(width, height);
  } catch (...) {
    writer_.Abort();
    throw;
  }
  const std::string& out = writer_.Finish();
  // Rows below the last sampled one are not needed; skipping reaches the end without decoding.
  reader_.SkipRows(reader_.Height() - reader_.NextRow());
  reader_.Close();
  return out;
}

void JpegResizer::Stretch(int width, int height) {
  const int sourceWidth = reader_.Width();
  const int sourceHeight = reader_.Height();
  sourceRow_.resize(static_cast<std::size_t>(sourceWidth) * 3);
  targetRow_.resize(static_cast<std::size_t>(width) * 3);
  columnOffsets_.resize(static_cast<std::size_t>(width));
  for (int x = 0; x < width; ++x) columnOffsets_[x] = NearestSource(x, sourceWidth, width) * 3;

  writer_.Begin(width, height, kQuality);
  int held = -1;  // the source row the target row was made from
  for (int y = 0; y < height; ++y) {
    const int sy = NearestSource(y, sourceHeight, height);
    if (sy != held) {
      // Target rows sample source rows in rising order, so the decoder only moves forward.
      reader_.SkipRows(sy - reader_.NextRow());
      reader_.ReadRow(sourceRow_.data());
      const unsigned char* src = sourceRow_.data();
      unsigned char* dst = targetRow_.data();
      for (int x = 0; x < width; ++x, dst += 3) {
        const unsigned char* p = src + columnOffsets_[x];
        dst[0] = p[0];
        dst[1] = p[1];
        dst[2] = p[2];
      }
      held = sy;
    }
    writer_.WriteRow(targetRow_.data());
  }
}

}  // namespace orimo

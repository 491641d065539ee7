#include "resize/jpeg_codec.h"

namespace orimo {

RgbImage DecodeJpegFile(const std::string&) { return {}; }  // placeholder

}  // namespace orimo

#include "organise/exif_reader.h"

namespace orimo {

CaptureDate ReadCaptureDate(const std::string&) { return {false, {}, 1}; }  // placeholder

}  // namespace orimo

#include <cstdlib>

#include "platform/error.h"
#include "resize/jpeg_codec.h"
#include "tests/fuzz/fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = WriteScratch("jpeg", data, size);
  try {
    orimo::RgbImage image = orimo::DecodeJpegFile(path);
    if (image.pixels.size() != static_cast<size_t>(image.width) * image.height * 3) std::abort();
  } catch (const orimo::PlatformError&) {
    // an undecodable picture is an error the program reports, not a crash
  }
  return 0;
}

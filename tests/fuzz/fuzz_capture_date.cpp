#include <cstdlib>

#include "organise/exif_reader.h"
#include "tests/fuzz/fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = WriteScratch("exif", data, size);
  orimo::CaptureDate result = orimo::ReadCaptureDate(path);
  if (result.ok && result.dateName.size() > 15) std::abort();
  if (!result.ok && (result.stage < 0 || result.stage > 4)) std::abort();
  return 0;
}

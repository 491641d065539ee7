#include <cstdlib>
#include <string>

#include "organise/exif_reader.h"
#include "tests/fuzz/fuzz_file.h"

// The reader sees a file as its bytes followed by zeros without end: the same bytes with zeros
// appended must give the same answer, whatever lies in them.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = WriteScratch("exif", data, size);
  orimo::CaptureDate result = orimo::ReadCaptureDate(path);
  if (result.ok && result.dateName.size() > 15) std::abort();
  if (!result.ok && (result.stage < 0 || result.stage > 4)) std::abort();
  // Zeros past the first block boundary, so that a second block read is taken as well.
  std::string padded(reinterpret_cast<const char*>(data), size);
  padded.append(4096 + size % 5000, '\0');
  const std::string paddedPath = WriteScratch("exif-padded", reinterpret_cast<const uint8_t*>(padded.data()), padded.size());
  orimo::CaptureDate again = orimo::ReadCaptureDate(paddedPath);
  if (again.ok != result.ok || again.stage != result.stage || again.dateName != result.dateName) std::abort();
  return 0;
}

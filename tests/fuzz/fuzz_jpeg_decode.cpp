#include <cstdlib>

#include "platform/error.h"
#include "resize/jpeg_codec.h"
#include "resize/jpeg_resizer.h"
#include "tests/fuzz/fuzz_file.h"

// The two decodes the program makes: the whole picture for the prompts, and the resizer's row
// by row one (with its encoder behind it).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = WriteScratch("jpeg", data, size);
  // A few hundred bytes may claim a picture of up to 65500 x 65500, which decodes (grey where
  // the data ends) correctly but slowly; above a quarter megapixel only the whole-picture decode's size
  // cap is tried (it refuses at once above 200 megapixels), so that the fuzzer spends its time
  // on the parsing.
  // The probe is one reader reused for every input, as the resizer reuses its own through a
  // batch: whether it can open a file must not depend on the files it read before.
  static orimo::JpegRowReader probe;
  bool probeOpened = false;
  try {
    probe.Open(path);
    probeOpened = true;
    unsigned long long pixels = static_cast<unsigned long long>(probe.Width()) * probe.Height();
    probe.Close();
    if (pixels > (1ULL << 18)) {
      if (pixels <= 200'000'000ULL) return 0;
      try {
        (void)orimo::DecodeJpegFile(path);
        std::abort();  // above the cap: never decoded
      } catch (const orimo::PlatformError&) {
      }
      return 0;
    }
  } catch (const orimo::PlatformError&) {
  }
  try {
    orimo::RgbImage image = orimo::DecodeJpegFile(path);
    if (!probeOpened) std::abort();  // a fresh reader opened what the reused one could not
    if (image.pixels.size() != static_cast<size_t>(image.width) * image.height * 3) std::abort();
  } catch (const orimo::PlatformError&) {
    // an undecodable picture is an error the program reports, not a crash
  }
  static orimo::JpegResizer resizer;
  try {
    const std::string& out = resizer.Resize(path, 40, 30);
    if (out.size() < 4 || static_cast<unsigned char>(out[0]) != 0xFF || static_cast<unsigned char>(out[1]) != 0xD8)
      std::abort();
  } catch (const orimo::PlatformError&) {
  }
  return 0;
}

// The resize run as the window starts it, on a folder of pictures, for the timing script; also
// makes the script's photo-like pictures and checks outputs against the plain full decode.
//
//   resize_bench make OUT.jpg WIDTH HEIGHT SEED   write a photo-like JPEG (quality 90, 4:2:0)
//   resize_bench run SRC DST [PRESET]             resize every *.jpg of SRC into DST
//   resize_bench verify SRC DST [PRESET]          compare DST's outputs with the plain way

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/log.h"
#include "app/run_host.h"
#include "platform/files.h"
#include "resize/jpeg_codec.h"
#include "resize/jpeg_resizer.h"
#include "resize/resize_run.h"

namespace {

using namespace orimo;

// A window stand-in that only carries the folders and the preset.
class BenchHost : public RunHost {
 public:
  BenchHost(std::string source, std::string destination, int preset)
      : source_(std::move(source)), destination_(std::move(destination)), log_("", "") {
    options_.sizePreset = preset;
  }
  std::string FolderText(FolderPanel panel) override {
    return panel == FolderPanel::ResizeSource ? source_ : destination_;
  }
  RunOptions Options() override { return options_; }
  RunFields& Fields() override { return fields_; }
  TLOG& Log() override { return log_; }
  void SetBusy(BusyKind, bool) override {}
  void SetProgressMax(int) override {}
  void SetProgress(int position) override { progress_ = position; }
  int Progress() override { return progress_; }
  void ProcessMessages() override {}
  void Notice(const std::string& text) override { std::fprintf(stderr, "notice: %s\n", text.c_str()); }
  bool AskOkCancel(const std::string&, const std::string&) override { return true; }
  bool AskYesNo(const std::string&, const std::string&) override { return true; }
  void ShowError(const std::string& text) override {
    std::fprintf(stderr, "error: %s\n", text.c_str());
    failed = true;
  }
  void ShowDuplicatePrompt() override {}
  void ShowNonExifPrompt() override {}
  bool failed = false;

 private:
  std::string source_, destination_;
  TLOG log_;  // no file: the bench leaves no log
  RunOptions options_;
  RunFields fields_;
  int progress_ = 0;
};

// Smooth shading, a few hard-edged shapes and sensor-like noise: close to a camera picture in
// how much the coder has to do.
int Make(const std::string& out, int width, int height, unsigned seed) {
  RgbImage image;
  image.width = width;
  image.height = height;
  image.pixels.resize(static_cast<std::size_t>(width) * height * 3);
  unsigned state = seed * 2654435761u + 12345;
  auto next = [&] { return state = state * 1664525u + 1013904223u; };
  double fx[3], fy[3], ph[3];
  for (int c = 0; c < 3; ++c) {
    fx[c] = 2 + (next() >> 24) % 9;
    fy[c] = 2 + (next() >> 24) % 7;
    ph[c] = (next() >> 16) / 65536.0 * 6.28;
  }
  struct Disc {
    double x, y, r;
    int rgb[3];
  } discs[24];
  for (Disc& d : discs) {
    d.x = (next() >> 8) % width;
    d.y = (next() >> 8) % height;
    d.r = 20 + (next() >> 8) % (width / 8);
    for (int& v : d.rgb) v = static_cast<int>((next() >> 24) % 200) - 100;
  }
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      double u = static_cast<double>(x) / width, v = static_cast<double>(y) / height;
      int add[3] = {0, 0, 0};
      for (const Disc& d : discs) {
        double dx = x - d.x, dy = y - d.y;
        if (dx * dx + dy * dy < d.r * d.r)
          for (int c = 0; c < 3; ++c) add[c] += d.rgb[c] / 3;
      }
      int noise = static_cast<int>((next() >> 24) % 21) - 10;
      unsigned char* p = &image.pixels[(static_cast<std::size_t>(y) * width + x) * 3];
      for (int c = 0; c < 3; ++c) {
        double s = 128 + 70 * std::sin(fx[c] * u * 6.28 + ph[c]) * std::cos(fy[c] * v * 6.28 + ph[c] / 2);
        int grain = static_cast<int>((next() >> 24) % 9) - 4;  // chroma noise
        int val = static_cast<int>(s) + add[c] + noise + grain + (c == 2 ? -20 : 0);
        p[c] = static_cast<unsigned char>(val < 0 ? 0 : val > 255 ? 255 : val);
      }
    }
  return WriteFileAtomically(out, EncodeJpeg(image, 90)) ? 0 : 1;
}

// The plain way: the whole picture, then one source pixel per target pixel, then encode.
std::string Reference(const std::string& path, int width, int height) {
  RgbImage source = DecodeJpegFile(path);
  RgbImage target{width, height, std::vector<unsigned char>(static_cast<std::size_t>(width) * height * 3)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      std::size_t sx = static_cast<std::size_t>(static_cast<long long>(x) * source.width / width);
      std::size_t sy = static_cast<std::size_t>(static_cast<long long>(y) * source.height / height);
      for (int c = 0; c < 3; ++c)
        target.pixels[(static_cast<std::size_t>(y) * width + x) * 3 + c] = source.pixels[(sy * source.width + sx) * 3 + c];
    }
  return EncodeJpeg(target, 90);
}

int Verify(const std::string& source, const std::string& destination, int preset) {
  PresetSize size = PresetFor(preset);
  int bad = 0, count = 0;
  for (const std::string& name : ListMatching(source + "/*.jpg").value_or(std::vector<std::string>())) {
    ++count;
    if (ReadWholeFile(destination + "/" + name).value_or("") != Reference(source + "/" + name, size.width, size.height)) {
      std::fprintf(stderr, "differs: %s\n", name.c_str());
      ++bad;
    }
  }
  std::printf("verified %d files, %d differ\n", count, bad);
  return bad == 0 && count > 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "make" && argc == 6) return Make(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
  if ((mode == "run" || mode == "verify") && (argc == 4 || argc == 5)) {
    int preset = argc == 5 ? std::atoi(argv[4]) : 2;
    if (mode == "verify") return Verify(argv[2], argv[3], preset);
    BenchHost host(argv[2], argv[3], preset);
    auto start = std::chrono::steady_clock::now();
    ResizeCommand(host);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.3f\n", seconds);
    return host.failed ? 1 : 0;
  }
  std::fprintf(stderr, "usage: resize_bench make OUT W H SEED | run SRC DST [PRESET] | verify SRC DST [PRESET]\n");
  return 2;
}

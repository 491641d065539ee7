#include "tests/resize/jpeg_fixtures.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>

namespace orimo::test {
namespace {

struct FixtureError {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] void FixtureExit(j_common_ptr info) { std::longjmp(reinterpret_cast<FixtureError*>(info->err)->jump, 1); }

bool Compress(jpeg_compress_struct* c, int width, int height, const unsigned char* samples, FixtureFormat format,
              unsigned char** out, unsigned long* size) {
  auto* err = reinterpret_cast<FixtureError*>(c->err);
  if (setjmp(err->jump)) return false;
  jpeg_mem_dest(c, out, size);
  c->image_width = static_cast<JDIMENSION>(width);
  c->image_height = static_cast<JDIMENSION>(height);
  int components = 3;
  c->in_color_space = JCS_RGB;
  if (format.kind == FixtureFormat::Grey) {
    components = 1;
    c->in_color_space = JCS_GRAYSCALE;
  } else if (format.kind == FixtureFormat::CmykAdobe || format.kind == FixtureFormat::CmykPlain ||
             format.kind == FixtureFormat::Ycck) {
    components = 4;
    c->in_color_space = JCS_CMYK;
  }
  c->input_components = components;
  jpeg_set_defaults(c);
  jpeg_set_quality(c, format.quality, TRUE);
  if (format.kind == FixtureFormat::CmykPlain) c->write_Adobe_marker = FALSE;
  if (format.kind == FixtureFormat::Ycck) jpeg_set_colorspace(c, JCS_YCCK);
  if (format.kind == FixtureFormat::Rgb444) c->comp_info[0].h_samp_factor = c->comp_info[0].v_samp_factor = 1;
  if (format.kind == FixtureFormat::Rgb422) c->comp_info[0].v_samp_factor = 1;
  if (format.kind == FixtureFormat::Progressive420) jpeg_simple_progression(c);
  jpeg_start_compress(c, TRUE);
  std::size_t stride = static_cast<std::size_t>(width) * static_cast<std::size_t>(components);
  while (c->next_scanline < c->image_height) {
    JSAMPROW row = const_cast<JSAMPLE*>(samples + stride * c->next_scanline);
    jpeg_write_scanlines(c, &row, 1);
  }
  jpeg_finish_compress(c);
  return true;
}

}  // namespace

std::string EncodeFixture(int width, int height, const std::vector<unsigned char>& samples, FixtureFormat format) {
  jpeg_compress_struct c{};
  FixtureError err{};
  c.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = FixtureExit;
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  bool ok = Compress(&c, width, height, samples.data(), format, &out, &size);
  jpeg_destroy_compress(&c);
  std::string bytes = ok ? std::string(reinterpret_cast<char*>(out), size) : std::string();
  std::free(out);
  if (!ok) throw std::runtime_error("fixture encode failed");
  return bytes;
}

JpegMarkers InspectJpeg(const std::string& bytes) {
  JpegMarkers m;
  auto byte = [&](std::size_t i) { return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u; };
  if (byte(0) != 0xFF || byte(1) != 0xD8) return m;
  m.jfif = byte(2) == 0xFF && byte(3) == 0xE0 && bytes.compare(6, 5, std::string("JFIF\0", 5)) == 0;
  // Segments: FF, marker, two-byte big-endian length that counts itself, payload.
  for (std::size_t at = 2; at + 4 <= bytes.size() && byte(at) == 0xFF;) {
    unsigned marker = byte(at + 1);
    std::size_t length = byte(at + 2) * 256u + byte(at + 3);
    if (marker == 0xE1 && bytes.compare(at + 4, 4, "Exif") == 0) m.exif = true;
    if (marker >= 0xC0 && marker <= 0xC2) {
      m.frameMarker = static_cast<int>(marker);
      m.height = static_cast<int>(byte(at + 5) * 256u + byte(at + 6));
      m.width = static_cast<int>(byte(at + 7) * 256u + byte(at + 8));
      m.components = static_cast<int>(byte(at + 9));
    }
    // A DQT segment may hold several tables: each a precision/id byte and 64 entries.
    for (std::size_t t = at + 4; marker == 0xDB && t + 65 <= at + 2 + length; t += 65)
      if (byte(t) == 0x00)
        for (int i = 0; i < 64; ++i) m.luminanceTable.push_back(static_cast<int>(byte(t + 1 + i)));
    if (marker == 0xDA) break;
    at += 2 + length;
  }
  return m;
}

std::vector<int> LuminanceTableForQuality(int quality) {
  // Annex K table 1 in zigzag order.
  const int kStandard[64] = {16, 11, 12, 14, 12, 10, 16, 14, 13, 14, 18, 17, 16, 19, 24, 40,
                             26, 24, 22, 22, 24, 49, 35, 37, 29, 40, 58, 51, 61, 60, 57, 51,
                             56, 55, 64, 72, 92, 78, 64, 68, 87, 69, 55, 56, 80, 109, 81, 87,
                             95, 98, 103, 104, 103, 62, 77, 113, 121, 112, 100, 120, 92, 101, 103, 99};
  int scale = quality < 50 ? 5000 / quality : 200 - quality * 2;
  std::vector<int> table;
  for (int v : kStandard) table.push_back(std::clamp((v * scale + 50) / 100, 1, 255));
  return table;
}

void BlockColour(int bx, int by, unsigned char rgb[3]) {
  // Steps of 40 levels keep neighbouring blocks far apart after coding.
  rgb[0] = static_cast<unsigned char>(20 + 40 * (bx % 6));
  rgb[1] = static_cast<unsigned char>(20 + 40 * (by % 6));
  rgb[2] = static_cast<unsigned char>(20 + 40 * ((bx / 6 + 2 * (by / 6)) % 6));
}

RgbImage PositionBlocks(int blocksAcross, int blocksDown) {
  RgbImage image;
  image.width = blocksAcross * 16;
  image.height = blocksDown * 16;
  image.pixels.resize(static_cast<std::size_t>(image.width) * image.height * 3);
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      BlockColour(x / 16, y / 16, &image.pixels[(static_cast<std::size_t>(y) * image.width + x) * 3]);
  return image;
}

RgbImage PhotoLike(int width, int height, unsigned seed) {
  RgbImage image;
  image.width = width;
  image.height = height;
  image.pixels.resize(static_cast<std::size_t>(width) * height * 3);
  unsigned state = seed * 2654435761u + 1;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      unsigned char* p = &image.pixels[(static_cast<std::size_t>(y) * width + x) * 3];
      state = state * 1664525u + 1013904223u;
      int noise = static_cast<int>((state >> 24) % 41) - 20;
      int base[3] = {x * 255 / width, y * 255 / height, (x + y) * 127 / (width + height) + 64};
      for (int c = 0; c < 3; ++c) {
        int v = base[c] + noise;
        p[c] = static_cast<unsigned char>(v < 0 ? 0 : v > 255 ? 255 : v);
      }
    }
  return image;
}

}  // namespace orimo::test

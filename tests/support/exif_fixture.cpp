#include "tests/support/exif_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <stdexcept>

#include <jpeglib.h>

namespace orimo::test {
namespace {

class TiffWriter {
 public:
  explicit TiffWriter(bool bigEndian) : big_(bigEndian) {}
  void U16(std::uint32_t v) {
    if (big_) {
      Byte(v >> 8);
      Byte(v);
    } else {
      Byte(v);
      Byte(v >> 8);
    }
  }
  void U32(std::uint32_t v) {
    if (big_) {
      U16(v >> 16);
      U16(v & 0xFFFF);
    } else {
      U16(v & 0xFFFF);
      U16(v >> 16);
    }
  }
  void Entry(std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t value) {
    U16(tag);
    U16(type);
    U32(count);
    U32(value);
  }
  void Bytes(const std::string& s) { out += s; }
  std::string out;

 private:
  void Byte(std::uint32_t v) { out += static_cast<char>(v & 0xFF); }
  bool big_;
};

}  // namespace

std::string Segment(std::uint8_t marker, const std::string& payload) {
  std::size_t length = payload.size() + 2;
  if (length > 0xFFFF) throw std::length_error("segment too long");
  std::string s = "\xFF";
  s += static_cast<char>(marker);
  s += static_cast<char>(length >> 8);
  s += static_cast<char>(length & 0xFF);
  return s + payload;
}

std::string App0Jfif() {
  // "JFIF" 0, version 1.01, no units, density 1:1, no thumbnail.
  return Segment(0xE0, std::string("JFIF\0\x01\x01\x00\x00\x01\x00\x01\x00\x00", 14));
}

std::string BuildExifJpeg(const ExifFixture& f, ExifLayout* layout) {
  const std::uint32_t ifd0Rel = 8;
  const std::uint32_t exifRel = ifd0Rel + 2 + 12 * static_cast<std::uint32_t>(f.ifd0Count) + 4;
  const std::uint32_t dateRel = exifRel + 2 + 12 * static_cast<std::uint32_t>(f.exifCount) + 4;

  TiffWriter tiff(f.bigEndian);
  tiff.Bytes(f.byteOrderMark.empty() ? (f.bigEndian ? "MM" : "II") : f.byteOrderMark);
  tiff.U16(42);
  tiff.U32(ifd0Rel);

  tiff.U16(f.ifd0CountField.value_or(static_cast<std::uint16_t>(f.ifd0Count)));
  for (int i = 0; i < f.ifd0Count; ++i) {
    if (i == f.exifPointerAt)
      tiff.Entry(0x8769, 4, 1, f.exifOffset.value_or(exifRel));
    else
      tiff.Entry(static_cast<std::uint16_t>(0x0100 + i), 3, 1, static_cast<std::uint32_t>(i));
  }
  tiff.U32(0);

  tiff.U16(static_cast<std::uint32_t>(f.exifCount));
  for (int i = 0; i < f.exifCount; ++i) {
    if (i == f.dateAt)
      tiff.Entry(0x9003, 2, 20, f.dateOffset.value_or(dateRel));
    else
      tiff.Entry(static_cast<std::uint16_t>(0x829A + i), 3, 1, static_cast<std::uint32_t>(i));
  }
  tiff.U32(0);
  tiff.Bytes(f.date);
  tiff.Bytes(std::string(1, '\0'));

  std::string file = "\xFF\xD8";
  for (const std::string& s : f.segmentsBefore) file += s;
  const std::size_t app1 = file.size();
  file += Segment(0xE1, f.keyword + std::string(2, '\0') + tiff.out);
  const std::size_t base = app1 + 4 + f.keyword.size() + 2;
  if (layout) {
    layout->app1 = app1;
    layout->base = base;
    layout->ifd0 = base + ifd0Rel;
    layout->exifIfd = base + exifRel;
    layout->date = base + dateRel;
    layout->body = file.size();
  }
  return file + f.body;
}

std::string NoisyJpeg(int w, int h, unsigned seed, int quality, bool progressive) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr jerr{};
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(w);
  cinfo.image_height = static_cast<JDIMENSION>(h);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::minstd_rand noise(seed ? seed : 1);
  std::vector<unsigned char> row(static_cast<std::size_t>(w) * 3);
  while (cinfo.next_scanline < cinfo.image_height) {
    int y = static_cast<int>(cinfo.next_scanline);
    for (int x = 0; x < w; ++x) {
      int jitter = seed ? static_cast<int>(noise() % 64) - 32 : 0;
      auto clamp = [](int v) { return static_cast<unsigned char>(v < 0 ? 0 : v > 255 ? 255 : v); };
      row[3 * x + 0] = clamp(x * 255 / (w > 1 ? w - 1 : 1) + jitter);
      row[3 * x + 1] = clamp(y * 255 / (h > 1 ? h - 1 : 1) + jitter);
      row[3 * x + 2] = clamp(128 + jitter);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::string out(reinterpret_cast<const char*>(buffer), size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

std::string SmallJpeg(int w, int h) { return NoisyJpeg(w, h, 0); }

std::string PhotoWithDate(const std::string& date, const std::string& jpeg) {
  std::string picture = jpeg.empty() ? SmallJpeg(16, 16) : jpeg;
  ExifFixture f;
  f.date = date;
  f.body = picture.substr(2);  // everything after the picture's own start marker
  return BuildExifJpeg(f);
}

}  // namespace orimo::test

#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orimo::test {

// A JPEG file with an EXIF capture date, built byte by byte, with a knob to break each step a
// positional reader takes:
//
//   FF D8 | segmentsBefore... | FF E1 len "Exif" 00 00 | TIFF header | IFD0 | Exif IFD | date | body
//
// TIFF header: "II"/"MM" 2A 00 | 08 00 00 00. IFD0: count, entries (one of them 0x8769 pointing at
// the Exif IFD), next-IFD 0. Exif IFD: count, entries (one of them 0x9003 pointing at the date),
// next-IFD 0. The date text is written with a terminating zero.
struct ExifFixture {
  bool bigEndian = false;
  std::vector<std::string> segmentsBefore;  // whole segments (see Segment) between SOI and APP1
  std::string keyword = "Exif";             // the 4 bytes after the APP1 length
  std::string byteOrderMark;                // empty: "II" or "MM" by bigEndian
  int ifd0Count = 3;                        // entries written in IFD0
  int exifPointerAt = 1;                    // index of the 0x8769 entry; -1: none
  std::optional<std::uint16_t> ifd0CountField;  // the count as written, when it should lie
  std::optional<std::uint32_t> exifOffset;  // the 0x8769 value; default: where the Exif IFD is
  int exifCount = 3;
  int dateAt = 1;                           // index of the 0x9003 entry; -1: none
  std::optional<std::uint32_t> dateOffset;  // the 0x9003 value; default: where the date is
  std::string date = "2010:03:12 06:19:19";
  std::string body = "\xFF\xD9";            // after the APP1 segment (default: EOI)
};

// Where the pieces of a built fixture stand, as file offsets.
struct ExifLayout {
  std::size_t app1 = 0;     // the FF E1 marker
  std::size_t base = 0;     // TIFF base: the byte-order mark
  std::size_t ifd0 = 0;     // IFD0's count
  std::size_t exifIfd = 0;  // the Exif IFD's count
  std::size_t date = 0;     // the date text
  std::size_t body = 0;     // what follows the APP1 segment
};

std::string BuildExifJpeg(const ExifFixture& fixture, ExifLayout* layout = nullptr);

// One segment: FF, marker, big-endian length (payload + 2), payload.
std::string Segment(std::uint8_t marker, const std::string& payload);
// A JFIF APP0 segment as cameras and encoders write it.
std::string App0Jfif();

// A decodable baseline JPEG of w × h pixels (a colour gradient), encoded with libjpeg.
std::string SmallJpeg(int w, int h);
// The same with pixel noise from `seed`, so that the file is about as large as a photo of its size;
// progressive on request.
std::string NoisyJpeg(int w, int h, unsigned seed, int quality = 90, bool progressive = false);

// A decodable JPEG (the `jpeg` bytes, by default SmallJpeg(16, 16)) with an EXIF APP1 carrying
// `date` inserted right after its start marker.
std::string PhotoWithDate(const std::string& date, const std::string& jpeg = {});

}  // namespace orimo::test

#pragma once

#include <string>
#include <vector>

#include "resize/jpeg_codec.h"

namespace orimo::test {

// How a fixture JPEG is written.
struct FixtureFormat {
  enum Kind { Rgb444, Rgb420, Rgb422, Grey, CmykAdobe, CmykPlain, Ycck, Progressive420 } kind = Rgb420;
  int quality = 95;
};

// Encodes `samples` (width * height * components bytes: 3 for the RGB kinds, 1 for Grey, 4 for
// the CMYK kinds and YCCK, given as inks as stored) into a JPEG file's bytes.
std::string EncodeFixture(int width, int height, const std::vector<unsigned char>& samples, FixtureFormat format);

// What a JPEG file's markers up to its first scan say.
struct JpegMarkers {
  bool jfif = false;         // APP0 "JFIF" right after SOI
  bool exif = false;         // any APP1 "Exif"
  int frameMarker = 0;       // 0xC0 baseline, 0xC1 extended, 0xC2 progressive
  int width = 0, height = 0, components = 0;
  std::vector<int> luminanceTable;  // quantisation table 0, zigzag order as stored
};
JpegMarkers InspectJpeg(const std::string& bytes);

// The standard luminance table scaled as libjpeg scales it for a quality, in zigzag order.
std::vector<int> LuminanceTableForQuality(int quality);

// An RGB picture of flat 16 × 16 blocks whose colour tells the block's position, so that JPEG
// keeps each block's colour within a few levels.
RgbImage PositionBlocks(int blocksAcross, int blocksDown);
// The colour of block (bx, by) in PositionBlocks.
void BlockColour(int bx, int by, unsigned char rgb[3]);

// A photograph-like picture: gradients with deterministic noise.
RgbImage PhotoLike(int width, int height, unsigned seed);

}  // namespace orimo::test

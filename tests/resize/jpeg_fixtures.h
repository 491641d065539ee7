#pragma once

#include <string>
#include <vector>

#include "resize/jpeg_codec.h"

namespace orimo::test {

// How a fixture JPEG is written.
struct FixtureFormat {
  enum Kind { Rgb444, Rgb420, Rgb422, Grey, CmykAdobe, CmykPlain, Progressive420 } kind = Rgb420;
  int quality = 95;
};

// Encodes `samples` (width * height * components bytes: 3 for the RGB kinds, 1 for Grey, 4 for
// the CMYK kinds, stored as given) into a JPEG file's bytes.
std::string EncodeFixture(int width, int height, const std::vector<unsigned char>& samples, FixtureFormat format);

// An RGB picture of flat 16 × 16 blocks whose colour tells the block's position, so that JPEG
// keeps each block's colour within a few levels.
RgbImage PositionBlocks(int blocksAcross, int blocksDown);
// The colour of block (bx, by) in PositionBlocks.
void BlockColour(int bx, int by, unsigned char rgb[3]);

// A photograph-like picture: gradients with deterministic noise.
RgbImage PhotoLike(int width, int height, unsigned seed);

}  // namespace orimo::test

#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace orimo {

// A picture as 8-bit RGB triplets, rows top to bottom.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> pixels;  // width * height * 3
};

// Decodes a whole JPEG file at full size (greyscale and CMYK come out as RGB). Raises
// PlatformError "ファイル %s は開けません" when the file cannot be opened and "JPEG エラー #%d"
// (the codec's message number) when it cannot be decoded. Only regular files are opened (a pipe
// is refused at once, never waited on). A picture of more than 200 megapixels is refused with
// the codec's out-of-memory error, as is one whose decode needs more than 1 GiB of codec memory.
RgbImage DecodeJpegFile(const std::string& path);

// Encodes RGB rows with the codec's defaults at the given quality, baseline, no markers beyond
// the JFIF header. Raises "JPEG エラー #%d" when the codec refuses.
std::string EncodeJpeg(const RgbImage& image, int quality);

// A decoder that reads one file at a time row by row, at full size and with the codec's default
// decompression settings, into RGB. One object serves any number of files; each file is read
// with a fresh decompressor, so that nothing of one file (its tables) carries into the next.
// Every method raises PlatformError as DecodeJpegFile does; after
// an error the reader is closed and ready for the next Open.
class JpegRowReader {
 public:
  JpegRowReader();
  ~JpegRowReader();
  JpegRowReader(const JpegRowReader&) = delete;
  JpegRowReader& operator=(const JpegRowReader&) = delete;

  // Opens the file and reads its header; the picture's size is known afterwards.
  void Open(const std::string& path);
  int Width() const;
  int Height() const;
  // Rows already delivered or skipped.
  int NextRow() const;
  // Decodes the next row into `rgb` (Width() * 3 bytes).
  void ReadRow(unsigned char* rgb);
  // Passes over `count` rows (at most those left) without delivering them. The rows read
  // afterwards are the same bytes a full decode gives.
  void SkipRows(int count);
  // Ends the current file: when every row was delivered or skipped, the codec's own end of
  // decompression runs; otherwise the file is dropped unread.
  void Close();

 private:
  struct State;
  std::unique_ptr<State> state_;
  void Create();
  void Reset();
  [[noreturn]] void Fail(const std::string& text);
};

// An encoder that writes one picture at a time row by row into memory, reused across pictures.
class JpegRowWriter {
 public:
  JpegRowWriter();
  ~JpegRowWriter();
  JpegRowWriter(const JpegRowWriter&) = delete;
  JpegRowWriter& operator=(const JpegRowWriter&) = delete;

  // Starts a picture: three-component RGB input, jpeg_set_defaults, the quality, baseline.
  void Begin(int width, int height, int quality);
  void WriteRow(const unsigned char* rgb);
  // Finishes the picture; the encoded bytes stay valid until the next Begin.
  const std::string& Finish();
  // Drops a picture begun but not finished.
  void Abort();

 private:
  struct State;
  std::unique_ptr<State> state_;
  [[noreturn]] void Fail();
};

}  // namespace orimo

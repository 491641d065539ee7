#include "resize/jpeg_codec.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <new>

#include <jpeglib.h>
#include <jerror.h>

#include "platform/error.h"

namespace orimo {
namespace {

constexpr const char* kCannotOpen = "ファイル %s は開けません";
constexpr const char* kCodecError = "JPEG エラー #%d";

// The most pixels a whole-picture decode holds. Headers may claim up to 65500 x 65500 (4.3
// gigapixels, 12.9 GB as RGB) in a few hundred bytes; the largest camera pictures have some 200
// megapixels.
constexpr unsigned long long kMaxDecodePixels = 200'000'000ULL;
// What the codec itself may allocate for one picture. Only progressive and multi-scan pictures
// need much (their whole coefficient buffer); beyond this the codec fails with its own error
// instead of taking all memory.
constexpr long kMaxCodecMemory = 1L << 30;

// libjpeg reports a fatal error by calling error_exit, which must not return. It records the
// message number and jumps back to the guarded call that started the work; the C++ side then
// raises the error outside libjpeg's frames, so no exception ever crosses the C code.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  int code;
  bool picture = false;  // the header is read: the picture's own data is being decoded
};

[[noreturn]] void ExitOnError(j_common_ptr info) {
  auto* err = reinterpret_cast<ErrorManager*>(info->err);
  // The codec has no backing store: it asks for one only when a picture needs more than the
  // memory it is allowed, which the user knows as too little memory.
  err->code = info->err->msg_code == JERR_NO_BACKING_STORE ? JERR_OUT_OF_MEMORY : info->err->msg_code;
  std::longjmp(err->jump, 1);
}

// Warnings such as extraneous bytes are not the user's business: the codec carries on. But data
// that ends early or is cut by a marker would come out filled with grey, a damaged picture
// passed off as converted, so those two end the work as errors.
void EmitMessage(j_common_ptr info, int level) {
  if (level >= 0) return;  // trace messages
  int code = info->err->msg_code;
  bool picture = reinterpret_cast<ErrorManager*>(info->err)->picture;
  if (picture && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) info->err->error_exit(info);
  info->err->num_warnings++;
}

void InitErrors(ErrorManager& err) {
  jpeg_std_error(&err.pub);
  err.pub.error_exit = ExitOnError;
  err.pub.emit_message = EmitMessage;
  err.code = 0;
}

std::string CodecErrorText(int code) { return FormatMessage(kCodecError, std::to_string(code)); }

// The guarded calls. Each holds setjmp in a frame of its own whose locals are trivially
// destructible, so that the jump skips no destructor.

bool GuardedCreateDecompress(jpeg_decompress_struct* d) {
  auto* err = reinterpret_cast<ErrorManager*>(d->err);
  if (setjmp(err->jump)) return false;
  jpeg_create_decompress(d);
  return true;
}

bool GuardedStart(jpeg_decompress_struct* d, std::FILE* file, bool* cmyk) {
  auto* err = reinterpret_cast<ErrorManager*>(d->err);
  if (setjmp(err->jump)) return false;
  err->picture = false;
  jpeg_stdio_src(d, file);
  jpeg_read_header(d, TRUE);
  err->picture = true;
  // Greyscale and YCbCr/RGB leave the codec as RGB; CMYK and YCCK leave it as CMYK, turned
  // into RGB row by row here since libjpeg does not convert them.
  *cmyk = d->jpeg_color_space == JCS_CMYK || d->jpeg_color_space == JCS_YCCK;
  d->out_color_space = *cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(d);
  return true;
}

bool GuardedReadRow(jpeg_decompress_struct* d, unsigned char* row) {
  auto* err = reinterpret_cast<ErrorManager*>(d->err);
  if (setjmp(err->jump)) return false;
  JSAMPROW rows[1] = {row};
  // A suspending source is not used, so one call always delivers the row unless the picture
  // has no more.
  if (jpeg_read_scanlines(d, rows, 1) == 1) return true;
  err->code = JWRN_TOO_MUCH_DATA;
  return false;
}

bool GuardedSkip(jpeg_decompress_struct* d, int count) {
  auto* err = reinterpret_cast<ErrorManager*>(d->err);
  if (setjmp(err->jump)) return false;
  // Fewer rows than asked are skipped only at the bottom of the picture, which is fine.
  jpeg_skip_scanlines(d, static_cast<JDIMENSION>(count));
  return true;
}

bool GuardedFinish(jpeg_decompress_struct* d) {
  auto* err = reinterpret_cast<ErrorManager*>(d->err);
  if (setjmp(err->jump)) return false;
  jpeg_finish_decompress(d);
  return true;
}

// CMYK as four bytes a pixel into RGB. Adobe's writers (the usual source of CMYK JPEGs) store
// the inks inverted, 255 meaning none; others store them plainly.
void CmykToRgb(const unsigned char* cmyk, unsigned char* rgb, int width, bool inverted) {
  for (int x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
    unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
    for (int c = 0; c < 3; ++c) {
      unsigned v = inverted ? cmyk[c] : 255u - cmyk[c];
      rgb[c] = static_cast<unsigned char>((v * k + 127) / 255);
    }
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------

struct JpegRowReader::State {
  jpeg_decompress_struct info{};
  ErrorManager err{};
  bool created = false;
  bool used = false;  // a file has been read since the decompressor was created
  std::FILE* file = nullptr;
  bool started = false;
  bool cmyk = false;
  bool inverted = false;
  std::vector<unsigned char> cmykRow;
};

JpegRowReader::JpegRowReader() : state_(std::make_unique<State>()) { Create(); }

void JpegRowReader::Create() {
  InitErrors(state_->err);
  state_->info = jpeg_decompress_struct{};
  state_->info.err = &state_->err.pub;
  if (!GuardedCreateDecompress(&state_->info)) throw PlatformError(CodecErrorText(state_->err.code));
  state_->created = true;
  state_->info.mem->max_memory_to_use = kMaxCodecMemory;
}

JpegRowReader::~JpegRowReader() {
  if (state_->file) std::fclose(state_->file);
  if (state_->created) jpeg_destroy_decompress(&state_->info);
}

void JpegRowReader::Open(const std::string& path) {
  Reset();
  // The codec keeps the quantisation and Huffman tables of the last file it read, and a file
  // without tables of its own (as motion-JPEG frames are) would be decoded with them: each file
  // gets a fresh decompressor, so that what comes out never depends on the file before.
  if (state_->used || !state_->created) {
    state_->used = false;
    if (state_->created) jpeg_destroy_decompress(&state_->info);
    state_->created = false;
    Create();
  }
  // O_NONBLOCK: a pipe carrying a photo's name must not wait for a writer at its open; only a
  // regular file is a picture.
  std::FILE* file = nullptr;
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  struct stat st {};
  if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) file = ::fdopen(fd, "rb");
  if (!file && fd >= 0) ::close(fd);
  if (!file) throw PlatformError(FormatMessage(kCannotOpen, path));
  state_->file = file;
  state_->used = true;
  if (!GuardedStart(&state_->info, file, &state_->cmyk)) Fail(CodecErrorText(state_->err.code));
  state_->started = true;
  state_->inverted = state_->cmyk && state_->info.saw_Adobe_marker;
  if (state_->cmyk) state_->cmykRow.resize(static_cast<std::size_t>(state_->info.output_width) * 4);
}

int JpegRowReader::Width() const { return static_cast<int>(state_->info.output_width); }
int JpegRowReader::Height() const { return static_cast<int>(state_->info.output_height); }
int JpegRowReader::NextRow() const { return static_cast<int>(state_->info.output_scanline); }

void JpegRowReader::ReadRow(unsigned char* rgb) {
  unsigned char* target = state_->cmyk ? state_->cmykRow.data() : rgb;
  if (!GuardedReadRow(&state_->info, target)) Fail(CodecErrorText(state_->err.code));
  if (state_->cmyk) CmykToRgb(target, rgb, Width(), state_->inverted);
}

void JpegRowReader::SkipRows(int count) {
  if (count <= 0) return;
  if (!GuardedSkip(&state_->info, count)) Fail(CodecErrorText(state_->err.code));
}

void JpegRowReader::Close() {
  bool complete = state_->started && state_->info.output_scanline >= state_->info.output_height;
  bool ok = !complete || GuardedFinish(&state_->info);
  // Aborting also resets the object after a failed finish, so it is always ready for reuse.
  if ((!complete || !ok) && state_->created) jpeg_abort_decompress(&state_->info);
  state_->started = false;
  if (state_->file) std::fclose(state_->file);
  state_->file = nullptr;
  if (!ok) throw PlatformError(CodecErrorText(state_->err.code));
}

void JpegRowReader::Reset() {
  if (state_->created) jpeg_abort_decompress(&state_->info);
  state_->started = false;
  if (state_->file) std::fclose(state_->file);
  state_->file = nullptr;
}

void JpegRowReader::Fail(const std::string& text) {
  Reset();
  throw PlatformError(text);
}

// ---------------------------------------------------------------------------------------------

namespace {

// Collects the encoded bytes in a string that keeps its capacity from picture to picture.
struct StringDestination {
  jpeg_destination_mgr pub;
  std::string* out;
};

constexpr std::size_t kInitialOutput = 1 << 16;

void StartOutput(j_compress_ptr c) {
  auto* dest = reinterpret_cast<StringDestination*>(c->dest);
  bool grown = true;
  try {
    dest->out->resize(std::max(kInitialOutput, dest->out->capacity()));
  } catch (const std::bad_alloc&) {
    grown = false;
  }
  if (!grown) ERREXIT1(c, JERR_OUT_OF_MEMORY, 0);
  dest->pub.next_output_byte = reinterpret_cast<JOCTET*>(dest->out->data());
  dest->pub.free_in_buffer = dest->out->size();
}

boolean GrowOutput(j_compress_ptr c) {
  auto* dest = reinterpret_cast<StringDestination*>(c->dest);
  std::size_t used = dest->out->size();
  bool grown = true;
  try {
    dest->out->resize(used * 2);
  } catch (const std::bad_alloc&) {
    grown = false;
  }
  if (!grown) ERREXIT1(c, JERR_OUT_OF_MEMORY, 0);
  dest->pub.next_output_byte = reinterpret_cast<JOCTET*>(dest->out->data()) + used;
  dest->pub.free_in_buffer = dest->out->size() - used;
  return TRUE;
}

void EndOutput(j_compress_ptr c) {
  auto* dest = reinterpret_cast<StringDestination*>(c->dest);
  dest->out->resize(dest->out->size() - dest->pub.free_in_buffer);
}

bool GuardedCreateCompress(jpeg_compress_struct* c) {
  auto* err = reinterpret_cast<ErrorManager*>(c->err);
  if (setjmp(err->jump)) return false;
  jpeg_create_compress(c);
  return true;
}

bool GuardedBegin(jpeg_compress_struct* c, int width, int height, int quality) {
  auto* err = reinterpret_cast<ErrorManager*>(c->err);
  if (setjmp(err->jump)) return false;
  c->image_width = static_cast<JDIMENSION>(width);
  c->image_height = static_cast<JDIMENSION>(height);
  c->input_components = 3;
  c->in_color_space = JCS_RGB;
  jpeg_set_defaults(c);
  jpeg_set_quality(c, quality, TRUE);
  jpeg_start_compress(c, TRUE);
  return true;
}

bool GuardedWriteRow(jpeg_compress_struct* c, const unsigned char* row) {
  auto* err = reinterpret_cast<ErrorManager*>(c->err);
  if (setjmp(err->jump)) return false;
  JSAMPROW rows[1] = {const_cast<JSAMPLE*>(row)};
  return jpeg_write_scanlines(c, rows, 1) == 1;
}

bool GuardedFinishCompress(jpeg_compress_struct* c) {
  auto* err = reinterpret_cast<ErrorManager*>(c->err);
  if (setjmp(err->jump)) return false;
  jpeg_finish_compress(c);
  return true;
}

}  // namespace

struct JpegRowWriter::State {
  jpeg_compress_struct info{};
  ErrorManager err{};
  StringDestination dest{};
  std::string out;
  bool created = false;
};

JpegRowWriter::JpegRowWriter() : state_(std::make_unique<State>()) {
  InitErrors(state_->err);
  state_->info.err = &state_->err.pub;
  if (!GuardedCreateCompress(&state_->info)) throw PlatformError(CodecErrorText(state_->err.code));
  state_->created = true;
  state_->dest.pub.init_destination = StartOutput;
  state_->dest.pub.empty_output_buffer = GrowOutput;
  state_->dest.pub.term_destination = EndOutput;
  state_->dest.out = &state_->out;
  state_->info.dest = &state_->dest.pub;
}

JpegRowWriter::~JpegRowWriter() {
  if (state_->created) jpeg_destroy_compress(&state_->info);
}

void JpegRowWriter::Begin(int width, int height, int quality) {
  jpeg_abort_compress(&state_->info);
  if (!GuardedBegin(&state_->info, width, height, quality)) Fail();
}

void JpegRowWriter::WriteRow(const unsigned char* rgb) {
  if (!GuardedWriteRow(&state_->info, rgb)) Fail();
}

const std::string& JpegRowWriter::Finish() {
  if (!GuardedFinishCompress(&state_->info)) Fail();
  return state_->out;
}

void JpegRowWriter::Abort() { jpeg_abort_compress(&state_->info); }

void JpegRowWriter::Fail() {
  jpeg_abort_compress(&state_->info);
  throw PlatformError(CodecErrorText(state_->err.code));
}

// ---------------------------------------------------------------------------------------------

RgbImage DecodeJpegFile(const std::string& path) {
  JpegRowReader reader;
  reader.Open(path);
  RgbImage image;
  image.width = reader.Width();
  image.height = reader.Height();
  std::size_t stride = static_cast<std::size_t>(image.width) * 3;
  // A header may claim up to 65500 x 65500 pixels: a picture larger than any camera's, or more
  // than memory holds, is the codec's own out-of-memory error, not a failure the window cannot
  // show (nor one that takes the machine's memory first).
  if (static_cast<unsigned long long>(image.width) * static_cast<unsigned long long>(image.height) > kMaxDecodePixels)
    throw PlatformError(CodecErrorText(JERR_OUT_OF_MEMORY));
  try {
    image.pixels.resize(stride * static_cast<std::size_t>(image.height));
  } catch (const std::bad_alloc&) {
    throw PlatformError(CodecErrorText(JERR_OUT_OF_MEMORY));
  }
  for (int y = 0; y < image.height; ++y) reader.ReadRow(image.pixels.data() + stride * static_cast<std::size_t>(y));
  reader.Close();
  return image;
}

std::string EncodeJpeg(const RgbImage& image, int quality) {
  JpegRowWriter writer;
  writer.Begin(image.width, image.height, quality);
  std::size_t stride = static_cast<std::size_t>(image.width) * 3;
  for (int y = 0; y < image.height; ++y) writer.WriteRow(image.pixels.data() + stride * static_cast<std::size_t>(y));
  return writer.Finish();
}

}  // namespace orimo

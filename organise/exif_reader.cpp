#include "organise/exif_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace orimo {
namespace {

// The file seen as an endless run of bytes: the file's own, then zeros. A file that cannot be
// opened or read (a folder, a pipe) is all zeros. The first block is read once and serves the
// usual walk, which stays within the first few hundred bytes; a step beyond it reads a block of
// its own from there. A short block marks the end of the file, so nothing past it is read.
class ZeroPaddedFile {
 public:
  explicit ZeroPaddedFile(const std::string& path) {
    // O_NONBLOCK: opening a pipe that happens to carry a photo's name must not wait for a writer.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ >= 0) size_ = UINT64_MAX;  // until a read finds the end
  }
  ~ZeroPaddedFile() { Close(); }
  ZeroPaddedFile(const ZeroPaddedFile&) = delete;
  ZeroPaddedFile& operator=(const ZeroPaddedFile&) = delete;

  // Copies `count` bytes at `position` into `out`; whatever lies beyond the file stays as it is
  // in `out` (the caller has cleared it).
  void Read(std::uint64_t position, std::uint8_t* out, std::size_t count) {
    while (count > 0 && position < size_) {
      if (position < blockStart_ || position >= blockStart_ + blockLength_) {
        if (!Fill(position)) return;
      }
      std::uint64_t offset = position - blockStart_;
      std::size_t n = static_cast<std::size_t>(blockLength_ - offset);
      if (n > count) n = count;
      std::memcpy(out, block_ + offset, n);
      out += n;
      position += n;
      count -= n;
    }
  }

 private:
  static constexpr std::size_t kBlock = 4096;

  bool Fill(std::uint64_t position) {
    blockStart_ = position;
    blockLength_ = 0;
    if (position > static_cast<std::uint64_t>(INT64_MAX) - kBlock) {
      size_ = position;
      return false;
    }
    for (;;) {
      ssize_t n = ::pread(fd_, block_, kBlock, static_cast<off_t>(position));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        // The end, or a file that cannot be read: from here on it reads as zeros.
        size_ = position;
        return false;
      }
      blockLength_ = static_cast<std::uint64_t>(n);
      if (blockLength_ < kBlock) size_ = position + blockLength_;
      return true;
    }
  }

  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

  int fd_ = -1;
  std::uint64_t size_ = 0;  // 0 while no file is open: every byte reads as zero
  std::uint64_t blockStart_ = 0;
  std::uint64_t blockLength_ = 0;
  std::uint8_t block_[kBlock];
};

// The walk's cursor: a 20-byte buffer cleared before every read, each read filling it from its
// start. Positions are 64-bit, so a 32-bit offset added to the TIFF base never wraps.
class Cursor {
 public:
  explicit Cursor(ZeroPaddedFile& file) : file_(file) {}

  const std::uint8_t* Read(std::size_t count) {
    std::memset(buffer_, 0, sizeof buffer_);
    file_.Read(position_, buffer_, count);
    position_ += count;
    return buffer_;
  }
  void Skip(std::uint64_t count) { position_ += count; }
  void Seek(std::uint64_t position) { position_ = position; }
  std::uint64_t Position() const { return position_; }

 private:
  ZeroPaddedFile& file_;
  std::uint64_t position_ = 0;
  std::uint8_t buffer_[20];
};

struct ByteOrder {
  bool little;
  std::uint16_t U16(const std::uint8_t* p) const {
    return little ? static_cast<std::uint16_t>(p[0] | p[1] << 8) : static_cast<std::uint16_t>(p[0] << 8 | p[1]);
  }
  std::uint32_t U32(const std::uint8_t* p) const {
    return little ? (std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24)
                  : (std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | std::uint32_t{p[3]});
  }
};

// Walks a directory at the cursor: a 2-byte count, then that many 12-byte entries. Gives the
// value field (entry bytes 8..11) of the first entry with `tag`; false when none has it.
bool FindEntry(Cursor& cursor, const ByteOrder& order, std::uint16_t tag, std::uint32_t& value) {
  std::uint16_t count = order.U16(cursor.Read(2));
  for (std::uint32_t i = 0; i < count; ++i) {
    //  0      2      4         8
    // [tag ][type ][count   ][value/offset]
    const std::uint8_t* entry = cursor.Read(12);
    if (order.U16(entry) == tag) {
      value = order.U32(entry + 8);
      return true;
    }
  }
  return false;
}

// The date name "YYYYMMDD_HHMMSS" from the text "YYYY:MM:DD HH:MM:SS". Each field is copied up
// to a zero byte; the name ends at its first zero. Nothing is checked for digits.
std::string DateName(const std::uint8_t* text) {
  struct Field {
    int to, from, length;
  };
  static constexpr Field kFields[] = {{0, 0, 4}, {4, 5, 2}, {6, 8, 2}, {9, 11, 2}, {11, 14, 2}, {13, 17, 2}};
  char name[20] = {};
  name[8] = '_';
  for (const Field& f : kFields) {
    for (int i = 0; i < f.length && text[f.from + i] != 0; ++i) name[f.to + i] = static_cast<char>(text[f.from + i]);
  }
  return std::string(name, ::strnlen(name, 15));
}

constexpr std::uint16_t kExifPointerTag = 0x8769;
constexpr std::uint16_t kDateTimeOriginalTag = 0x9003;

CaptureDate Fail(int stage) { return {false, {}, stage}; }

}  // namespace

CaptureDate ReadCaptureDate(const std::string& path) {
  ZeroPaddedFile file(path);
  Cursor cursor(file);

  // FF D8 | marker(2) length(2, big-endian) ... | ... | FF E1 length(2) "Exif" 00 00 | TIFF header
  cursor.Seek(2);  // the start-of-image marker is not looked at
  for (int pass = 0; pass < 10; ++pass) {
    const std::uint8_t* marker = cursor.Read(2);
    if (marker[0] == 0xFF && marker[1] == 0xE1) {
      cursor.Skip(2);
      break;
    }
    const std::uint8_t* length = cursor.Read(2);
    std::uint64_t l = static_cast<std::uint64_t>(length[0] << 8 | length[1]);
    // The length counts its own two bytes; 0 and 1 step back, which never passes position 2.
    cursor.Seek(cursor.Position() + l - 2);
  }

  if (std::memcmp(cursor.Read(4), "Exif", 4) != 0) return Fail(1);
  cursor.Skip(2);
  const std::uint64_t base = cursor.Position();

  // TIFF header: "II" or "MM" | 42 (2) | first-directory offset (4), taken to be 8
  const std::uint8_t* mark = cursor.Read(2);
  ByteOrder order{};
  if (mark[0] == 'I' && mark[1] == 'I') {
    order.little = true;
  } else if (mark[0] == 'M' && mark[1] == 'M') {
    order.little = false;
  } else {
    return Fail(2);
  }
  cursor.Skip(6);

  std::uint32_t exifOffset = 0;
  if (!FindEntry(cursor, order, kExifPointerTag, exifOffset)) return Fail(3);
  cursor.Seek(base + exifOffset);

  std::uint32_t dateOffset = 0;
  if (!FindEntry(cursor, order, kDateTimeOriginalTag, dateOffset)) return Fail(4);
  if (dateOffset == 0) return Fail(0);

  cursor.Seek(base + dateOffset);
  return {true, DateName(cursor.Read(19)), 0};
}

}  // namespace orimo

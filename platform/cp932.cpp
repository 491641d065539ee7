#include "cp932.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace orimo {
namespace {

// One converter object per direction and call: iconv keeps shift state, and the calls are rare.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv: CP932 is not available");
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much as possible; returns false on an invalid or unconvertible sequence, with
  // `in` left at the offending byte.
  bool Convert(std::string_view& in, std::string& out) {
    char buffer[256];
    while (!in.empty()) {
      char* src = const_cast<char*>(in.data());
      std::size_t srcLeft = in.size();
      char* dst = buffer;
      std::size_t dstLeft = sizeof buffer;
      std::size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      in.remove_prefix(in.size() - srcLeft);
      if (rc == static_cast<std::size_t>(-1)) {
        if (errno == E2BIG) continue;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        return false;
      }
    }
    return true;
  }

 private:
  iconv_t cd_;
};

// Length of the UTF-8 sequence that starts with `lead`, 1 for a stray byte.
std::size_t Utf8SequenceLength(std::string_view s) {
  auto b = static_cast<unsigned char>(s[0]);
  std::size_t n = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 1;
  if (n > s.size()) return 1;
  for (std::size_t i = 1; i < n; ++i)
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 1;
  return n;
}

}  // namespace

std::optional<std::string> ToCp932(std::string_view utf8) {
  Converter c("CP932", "UTF-8");
  std::string out;
  if (!c.Convert(utf8, out)) return std::nullopt;
  return out;
}

std::string ToCp932Lossy(std::string_view utf8) {
  Converter c("CP932", "UTF-8");
  std::string out;
  while (!c.Convert(utf8, out)) {
    out.push_back('?');
    utf8.remove_prefix(Utf8SequenceLength(utf8));
  }
  return out;
}

std::string FromCp932(std::string_view cp932) {
  Converter c("UTF-8", "CP932");
  std::string out;
  while (!c.Convert(cp932, out)) {
    out.append("\xEF\xBF\xBD");
    // A lead byte whose trail is invalid takes one byte; the trail is tried on its own.
    cp932.remove_prefix(1);
  }
  return out;
}

std::size_t Cp932Length(std::string_view utf8) {
  Converter c("CP932", "UTF-8");
  std::size_t length = 0;
  std::string out;
  while (!c.Convert(utf8, out)) {
    std::size_t n = Utf8SequenceLength(utf8);
    length += n == 1 && static_cast<unsigned char>(utf8[0]) >= 0x80 ? 1 : 2;
    utf8.remove_prefix(n);
  }
  return length + out.size();
}

}  // namespace orimo

#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orimo {

// Text lives in memory as UTF-8; the settings file, the log and every length rule of the
// program count in code page 932 (Shift-JIS as Windows writes it).

// The CP932 bytes of a UTF-8 text, or nothing when a character has no CP932 form
// (or the text is not valid UTF-8).
std::optional<std::string> ToCp932(std::string_view utf8);

// As ToCp932, but each character without a CP932 form becomes "?". For write-only text.
std::string ToCp932Lossy(std::string_view utf8);

// UTF-8 of CP932 bytes; a byte sequence CP932 does not define becomes U+FFFD.
std::string FromCp932(std::string_view cp932);

// Length in CP932 bytes: a double-byte character counts 2. A character CP932 cannot hold
// counts as 2, an invalid UTF-8 byte as 1.
std::size_t Cp932Length(std::string_view utf8);

}  // namespace orimo

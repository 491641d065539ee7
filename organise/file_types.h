#pragma once

#include <array>
#include <string>

namespace orimo {

// The file-type table: always walked in this order.
struct FileType {
  const char* name;       // as the type boxes and settings keys say it
  const char* extension;  // lower case with its dot: the organised copies' extension
};

inline constexpr std::array<FileType, 6> kFileTypes = {{
    {"JPEG", ".jpg"},
    {"BMP", ".bmp"},
    {"MOV", ".mov"},
    {"AVI", ".avi"},
    {"MP4", ".mp4"},
    {"3G2", ".3g2"},
}};

// Marks appended to a source file's full name.
inline constexpr const char* kOrganisedMark = "@";
inline constexpr const char* kDuplicateMark = "x2";

// FOLDER + "/*" + ending: the listing pattern of one type (and mark).
inline std::string SearchPattern(const std::string& folder, const std::string& ending) {
  return folder + "/*" + ending;
}

// The folder part of a pattern built by SearchPattern.
inline std::string PatternFolder(const std::string& pattern) {
  auto slash = pattern.rfind('/');
  return slash == std::string::npos ? std::string() : pattern.substr(0, slash);
}

}  // namespace orimo

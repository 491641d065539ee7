#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orimo {

// File operations with the semantics the program relies on. Every path is the bytes the file
// system takes (UTF-8 in practice); the program's separator is "/".

// The entries of one folder whose names match a pattern "FOLDER/*SUFFIX", the suffix compared
// without ASCII letter case; files and folders alike, never "." or "..". The whole folder is read
// at once, so the result is a snapshot in the order the file system yields. Nothing when the
// folder cannot be read.
std::optional<std::vector<std::string>> ListMatching(const std::string& pattern);

// True when `name` ends with `suffix`, ASCII letters compared without case.
bool EndsWithNoCase(const std::string& name, const std::string& suffix);

// An existing folder: "" and "***" are not.
bool IsDirectory(const std::string& path);

// True when both paths reach the same file or folder (through links, "//", ".." or other
// spellings alike).
bool SameEntry(const std::string& a, const std::string& b);

// True when anything (file, folder, link) stands at `path`.
bool Exists(const std::string& path);

struct LocalTime {
  int year, month, day, hour, minute, second;
};

// Opens the file for reading and gives its modification time in local time, the seconds rounded
// down to even (the two-second resolution of packed file dates). Nothing when the file cannot be
// opened or is a folder.
std::optional<LocalTime> ModificationTime(const std::string& path);

// Copies `from` to `to`, failing when anything already stands at `to`. The data goes to a hidden
// temporary file in the target folder first and is published under `to` only when whole, without
// ever replacing an entry; the copy keeps the source's modification time and permission bits.
bool CopyNew(const std::string& from, const std::string& to);

// Copies `from` over `to`: the old `to` stays intact until the new copy is whole.
bool CopyReplacing(const std::string& from, const std::string& to);

// Renames within a folder; fails, changing nothing, when an entry named `to` exists.
bool RenameNoReplace(const std::string& from, const std::string& to);

// Deletes a file (or link); a folder is not a file and fails.
bool DeleteFile(const std::string& path);

// Creates one folder level.
bool MakeFolder(const std::string& path);

// Size in bytes, nothing when it cannot be read.
std::optional<long long> FileSize(const std::string& path);

// Writes `data` to a temporary file beside `path` and renames it over `path`, so that `path`
// holds either the old content or the new, whole. False on any failure, nothing left behind.
bool WriteFileAtomically(const std::string& path, const std::string& data);

// The whole content of a file, nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// The process's current directory.
std::string CurrentDirectory();

// Prefix of the temporary files this program creates while it copies or rewrites a file.
inline constexpr const char* kTempPrefix = ".orimo-tmp-";

}  // namespace orimo

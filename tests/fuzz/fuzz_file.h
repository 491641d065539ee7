#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

// The readers under test take paths: each input goes to one scratch file per process, in memory
// where the machine has a memory file system (the profile writer syncs every file it writes).
inline const std::string& ScratchPath(const char* name) {
  static const std::string folder = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  static const std::string path = folder + "/orimo-fuzz-" + name + "-" + std::to_string(::getpid());
  return path;
}

inline const std::string& WriteScratch(const char* name, const uint8_t* data, size_t size) {
  const std::string& path = ScratchPath(name);
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  return path;
}

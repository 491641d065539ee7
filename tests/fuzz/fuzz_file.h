#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

// The readers under test take paths: each input goes to one scratch file per process, in memory
// where the machine has a memory file system (the profile writer syncs every file it writes).
inline std::string ScratchPath(const char* name) {
  static const std::string folder = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  return folder + "/orimo-fuzz-" + name + "-" + std::to_string(::getpid());
}

inline std::string WriteScratch(const char* name, const uint8_t* data, size_t size) {
  std::string path = ScratchPath(name);
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  return path;
}

#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

// The readers under test take paths: each input goes to one scratch file per process.
inline const std::string& ScratchPath(const char* name) {
  static const std::string path = std::string("/tmp/orimo-fuzz-") + name + "-" + std::to_string(::getpid());
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

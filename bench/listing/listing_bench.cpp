// Benchmark driver for the folder listing, used by bench/listing/run.sh:
//   listing_bench make DIR COUNT   COUNT empty photo-named files in DIR (one in ten not matching)
//   listing_bench list DIR ROUNDS  ListMatching(DIR/*.jpg) ROUNDS times; prints the entries
//                                  matched, the best time per entry in nanoseconds and the
//                                  process's peak resident memory before and after, in KB
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/files.h"

namespace {

long PeakKb() {
  struct rusage u {};
  ::getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

int Make(const std::string& dir, long count) {
  for (long i = 0; i < count; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, i % 10 == 9 ? "/MOV_%07ld.MOV" : "/IMG_%07ld.JPG", i);
    int fd = ::open((dir + name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return 1;
    ::close(fd);
  }
  return 0;
}

int List(const std::string& dir, int rounds) {
  using Clock = std::chrono::steady_clock;
  const long before = PeakKb();
  double best = 1e30;
  std::size_t matched = 0;
  long entries = 0;
  for (int r = 0; r < rounds; ++r) {
    Clock::time_point start = Clock::now();
    auto names = orimo::ListMatching(dir + "/*.jpg");
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (!names) return 1;
    matched = names->size();
    if (seconds < best) best = seconds;
  }
  // Every entry of the folder is looked at, matched or not.
  entries = static_cast<long>(matched + matched / 9);
  std::printf("%zu %.1f %ld %ld\n", matched, best * 1e9 / static_cast<double>(entries), before, PeakKb());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "make") return Make(argv[2], std::atol(argv[3]));
  if (argc == 4 && std::string(argv[1]) == "list") return List(argv[2], std::atoi(argv[3]));
  std::fprintf(stderr, "usage: listing_bench make DIR COUNT | list DIR ROUNDS\n");
  return 2;
}

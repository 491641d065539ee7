// Benchmark driver for the organiser, used by bench/organise/run.sh:
//   organise_bench make DIR COUNT         COUNT photos (~20-50 KB) with EXIF dates and file dates
//   organise_bench organise SRC DST BASE exif|file[-nomarks]
//                                          one whole organise command
// Timed modes print two figures: wall seconds and CPU seconds (user + system).
//   organise_bench cp SRC DST             cp --preserve=timestamps of every file, as a child
//   organise_bench copy SRC DST           CopyNew of every file alone
//   organise_bench copy-in-kernel SRC DST the same with O_TMPFILE + copy_file_range + linkat
//   organise_bench log BASE COUNT         COUNT run-log lines alone
//   organise_bench read DIR ROUNDS        the capture-date reader over every file; prints files/s
#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/log.h"
#include "app/run_host.h"
#include "organise/exif_reader.h"
#include "organise/organise_run.h"
#include "platform/files.h"
#include "tests/support/exif_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

double CpuSeconds(int who) {
  struct rusage u {};
  ::getrusage(who, &u);
  auto s = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return s(u.ru_utime) + s(u.ru_stime);
}

// Wall time and CPU time (user + system) of one measured piece; the CPU time is the steadier
// figure on a machine that is busy with other work.
class Stopwatch {
 public:
  explicit Stopwatch(int who = RUSAGE_SELF) : who_(who), wall_(Clock::now()), cpu_(CpuSeconds(who)) {}
  void Print() const { std::printf("%.4f %.4f\n", Seconds(wall_), CpuSeconds(who_) - cpu_); }

 private:
  int who_;
  Clock::time_point wall_;
  double cpu_;
};

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
  if (!dir) return names;
  while (dirent* e = ::readdir(dir.get())) {
    std::string n = e->d_name;
    if (n != "." && n != "..") names.push_back(n);
  }
  return names;
}

// A window that is never looked at: no prompt is expected, and any that comes is counted.
class QuietHost : public orimo::RunHost {
 public:
  QuietHost(std::string src, std::string dst, std::string base, int dateBasis, bool marks)
      : src_(std::move(src)), dst_(std::move(dst)), log_(base + "/Log.txt", base + "/Log.bak") {
    fields_.BaseDir = base;
    options_.dateBasis = dateBasis;
    options_.markOrganised = options_.markDuplicates = marks;
  }
  std::string FolderText(orimo::FolderPanel p) override {
    return p == orimo::FolderPanel::OrganiseSource ? src_ : p == orimo::FolderPanel::OrganiseDestination ? dst_ : "***";
  }
  orimo::RunOptions Options() override { return options_; }
  orimo::RunFields& Fields() override { return fields_; }
  orimo::TLOG& Log() override { return log_; }
  void SetBusy(orimo::BusyKind, bool) override {}
  void SetProgressMax(int) override {}
  void SetProgress(int p) override { progress_ = p; }
  int Progress() override { return progress_; }
  void ProcessMessages() override {}
  void Notice(const std::string&) override {}
  bool AskOkCancel(const std::string&, const std::string&) override { return true; }
  bool AskYesNo(const std::string&, const std::string&) override { return true; }
  void ShowError(const std::string&) override {}
  void ShowDuplicatePrompt() override { ++prompts; fields_.PromptAnswer = orimo::AnswerSkip; }
  void ShowNonExifPrompt() override { ++prompts; fields_.PromptAnswer = orimo::AnswerSkip; }
  int prompts = 0;

 private:
  std::string src_, dst_;
  orimo::TLOG log_;
  orimo::RunOptions options_;
  orimo::RunFields fields_;
  int progress_ = 0;
};

int Make(const std::string& dir, int count) {
  // A few distinct pictures, each file with its own capture date and file date.
  std::vector<std::string> pictures;
  for (unsigned seed = 1; seed <= 8; ++seed) pictures.push_back(orimo::test::NoisyJpeg(288, 216, seed, 85));
  long long total = 0;
  for (int i = 0; i < count; ++i) {
    int second = i * 7;  // spread over a few days; distinct even file seconds below
    char date[32];
    std::snprintf(date, sizeof date, "2015:%02d:%02d %02d:%02d:%02d", 1 + (i / 500) % 12, 1 + (second / 86400) % 28,
                  second / 3600 % 24, second / 60 % 60, second % 60);
    std::string bytes = orimo::test::PhotoWithDate(date, pictures[static_cast<std::size_t>(i) % pictures.size()]);
    char name[32];
    std::snprintf(name, sizeof name, "/IMG_%04d.JPG", i);
    std::string path = dir + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0) {
      std::perror(path.c_str());
      return 1;
    }
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = 1420070400 + 2LL * i;  // 2015-01-01 UTC, 2 s apart
    times[0].tv_nsec = times[1].tv_nsec = 0;
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
    total += static_cast<long long>(bytes.size());
  }
  std::printf("made %d files, %.1f KB on average\n", count, total / 1024.0 / count);
  return 0;
}

// Takes the "@" marks off again, so that every round (and the other tools) see the same files.
void Unmark(const std::string& src) {
  for (const std::string& n : Names(src)) {
    if (n.size() > 1 && n.back() == '@') orimo::RenameNoReplace(src + "/" + n, src + "/" + n.substr(0, n.size() - 1));
  }
}

int Organise(const std::string& src, const std::string& dst, const std::string& base, const std::string& mode) {
  Unmark(src);
  // "exif" / "file": capture or file date, marks on; a "-nomarks" suffix turns the marks off.
  bool marks = mode.find("-nomarks") == std::string::npos;
  QuietHost host(src, dst, base, mode.rfind("file", 0) == 0 ? 1 : 0, marks);
  Stopwatch watch;
  orimo::OrganiseCommand(host);
  watch.Print();
  Unmark(src);
  if (host.prompts) std::fprintf(stderr, "warning: %d prompts\n", host.prompts);
  return 0;
}

// Only the platform copy of every file into DST under its own name: what the organise run pays for
// the copies alone.
int CopyAll(const std::string& src, const std::string& dst) {
  std::vector<std::string> names = Names(src);
  Stopwatch watch;
  int failed = 0;
  for (const std::string& n : names) failed += !orimo::CopyNew(src + "/" + n, dst + "/" + n);
  watch.Print();
  if (failed) std::fprintf(stderr, "warning: %d copies failed\n", failed);
  return 0;
}

// What a cheaper fail-if-exists copy could cost: an unnamed temporary file (O_TMPFILE) filled in
// the kernel (copy_file_range) and published with linkat, which fails when the name exists.
bool CopyNewInKernel(const std::string& from, const std::string& to) {
  int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  struct stat st {};
  std::string folder = to.substr(0, to.rfind('/'));
  int out = ::fstat(in, &st) == 0 && S_ISREG(st.st_mode) ? ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600) : -1;
  bool ok = out >= 0;
  for (off_t left = st.st_size; ok && left > 0;) {
    ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, static_cast<std::size_t>(left), 0);
    if (n <= 0) ok = false;
    left -= n;
  }
  struct timespec times[2] = {st.st_atim, st.st_mtim};
  ok = ok && ::fchmod(out, st.st_mode & 07777) == 0 && ::futimens(out, times) == 0;
  std::string self = "/proc/self/fd/" + std::to_string(out);
  ok = ok && ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW) == 0;
  if (out >= 0) ::close(out);
  ::close(in);
  return ok;
}

int CopyAllInKernel(const std::string& src, const std::string& dst) {
  std::vector<std::string> names = Names(src);
  Stopwatch watch;
  int failed = 0;
  for (const std::string& n : names) failed += !CopyNewInKernel(src + "/" + n, dst + "/" + n);
  watch.Print();
  if (failed) std::fprintf(stderr, "warning: %d copies failed\n", failed);
  return 0;
}

// `cp --preserve=timestamps SRC/<every file> DST/`, measured as a child process.
int CpAll(const std::string& src, const std::string& dst) {
  std::vector<std::string> args = {"cp", "--preserve=timestamps"};
  for (const std::string& n : Names(src)) args.push_back(src + "/" + n);
  args.push_back(dst + "/");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  Stopwatch watch(RUSAGE_CHILDREN);
  pid_t pid = 0;
  if (::posix_spawnp(&pid, "cp", nullptr, nullptr, argv.data(), environ) != 0) return 1;
  int status = 0;
  ::waitpid(pid, &status, 0);
  watch.Print();
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
}

// COUNT run-log lines of the length a capture-date run writes, alone.
int LogLines(const std::string& base, int count) {
  orimo::TLOG log(base + "/Log.txt", base + "/Log.bak");
  std::string line = "CheckFile: " + base + "/src/IMG_0000.JPG";
  Stopwatch watch;
  for (int i = 0; i < count; ++i) log.Write(line);
  watch.Print();
  return 0;
}

int Read(const std::string& dir, int rounds) {
  std::vector<std::string> paths;
  for (const std::string& n : Names(dir)) paths.push_back(dir + "/" + n);
  int found = 0;
  auto start = Clock::now();
  for (int r = 0; r < rounds; ++r)
    for (const std::string& p : paths) found += orimo::ReadCaptureDate(p).ok;
  double s = Seconds(start);
  if (found != rounds * static_cast<int>(paths.size())) std::fprintf(stderr, "warning: %d dates found\n", found);
  std::printf("%.0f\n", rounds * paths.size() / s);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> a(argv + 1, argv + argc);
  if (a.size() == 3 && a[0] == "make") return Make(a[1], std::atoi(a[2].c_str()));
  if (a.size() == 5 && a[0] == "organise") return Organise(a[1], a[2], a[3], a[4]);
  if (a.size() == 3 && a[0] == "cp") return CpAll(a[1], a[2]);
  if (a.size() == 3 && a[0] == "copy") return CopyAll(a[1], a[2]);
  if (a.size() == 3 && a[0] == "copy-in-kernel") return CopyAllInKernel(a[1], a[2]);
  if (a.size() == 3 && a[0] == "log") return LogLines(a[1], std::atoi(a[2].c_str()));
  if (a.size() == 3 && a[0] == "read") return Read(a[1], std::atoi(a[2].c_str()));
  std::fprintf(stderr, "usage: organise_bench make DIR COUNT | organise SRC DST BASE exif|file[-nomarks] | cp SRC DST |"
                       " copy SRC DST | copy-in-kernel SRC DST | log BASE COUNT | read DIR ROUNDS\n");
  return 2;
}

// Runs killed with SIGKILL at random moments: whatever the moment, no file is lost or damaged,
// nothing is left that a later run could take for a clash, and the next run finishes the job.
// ORIMO_HARDENING_KILLS sets the number of kills per kind (scripts/hardening runs many).
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <random>
#include <set>

#include "organise/organise_run.h"
#include "platform/files.h"
#include "platform/ini_profile.h"
#include "resize/jpeg_codec.h"
#include "tests/cli/cli_process.h"
#include "tests/support/exif_fixture.h"
#include "tests/support/temp_dir.h"

namespace orimo {
namespace {

using test::ListNames;
using test::ListTree;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

using Clock = std::chrono::steady_clock;

void SleepMicroseconds(long us) {
  struct timespec t = {us / 1'000'000, (us % 1'000'000) * 1000};
  ::nanosleep(&t, nullptr);
}

std::mt19937& Random() {
  static std::mt19937 random = [] {
    unsigned seed = std::random_device{}();
    std::printf("[hardening] random seed %u\n", seed);
    return std::mt19937(seed);
  }();
  return random;
}

// Starts a run, kills it after a random part of `full` (the time a whole run takes) and says
// whether the kill found it still running.
bool StartAndKill(const std::vector<std::string>& args, Clock::duration full, long* afterUs) {
  TempDir io;
  long span = std::chrono::duration_cast<std::chrono::microseconds>(full).count();
  *afterUs = std::uniform_int_distribution<long>(span / 20, span * 9 / 10)(Random());
  pid_t child = test::StartCli(args, io.path(), io.path());
  SleepMicroseconds(*afterUs);
  int status = 0;
  bool running = ::waitpid(child, &status, WNOHANG) == 0;
  ::kill(child, SIGKILL);
  ::waitpid(child, &status, 0);
  return running;
}

// ---------------------------------------------------------------------------------------------
// Organise

struct Photo {
  std::string name, content, dateName;  // dateName empty: no capture date
};

// A few hundred small JPEGs: most with a date of their own, every fifth sharing its
// predecessor's date (a clash), every tenth without EXIF, and a few large ones so that a kill
// can land inside a copy.
std::vector<Photo> OrganiseFixture() {
  const std::string jpeg = test::SmallJpeg(16, 16);
  std::vector<Photo> photos;
  std::mt19937 bytes(7);
  for (int i = 0; i < 300; ++i) {
    Photo p;
    char name[32];
    std::snprintf(name, sizeof name, "p%03d.JPG", i);
    p.name = name;
    int d = i % 5 == 3 ? i - 1 : i;
    char date[32];
    std::snprintf(date, sizeof date, "2010:%02d:%02d 10:%02d:%02d", 1 + d % 12, 1 + d / 12 % 28, d / 60, d % 60);
    if (i % 10 == 9) {
      p.content = jpeg;
    } else {
      p.content = test::PhotoWithDate(date, jpeg);
      char dateName[32];
      std::snprintf(dateName, sizeof dateName, "2010%02d%02d_10%02d%02d", 1 + d % 12, 1 + d / 12 % 28, d / 60, d % 60);
      p.dateName = dateName;
    }
    // Bytes after the end-of-image marker make every file's content its own.
    p.content += "#" + std::to_string(i);
    if (i % 50 == 0) {
      std::string large(1 << 20, '\0');
      for (char& c : large) c = static_cast<char>(bytes());
      p.content += large;
    }
    photos.push_back(std::move(p));
  }
  return photos;
}

struct OrganiseWork {
  TempDir base, from, to;
  std::vector<std::string> Args(const std::string& onClash) const {
    return {"organise",  "--base",  base.path(), "--from",       from.path(), "--to",  to.path(),
            "--types",   "jpeg",    "--basis",   "exif",         "--mark",    "--dup-mark",
            "--on-clash", onClash, "--on-unreadable", "exifng"};
  }
};

void WriteSources(const OrganiseWork& work, const std::vector<Photo>& photos) {
  for (const Photo& p : photos) WriteFile(work.from / p.name, p.content);
}

// What must hold after any kill; `complete` adds what a finished run must have done.
void CheckOrganised(const OrganiseWork& work, const std::vector<Photo>& photos, bool complete, bool overwrite) {
  std::map<std::string, std::set<std::string>> byDate;  // date name -> contents with that date
  std::map<std::string, const Photo*> byContent;
  for (const Photo& p : photos) {
    if (!p.dateName.empty()) byDate[p.dateName].insert(p.content);
    byContent[p.content] = &p;
  }
  // Every source is there once, marked or not, with its content.
  EXPECT_EQ(ListNames(work.from.path()).size(), photos.size());
  for (const Photo& p : photos) {
    int found = 0;
    std::string mark;
    for (const char* m : {"", "@", "x2"}) {
      if (!Exists(work.from / (p.name + m))) continue;
      ++found;
      mark = m;
      EXPECT_EQ(ReadFile(work.from / (p.name + m)), p.content) << p.name << m;
    }
    EXPECT_EQ(found, 1) << p.name;
    if (!complete) continue;
    if (p.dateName.empty()) {
      EXPECT_EQ(mark, "") << p.name;
      EXPECT_TRUE(Exists(work.base / ("ExifNG/1_" + p.name))) << p.name;
      continue;
    }
    EXPECT_NE(mark, "") << p.name << " is left unorganised";
    const std::string copy = work.to / (MonthFolderName(p.dateName) + "/" + p.dateName + ".jpg");
    ASSERT_TRUE(Exists(copy)) << p.name;
    if (mark == "@" && !overwrite) {
      EXPECT_EQ(ReadFile(copy), p.content) << p.name;
    }
  }
  // Every file in the destination is a whole copy of a source of its date, under its date name.
  int litter = 0;
  for (const std::string& path : ListTree(work.to.path())) {
    auto slash = path.find('/');
    ASSERT_NE(slash, std::string::npos) << path;
    std::string name = path.substr(slash + 1);
    if (overwrite && name.rfind(kTempPrefix, 0) == 0) {
      // "Overwrite once" links the whole copy under a temporary name and renames it over the
      // old one: a kill in between leaves that one whole file, never under a date name.
      ++litter;
      EXPECT_TRUE(byContent.count(ReadFile(work.to / path))) << "partial temporary file " << path;
      std::printf("[kill] organise: one whole temporary file left\n");
      continue;
    }
    ASSERT_TRUE(name.size() == 19 && name.substr(15) == ".jpg") << "not a date name: " << path;
    std::string dateName = name.substr(0, 15);
    EXPECT_EQ(path.substr(0, slash), MonthFolderName(dateName)) << path;
    ASSERT_TRUE(byDate.count(dateName)) << path;
    EXPECT_TRUE(byDate[dateName].count(ReadFile(work.to / path))) << "not a whole copy: " << path;
  }
  // The side folder holds whole copies of unreadable sources only; nothing else is left anywhere.
  for (const std::string& path : ListTree(work.base.path())) {
    if (path == "Log.txt" || path == "Log.bak") continue;
    ASSERT_EQ(path.rfind("ExifNG/", 0), 0u) << path;
    std::string content = ReadFile(work.base / path);
    ASSERT_TRUE(byContent.count(content)) << "not a whole copy: " << path;
    EXPECT_EQ(path.substr(path.find('_') + 1), byContent[content]->name) << path;
    EXPECT_TRUE(byContent[content]->dateName.empty()) << path;
  }
  EXPECT_LE(litter, 1);
  if (!overwrite) {
    EXPECT_EQ(test::TemporaryFiles(work.to.path()), std::vector<std::string>{});
  }
  EXPECT_EQ(test::TemporaryFiles(work.base.path()), std::vector<std::string>{});
}

TEST(KilledRun, OrganiseLosesNothingAndTheNextRunFinishes) {
  const std::vector<Photo> photos = OrganiseFixture();
  const int kills = test::KillCount(4);
  // A whole run from scratch: the time the kills are spread over, and the reference result.
  Clock::duration full;
  {
    OrganiseWork work;
    WriteSources(work, photos);
    Clock::time_point start = Clock::now();
    test::CliRun run = test::RunCli(work.Args("skip"));
    full = Clock::now() - start;
    ASSERT_EQ(run.status, 1) << run.err;  // clashes and unreadable files are not organised
    CheckOrganised(work, photos, true, false);
  }
  int midRun = 0;
  for (int k = 0; k < kills; ++k) {
    const bool overwrite = k % 2 == 1;
    SCOPED_TRACE("kill " + std::to_string(k) + (overwrite ? " (overwrite)" : " (skip)"));
    OrganiseWork work;
    WriteSources(work, photos);
    const auto args = work.Args(overwrite ? "overwrite" : "skip");
    long after = 0;
    bool running = StartAndKill(args, full, &after);
    midRun += running;
    std::size_t copies = ListTree(work.to.path()).size();
    std::printf("[kill] organise %d: after %ld us, %s, %zu copies made\n", k, after,
                running ? "mid-run" : "already done", copies);
    CheckOrganised(work, photos, false, overwrite);
    test::CliRun next = test::RunCli(args);
    EXPECT_EQ(next.status, 1) << next.err;
    CheckOrganised(work, photos, true, overwrite);
    if (HasFatalFailure()) return;
  }
  std::printf("[kill] organise: %d kills, %d mid-run, run takes %lld ms\n", kills, midRun,
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(full).count()));
  EXPECT_GT(midRun, 0);
}

// ---------------------------------------------------------------------------------------------
// Resize

TEST(KilledRun, ResizeLeavesEachOutputOldOrNewAndWhole) {
  const int kills = test::KillCount(4);
  TempDir from, reference, io;
  std::vector<std::string> names;
  for (int i = 0; i < 40; ++i) {
    names.push_back("r" + std::to_string(i) + ".jpg");
    WriteFile(from / names.back(), test::NoisyJpeg(640, 480, static_cast<unsigned>(i)));
  }
  const std::string old = test::SmallJpeg(8, 8);
  auto args = [&](const std::string& to) {
    return std::vector<std::string>{"resize", "--base", io.path(), "--from", from.path(), "--to", to, "--size", "0"};
  };
  Clock::time_point start = Clock::now();
  test::CliRun run = test::RunCli(args(reference.path()));
  Clock::duration full = Clock::now() - start;
  ASSERT_EQ(run.status, 0) << run.err;
  for (const std::string& name : names) {
    RgbImage image = DecodeJpegFile(reference / name);
    ASSERT_EQ(image.width, 320);
    ASSERT_EQ(image.height, 240);
  }

  int midRun = 0;
  for (int k = 0; k < kills; ++k) {
    SCOPED_TRACE("kill " + std::to_string(k));
    TempDir to;
    // Every other output exists already, from an earlier run.
    for (std::size_t i = 0; i < names.size(); i += 2) WriteFile(to / names[i], old);
    long after = 0;
    bool running = StartAndKill(args(to.path()), full, &after);
    midRun += running;
    int renewed = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
      const std::string path = to / names[i];
      if (!Exists(path)) {
        EXPECT_EQ(i % 2, 1u) << names[i] << ": the old output is gone";
        continue;
      }
      std::string content = ReadFile(path);
      if (i % 2 == 0 && content == old) continue;
      EXPECT_EQ(content, ReadFile(reference / names[i])) << names[i] << " is neither the old file nor the new, whole";
      ++renewed;
    }
    std::printf("[kill] resize %d: after %ld us, %s, %d outputs new\n", k, after,
                running ? "mid-run" : "already done", renewed);
    // A kill between the link that names a whole new output and the rename that puts it in
    // place leaves that one temporary file: never under an output's name, and whole.
    const std::set<std::string> known(names.begin(), names.end());
    std::set<std::string> outputs;
    for (const std::string& name : names) outputs.insert(ReadFile(reference / name));
    int litter = 0;
    for (const std::string& name : ListNames(to.path())) {
      if (known.count(name)) continue;
      ++litter;
      EXPECT_EQ(name.rfind(kTempPrefix, 0), 0u) << "left behind: " << name;
      EXPECT_TRUE(outputs.count(ReadFile(to / name))) << "partial temporary file " << name;
    }
    EXPECT_LE(litter, 1);
    if (litter) std::printf("[kill] resize %d: one whole temporary file left\n", k);
    test::CliRun next = test::RunCli(args(to.path()));
    EXPECT_EQ(next.status, 0) << next.err;
    for (const std::string& name : names) EXPECT_EQ(ReadFile(to / name), ReadFile(reference / name)) << name;
    if (HasFatalFailure()) return;
  }
  std::printf("[kill] resize: %d kills, %d mid-run, run takes %lld ms\n", kills, midRun,
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(full).count()));
  EXPECT_GT(midRun, 0);
}

// ---------------------------------------------------------------------------------------------
// Orimo.ini

// The value the writer puts under [DIR] Read in its round `i`: its length tells the round, so a
// value cut short or mixed from two rounds is seen.
std::string ReadValue(int i) { return "/写真/" + std::to_string(i) + ":" + std::string(100 + i % 97, 'a'); }

bool WellFormedRead(const std::string& value) {
  const std::string prefix = "/写真/";
  if (value.rfind(prefix, 0) != 0) return false;
  auto colon = value.find(':');
  if (colon == std::string::npos) return false;
  int i = std::atoi(value.substr(prefix.size(), colon - prefix.size()).c_str());
  return value == ReadValue(i);
}

TEST(KilledRun, ProfileIsOldOrNewAndWhole) {
  const int kills = test::KillCount(4);
  TempDir dir;
  const std::string ini = dir / "Orimo.ini";
  WriteFile(ini, "; kept\r\n[DIR]\r\nRead=/start\r\nWrite=/w\r\n[OPT]\r\nJPEG=1\r\nModSize=1\r\n");
  std::set<std::string> values = {"/start"};
  for (int k = 0; k < kills; ++k) {
    SCOPED_TRACE("kill " + std::to_string(k));
    pid_t child = ::fork();
    if (child == 0) {
      // Writes keys in a loop until it is killed.
      for (int i = 0;; ++i) {
        IniProfile::WriteString(ini, "DIR", "Read", ReadValue(i));
        IniProfile::WriteString(ini, "OPT", "ModSize", std::to_string(i % 5));
        IniProfile::WriteString(ini, "OPT", "Round", std::to_string(i));
      }
    }
    long after = std::uniform_int_distribution<long>(2'000, 60'000)(Random());
    SleepMicroseconds(after);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    // The file as a whole: every line the writer does not touch, and its own keys well formed.
    const std::string text = ReadFile(ini);
    std::string read = IniProfile::ReadString(ini, "DIR", "Read", "");
    std::string round = IniProfile::ReadString(ini, "OPT", "Round", "none");
    std::printf("[kill] profile %d: after %ld us, round %s\n", k, after, round.c_str());
    EXPECT_TRUE(read == "/start" || WellFormedRead(read)) << read;
    EXPECT_EQ(text.rfind("; kept\r\n[DIR]\r\nRead=", 0), 0u) << text;
    EXPECT_NE(text.find("\r\nWrite=/w\r\n[OPT]\r\nJPEG=1\r\nModSize="), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    // As for the resize: at most one whole temporary profile, from a kill between link and rename.
    for (const std::string& name : ListNames(dir.path())) {
      if (name == "Orimo.ini") continue;
      EXPECT_EQ(name.rfind(kTempPrefix, 0), 0u) << "left behind: " << name;
      EXPECT_EQ(ReadFile(dir / name).rfind("; kept\r\n[DIR]\r\nRead=", 0), 0u) << "partial temporary file";
      std::printf("[kill] profile %d: one whole temporary file left\n", k);
      ::unlink((dir / name).c_str());
    }
    // And it is still a profile the next write can change.
    IniProfile::WriteString(ini, "OPT", "ModSize", "4");
    EXPECT_EQ(IniProfile::ReadString(ini, "OPT", "ModSize", ""), "4");
  }
}

}  // namespace
}  // namespace orimo

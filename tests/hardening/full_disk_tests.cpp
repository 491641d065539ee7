// Runs onto a file system that fills up: a failed copy is a clash, a failed output the run's
// error; nothing partial stays under a date name or an output's name, the sources are untouched
// and the log keeps whole lines.
#include <sys/mount.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>

#include "platform/error.h"
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

// A tmpfs of `size` mounted for the test's lifetime; unmounted however the test ends.
class SmallFileSystem {
 public:
  explicit SmallFileSystem(const char* size) {
    std::string options = std::string("size=") + size;
    mounted_ = ::mount("tmpfs", dir_.path().c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
    if (!mounted_) error_ = std::strerror(errno);
  }
  ~SmallFileSystem() {
    if (mounted_) ::umount2(dir_.path().c_str(), MNT_DETACH);
  }
  SmallFileSystem(const SmallFileSystem&) = delete;
  SmallFileSystem& operator=(const SmallFileSystem&) = delete;

  bool mounted() const { return mounted_; }
  const std::string& error() const { return error_; }
  std::string operator/(const std::string& name) const { return dir_ / name; }

 private:
  TempDir dir_;
  bool mounted_ = false;
  std::string error_;
};

#define MOUNT_OR_SKIP(fs)                                                                   \
  if (!(fs).mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here: " << (fs).error()

// Every line of the log is whole: "YYMMDD  (hh:mm:ss) text" ended by CR LF.
void ExpectWholeLines(const std::string& log) {
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
  std::size_t pos = 0;
  while (pos < log.size()) {
    std::size_t end = log.find("\r\n", pos);
    ASSERT_NE(end, std::string::npos) << "cut line at " << pos;
    std::string line = log.substr(pos, end - pos);
    pos = end + 2;
    if (line.empty()) continue;  // the end lines carry a line feed of their own
    ASSERT_GE(line.size(), 19u) << line;
    bool stamped = line[6] == ' ' && line[7] == ' ' && line[8] == '(' && line[11] == ':' && line[14] == ':' &&
                   line[17] == ')';
    for (int i : {0, 1, 2, 3, 4, 5, 9, 10, 12, 13, 15, 16}) stamped = stamped && std::isdigit(line[i]);
    EXPECT_TRUE(stamped) << "not a whole line: " << line;
  }
}

TEST(FullDisk, OrganiseTurnsFailedCopiesIntoClashes) {
  SmallFileSystem fs("300k");
  MOUNT_OR_SKIP(fs);
  TempDir from;
  const std::string base = fs / "base", to = fs / "to";
  test::MakeDirs(base);
  test::MakeDirs(to);
  std::map<std::string, std::string> sources;
  std::mt19937 random(3);
  for (int i = 0; i < 30; ++i) {
    char date[32];
    std::snprintf(date, sizeof date, "2011:%02d:01 12:00:%02d", 1 + i % 3, i);
    std::string content = test::PhotoWithDate(date) + std::string(20000 + i * 100, static_cast<char>(random()));
    std::string name = "f" + std::to_string(i) + ".jpg";
    WriteFile(from / name, content);
    sources[name] = content;
  }
  test::CliRun run = test::RunCli({"organise", "--base", base, "--from", from.path(), "--to", to, "--types", "jpeg",
                                   "--basis", "exif", "--mark", "--dup-mark", "--on-clash", "skip",
                                   "--on-unreadable", "skip"});
  EXPECT_EQ(run.status, 1) << run.out << run.err;

  int copied = 0, clashed = 0;
  std::map<std::string, std::string> byContent;
  for (const auto& [name, content] : sources) {
    byContent[content] = name;
    const bool organised = Exists(from / (name + "@")), clash = Exists(from / (name + "x2"));
    ASSERT_TRUE(organised != clash) << name << " is neither organised nor a clash";
    EXPECT_EQ(ReadFile(from / (name + (organised ? "@" : "x2"))), content) << name;
    copied += organised;
    clashed += clash;
  }
  std::printf("[disk] organise onto 300k: %d copied, %d clashes marked x2, of %zu\n", copied, clashed, sources.size());
  EXPECT_GT(copied, 0);
  EXPECT_GT(clashed, 0) << "the file system never filled";
  EXPECT_NE(run.out.find("clashes " + std::to_string(clashed)), std::string::npos) << run.out;
  // What was copied is whole; every organised source has its copy; nothing else is there.
  int copies = 0;
  for (const std::string& path : ListTree(to)) {
    ++copies;
    auto found = byContent.find(ReadFile(to + "/" + path));
    ASSERT_NE(found, byContent.end()) << "partial copy " << path;
    EXPECT_TRUE(Exists(from / (found->second + "@"))) << path;
  }
  EXPECT_EQ(copies, copied);
  EXPECT_EQ(test::TemporaryFiles(fs / ""), std::vector<std::string>{});
  ExpectWholeLines(ReadFile(base + "/Log.txt"));
}

TEST(FullDisk, ResizeStopsWithTheOutputsErrorAndNoPartialFile) {
  SmallFileSystem fs("300k");
  MOUNT_OR_SKIP(fs);
  TempDir from, reference;
  const std::string base = fs / "base", to = fs / "to";
  test::MakeDirs(base);
  test::MakeDirs(to);
  std::vector<std::string> names;
  std::map<std::string, std::string> sources;
  for (int i = 0; i < 12; ++i) {
    names.push_back("n" + std::to_string(i) + ".jpg");
    sources[names.back()] = test::NoisyJpeg(640, 480, static_cast<unsigned>(i + 1));
    WriteFile(from / names.back(), sources[names.back()]);
  }
  test::CliRun whole = test::RunCli({"resize", "--base", reference.path(), "--from", from.path(), "--to",
                                     reference.path(), "--size", "1"});
  // The reference run writes its log among its outputs; only the pictures count.
  ASSERT_EQ(whole.status, 0) << whole.err;

  test::CliRun run = test::RunCli({"resize", "--base", base, "--from", from.path(), "--to", to, "--size", "1"});
  EXPECT_EQ(run.status, 1) << run.out;
  bool namedOutput = false;
  for (const std::string& name : names)
    namedOutput = namedOutput || run.err.find("ファイル " + to + "/" + name + " を作成できません") != std::string::npos;
  EXPECT_TRUE(namedOutput || run.err.find("JPEG エラー #") != std::string::npos) << run.err;
  int written = 0;
  for (const std::string& name : ListNames(to)) {
    ++written;
    EXPECT_EQ(ReadFile(to + "/" + name), ReadFile(reference / name)) << "partial output " << name;
  }
  std::printf("[disk] resize onto 300k: %d of %zu outputs written, then: %s", written, names.size(), run.err.c_str());
  EXPECT_GT(written, 0);
  EXPECT_LT(written, static_cast<int>(names.size())) << "the file system never filled";
  EXPECT_EQ(test::TemporaryFiles(fs / ""), std::vector<std::string>{});
  for (const auto& [name, content] : sources) EXPECT_EQ(ReadFile(from / name), content) << name;
  ExpectWholeLines(ReadFile(base + "/Log.txt"));
}

TEST(FullDisk, ProfileKeepsItsOldContent) {
  SmallFileSystem fs("64k");
  MOUNT_OR_SKIP(fs);
  const std::string ini = fs / "Orimo.ini";
  const std::string old = "[DIR]\r\nRead=/old\r\n[OPT]\r\nModSize=1\r\n";
  WriteFile(ini, old);
  // Fill what is left.
  {
    std::FILE* filler = std::fopen((fs / "filler").c_str(), "wb");
    ASSERT_NE(filler, nullptr);
    std::string block(4096, 'f');
    while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() && std::fflush(filler) == 0) {
    }
    std::fclose(filler);
  }
  EXPECT_THROW(IniProfile::WriteString(ini, "DIR", "Read", "/new/" + std::string(8000, 'n')), PlatformError);
  EXPECT_EQ(ReadFile(ini), old);
  EXPECT_EQ(ListNames(fs / ""), (std::vector<std::string>{"Orimo.ini", "filler"}));
}

}  // namespace
}  // namespace orimo

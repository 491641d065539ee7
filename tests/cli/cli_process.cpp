#include "tests/cli/cli_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/files.h"
#include "tests/support/temp_dir.h"

namespace orimo::test {

pid_t StartCli(const std::vector<std::string>& args, const std::string& cwd, const std::string& io) {
  const std::string out = io + "/out", err = io + "/err";
  pid_t child = ::fork();
  if (child == 0) {
    if (::chdir(cwd.c_str()) != 0) ::_exit(127);
    int in = ::open("/dev/null", O_RDONLY);
    int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(in, 0);
    ::dup2(o, 1);
    ::dup2(e, 2);
    std::vector<char*> argv{const_cast<char*>(ORIMO_CLI)};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(ORIMO_CLI, argv.data());
    ::_exit(127);
  }
  return child;
}

CliRun WaitCli(pid_t child, const std::string& io, int seconds) {
  int status = 0;
  for (int waited = 0;; ++waited) {
    pid_t done = ::waitpid(child, &status, WNOHANG);
    if (done == child) break;
    if (waited >= seconds * 100) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      return {-1, ReadFile(io + "/out"), "still running after " + std::to_string(seconds) + " s"};
    }
    struct timespec tick = {0, 10'000'000};
    ::nanosleep(&tick, nullptr);
  }
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(io + "/out"), ReadFile(io + "/err")};
}

CliRun RunCli(const std::vector<std::string>& args, const std::string& cwd) {
  TempDir io;
  return WaitCli(StartCli(args, cwd, io.path()), io.path());
}

int KillCount(int fallback) {
  const char* text = std::getenv("ORIMO_HARDENING_KILLS");
  int n = text ? std::atoi(text) : 0;
  return n > 0 ? n : fallback;
}

std::vector<std::string> TemporaryFiles(const std::string& folder) {
  std::vector<std::string> found;
  for (const std::string& path : ListTree(folder)) {
    auto slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.rfind(kTempPrefix, 0) == 0) found.push_back(path);
  }
  return found;
}

}  // namespace orimo::test

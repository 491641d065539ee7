#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace orimo::test {

// orimo-cli as a child process, standard input from /dev/null, its output into files.
struct CliRun {
  int status = -1;  // the exit status; -1 when it did not exit by itself
  std::string out, err;
};

// Starts orimo-cli with `args` in `cwd`; `io` names a folder for its output files.
pid_t StartCli(const std::vector<std::string>& args, const std::string& cwd, const std::string& io);
// Waits for a started child; a child still running after `seconds` is killed and fails.
CliRun WaitCli(pid_t child, const std::string& io, int seconds = 120);
// Runs orimo-cli to its end.
CliRun RunCli(const std::vector<std::string>& args, const std::string& cwd = ".");

// How many kills each kind of interrupted run takes: ORIMO_HARDENING_KILLS, else `fallback`.
int KillCount(int fallback);

// Regular files below `folder` (relative paths) whose names start with the program's temporary
// prefix.
std::vector<std::string> TemporaryFiles(const std::string& folder);

}  // namespace orimo::test

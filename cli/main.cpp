// orimo-cli: the organise, resize and mark commands of the window, run from a terminal. Every
// rule lives in the same libraries the window uses; this file only reads arguments and prints.
#include <cstdio>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/settings.h"
#include "cli/cli_host.h"
#include "maintenance/marks.h"
#include "organise/exif_reader.h"
#include "organise/file_types.h"
#include "organise/organise_run.h"
#include "platform/files.h"
#include "resize/resize_run.h"

namespace orimo::cli {
namespace {

constexpr int kUsage = 2;

const char* const kMainHelp =
    "usage: orimo-cli COMMAND [OPTIONS]\n"
    "commands:\n"
    "  exif FILE...            the capture date of each file: FILE<TAB>OK<TAB>NAME or FILE<TAB>FAIL<TAB>STAGE\n"
    "  organise                copy files into month folders under their date names\n"
    "  resize                  resize every JPEG of a folder to a preset size\n"
    "  delete-marked           delete the files marked \"@\" or \"x2\"\n"
    "  restore-marked          take the marks \"@\" or \"x2\" off again\n"
    "Options not given come from Orimo.ini in the base directory (never written).\n"
    "COMMAND --help tells each command's options.\n";

const char* const kOrganiseHelp =
    "usage: orimo-cli organise [OPTIONS]\n"
    "  --base DIR            base directory: Orimo.ini, Log.txt, ExifNG, Recheck (default: .)\n"
    "  --from DIR --to DIR   source and destination folders\n"
    "  --types LIST          jpeg,bmp,mov,avi,mp4,3g2 (any non-JPEG type forces --basis mtime)\n"
    "  --basis exif|mtime    capture date or file modification time\n"
    "  --mark | --no-mark    mark organised sources with \"@\"\n"
    "  --dup-mark | --no-dup-mark   mark clashing sources with \"x2\"\n"
    "  --on-clash ask|abort|skip|always|recheck|overwrite\n"
    "  --on-unreadable ask|abort|skip|always|exifng\n"
    "  --dry-run             print what would happen; change and log nothing\n"
    "exit: 0 every entry organised, 1 some were not, 2 usage or folder settings error\n";

const char* const kResizeHelp =
    "usage: orimo-cli resize [--base DIR] [--from DIR] [--to DIR] [--size 0..4]\n"
    "  sizes: 0 320x240, 1 640x480, 2 800x600, 3 1024x768, 4 1280x960 (default: Orimo.ini's ModSize, else 1)\n"
    "exit: 0 done, 1 a file could not be converted, 2 usage or folder settings error\n";

const char* const kMarkHelp =
    "usage: orimo-cli delete-marked|restore-marked --mark @|x2 [--base DIR] [--from DIR] [--types LIST] [--yes]\n"
    "  delete-marked asks for confirmation on a terminal and needs --yes without one\n"
    "exit: 0 done, 1 some entry failed, 2 usage or folder settings error\n";

struct UsageError {
  std::string text;
};

// The arguments after the command, taken one by one.
class Args {
 public:
  Args(int argc, char** argv, int first) : args_(argv + first, argv + argc) {}
  bool Done() const { return i_ >= args_.size(); }
  std::string Next() { return args_[i_++]; }
  std::string Value(const std::string& option) {
    if (Done()) throw UsageError{option + " needs a value"};
    return Next();
  }

 private:
  std::vector<std::string> args_;
  std::size_t i_ = 0;
};

std::array<bool, 6> ParseTypes(const std::string& list) {
  std::array<bool, 6> types{};
  std::stringstream in(list);
  std::string item;
  while (std::getline(in, item, ',')) {
    bool found = false;
    for (std::size_t i = 0; i < kFileTypes.size(); ++i) {
      if (EndsWithNoCase(item, kFileTypes[i].name) && item.size() == std::string(kFileTypes[i].name).size()) {
        types[i] = true;
        found = true;
      }
    }
    if (!found) throw UsageError{"--types: unknown type \"" + item + "\""};
  }
  return types;
}

int ParseAnswer(const std::string& option, const std::string& value, bool clash) {
  static const std::map<std::string, int> kClash = {{"ask", kAsk},    {"abort", 0},     {"skip", 1},
                                                    {"always", 2},    {"recheck", 3},   {"overwrite", 4}};
  static const std::map<std::string, int> kUnreadable = {
      {"ask", kAsk}, {"abort", 0}, {"skip", 1}, {"always", 2}, {"exifng", 3}};
  const auto& table = clash ? kClash : kUnreadable;
  auto it = table.find(value);
  if (it == table.end()) throw UsageError{option + ": unknown answer \"" + value + "\""};
  return it->second;
}

// What every folder command shares: the base directory, Orimo.ini and the folder options.
struct Common {
  std::string base = CurrentDirectory();
  std::optional<std::string> from, to;
  std::optional<std::array<bool, 6>> types;
  bool help = false;

  bool Take(const std::string& arg, Args& args) {
    if (arg == "--base") base = args.Value(arg);
    else if (arg == "--from") from = args.Value(arg);
    else if (arg == "--to") to = args.Value(arg);
    else if (arg == "--types") types = ParseTypes(args.Value(arg));
    else if (arg == "--help" || arg == "-h") help = true;
    else return false;
    return true;
  }
};

int Exif(Args& args) {
  std::vector<std::string> files;
  while (!args.Done()) {
    std::string arg = args.Next();
    if (arg == "--help" || arg == "-h") {
      std::cout << "usage: orimo-cli exif FILE...\n";
      return 0;
    }
    files.push_back(arg);
  }
  if (files.empty()) throw UsageError{"exif needs at least one FILE"};
  for (const auto& file : files) {
    CaptureDate date = ReadCaptureDate(file);
    if (date.ok)
      std::cout << file << "\tOK\t" << date.dateName << "\n";
    else
      std::cout << file << "\tFAIL\t" << date.stage << "\n";
  }
  return 0;
}

int Organise(Args& args) {
  Common common;
  std::optional<int> basis;
  std::optional<bool> mark, dupMark;
  int onClash = kAsk, onUnreadable = kAsk;
  bool dryRun = false;
  while (!args.Done()) {
    std::string arg = args.Next();
    if (common.Take(arg, args)) continue;
    if (arg == "--basis") {
      std::string v = args.Value(arg);
      if (v != "exif" && v != "mtime") throw UsageError{"--basis: exif or mtime"};
      basis = v == "exif" ? 0 : 1;
    } else if (arg == "--mark" || arg == "--no-mark") {
      mark = arg == "--mark";
    } else if (arg == "--dup-mark" || arg == "--no-dup-mark") {
      dupMark = arg == "--dup-mark";
    } else if (arg == "--on-clash") {
      onClash = ParseAnswer(arg, args.Value(arg), true);
    } else if (arg == "--on-unreadable") {
      onUnreadable = ParseAnswer(arg, args.Value(arg), false);
    } else if (arg == "--dry-run") {
      dryRun = true;
    } else {
      throw UsageError{"organise: unknown option " + arg};
    }
  }
  if (common.help) {
    std::cout << kOrganiseHelp;
    return 0;
  }
  // Asking needs someone to ask; a script must say what to answer.
  if (!dryRun && !CliHost::Interactive()) {
    if (onClash == kAsk) throw UsageError{"no terminal to ask on: give --on-clash"};
    if (onUnreadable == kAsk) throw UsageError{"no terminal to ask on: give --on-unreadable"};
  }
  Settings settings = LoadSettings(SettingsPath(common.base));
  CliHost host(common.base, dryRun);
  host.folders[FolderPanel::OrganiseSource] = common.from.value_or(settings.read);
  host.folders[FolderPanel::OrganiseDestination] = common.to.value_or(settings.write);
  host.options.types = common.types.value_or(settings.types);
  host.options.dateBasis = EffectiveDateBasis(host.options.types, basis.value_or(settings.search));
  host.options.markOrganised = mark.value_or(settings.checked);
  host.options.markDuplicates = dupMark.value_or(settings.doubleMark);
  host.onClash = onClash;
  host.onUnreadable = onUnreadable;
  OrganiseCommand(host);
  if (host.folderMessage) return kUsage;
  const auto& t = host.tally;
  std::cout << (dryRun ? "would copy " : "copied ") << t.copied << ", marked " << t.marked << ", clashes "
            << t.clashes << ", unreadable " << t.unreadable << ", to side folders " << t.sideFolder << "\n";
  return t.notOrganised > 0 ? 1 : 0;
}

int Resize(Args& args) {
  Common common;
  std::optional<int> size;
  while (!args.Done()) {
    std::string arg = args.Next();
    if (common.Take(arg, args)) continue;
    if (arg == "--size") {
      std::string v = args.Value(arg);
      if (v.size() != 1 || v[0] < '0' || v[0] > '4') throw UsageError{"--size: 0 to 4"};
      size = v[0] - '0';
    } else {
      throw UsageError{"resize: unknown option " + arg};
    }
  }
  if (common.help) {
    std::cout << kResizeHelp;
    return 0;
  }
  Settings settings = LoadSettings(SettingsPath(common.base));
  CliHost host(common.base, false);
  host.folders[FolderPanel::ResizeSource] = common.from.value_or(settings.modRead);
  host.folders[FolderPanel::ResizeDestination] = common.to.value_or(settings.modWrite);
  host.options.sizePreset = size.value_or(settings.modSize);
  ResizeCommand(host);
  if (host.folderMessage) return kUsage;
  return host.lastError.empty() ? 0 : 1;
}

int Marks(Args& args, bool remove) {
  Common common;
  std::optional<Mark> mark;
  bool yes = false;
  while (!args.Done()) {
    std::string arg = args.Next();
    if (common.Take(arg, args)) continue;
    if (arg == "--mark") {
      std::string v = args.Value(arg);
      if (v != "@" && v != "x2") throw UsageError{"--mark: @ or x2"};
      mark = v == "@" ? Mark::Organised : Mark::Duplicate;
    } else if (arg == "--yes" || arg == "-y") {
      yes = true;
    } else {
      throw UsageError{std::string(remove ? "delete-marked" : "restore-marked") + ": unknown option " + arg};
    }
  }
  if (common.help) {
    std::cout << kMarkHelp;
    return 0;
  }
  if (!mark) throw UsageError{"--mark @ or --mark x2 is needed"};
  if (remove && !yes && !CliHost::Interactive()) throw UsageError{"no terminal to confirm on: give --yes"};
  Settings settings = LoadSettings(SettingsPath(common.base));
  CliHost host(common.base, false);
  host.folders[FolderPanel::OrganiseSource] = common.from.value_or(settings.read);
  host.options.types = common.types.value_or(settings.types);
  host.assumeYes = yes;
  if (remove)
    DeleteMarkedCommand(host, *mark);
  else
    RestoreMarkedCommand(host, *mark);
  if (host.folderMessage) return kUsage;
  return host.failedEntries > 0 ? 1 : 0;
}

}  // namespace
}  // namespace orimo::cli

int main(int argc, char** argv) {
  using namespace orimo::cli;
  if (argc < 2) {
    std::cerr << kMainHelp;
    return kUsage;
  }
  std::string command = argv[1];
  Args args(argc, argv, 2);
  try {
    if (command == "--help" || command == "-h") {
      std::cout << kMainHelp;
      return 0;
    }
    if (command == "exif") return Exif(args);
    if (command == "organise" || command == "organize") return Organise(args);
    if (command == "resize") return Resize(args);
    if (command == "delete-marked") return Marks(args, true);
    if (command == "restore-marked") return Marks(args, false);
    throw UsageError{"unknown command " + command};
  } catch (const UsageError& e) {
    std::cerr << "orimo-cli: " << e.text << "\n";
    return kUsage;
  }
}

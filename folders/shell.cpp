#include "folders/shell.h"

namespace orimo {

// placeholder
namespace {
class NullOpener : public DesktopOpener {
 public:
  bool Open(const std::string&) override { return false; }
};
NullOpener nullOpener;
}  // namespace
DesktopOpener& SystemOpener() { return nullOpener; }
void SetDesktopOpener(DesktopOpener*) {}
DesktopOpener& CurrentOpener() { return nullOpener; }
void OpenFolderInShell(const std::string&, const NoticeFn&) {}
void OpenDocument(const std::string&, const std::string&, const NoticeFn&) {}

}  // namespace orimo

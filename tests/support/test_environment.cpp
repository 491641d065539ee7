// Linked into every suite: the environment the tests expect, however they are started (ctest,
// gtest discovery at build time, or by hand).
#include <cstdlib>

namespace {

struct TestEnvironment {
  TestEnvironment() {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);  // no display needed
    ::setenv("TZ", "Asia/Tokyo", 1);              // local times without daylight saving
  }
} const environment;

}  // namespace

// Qt's libraries and fontconfig keep caches until the process ends; the leak check of the
// sanitizer build is not about them.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\nleak:libQt6Core\nleak:libQt6Gui\nleak:libQt6Widgets\nleak:libdbus\n";
}

#pragma once

#include <string>

namespace orimo {

class RunHost;

struct PresetSize {
  int width;
  int height;
};

// The target size of a preset index; any index but 0 … 4 gives 800 × 600.
PresetSize PresetFor(int index);

// The resize command (the window's Action10Execute). A platform error that ends the run is
// shown through host.ShowError after the window has been put back as after a normal end.
void ResizeCommand(RunHost& host);

// Resizes every "*.jpg" entry of the pattern's folder; 1 when something matched, else 0.
// Raises PlatformError at the first file that cannot be opened, decoded or written.
int ResizeJpegFiles(RunHost& host, const std::string& pattern);

}  // namespace orimo

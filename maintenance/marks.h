#pragma once

#include <string>

namespace orimo {

class RunHost;

enum class Mark { Organised, Duplicate };  // "@", "x2"

// "「＠」一括削除" / "「x2」一括削除" (Action4Execute / Action5Execute).
void DeleteMarkedCommand(RunHost& host, Mark mark);
void DeleteMarkedFiles(RunHost& host, const std::string& pattern);

// "元に戻す" (Action6Execute / Action7Execute).
void RestoreMarkedCommand(RunHost& host, Mark mark);
void RestoreMarkedNames(RunHost& host, const std::string& pattern);

}  // namespace orimo

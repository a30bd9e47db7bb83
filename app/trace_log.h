// The diagnostic trace: lines appended to "debug.txt" in the program's
// folder, only while that file existed at the latest scan start.
#pragma once

#include <string>

namespace quorvane {

// Never fails towards its caller.
void TraceLine(const std::string& text);

}  // namespace quorvane

// The diagnostic trace: lines appended to "debug.txt" in the program's
// folder, only while that file existed at the latest scan start.
#pragma once

#include <string_view>

namespace quorvane {

// Never fails towards its caller.
void TraceLine(std::string_view text);

// A line made of two parts, such as a checkpoint's operation and number.
// The line is put together only while tracing is on: the scan writes many
// checkpoints per value, and with tracing off they must cost nothing.
void TraceLine(std::string_view first, std::string_view second);

}  // namespace quorvane

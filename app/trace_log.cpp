#include "app/trace_log.h"

#include <string>

#include "app/program_state.h"

namespace quorvane {

void TraceLine(std::string_view text) {
  // Tested before any file access: tracing costs nothing while it is off.
  if (!State.TraceEnabled) return;
  try {
    Platform.files->AppendLine(State.TracePath, std::string(text));
  } catch (...) {
    // A lost trace line is never reported.
  }
}

void TraceLine(std::string_view first, std::string_view second) {
  if (!State.TraceEnabled) return;
  std::string line;
  line.reserve(first.size() + second.size());
  line.append(first).append(second);
  TraceLine(line);
}

}  // namespace quorvane

#include "app/trace_log.h"

#include "app/program_state.h"

namespace quorvane {

void TraceLine(const std::string& text) {
  // Tested before any file access: tracing costs nothing while it is off.
  if (!State.TraceEnabled) return;
  try {
    Platform.files->AppendLine(State.TracePath, text);
  } catch (...) {
    // A lost trace line is never reported.
  }
}

}  // namespace quorvane

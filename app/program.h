// Program start: the application object, the window, the message loop.
#pragma once

#include "app/services.h"

namespace quorvane {

// Runs the whole program on the given services; returns the exit code.
int RunProgram(const Services& services);

}  // namespace quorvane

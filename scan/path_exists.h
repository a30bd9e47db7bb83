// Whether the file system still holds what a path candidate names.
#pragma once

#include <string>

namespace quorvane {

bool PathExiste(const std::string& candidate);

}  // namespace quorvane

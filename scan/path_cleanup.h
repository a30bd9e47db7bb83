// Reduces a piece of value text to a bare path candidate.
#pragma once

#include <string>

namespace quorvane {

std::string RemoveAspas(const std::string& text);

}  // namespace quorvane

// The long names of the registry roots, as the found list and the undo
// script write them.
#pragma once

#include <string>

#include "platform/registry.h"

namespace quorvane {

// "HKEY_CLASSES_ROOT" and so on; the empty text for any other handle value.
std::string RootKeyLongName(RootKey root);

}  // namespace quorvane

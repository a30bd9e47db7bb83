// Judges one registry value that holds a drive path and records it when
// what it names is missing.
#pragma once

#include <string>

#include "platform/registry.h"

namespace quorvane {

void VerificarExistenciaPath(const std::string& path_text, RootKey root, const std::string& key_path,
                             const std::string& value_name, int value_kind,
                             const std::string& companion_text);

}  // namespace quorvane

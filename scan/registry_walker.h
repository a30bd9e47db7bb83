// The depth-first walk over one registry root.
#pragma once

#include <functional>
#include <string>

#include "platform/registry.h"
#include "scan/value_kind.h"

namespace quorvane {

void EnumRegistryKeys(RootKey root, const std::string& path);

// Where the walker hands every value that passes its drive test; the value
// classifier unless a test puts its own observer in.
using ValueClassifier = std::function<void(const std::string& path_text, RootKey root,
                                           const std::string& key_path, const std::string& value_name,
                                           int value_kind, const std::string& companion_text)>;
void SetValueClassifierForTesting(ValueClassifier classifier);  // empty: the real one

}  // namespace quorvane

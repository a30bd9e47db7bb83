// Removal of the found items: confirmation, the undo file, the deletions.
#pragma once

#include <optional>
#include <string>

#include "platform/registry.h"

namespace quorvane {

// The removal role of BotaoParar.
void RemovalClick();
void RemoverItensInvalidos();
std::optional<RootKey> RootKeyFromName(const std::string& long_name);

}  // namespace quorvane

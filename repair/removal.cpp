#include "repair/removal.h"

namespace quorvane {

// Placeholder until the removal lands.
void RemovalClick() {}
void RemoverItensInvalidos() {}
std::optional<RootKey> RootKeyFromName(const std::string&) { return std::nullopt; }

}  // namespace quorvane

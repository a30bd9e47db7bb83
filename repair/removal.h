// Removal of the found items: confirmation, the undo file, the deletions.
#pragma once

#include <optional>
#include <string>

#include "platform/registry.h"

namespace quorvane {

// How the deletions went, told to the user in the closing notice.
struct RemovalTally {
  // Records whose value is gone now: deleted here, or already missing
  // (its key included), as the second listing of one value finds it.
  int removed = 0;
  // Records whose value the system would not let go: the key refused full
  // access, or the deletion itself was refused.
  int refused = 0;
};

// The removal role of BotaoParar.
void RemovalClick();

// Deletes the value of every record of the found list. Called only after the
// undo file has been saved.
RemovalTally RemoverItensInvalidos();

// The root for one of the five long names, letter case ignored; none for
// any other text.
std::optional<RootKey> RootKeyFromName(const std::string& long_name);

// The closing notice for a removal that went as `tally` tells.
std::string RemovalNotice(const RemovalTally& tally);

}  // namespace quorvane

// The two plain file tests shared by the scan start, the walker and the
// existence test.
#pragma once

#include <string>

namespace quorvane {

// True when a file or a folder of that name exists; false for the empty name.
bool ArquivoOuPastaExiste(const std::string& name);

// True when a folder of that name exists.
bool PastaExiste(const std::string& name);

}  // namespace quorvane

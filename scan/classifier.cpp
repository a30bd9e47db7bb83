#include "scan/classifier.h"

namespace quorvane {

// Placeholder until the classifier lands: judges nothing.
void VerificarExistenciaPath(const std::string&, RootKey, const std::string&, const std::string&, int,
                             const std::string&) {}

}  // namespace quorvane

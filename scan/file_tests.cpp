#include "scan/file_tests.h"

#include "app/program_state.h"

namespace quorvane {

bool ArquivoOuPastaExiste(const std::string& name) {
  if (name.empty()) return false;
  return Platform.files->GetFileAttributes(name) != kInvalidFileAttributes;
}

bool PastaExiste(const std::string& name) {
  if (name.empty()) return false;
  const uint32_t attributes = Platform.files->GetFileAttributes(name);
  return attributes != kInvalidFileAttributes && (attributes & kFileAttributeDirectory) != 0;
}

}  // namespace quorvane

#include "scan/root_key_names.h"

namespace quorvane {

std::string RootKeyLongName(RootKey root) {
  switch (root) {
    case RootKey::ClassesRoot: return "HKEY_CLASSES_ROOT";
    case RootKey::CurrentUser: return "HKEY_CURRENT_USER";
    case RootKey::LocalMachine: return "HKEY_LOCAL_MACHINE";
    case RootKey::Users: return "HKEY_USERS";
    case RootKey::CurrentConfig: return "HKEY_CURRENT_CONFIG";
  }
  // A handle value outside the enumeration (HKEY_PERFORMANCE_DATA, say).
  return std::string();
}

}  // namespace quorvane

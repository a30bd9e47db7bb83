// Registry port: what the walker and the removal ask of the registry.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quorvane {

enum class RootKey : uint32_t {
  ClassesRoot = 0x80000000u,
  CurrentUser = 0x80000001u,
  LocalMachine = 0x80000002u,
  Users = 0x80000003u,
  CurrentConfig = 0x80000005u,
};

// The five roots in the order a scan walks them.
inline constexpr RootKey kScanRoots[] = {RootKey::ClassesRoot, RootKey::CurrentUser,
                                         RootKey::LocalMachine, RootKey::Users,
                                         RootKey::CurrentConfig};

enum class DataType { String, ExpandString, Integer, Binary, Other };

enum class DeleteOutcome { Deleted, NotFound, Denied };

// Why a key did not open.
enum class OpenFailure { None, NotFound, AccessDenied, Other };

// One key opened with full access. Released when destroyed.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // Direct subkeys / values in the order the registry lists them; an empty
  // list when the key's information cannot be read. The default value, when
  // set, is listed with the empty name.
  virtual std::vector<std::string> SubkeyNames() = 0;
  virtual std::vector<std::string> ValueNames() = 0;
  // Other for any other type and for a value that cannot be queried.
  virtual DataType GetDataType(const std::string& name) = 0;
  // Text up to its first NUL, unexpanded, for REG_SZ and REG_EXPAND_SZ; the
  // empty text for no data or a value that cannot be queried. Throws
  // ERegistryException for any other type.
  virtual std::string ReadString(const std::string& name) = 0;
  // Throws ERegistryException unless the value is a readable REG_DWORD.
  virtual int32_t ReadInteger(const std::string& name) = 0;
  // The empty name deletes the unnamed value.
  virtual DeleteOutcome DeleteValue(const std::string& name) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens an existing key with full access (KEY_ALL_ACCESS); never creates.
  // A leading "\" is taken from the root and the empty path opens the root
  // itself. nullptr when the key cannot be opened with full access, with
  // the reason in `failure`.
  virtual std::unique_ptr<RegistryKey> OpenKey(RootKey root, const std::string& path,
                                               OpenFailure& failure) = 0;
  std::unique_ptr<RegistryKey> OpenKey(RootKey root, const std::string& path) {
    OpenFailure ignored = OpenFailure::None;
    return OpenKey(root, path, ignored);
  }
};

// The registry access object of the design: one per use, its root set, one
// key open at a time, released on destruction. Move-only.
class TRegistry {
 public:
  TRegistry(Registry& registry, RootKey root) : registry_(&registry), root_(root) {}
  TRegistry(TRegistry&&) = default;
  TRegistry& operator=(TRegistry&&) = default;

  RootKey Root() const { return root_; }
  bool OpenKey(const std::string& path, bool can_create = false) {
    (void)can_create;  // keys are never created
    failure_ = OpenFailure::None;
    key_ = registry_->OpenKey(root_, path, failure_);
    return key_ != nullptr;
  }
  // Why the latest OpenKey failed (None after a success).
  OpenFailure LastFailure() const { return failure_; }
  bool IsOpen() const { return key_ != nullptr; }
  void CloseKey() { key_.reset(); }
  RegistryKey& Key() { return *key_; }

 private:
  Registry* registry_;
  RootKey root_;
  std::unique_ptr<RegistryKey> key_;
  OpenFailure failure_ = OpenFailure::None;
};

}  // namespace quorvane

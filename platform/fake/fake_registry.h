// An in-memory registry: five separate roots, key names compared without
// regard to case, subkeys listed in the order Windows lists them (by their
// upper-cased names), values in the order they were set, the default value
// listed with the empty name, and keys that refuse full access.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace quorvane::fake {

inline constexpr uint32_t kRegNone = 0;
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegExpandSz = 2;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;
inline constexpr uint32_t kRegMultiSz = 7;

struct FakeValue {
  std::string name;
  uint32_t type = kRegSz;
  std::string data;  // the stored bytes; text without its terminating NUL
};

class FakeRegistry : public Registry {
 public:
  FakeRegistry();
  ~FakeRegistry() override;

  // Creates the key and every missing key above it.
  void CreateKey(RootKey root, const std::string& path);
  void SetString(RootKey root, const std::string& path, const std::string& name, const std::string& text);
  void SetExpandString(RootKey root, const std::string& path, const std::string& name,
                       const std::string& text);
  void SetDword(RootKey root, const std::string& path, const std::string& name, uint32_t value);
  void SetValue(RootKey root, const std::string& path, const std::string& name, uint32_t type,
                const std::string& bytes);
  void DeleteKey(RootKey root, const std::string& path);
  void RemoveValue(RootKey root, const std::string& path, const std::string& name);
  // The key opens no more with full access.
  void DenyFullAccess(RootKey root, const std::string& path);
  // Deleting values of that key is refused.
  void DenyValueDeletion(RootKey root, const std::string& path);

  bool KeyExists(RootKey root, const std::string& path) const;
  std::optional<FakeValue> GetValue(RootKey root, const std::string& path, const std::string& name) const;
  std::vector<FakeValue> Values(RootKey root, const std::string& path) const;

  // Runs before every read of a value's type or data, with the value's key
  // path and name: lets a test make a value vanish after it was listed.
  std::function<void(RootKey root, const std::string& key_path, const std::string& name)> before_value_read;

  // Counters a test can read.
  int open_count = 0;
  int subkey_listings = 0;
  int value_listings = 0;
  std::vector<std::string> deleted;  // "ROOT\path\name" of every value deleted

  using Registry::OpenKey;
  std::unique_ptr<RegistryKey> OpenKey(RootKey root, const std::string& path, OpenFailure& failure) override;

  struct Node;

 private:
  Node* Find(RootKey root, const std::string& path) const;
  Node* Create(RootKey root, const std::string& path);
  std::map<uint32_t, std::shared_ptr<Node>> roots_;
};

}  // namespace quorvane::fake

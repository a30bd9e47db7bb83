#include "platform/fake/fake_registry.h"

#include <algorithm>
#include <cstring>

#include "platform/exceptions.h"
#include "platform/text.h"

namespace quorvane::fake {

struct FakeRegistry::Node {
  std::string name;
  std::string path;  // below the root, with a leading "\"
  RootKey root = RootKey::ClassesRoot;
  std::vector<std::shared_ptr<Node>> children;  // ordered by upper-cased name
  std::vector<FakeValue> values;                // in the order they were set
  bool deny_full_access = false;
  bool deny_value_deletion = false;
  bool deleted = false;
};

namespace {

std::vector<std::string> SplitPath(const std::string& path, bool* ok) {
  std::vector<std::string> parts;
  *ok = true;
  std::string rest = path;
  if (!rest.empty() && rest.front() == '\\') rest.erase(0, 1);
  if (!rest.empty() && rest.back() == '\\') rest.pop_back();
  if (rest.empty()) return parts;
  size_t start = 0;
  while (true) {
    const size_t cut = rest.find('\\', start);
    std::string part = rest.substr(start, cut == std::string::npos ? std::string::npos : cut - start);
    if (part.empty()) *ok = false;
    parts.push_back(part);
    if (cut == std::string::npos) break;
    start = cut + 1;
  }
  return parts;
}

std::shared_ptr<FakeRegistry::Node> Child(const FakeRegistry::Node& node, const std::string& name) {
  for (const auto& child : node.children)
    if (AnsiSameText(child->name, name)) return child;
  return nullptr;
}

class FakeKey : public RegistryKey {
 public:
  FakeKey(FakeRegistry& registry, std::shared_ptr<FakeRegistry::Node> node)
      : registry_(registry), node_(std::move(node)) {}

  std::vector<std::string> SubkeyNames() override {
    ++registry_.subkey_listings;
    std::vector<std::string> names;
    if (node_->deleted) return names;
    for (const auto& child : node_->children) names.push_back(child->name);
    return names;
  }
  std::vector<std::string> ValueNames() override {
    ++registry_.value_listings;
    std::vector<std::string> names;
    if (node_->deleted) return names;
    for (const auto& value : node_->values) names.push_back(value.name);
    return names;
  }
  DataType GetDataType(const std::string& name) override {
    const FakeValue* value = Lookup(name);
    if (!value) return DataType::Other;
    switch (value->type) {
      case kRegSz: return DataType::String;
      case kRegExpandSz: return DataType::ExpandString;
      case kRegDword: return value->data.size() == 4 ? DataType::Integer : DataType::Other;
      case kRegBinary: return DataType::Binary;
      default: return DataType::Other;
    }
  }
  std::string ReadString(const std::string& name) override {
    const FakeValue* value = Lookup(name);
    if (!value) return std::string();
    if (value->type != kRegSz && value->type != kRegExpandSz)
      throw ERegistryException("Invalid data type for '" + name + "'");
    return value->data.substr(0, value->data.find('\0'));
  }
  int32_t ReadInteger(const std::string& name) override {
    const FakeValue* value = Lookup(name);
    if (!value || value->type != kRegDword || value->data.size() != 4)
      throw ERegistryException("Invalid data type for '" + name + "'");
    uint32_t raw = 0;
    for (int i = 3; i >= 0; --i) raw = (raw << 8) | static_cast<unsigned char>(value->data[static_cast<size_t>(i)]);
    return static_cast<int32_t>(raw);
  }
  DeleteOutcome DeleteValue(const std::string& name) override {
    if (node_->deleted) return DeleteOutcome::NotFound;
    if (node_->deny_value_deletion) return DeleteOutcome::Denied;
    auto& values = node_->values;
    auto it = std::find_if(values.begin(), values.end(),
                           [&](const FakeValue& v) { return AnsiSameText(v.name, name); });
    if (it == values.end()) return DeleteOutcome::NotFound;
    values.erase(it);
    registry_.deleted.push_back(RootName() + node_->path + "\\" + name);
    return DeleteOutcome::Deleted;
  }

 private:
  std::string RootName() const { return IntToHex(static_cast<uint32_t>(node_->root), 8); }
  const FakeValue* Lookup(const std::string& name) {
    if (registry_.before_value_read) registry_.before_value_read(node_->root, node_->path, name);
    if (node_->deleted) return nullptr;
    for (const auto& value : node_->values)
      if (AnsiSameText(value.name, name)) return &value;
    return nullptr;
  }

  FakeRegistry& registry_;
  std::shared_ptr<FakeRegistry::Node> node_;
};

}  // namespace

FakeRegistry::FakeRegistry() {
  for (RootKey root : kScanRoots) {
    auto node = std::make_shared<Node>();
    node->root = root;
    roots_[static_cast<uint32_t>(root)] = node;
  }
}

FakeRegistry::~FakeRegistry() = default;

FakeRegistry::Node* FakeRegistry::Find(RootKey root, const std::string& path) const {
  auto it = roots_.find(static_cast<uint32_t>(root));
  if (it == roots_.end()) return nullptr;
  bool ok = true;
  Node* node = it->second.get();
  for (const std::string& part : SplitPath(path, &ok)) {
    if (!ok) return nullptr;
    auto child = Child(*node, part);
    if (!child) return nullptr;
    node = child.get();
  }
  return ok ? node : nullptr;
}

FakeRegistry::Node* FakeRegistry::Create(RootKey root, const std::string& path) {
  Node* node = roots_.at(static_cast<uint32_t>(root)).get();
  bool ok = true;
  for (const std::string& part : SplitPath(path, &ok)) {
    auto child = Child(*node, part);
    if (!child) {
      child = std::make_shared<Node>();
      child->name = part;
      child->path = node->path + "\\" + part;
      child->root = root;
      const std::string key = AnsiUpperCase(part);
      auto at = std::find_if(node->children.begin(), node->children.end(),
                             [&](const auto& c) { return AnsiUpperCase(c->name) > key; });
      node->children.insert(at, child);
    }
    node = child.get();
  }
  return node;
}

void FakeRegistry::CreateKey(RootKey root, const std::string& path) { Create(root, path); }

void FakeRegistry::SetValue(RootKey root, const std::string& path, const std::string& name, uint32_t type,
                            const std::string& bytes) {
  Node* node = Create(root, path);
  for (auto& value : node->values)
    if (AnsiSameText(value.name, name)) {
      value.type = type;
      value.data = bytes;
      return;
    }
  node->values.push_back(FakeValue{name, type, bytes});
}

void FakeRegistry::SetString(RootKey root, const std::string& path, const std::string& name,
                             const std::string& text) {
  SetValue(root, path, name, kRegSz, text);
}

void FakeRegistry::SetExpandString(RootKey root, const std::string& path, const std::string& name,
                                   const std::string& text) {
  SetValue(root, path, name, kRegExpandSz, text);
}

void FakeRegistry::SetDword(RootKey root, const std::string& path, const std::string& name, uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
  SetValue(root, path, name, kRegDword, bytes);
}

void FakeRegistry::DeleteKey(RootKey root, const std::string& path) {
  Node* node = Find(root, path);
  if (!node || node->path.empty()) return;
  const size_t cut = node->path.find_last_of('\\');
  Node* parent = Find(root, node->path.substr(0, cut));
  auto& siblings = parent->children;
  for (auto it = siblings.begin(); it != siblings.end(); ++it)
    if (it->get() == node) {
      node->deleted = true;
      siblings.erase(it);
      return;
    }
}

void FakeRegistry::RemoveValue(RootKey root, const std::string& path, const std::string& name) {
  Node* node = Find(root, path);
  if (!node) return;
  auto& values = node->values;
  values.erase(std::remove_if(values.begin(), values.end(),
                              [&](const FakeValue& v) { return AnsiSameText(v.name, name); }),
               values.end());
}

void FakeRegistry::DenyFullAccess(RootKey root, const std::string& path) { Create(root, path)->deny_full_access = true; }

void FakeRegistry::DenyValueDeletion(RootKey root, const std::string& path) {
  Create(root, path)->deny_value_deletion = true;
}

bool FakeRegistry::KeyExists(RootKey root, const std::string& path) const { return Find(root, path) != nullptr; }

std::optional<FakeValue> FakeRegistry::GetValue(RootKey root, const std::string& path,
                                                const std::string& name) const {
  Node* node = Find(root, path);
  if (!node) return std::nullopt;
  for (const auto& value : node->values)
    if (AnsiSameText(value.name, name)) return value;
  return std::nullopt;
}

std::vector<FakeValue> FakeRegistry::Values(RootKey root, const std::string& path) const {
  Node* node = Find(root, path);
  return node ? node->values : std::vector<FakeValue>{};
}

std::unique_ptr<RegistryKey> FakeRegistry::OpenKey(RootKey root, const std::string& path, OpenFailure& failure) {
  ++open_count;
  failure = OpenFailure::NotFound;
  auto it = roots_.find(static_cast<uint32_t>(root));
  if (it == roots_.end()) {
    failure = OpenFailure::Other;
    return nullptr;
  }
  bool ok = true;
  std::shared_ptr<Node> node = it->second;
  for (const std::string& part : SplitPath(path, &ok)) {
    if (!ok) return nullptr;
    node = Child(*node, part);
    if (!node) return nullptr;
  }
  if (!ok) return nullptr;
  if (node->deny_full_access) {
    failure = OpenFailure::AccessDenied;
    return nullptr;
  }
  failure = OpenFailure::None;
  return std::make_unique<FakeKey>(*this, node);
}

}  // namespace quorvane::fake

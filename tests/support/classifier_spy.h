// Stands in for the value classifier while it lives: records, in order, every
// value the walker hands over, and puts the real classifier back when it dies.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "scan/registry_walker.h"

namespace quorvane::testing {

struct ClassifierCall {
  std::string path_text;
  RootKey root;
  std::string key_path;
  std::string value_name;
  int value_kind;
  std::string companion_text;
  bool operator==(const ClassifierCall&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const ClassifierCall& call) {
  return out << "{\"" << call.path_text << "\", 0x" << std::hex << static_cast<uint32_t>(call.root) << std::dec
             << ", \"" << call.key_path << "\", \"" << call.value_name << "\", " << call.value_kind << ", \""
             << call.companion_text << "\"}";
}

class ClassifierSpy {
 public:
  ClassifierSpy() {
    SetValueClassifierForTesting([this](const std::string& path_text, RootKey root, const std::string& key_path,
                                        const std::string& value_name, int value_kind,
                                        const std::string& companion_text) {
      calls.push_back({path_text, root, key_path, value_name, value_kind, companion_text});
      if (on_call) on_call(calls.back());
    });
  }
  ~ClassifierSpy() { SetValueClassifierForTesting(nullptr); }
  ClassifierSpy(const ClassifierSpy&) = delete;
  ClassifierSpy& operator=(const ClassifierSpy&) = delete;

  // "<key path>\<value name>" of every value handed over, in order.
  std::vector<std::string> Values() const {
    std::vector<std::string> values;
    for (const ClassifierCall& call : calls) values.push_back(call.key_path + "\\" + call.value_name);
    return values;
  }

  std::vector<ClassifierCall> calls;
  // Runs after each call is recorded: lets a test act as the classifier would.
  std::function<void(const ClassifierCall&)> on_call;
};

}  // namespace quorvane::testing

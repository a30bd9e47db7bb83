// A list view that refuses one line: lets a test make an append fail at a
// chosen insertion, as a failing list would.
#pragma once

#include <stdexcept>
#include <string>

#include "platform/ui/strings.h"

namespace quorvane::testing {

class ThrowingObserver : public StringsObserver {
 public:
  // Throws at the `throw_at`-th insertion, counting from 1.
  explicit ThrowingObserver(int throw_at) : throw_at_(throw_at) {}
  void Inserted(int, const std::string&) override {
    if (++inserted_ == throw_at_) throw std::runtime_error("the list refused the line");
  }
  void Replaced(int, const std::string&) override {}
  void Cleared() override {}

 private:
  int throw_at_;
  int inserted_ = 0;
};

}  // namespace quorvane::testing

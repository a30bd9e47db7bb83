#include "platform/fake/unexpected_call.h"

#include <cstdio>
#include <cstdlib>

namespace quorvane::fake {

namespace {
std::function<void(const std::string&)>& Reporter() {
  static std::function<void(const std::string&)> reporter;
  return reporter;
}
}  // namespace

void ReportUnexpectedCall(const std::string& what) {
  if (Reporter()) {
    Reporter()(what);
    return;
  }
  std::fprintf(stderr, "unexpected call: %s\n", what.c_str());
  std::abort();
}

void SetUnexpectedCallReporter(std::function<void(const std::string&)> reporter) {
  Reporter() = std::move(reporter);
}

}  // namespace quorvane::fake

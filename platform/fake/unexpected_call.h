// How a fake tells the running test that a call was made that must not be.
#pragma once

#include <functional>
#include <string>

namespace quorvane::fake {

// Reports the call; the test harness installs a reporter that fails the
// current test. Without one the process aborts with the message.
void ReportUnexpectedCall(const std::string& what);
void SetUnexpectedCallReporter(std::function<void(const std::string&)> reporter);

}  // namespace quorvane::fake

#include "scan/path_cleanup.h"

#include "app/trace_log.h"
#include "platform/text.h"

namespace quorvane {

namespace {

// What may close a path in value text: quotes, list and sentence ends,
// switch slashes and blanks. The backslash is not among them, so a folder
// path keeps its final separator.
bool ClosesPath(char c) { return c == '"' || c == ';' || c == '.' || c == '/' || c == ' '; }

}  // namespace

std::string RemoveAspas(const std::string& text) {
  std::string result;
  try {
    TraceLine("Inicio do RemoveAspas");
    result = Trim(text);
    // The quote goes first: an @ behind an opening quote is removed too,
    // while a quote behind an @ stays for the existence test to judge.
    if (!result.empty() && result.front() == '"') result.erase(0, 1);
    if (!result.empty() && result.front() == '@') result.erase(0, 1);
    while (!result.empty() && ClosesPath(result.back())) result.pop_back();
    // Catches the control characters the strip stops at, and blanks that the
    // removed quote or mark had been hiding.
    result = Trim(result);
  } catch (...) {
    TraceLine("Tratador de erros do RemoveAspas");
    result.clear();
  }
  TraceLine("Fim do RemoveAspas");
  return result;
}

}  // namespace quorvane

#include "platform/win32/system_backends.h"

#include "platform/win32/windows_api.h"

#include <cstring>
#include <vector>

namespace quorvane::win32 {

std::string Win32Environment::Expand(const std::string& text) {
  std::vector<char> buffer(4096, '\0');
  for (int attempt = 0; attempt < 8; ++attempt) {
    const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (needed == 0) return std::string();
    // The count includes the NUL; the ANSI call may ask for a byte more than
    // it writes, so only a count below the buffer's size is taken as done.
    if (needed < buffer.size()) return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
    buffer.assign(static_cast<size_t>(needed) + 1, '\0');
  }
  return std::string();
}

std::string Win32Process::ExeName() {
  std::vector<char> buffer(MAX_PATH, '\0');
  while (buffer.size() <= 65536) {
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::string();
    // A path that fills the buffer may have been cut short.
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.assign(buffer.size() * 2, '\0');
  }
  return std::string();
}

void Win32Process::SetErrorMode(unsigned mode) { ::SetErrorMode(mode); }

LocalTime Win32Clock::Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

namespace {
const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }
}  // namespace

intptr_t Win32Shell::Execute(const std::string& operation, const std::string& file,
                             const std::string& parameters, const std::string& directory, int show) {
  const HINSTANCE result =
      ShellExecuteA(nullptr, OrNull(operation), file.c_str(), OrNull(parameters), OrNull(directory), show);
  return reinterpret_cast<intptr_t>(result);
}

int Win32Dialogs::MessageBox(const std::string& text, const std::string& caption, unsigned style) {
  return MessageBoxA(nullptr, text.c_str(), caption.c_str(), style);
}

}  // namespace quorvane::win32

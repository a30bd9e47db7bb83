#include "tests/wine/support/window_driver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/credits.h"
#include "tests/wine/support/scratch.h"

#ifndef QUORVANE_EXE_PATH
#error "QUORVANE_EXE_PATH names the quorvane.exe under test"
#endif

namespace quorvane::wine_test {

namespace {

constexpr UINT kSendTimeoutMs = 10000;

void Fail(const Where& where, const std::string& message) {
  ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line())) << message;
}

// A message to a window of another process that must not hang the test if
// that process stops answering.
bool Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result, bool wide = false) {
  DWORD_PTR answer = 0;
  const LRESULT sent =
      wide ? SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &answer)
           : SendMessageTimeoutA(window, message, wparam, lparam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &answer);
  result = static_cast<LRESULT>(answer);
  return sent != 0;
}

struct ChildSearch {
  int id;
  HWND found;
};

BOOL CALLBACK MatchChildId(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<ChildSearch*>(context);
  if (GetDlgCtrlID(window) != search->id) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, milliseconds deadline, const std::string& what,
               Where where) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (true) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) break;
    std::this_thread::sleep_for(milliseconds(20));
  }
  Fail(where, "gave up waiting for: " + what);
  return false;
}

std::string WindowText(HWND window, Where where) {
  if (!window) {
    Fail(where, "no window to read the text of");
    return {};
  }
  LRESULT length = 0;
  if (!Send(window, WM_GETTEXTLENGTH, 0, 0, length)) {
    Fail(where, "WM_GETTEXTLENGTH got no answer");
    return {};
  }
  std::string text(static_cast<size_t>(length) + 1, '\0');
  LRESULT copied = 0;
  if (!Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), copied)) {
    Fail(where, "WM_GETTEXT got no answer");
    return {};
  }
  text.resize(static_cast<size_t>(copied));
  return text;
}

std::vector<std::string> ListLines(HWND list, Where where) {
  std::vector<std::string> lines;
  if (!list) {
    Fail(where, "no list box to read");
    return lines;
  }
  LRESULT count = 0;
  if (!Send(list, LB_GETCOUNT, 0, 0, count) || count < 0) {
    Fail(where, "LB_GETCOUNT failed");
    return lines;
  }
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = 0;
    if (!Send(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0, length, true) || length < 0) {
      Fail(where, "LB_GETTEXTLEN failed for line " + std::to_string(i));
      return lines;
    }
    // The ANSI LB_GETTEXT does not come back right across processes under
    // Wine: read the line wide and convert it to the ANSI code page.
    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = 0;
    if (!Send(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide.data()), copied,
              true) ||
        copied < 0) {
      Fail(where, "LB_GETTEXT failed for line " + std::to_string(i));
      return lines;
    }
    const int wide_length = static_cast<int>(copied);
    std::string line;
    if (wide_length > 0) {
      const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
      line.resize(static_cast<size_t>(bytes));
      WideCharToMultiByte(CP_ACP, 0, wide.data(), wide_length, line.data(), bytes, nullptr, nullptr);
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

WindowRect OuterRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

WindowRect RectInParent(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

bool IsShown(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

bool IsEnabled(HWND window) { return IsWindowEnabled(window) != FALSE; }

QuorvaneProgram::QuorvaneProgram() {
  static std::atomic<int> counter{0};
  for (int attempt = 0; attempt < 100 && folder_.empty(); ++attempt) {
    std::ostringstream name;
    name << "C:\\quorvane-test-" << GetCurrentProcessId() << "-" << GetTickCount() << "-" << counter++;
    if (CreateDirectoryA(name.str().c_str(), nullptr)) folder_ = name.str() + "\\";
  }
  if (folder_.empty()) {
    ADD_FAILURE() << "cannot create a folder for the program under C:\\";
    return;
  }
  const std::string exe = folder_ + "quorvane.exe";
  if (!CopyFileA(QUORVANE_EXE_PATH, exe.c_str(), TRUE))
    ADD_FAILURE() << "cannot copy " << QUORVANE_EXE_PATH << " (error " << GetLastError() << ")";
}

QuorvaneProgram::~QuorvaneProgram() {
  if (process_.hProcess) {
    if (Running()) {
      TerminateProcess(process_.hProcess, 99);
      WaitForSingleObject(process_.hProcess, 10000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  if (!folder_.empty()) RemoveTree(folder_.substr(0, folder_.size() - 1));  // without its final "\"
}

void QuorvaneProgram::WriteFile(const std::string& name, const std::string& content) {
  std::ofstream out(folder_ + name, std::ios::binary);
  out << content;
  if (!out) ADD_FAILURE() << "cannot write " << folder_ << name;
}

std::string QuorvaneProgram::ReadFile(const std::string& name) const {
  std::ifstream in(folder_ + name, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::vector<std::string> QuorvaneProgram::FileLines(const std::string& name) const {
  return SplitCrLf(ReadFile(name));
}

bool QuorvaneProgram::Start(Where where) {
  const std::string exe = folder_ + "quorvane.exe";
  std::string command_line = "\"" + exe + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder_.c_str(), &startup, &process_)) {
    Fail(where, "CreateProcessA failed with error " + std::to_string(GetLastError()));
    return false;
  }
  WaitForInputIdle(process_.hProcess, static_cast<DWORD>(kStartDeadline.count()));
  // Several programs may run at once: the window must be this process's.
  const bool found = WaitUntil(
      [&] {
        if (!Running()) return true;
        HWND candidate = nullptr;
        while ((candidate = FindWindowExA(nullptr, candidate, nullptr, kWindowCaption.c_str()))) {
          DWORD owner = 0;
          GetWindowThreadProcessId(candidate, &owner);
          if (owner == process_.dwProcessId && IsWindowVisible(candidate)) {
            window_ = candidate;
            return true;
          }
        }
        return false;
      },
      kStartDeadline, "the program's main window", where);
  if (found && !window_) Fail(where, "the program ended before its window showed");
  return window_ != nullptr;
}

HWND QuorvaneProgram::Control(int id, Where where) const {
  if (!window_) {
    Fail(where, "the program has no window");
    return nullptr;
  }
  if (HWND direct = GetDlgItem(window_, id)) return direct;
  ChildSearch search{id, nullptr};
  EnumChildWindows(window_, &MatchChildId, reinterpret_cast<LPARAM>(&search));
  if (!search.found) Fail(where, "no control with ID " + std::to_string(id));
  return search.found;
}

void QuorvaneProgram::Click(int id, Where where) {
  HWND button = Control(id, where);
  if (button && !PostMessageA(button, BM_CLICK, 0, 0)) Fail(where, "cannot post BM_CLICK");
}

bool QuorvaneProgram::Activate(Where where) {
  if (!window_) {
    Fail(where, "the program has no window");
    return false;
  }
  return WaitUntil(
      [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info) && info.hwndActive == window_)
          return true;
        SetForegroundWindow(window_);
        return false;
      },
      kStepDeadline, "the program's window to become active", where);
}

HWND QuorvaneProgram::Focus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!window_ || !GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

void QuorvaneProgram::PressKey(UINT virtual_key) {
  HWND target = Focus();
  if (!target) target = window_;
  PostMessageA(target, WM_KEYDOWN, virtual_key, 1);
  PostMessageA(target, WM_KEYUP, virtual_key, static_cast<LPARAM>(0xC0000001u));
}

void QuorvaneProgram::PressAltLetter(char letter) {
  HWND target = Focus();
  if (!target) target = window_;
  // Bit 29: the Alt key is down.
  PostMessageA(target, WM_SYSCHAR, static_cast<WPARAM>(static_cast<unsigned char>(letter)),
               static_cast<LPARAM>(0x20000001));
}

HWND QuorvaneProgram::WaitForMessageBox(const std::string& caption, milliseconds deadline, Where where) {
  HWND box = nullptr;
  WaitUntil(
      [&] {
        HWND candidate = nullptr;
        while ((candidate = FindWindowExA(nullptr, candidate, "#32770", caption.c_str()))) {
          DWORD owner = 0;
          GetWindowThreadProcessId(candidate, &owner);
          if (owner == process_.dwProcessId && IsWindowVisible(candidate)) {
            box = candidate;
            return true;
          }
        }
        return false;
      },
      deadline, "a message box captioned \"" + caption + "\"", where);
  return box;
}

std::string QuorvaneProgram::MessageBoxText(HWND box) {
  // The message box's text is the static control of ID 0xFFFF.
  if (HWND text = GetDlgItem(box, 0xFFFF)) return WindowText(text);
  return {};
}

void QuorvaneProgram::Answer(HWND box, int button_id) {
  PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button_id), 0);
}

std::optional<DWORD> QuorvaneProgram::WaitForExit(milliseconds deadline, Where where) {
  if (!process_.hProcess) {
    Fail(where, "the program was never started");
    return std::nullopt;
  }
  if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(deadline.count())) != WAIT_OBJECT_0) {
    Fail(where, "the program did not end");
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

bool QuorvaneProgram::Running() const {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

}  // namespace quorvane::wine_test

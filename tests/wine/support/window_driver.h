// Drives the real quorvane.exe from another process, as a user would: a
// copy of the program in a fresh folder of its own (so its folder, its
// "debug.txt" and "ESPECIAL.DAT" belong to one test), its window found by
// caption, its controls by ID, clicks posted, message boxes answered.
//
// Every helper reports failures at the caller's line.
#pragma once

#include "platform/win32/windows_api.h"

#include <chrono>
#include <functional>
#include <optional>
#include <source_location>
#include <string>
#include <vector>

namespace quorvane::wine_test {

using std::chrono::milliseconds;
using Where = std::source_location;

// Generous guards for a slow machine; nothing is measured against them.
inline constexpr milliseconds kStartDeadline{60000};
inline constexpr milliseconds kStepDeadline{30000};
inline constexpr milliseconds kScanDeadline{240000};

// Polls `condition` until it holds or the deadline passes; false (and a
// failure naming `what`) when it never held.
bool WaitUntil(const std::function<bool()>& condition, milliseconds deadline, const std::string& what,
               Where where = Where::current());

struct WindowRect {
  int left, top, width, height;
};

// Plain reads of any window, also across processes.
std::string WindowText(HWND window, Where where = Where::current());
std::vector<std::string> ListLines(HWND list, Where where = Where::current());
WindowRect OuterRect(HWND window);
// Position and size relative to the client area of the window's parent.
WindowRect RectInParent(HWND window);
bool IsShown(HWND window);    // its own visible flag
bool IsEnabled(HWND window);

class QuorvaneProgram {
 public:
  // Makes the program's folder (under C:\) and copies quorvane.exe into it.
  QuorvaneProgram();
  // Ends the process if it still runs and removes the folder.
  ~QuorvaneProgram();
  QuorvaneProgram(const QuorvaneProgram&) = delete;
  QuorvaneProgram& operator=(const QuorvaneProgram&) = delete;

  // The program's own folder, ending in "\".
  const std::string& Folder() const { return folder_; }
  void WriteFile(const std::string& name, const std::string& content);
  std::string ReadFile(const std::string& name) const;
  // Lines of a text file in the folder, split at CR LF.
  std::vector<std::string> FileLines(const std::string& name) const;

  // Starts the program and waits for its main window. False on failure.
  bool Start(Where where = Where::current());
  HWND Window() const { return window_; }
  DWORD ProcessId() const { return process_.dwProcessId; }

  // A control of the main window at any depth, by control ID; fails at the
  // caller's line when there is none.
  HWND Control(int id, Where where = Where::current()) const;
  std::string Text(int id, Where where = Where::current()) const {
    return WindowText(Control(id, where), where);
  }
  std::vector<std::string> Lines(int id, Where where = Where::current()) const {
    return ListLines(Control(id, where), where);
  }
  bool Shown(int id, Where where = Where::current()) const { return IsShown(Control(id, where)); }
  bool Enabled(int id, Where where = Where::current()) const { return IsEnabled(Control(id, where)); }

  // A click as the user makes it, posted: a click that opens a message box
  // returns at once.
  void Click(int id, Where where = Where::current());
  // Makes the program's window the active one (other programs may share
  // the display) and waits for it.
  bool Activate(Where where = Where::current());
  // The control that has the keyboard focus in the program's window thread.
  HWND Focus() const;
  // Posts a key press (down and up) to the focused control.
  void PressKey(UINT virtual_key);
  // Posts Alt + a letter to the focused control.
  void PressAltLetter(char letter);

  // A message box of the program with the given caption, once it shows.
  HWND WaitForMessageBox(const std::string& caption, milliseconds deadline,
                         Where where = Where::current());
  // The text of a message box (its static text), the caption excluded.
  static std::string MessageBoxText(HWND box);
  static void Answer(HWND box, int button_id);

  // Waits for the process to end and gives its exit code.
  std::optional<DWORD> WaitForExit(milliseconds deadline, Where where = Where::current());
  bool Running() const;

 private:
  std::string folder_;
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

}  // namespace quorvane::wine_test

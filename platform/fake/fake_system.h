// In-memory environment, process, clock, shell, message boxes, message pump
// and a headless window host.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/services.h"

namespace quorvane::fake {

class FakeEnvironment : public Environment {
 public:
  void Set(const std::string& name, const std::string& value);
  std::string Expand(const std::string& text) override;

 private:
  std::map<std::string, std::string> variables_;  // by upper-cased name
};

class FakeProcess : public Process {
 public:
  std::string exe_name = "C:\\Quorvane\\quorvane.exe";
  std::vector<unsigned> error_modes;
  std::string ExeName() override { return exe_name; }
  void SetErrorMode(unsigned mode) override { error_modes.push_back(mode); }
};

class FakeClock : public Clock {
 public:
  LocalTime now{2005, 3, 14, 9, 26, 7};
  LocalTime Now() override { return now; }
};

struct ShellCall {
  std::string operation, file, parameters, directory;
  int show;
};

class FakeShell : public Shell {
 public:
  intptr_t result = 42;
  std::vector<ShellCall> calls;
  std::function<void(const ShellCall&)> on_execute;
  intptr_t Execute(const std::string& operation, const std::string& file, const std::string& parameters,
                   const std::string& directory, int show) override;
};

struct MessageBoxCall {
  std::string text, caption;
  unsigned style;
};

// Answers message boxes from a script; a box with no scripted answer fails
// the test.
class FakeDialogs : public Dialogs {
 public:
  std::deque<int> answers;
  std::vector<MessageBoxCall> calls;
  std::function<void(const MessageBoxCall&)> on_show;
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
};

// Delivers scripted user actions at chosen calls of ProcessMessages, as the
// Win32 queue delivers clicks made while a scan runs.
class ScriptedPump : public MessagePump {
 public:
  int process_count = 0;  // calls of ProcessMessages so far
  // Runs `action` during the n-th call of ProcessMessages (counting from 1).
  void At(int call, std::function<void()> action);
  // Runs `action` during the first call at which `when` holds.
  void When(std::function<bool()> when, std::function<void()> action);
  // Runs `action` at the next call.
  void Post(std::function<void()> action) { At(process_count + 1, std::move(action)); }
  // Runs for every call, after the scripted actions.
  std::function<void()> on_process;

  void ProcessMessages() override;
  void Run() override;  // runs posted actions until Quit
  void Quit() override { quit_ = true; }

 private:
  struct Pending {
    std::function<bool()> when;
    std::function<void()> action;
  };
  std::vector<Pending> pending_;
  bool quit_ = false;
};

class RecordingCursor : public CursorView {
 public:
  std::vector<TCursor> shown;
  void Show(TCursor cursor) override { shown.push_back(cursor); }
};

class HeadlessHost : public FormHost {
 public:
  int realized = 0;
  void Realize(TForm&) override { ++realized; }
  CursorView* Cursor() override { return &cursor; }
  RecordingCursor cursor;
};

}  // namespace quorvane::fake

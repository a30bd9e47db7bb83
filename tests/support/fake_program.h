// A whole program on in-memory fakes: the platform services installed as
// the ones in use, the application object, the screen and a created Form1
// (FormCreate has run). One per test.
#pragma once

#include <memory>
#include <string>

#include "app/main_form.h"
#include "app/program_state.h"
#include "platform/fake/fake_file_system.h"
#include "platform/fake/fake_internet.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_system.h"

namespace quorvane::testing {

struct FakeProgram {
  explicit FakeProgram(const std::string& exe_name = "C:\\Quorvane\\quorvane.exe");
  ~FakeProgram();

  // Lines of a fake file, split at CR LF.
  std::vector<std::string> FileLines(const std::string& path) const;
  // Trace lines written so far ("debug.txt" in the program's folder).
  std::vector<std::string> TraceLines() const { return FileLines(State.ProgramFolder + "debug.txt"); }
  // Creates "debug.txt" so that the next scan traces.
  void EnableTrace() { files.AddFile(State.ProgramFolder + "debug.txt"); }

  fake::FakeRegistry registry;
  fake::FakeFileSystem files;
  fake::FakeEnvironment environment;
  fake::FakeProcess process;
  fake::FakeClock clock;
  fake::FakeShell shell;
  fake::FakeDialogs dialogs;
  fake::FakeInternet internet;
  fake::ScriptedPump pump;
  fake::HeadlessHost host;
  std::unique_ptr<TApplication> application;
  std::unique_ptr<TScreen> screen;
  std::unique_ptr<TForm1> form;
};

}  // namespace quorvane::testing

#include "tests/support/fake_program.h"

#include <gtest/gtest.h>

#include "platform/fake/unexpected_call.h"

namespace quorvane::testing {

FakeProgram::FakeProgram(const std::string& exe_name) {
  fake::SetUnexpectedCallReporter([](const std::string& what) { ADD_FAILURE() << "unexpected call: " << what; });
  process.exe_name = exe_name;
  const size_t cut = exe_name.find_last_of('\\');
  if (cut != std::string::npos && cut > 2) files.AddFolder(exe_name.substr(0, cut));
  Services services;
  services.registry = &registry;
  services.files = &files;
  services.environment = &environment;
  services.process = &process;
  services.clock = &clock;
  services.shell = &shell;
  services.dialogs = &dialogs;
  services.internet = &internet;
  services.pump = &pump;
  services.host = &host;
  Platform = services;
  State = ProgramState{};
  application = std::make_unique<TApplication>(pump, dialogs);
  application->SetTitle("Quorvane 3.81");
  screen = std::make_unique<TScreen>();
  screen->AttachView(host.Cursor());
  Application = application.get();
  Screen = screen.get();
  form = std::make_unique<TForm1>();
  Form1 = form.get();
  form->FormCreate();
}

FakeProgram::~FakeProgram() {
  Form1 = nullptr;
  Application = nullptr;
  Screen = nullptr;
  Platform = Services{};
  State = ProgramState{};
  fake::SetUnexpectedCallReporter(nullptr);
}

std::vector<std::string> FakeProgram::FileLines(const std::string& path) const {
  std::vector<std::string> lines;
  const std::string text = files.Content(path);
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

}  // namespace quorvane::testing

#include "platform/fake/fake_system.h"

#include "platform/fake/unexpected_call.h"
#include "platform/text.h"

namespace quorvane::fake {

void FakeEnvironment::Set(const std::string& name, const std::string& value) {
  variables_[AnsiUpperCase(name)] = value;
}

std::string FakeEnvironment::Expand(const std::string& text) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '%') {
      out += text[i++];
      continue;
    }
    const size_t close = text.find('%', i + 1);
    if (close == std::string::npos) {
      out += text.substr(i);
      break;
    }
    auto it = variables_.find(AnsiUpperCase(text.substr(i + 1, close - i - 1)));
    if (it != variables_.end() && close > i + 1) {
      out += it->second;
      i = close + 1;
    } else {
      // An unknown name stays as written, both marks included.
      out += text.substr(i, close - i + 1);
      i = close + 1;
    }
  }
  return out;
}

intptr_t FakeShell::Execute(const std::string& operation, const std::string& file, const std::string& parameters,
                            const std::string& directory, int show) {
  calls.push_back(ShellCall{operation, file, parameters, directory, show});
  if (on_execute) on_execute(calls.back());
  return result;
}

int FakeDialogs::MessageBox(const std::string& text, const std::string& caption, unsigned style) {
  calls.push_back(MessageBoxCall{text, caption, style});
  if (on_show) on_show(calls.back());
  if (answers.empty()) {
    ReportUnexpectedCall("MessageBox(\"" + text + "\") with no scripted answer");
    return (style & 0xF) == kMbYesNo ? kIdNo : kIdOk;
  }
  const int answer = answers.front();
  answers.pop_front();
  return answer;
}

void ScriptedPump::At(int call, std::function<void()> action) {
  pending_.push_back(Pending{[this, call] { return process_count >= call; }, std::move(action)});
}

void ScriptedPump::When(std::function<bool()> when, std::function<void()> action) {
  pending_.push_back(Pending{std::move(when), std::move(action)});
}

void ScriptedPump::ProcessMessages() {
  ++process_count;
  for (size_t i = 0; i < pending_.size();) {
    if (pending_[i].when()) {
      auto action = std::move(pending_[i].action);
      pending_.erase(pending_.begin() + static_cast<std::ptrdiff_t>(i));
      action();
    } else {
      ++i;
    }
  }
  if (on_process) on_process();
}

void ScriptedPump::Run() {
  quit_ = false;
  while (!quit_ && !pending_.empty()) ProcessMessages();
}

}  // namespace quorvane::fake

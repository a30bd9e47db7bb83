// The smaller ports on Windows: environment, process, clock, shell and
// message boxes (ANSI calls).
#pragma once

#include "platform/system.h"

namespace quorvane::win32 {

class Win32Environment : public Environment {
 public:
  std::string Expand(const std::string& text) override;
};

class Win32Process : public Process {
 public:
  std::string ExeName() override;
  void SetErrorMode(unsigned mode) override;
};

class Win32Clock : public Clock {
 public:
  LocalTime Now() override;
};

class Win32Shell : public Shell {
 public:
  intptr_t Execute(const std::string& operation, const std::string& file, const std::string& parameters,
                   const std::string& directory, int show) override;
};

class Win32Dialogs : public Dialogs {
 public:
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
};

}  // namespace quorvane::win32

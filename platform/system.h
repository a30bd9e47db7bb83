// Smaller ports: environment, process, clock, shell and message boxes.
#pragma once

#include <cstdint>
#include <string>

namespace quorvane {

class Environment {
 public:
  virtual ~Environment() = default;
  // ExpandEnvironmentStringsA: %NAME% replaced by the variable's value;
  // unknown names and a lone "%" stay as written. Never truncates.
  virtual std::string Expand(const std::string& text) = 0;
};

class Process {
 public:
  virtual ~Process() = default;
  // Full path of the running executable (TApplication::ExeName).
  virtual std::string ExeName() = 0;
  virtual void SetErrorMode(unsigned mode) = 0;
};

struct LocalTime {
  int year, month, day, hour, minute, second;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
};

inline constexpr int kSwHide = 0;
inline constexpr int kSwShowNormal = 1;

class Shell {
 public:
  virtual ~Shell() = default;
  // ShellExecuteA with no owner window. Returns its result: greater than 32
  // when the start was requested successfully.
  virtual intptr_t Execute(const std::string& operation, const std::string& file,
                           const std::string& parameters, const std::string& directory,
                           int show) = 0;
};

inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbIconError = 0x10;
inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // MessageBoxA with no owner window.
  virtual int MessageBox(const std::string& text, const std::string& caption, unsigned style) = 0;
};

}  // namespace quorvane

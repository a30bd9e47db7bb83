// The platform's exception family. An error of this family that escapes an
// event handler is caught by the message loop and shown with
// TApplication::ShowException; the program then goes on.
#pragma once

#include <stdexcept>
#include <string>

namespace quorvane {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// A file could not be created or written ("Cannot create file %s").
class EFCreateError : public Exception {
 public:
  using Exception::Exception;
};

// A file could not be opened or read.
class EFOpenError : public Exception {
 public:
  using Exception::Exception;
};

// A registry value could not be read as the caller asked.
class ERegistryException : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace quorvane

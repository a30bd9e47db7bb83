// The Win32 backends of every port, created together at program start.
#pragma once

#include <memory>

#include "app/services.h"

namespace quorvane::win32 {

class Win32Services {
 public:
  Win32Services();
  ~Win32Services();
  Win32Services(const Win32Services&) = delete;
  Win32Services& operator=(const Win32Services&) = delete;

  // The services in use, all pointing into this object.
  Services Get() const;

 private:
  struct Backends;
  std::unique_ptr<Backends> backends_;
};

}  // namespace quorvane::win32

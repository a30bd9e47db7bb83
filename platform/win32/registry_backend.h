// The registry port on the Windows registry (advapi32, ANSI calls).
#pragma once

#include "platform/registry.h"

namespace quorvane::win32 {

class Win32Registry : public Registry {
 public:
  using Registry::OpenKey;
  std::unique_ptr<RegistryKey> OpenKey(RootKey root, const std::string& path,
                                       OpenFailure& failure) override;
};

}  // namespace quorvane::win32

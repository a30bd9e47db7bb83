#include "platform/win32/win32_services.h"

#include "platform/win32/file_system_backend.h"
#include "platform/win32/form_host.h"
#include "platform/win32/message_pump.h"
#include "platform/win32/registry_backend.h"
#include "platform/win32/system_backends.h"
#include "platform/win32/wininet_internet.h"

namespace quorvane::win32 {

struct Win32Services::Backends {
  Win32Registry registry;
  Win32FileSystem files;
  Win32Environment environment;
  Win32Process process;
  Win32Clock clock;
  Win32Shell shell;
  Win32Dialogs dialogs;
  WinInetInternet internet;
  Win32MessagePump pump;
  // Last, so destroyed first: the window goes before the backends that its
  // handlers use.
  Win32FormHost host;
};

Win32Services::Win32Services() : backends_(std::make_unique<Backends>()) {}
Win32Services::~Win32Services() = default;

Services Win32Services::Get() const {
  Backends& b = *backends_;
  Services services;
  services.registry = &b.registry;
  services.files = &b.files;
  services.environment = &b.environment;
  services.process = &b.process;
  services.clock = &b.clock;
  services.shell = &b.shell;
  services.dialogs = &b.dialogs;
  services.internet = &b.internet;
  services.pump = &b.pump;
  services.host = &b.host;
  return services;
}

}  // namespace quorvane::win32

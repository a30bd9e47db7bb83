// The platform services in use, chosen once at start-up: the Win32 backends
// in quorvane.exe, in-memory fakes in the native tests.
#pragma once

#include "platform/file_system.h"
#include "platform/internet.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/ui/application.h"
#include "platform/ui/controls.h"

namespace quorvane {

// Gives a form its on-screen windows (Win32) or nothing (headless).
class FormHost {
 public:
  virtual ~FormHost() = default;
  virtual void Realize(TForm& form) = 0;
  virtual CursorView* Cursor() = 0;
};

struct Services {
  Registry* registry = nullptr;
  FileSystem* files = nullptr;
  Environment* environment = nullptr;
  Process* process = nullptr;
  Clock* clock = nullptr;
  Shell* shell = nullptr;
  Dialogs* dialogs = nullptr;
  Internet* internet = nullptr;
  MessagePump* pump = nullptr;
  FormHost* host = nullptr;
};

}  // namespace quorvane

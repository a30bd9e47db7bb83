// The Win32 message queue as the application's message pump.
#pragma once

#include "platform/ui/application.h"

namespace quorvane::win32 {

class Win32MessagePump : public MessagePump {
 public:
  // Handles every message already queued for this thread, then returns. A
  // quit request met on the way is put back, so that Run still ends on it.
  void ProcessMessages() override;
  // The message loop: runs until the quit request.
  void Run() override;
  void Quit() override;
};

}  // namespace quorvane::win32

#include "platform/win32/message_pump.h"

#include "platform/win32/windows_api.h"

namespace quorvane::win32 {

namespace {

// Keyboard navigation (Tab, arrows, mnemonics, Enter and Esc) as in a dialog
// box, for the top-level window the message is meant for; everything else is
// translated and dispatched as usual.
void Deliver(MSG& message) {
  if (message.hwnd) {
    HWND top = GetAncestor(message.hwnd, GA_ROOT);
    if (top && IsDialogMessageA(top, &message)) return;
  }
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

}  // namespace

void Win32MessagePump::ProcessMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Deliver(message);
  }
}

void Win32MessagePump::Run() {
  MSG message;
  // GetMessageA answers -1 on an invalid call; that ends the loop as well.
  while (GetMessageA(&message, nullptr, 0, 0) > 0) Deliver(message);
}

void Win32MessagePump::Quit() { PostQuitMessage(0); }

}  // namespace quorvane::win32

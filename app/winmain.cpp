// Program start on Windows: the Win32 backends are chosen here, once.
#include <windows.h>

#include "app/program.h"
#include "platform/win32/win32_services.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  quorvane::win32::Win32Services services;
  return quorvane::RunProgram(services.Get());
}

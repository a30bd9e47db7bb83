// Program start on Windows: the Win32 backends are chosen here, once.
#include "platform/win32/windows_api.h"

#include "app/program.h"
#include "platform/win32/win32_services.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The tab control lives in the common controls library.
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  quorvane::win32::Win32Services services;
  return quorvane::RunProgram(services.Get());
}

// The Windows headers, for the Win32 backends and the tests under Wine.
// Include this instead of <windows.h>: the program calls the ANSI functions
// by their own names (GetFileAttributesA, MessageBoxA...), and the generic
// macros below would otherwise rename our own ports' members of the same
// names.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <wininet.h>

#undef AnsiUpper
#undef DeleteFile
#undef GetDriveType
#undef GetFileAttributes
#undef GetShortPathName
#undef MessageBox
#undef SetFileAttributes

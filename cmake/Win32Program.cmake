# The Win32 backends and quorvane.exe.
file(GLOB QUORVANE_WIN32_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/platform/win32/*.cpp)
add_library(quorvane_win32 STATIC ${QUORVANE_WIN32_SOURCES})
target_link_libraries(quorvane_win32 PUBLIC quorvane_core advapi32 user32 gdi32 comctl32 shell32 wininet)

add_executable(quorvane WIN32 ${PROJECT_SOURCE_DIR}/app/winmain.cpp)
target_link_libraries(quorvane PRIVATE quorvane_win32)

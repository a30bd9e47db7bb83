# Tests of the Win32 backends and of the whole program, run under Wine in a
# prefix of this build's own (never the user's).
set(QUORVANE_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
if(QUORVANE_WINE_ARCH STREQUAL "win64")
  set(QUORVANE_WINE_LOADER /usr/lib/wine/wine64)
else()
  set(QUORVANE_WINE_LOADER /usr/lib/wine/wine)
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.in ${CMAKE_BINARY_DIR}/wine-run
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE
               @ONLY)

# quorvane.exe as the prefix's Z: drive (the Unix root) shows it.
string(REPLACE "/" "\\\\" QUORVANE_EXE_WINDOWS_PATH "Z:${CMAKE_BINARY_DIR}/quorvane.exe")

file(GLOB QUORVANE_WINE_TEST_SOURCES CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/tests/wine/*.cpp ${PROJECT_SOURCE_DIR}/tests/wine/support/*.cpp)
add_executable(quorvane_wine_tests ${QUORVANE_WINE_TEST_SOURCES})
target_link_libraries(quorvane_wine_tests PRIVATE quorvane_win32 quorvane_fakes GTest::gmock GTest::gtest_main ws2_32)
target_include_directories(quorvane_wine_tests PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_definitions(quorvane_wine_tests PRIVATE
  "QUORVANE_EXE_PATH=\"${QUORVANE_EXE_WINDOWS_PATH}\"")
set_target_properties(quorvane_wine_tests PROPERTIES CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
add_dependencies(quorvane_wine_tests quorvane)

add_test(NAME wine_prefix_ready COMMAND ${CMAKE_BINARY_DIR}/wine-run cmd /c exit)
set_tests_properties(wine_prefix_ready PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 600)
add_test(NAME wine_server_stop COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${QUORVANE_WINE_PREFIX}
         WINEARCH=${QUORVANE_WINE_ARCH} ${PROJECT_SOURCE_DIR}/tools/wine-prefix stop)
set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP wine_prefix)

gtest_discover_tests(quorvane_wine_tests
  DISCOVERY_MODE PRE_TEST
  DISCOVERY_TIMEOUT 300
  PROPERTIES FIXTURES_REQUIRED wine_prefix TIMEOUT 300)

# The product itself: a 32-bit GUI program that needs no DLL beside it.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  add_test(NAME quorvane_exe_format
           COMMAND ${PROJECT_SOURCE_DIR}/tests/check-pe32.sh $<TARGET_FILE:quorvane>)
endif()

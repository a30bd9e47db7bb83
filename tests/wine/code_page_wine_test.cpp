// The ANSI code page of the test prefix, and the shared upper-casing against
// the system's own for that code page.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include "platform/text.h"

namespace quorvane {
namespace {

TEST(CodePage, AnsiCodePageIs1252) { EXPECT_EQ(GetACP(), 1252u); }

TEST(CodePage, UpperCasingMatchesTheSystemForEveryByte) {
  for (int byte = 1; byte < 256; ++byte) {
    char system[2] = {static_cast<char>(byte), 0};
    CharUpperBuffA(system, 1);
    EXPECT_EQ(static_cast<unsigned char>(system[0]), AnsiUpper(static_cast<unsigned char>(byte)))
        << "byte 0x" << std::hex << byte;
  }
}

}  // namespace
}  // namespace quorvane

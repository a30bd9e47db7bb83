// The shared Windows-1252 text helpers the scan relies on.
#include <gtest/gtest.h>

#include "platform/text.h"

namespace quorvane {
namespace {

TEST(Text, AnsiUpperCaseFollowsCodePage1252) {
  EXPECT_EQ(AnsiUpperCase("az AZ 09 [`{"), "AZ AZ 09 [`{");
  // à..þ become À..Þ, except the division sign; š œ ž ÿ have upper cases
  // elsewhere; ß, µ and the multiplication sign stay.
  EXPECT_EQ(AnsiUpperCase("\xE0\xE7\xE3\xE9\xFE\xF7\x9A\x9C\x9E\xFF"), "\xC0\xC7\xC3\xC9\xDE\xF7\x8A\x8C\x8E\x9F");
  EXPECT_EQ(AnsiUpperCase("\xDF\xB5\xD7\xC7"), "\xDF\xB5\xD7\xC7");
}

TEST(Text, AsciiUpperCaseTouchesOnlyAToZ) {
  EXPECT_EQ(AsciiUpperCase("\\Pasta\\a\xE7\xE3o{}`"), "\\PASTA\\A\xE7\xE3O{}`");
}

TEST(Text, AnsiSameTextIgnoresCaseOfAccentedLetters) {
  EXPECT_TRUE(AnsiSameText("\\MA\xC7\xC3", "\\ma\xE7\xE3"));
  EXPECT_FALSE(AnsiSameText("software", "software "));
  EXPECT_FALSE(AnsiSameText("a", "b"));
}

TEST(Text, NumbersAsTheCountersAndCompanionsShowThem) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-2147483647 - 1), "-2147483648");
  EXPECT_EQ(IntToHex(3, 8), "00000003");
  EXPECT_EQ(IntToHex(0xABCDEFu, 8), "00ABCDEF");
  EXPECT_EQ(IntToHex(0xFFFFFFFFu, 8), "FFFFFFFF");
}

TEST(Text, EndsWith) {
  EXPECT_TRUE(EndsWith("\\A\\", "\\"));
  EXPECT_FALSE(EndsWith("", "\\"));
  EXPECT_FALSE(EndsWith("\\A", "\\"));
}

}  // namespace
}  // namespace quorvane

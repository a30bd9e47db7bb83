// Text helpers shared by every layer. Texts are std::string holding
// Windows-1252 bytes; positions in the design count from 1, but these helpers
// use 0-based std::string positions and std::string::npos for "not found".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// Upper-cases one byte by the rules of code page 1252 (accented letters too).
unsigned char AnsiUpper(unsigned char c);
std::string AnsiUpperCase(std::string_view text);

// Only a..z become A..Z; every other byte is kept.
std::string AsciiUpperCase(std::string_view text);

// Equality ignoring letter case by the code page 1252 rules.
bool AnsiSameText(std::string_view a, std::string_view b);

// Ordering ignoring letter case by the code page 1252 rules: <0, 0, >0.
int AnsiCompareText(std::string_view a, std::string_view b);

// Removes every byte of code 32 or less from both ends; never one of 128+.
std::string Trim(std::string_view text);

// The first n bytes; the whole text when shorter, empty for n <= 0.
std::string FirstN(std::string_view text, long long n);

bool StartsWith(std::string_view text, std::string_view prefix);
bool EndsWith(std::string_view text, std::string_view suffix);

// The lines of a text file: lines end at CR, LF or CR LF; a last line
// without an end counts when it is not empty.
std::vector<std::string> SplitLines(std::string_view text);

// Decimal digits of a 32-bit signed count, without separators.
std::string IntToStr(long long value);

// Exactly `digits` upper-case hexadecimal digits, with leading zeros.
std::string IntToHex(unsigned long value, int digits);

}  // namespace quorvane

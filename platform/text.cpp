#include "platform/text.h"

#include <cstdio>

namespace quorvane {

unsigned char AnsiUpper(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
  switch (c) {
    case 0x9A: return 0x8A;  // s caron
    case 0x9C: return 0x8C;  // oe ligature
    case 0x9E: return 0x8E;  // z caron
    case 0xFF: return 0x9F;  // y diaeresis
    default: break;
  }
  // 0xE0..0xFE are the lower-case Latin-1 letters, except the division sign.
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  return c;
}

std::string AnsiUpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(AnsiUpper(static_cast<unsigned char>(c)));
  return out;
}

std::string AsciiUpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
  return out;
}

int AnsiCompareText(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const int x = AnsiUpper(static_cast<unsigned char>(a[i]));
    const int y = AnsiUpper(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool AnsiSameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && AnsiCompareText(a, b) == 0;
}

std::string Trim(std::string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= 32) ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32) --end;
  return std::string(text.substr(begin, end - begin));
}

std::string FirstN(std::string_view text, long long n) {
  if (n <= 0) return std::string();
  if (static_cast<unsigned long long>(n) >= text.size()) return std::string(text);
  return std::string(text.substr(0, static_cast<size_t>(n)));
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::string IntToStr(long long value) { return std::to_string(value); }

std::string IntToHex(unsigned long value, int digits) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%0*lX", digits, value);
  return buffer;
}

}  // namespace quorvane

// A strict reader of REGEDIT4 text for the tests: what the system registry
// editor would do with an undo script. The lines are joined with CR LF and
// split again at CR, LF or CR LF, as the editor reads the saved file, so a
// line break hidden in a line shows up as the extra lines it would become.
// Anything the reader does not understand is reported as an error instead
// of being passed over, and escapes other than \\ and \" are errors too.
#pragma once

#include <cctype>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace quorvane::testing {

struct RegEvent {
  enum Kind { SetValue, DeleteKey, DeleteValue, Error } kind = Error;
  std::string key;       // the key line's text between the brackets
  bool unnamed = false;  // "@" rather than a quoted name
  std::string name;
  uint32_t type = 0;     // 1 string, 2 expandable string, 4 dword, ...
  std::string data;      // the bytes; for the string types without the final 00
  std::string line;      // for errors: the line that could not be read

  bool operator==(const RegEvent&) const = default;
};

inline RegEvent ErrorEvent(const std::string& line) {
  RegEvent e;
  e.kind = RegEvent::Error;
  e.line = line;
  return e;
}

// Reads a quoted string starting just after its opening quote; `at` ends just
// after the closing quote. False for a bad escape or no closing quote.
inline bool ReadQuoted(const std::string& line, size_t& at, std::string& out) {
  out.clear();
  while (at < line.size()) {
    const char c = line[at++];
    if (c == '"') return true;
    if (c == '\\') {
      if (at >= line.size()) return false;
      const char e = line[at++];
      if (e != '\\' && e != '"') return false;
      out += e;
    } else {
      out += c;
    }
  }
  return false;
}

inline bool HexByte(const std::string& text, size_t at, unsigned char& byte) {
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  if (at + 2 > text.size()) return false;
  const int hi = digit(text[at]), lo = digit(text[at + 1]);
  if (hi < 0 || lo < 0) return false;
  byte = static_cast<unsigned char>(hi * 16 + lo);
  return true;
}

inline bool ReadData(const std::string& line, size_t at, RegEvent& event) {
  const std::string rest = line.substr(at);
  if (rest == "-") {
    event.kind = RegEvent::DeleteValue;
    return true;
  }
  event.kind = RegEvent::SetValue;
  if (!rest.empty() && rest[0] == '"') {
    size_t p = 1;
    if (!ReadQuoted(rest, p, event.data) || p != rest.size()) return false;
    event.type = 1;
    return true;
  }
  if (rest.rfind("dword:", 0) == 0) {
    const std::string digits = rest.substr(6);
    if (digits.size() != 8) return false;
    uint32_t value = 0;
    for (size_t i = 0; i < 8; i += 2) {
      unsigned char byte;
      if (!HexByte(digits, i, byte)) return false;
      value = value << 8 | byte;
    }
    event.type = 4;
    for (int i = 0; i < 4; ++i) event.data += static_cast<char>(value >> (8 * i) & 0xFF);
    return true;
  }
  size_t p;
  if (rest.rfind("hex:", 0) == 0) {
    event.type = 3;
    p = 4;
  } else if (rest.rfind("hex(", 0) == 0) {
    const size_t close = rest.find("):");
    if (close == std::string::npos || close < 5) return false;
    for (size_t i = 4; i < close; ++i)
      if (!std::isxdigit(static_cast<unsigned char>(rest[i]))) return false;
    event.type = static_cast<uint32_t>(std::stoul(rest.substr(4, close - 4), nullptr, 16));
    p = close + 2;
  } else {
    return false;
  }
  std::string bytes;
  while (p < rest.size()) {
    unsigned char byte;
    if (!HexByte(rest, p, byte)) return false;
    bytes += static_cast<char>(byte);
    p += 2;
    if (p == rest.size()) break;
    if (rest[p] != ',') return false;
    ++p;
    if (p == rest.size()) return false;
  }
  if (event.type == 1 || event.type == 2) {
    if (bytes.empty() || bytes.back() != '\0') return false;
    bytes.pop_back();
  }
  event.data = bytes;
  return true;
}

inline std::vector<RegEvent> ReadRegedit4(const std::vector<std::string>& script) {
  std::string file;
  for (const std::string& line : script) file += line + "\r\n";
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < file.size()) {
    size_t end = file.find_first_of("\r\n", start);
    if (end == std::string::npos) end = file.size();
    lines.push_back(file.substr(start, end - start));
    start = end + ((file.compare(end, 2, "\r\n") == 0) ? 2 : 1);
  }

  std::vector<RegEvent> events;
  if (lines.empty() || lines[0] != "REGEDIT4") {
    events.push_back(ErrorEvent(lines.empty() ? std::string() : lines[0]));
    return events;
  }
  std::string key;
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.empty()) continue;
    if (line.find('\0') != std::string::npos) {
      events.push_back(ErrorEvent(line));
      continue;
    }
    if (line[0] == '[') {
      const size_t close = line.rfind(']');
      if (close == std::string::npos || close != line.size() - 1) {
        events.push_back(ErrorEvent(line));
        continue;
      }
      key = line.substr(1, close - 1);
      if (!key.empty() && key[0] == '-') {
        RegEvent e;
        e.kind = RegEvent::DeleteKey;
        e.key = key.substr(1);
        events.push_back(e);
        key.clear();
      }
      continue;
    }
    RegEvent e;
    e.key = key;
    size_t at;
    if (line.rfind("@=", 0) == 0) {
      e.unnamed = true;
      at = 2;
    } else if (line[0] == '"') {
      at = 1;
      if (!ReadQuoted(line, at, e.name) || at >= line.size() || line[at] != '=') {
        events.push_back(ErrorEvent(line));
        continue;
      }
      ++at;
    } else {
      events.push_back(ErrorEvent(line));
      continue;
    }
    if (key.empty() || !ReadData(line, at, e)) {
      events.push_back(ErrorEvent(line));
      continue;
    }
    events.push_back(e);
  }
  return events;
}

inline RegEvent SetEvent(const std::string& key, const std::string& name, uint32_t type, const std::string& data) {
  RegEvent e;
  e.kind = RegEvent::SetValue;
  e.key = key;
  e.unnamed = name.empty();
  e.name = name;
  e.type = type;
  e.data = data;
  return e;
}

inline std::string Visible(const std::string& text) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (char c : text) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b < 32 || b >= 127) {
      out += "\\x";
      out += kDigits[b >> 4];
      out += kDigits[b & 15];
    } else {
      out += c;
    }
  }
  return out;
}

// For readable failure messages.
inline void PrintTo(const RegEvent& e, std::ostream* os) {
  static const char* const kKinds[] = {"set", "delete key", "delete value", "error"};
  *os << "{" << kKinds[e.kind] << " [" << Visible(e.key) << "] " << (e.unnamed ? "@" : "\"" + Visible(e.name) + "\"")
      << " type " << e.type << " data \"" << Visible(e.data) << "\"";
  if (e.kind == RegEvent::Error) *os << " line \"" << Visible(e.line) << "\"";
  *os << "}";
}

}  // namespace quorvane::testing

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program_state.h"
#include "scan/path_cleanup.h"
#include "tests/support/fake_program.h"

namespace quorvane {
namespace {

struct CleanupCase {
  std::string why;
  std::string text;
  std::string expected;
};

std::string Byte(int code) { return std::string(1, static_cast<char>(code)); }

std::vector<CleanupCase> CleanupCases() {
  const std::string long_path = "C:\\" + std::string(99'997, 'a');
  std::vector<CleanupCase> cases = {
      {"empty", "", ""},
      {"blanks and control characters only", " \t\r\n\x01\x1f\x0b ", ""},
      {"NUL and blanks only", std::string("\0 \0", 3), ""},
      {"full stops only", "...", ""},
      {"lone quote", "\"", ""},
      {"two quotes", "\"\"", ""},
      {"lone @", "@", ""},
      {"quote then @ only", "\"@", ""},
      {"only strip characters, mixed", "\" ; . / \"", ""},
      {"plain path untouched", "C:\\Windows\\notepad.exe", "C:\\Windows\\notepad.exe"},
      {"quoted path with blanks outside", "   \"C:\\Program Files\\App\\app.exe\"  ",
       "C:\\Program Files\\App\\app.exe"},
      {"closing quote and switch stay", "\"C:\\Program Files\\App\\app.exe\" /s",
       "C:\\Program Files\\App\\app.exe\" /s"},
      {"quote in the middle stays", "C:\\a\"b\\c.exe", "C:\\a\"b\\c.exe"},
      {"only one leading quote", "\"\"C:\\x.exe\"\"", "\"C:\\x.exe"},
      {"only one leading @", "@@C:\\x.dll", "@C:\\x.dll"},
      {"quote then @: both go", "\"@C:\\x.dll\"", "C:\\x.dll"},
      {"@ then quote: the quote stays in front", "@\"C:\\x.dll\"", "\"C:\\x.dll"},
      {"blank after the quote hides a following @", "\" @C:\\x.dll", "@C:\\x.dll"},
      {"blank after the @ is trimmed at the end", "@ C:\\x.dll", "C:\\x.dll"},
      {"tab after the quote is trimmed at the end", "\"\tC:\\x.dll\"", "C:\\x.dll"},
      {"folder: full stop goes, backslash stays", "C:\\Dir\\.", "C:\\Dir\\"},
      {"trailing backslash kept", "C:\\Dir\\", "C:\\Dir\\"},
      {"trailing comma kept", "C:\\x.dll,", "C:\\x.dll,"},
      {"trailing parenthesis kept", "C:\\x.dll)", "C:\\x.dll)"},
      {"trailing backslash stops the strip", "C:\\Dir\\ \"", "C:\\Dir\\"},
      {"list of two paths loses only the final semicolon", "C:\\a.dll;C:\\b.dll;", "C:\\a.dll;C:\\b.dll"},
      {"mixed closing run", "C:\\x.exe . ; /", "C:\\x.exe"},
      {"tab then full stop", "C:\\x.exe\t.", "C:\\x.exe"},
      {"closing run behind a control character", "C:\\x.exe\x01\"", "C:\\x.exe"},
      {"strip stops at a non-strip character", "C:\\x.exe,;", "C:\\x.exe,"},
      {"separators in the middle stay", "C:\\x.exe /a|b[c]?d", "C:\\x.exe /a|b[c]?d"},
      {"backslashes everywhere", "\\\\server\\share\\\\", "\\\\server\\share\\\\"},
      {"quote, backslash, quote", "\"\\\"", "\\"},
      {"long path with a long closing run", long_path + std::string(100'000, '.'), long_path},
      {"100,000 closing characters", std::string(100'000, '"'), ""},
      {"100,000 characters, nothing to strip", long_path, long_path},
  };
  // Trim takes every code up to the space and none from 128 on: an
  // implementation built on locale blank tests would trim 0xA0 and others.
  for (int code = 0; code <= 32; ++code)
    cases.push_back({"code " + std::to_string(code) + " trimmed", Byte(code) + "C:\\x" + Byte(code), "C:\\x"});
  for (int code = 0x80; code <= 0xFF; ++code)
    cases.push_back({"code " + std::to_string(code) + " kept", Byte(code) + "C:\\x" + Byte(code),
                     Byte(code) + "C:\\x" + Byte(code)});
  cases.push_back({"code 127 kept", "\x7f" "C:\\x\x7f", "\x7f" "C:\\x\x7f"});
  cases.push_back({"code 0xA0 behind the strip run", "C:\\x\xA0.", "C:\\x\xA0"});
  return cases;
}

TEST(RemoveAspas, CleansTheWrappingAndNothingInside) {
  testing::FakeProgram program;
  for (const CleanupCase& c : CleanupCases()) {
    EXPECT_EQ(RemoveAspas(c.text), c.expected) << c.why;
  }
}

TEST(RemoveAspas, TracesStartAndEndOfEveryCall) {
  testing::FakeProgram program;
  program.EnableTrace();
  State.TracePath = State.ProgramFolder + "debug.txt";
  State.TraceEnabled = true;
  RemoveAspas("\"C:\\x.exe\"");
  RemoveAspas("");
  EXPECT_EQ(program.TraceLines(), (std::vector<std::string>{"Inicio do RemoveAspas", "Fim do RemoveAspas",
                                                             "Inicio do RemoveAspas", "Fim do RemoveAspas"}));
}

}  // namespace
}  // namespace quorvane

// The environment, process, clock, shell and message-box ports on Wine, and
// the in-memory environment against the real one.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "platform/fake/fake_system.h"
#include "platform/text.h"
#include "platform/win32/system_backends.h"
#include "tests/wine/support/scratch.h"

namespace quorvane::wine_test {
namespace {

// A generous guard for a slow machine; nothing is measured against it.
constexpr auto kDeadline = std::chrono::seconds(60);

// ------------------------------------------------------------ environment

class EnvironmentBackend : public ::testing::Test {
 protected:
  void SetUp() override {
    SetVariable("QV_UNSET", nullptr);
    SetVariable("QV_ACCENT", "C:\\Arquivos de programas\\\xCDtens");
    SetVariable("QV_LONG", long_value.c_str());
    // What a fresh prefix holds.
    fake.Set("SystemRoot", "C:\\windows");
    fake.Set("SystemDrive", "C:");
  }
  void TearDown() override {
    for (const char* name : {"QV_ACCENT", "QV_LONG"}) SetEnvironmentVariableA(name, nullptr);
  }
  void SetVariable(const char* name, const char* value) {
    ASSERT_TRUE(SetEnvironmentVariableA(name, value) || !value) << name;
    if (value) fake.Set(name, value);
  }

  const std::string long_value = "C:\\" + std::string(4996, 'L');  // 4999 characters
  win32::Win32Environment environment;
  fake::FakeEnvironment fake;
};

TEST_F(EnvironmentBackend, ExpandsKnownNamesAndLeavesEverythingElseAsWritten) {
  const struct {
    const char* label;
    std::string text;
    std::string expanded;
  } cases[] = {
      {"SystemRoot", "%SystemRoot%\\system32\\x.dll", "C:\\windows\\system32\\x.dll"},
      {"NameInOtherCase", "%systemroot%", "C:\\windows"},
      {"SystemDrive", "%SYSTEMDRIVE%\\boot.ini", "C:\\boot.ini"},
      {"UnknownName", "%QV_UNSET%\\x.dll", "%QV_UNSET%\\x.dll"},
      {"UnknownThenKnown", "%QV_UNSET%\\%SystemDrive%", "%QV_UNSET%\\C:"},
      {"LonePercent", "100% C:\\x", "100% C:\\x"},
      {"Unclosed", "%SystemRoot\\x", "%SystemRoot\\x"},
      {"NoMarks", "C:\\plain path", "C:\\plain path"},
      {"Empty", "", ""},
      {"AccentedValue", "%QV_ACCENT%\\a.dll", "C:\\Arquivos de programas\\\xCDtens\\a.dll"},
      {"LongerThan4095Characters", "%QV_LONG%", long_value},
      {"TwiceLonger", "%QV_LONG%|%QV_LONG%", long_value + "|" + long_value},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string expanded = environment.Expand(c.text);
    EXPECT_EQ(expanded.size(), c.expanded.size());
    EXPECT_EQ(expanded, c.expanded);
    EXPECT_EQ(fake.Expand(c.text), c.expanded) << "fake";
  }
}

// ---------------------------------------------------------------- process

TEST(ProcessBackend, ExeNameIsTheFullPathOfTheRunningProgram) {
  win32::Win32Process process;
  const std::string exe = process.ExeName();
  EXPECT_TRUE(EndsWith(AnsiUpperCase(exe), "\\QUORVANE_WINE_TESTS.EXE")) << exe;
  EXPECT_EQ(exe.substr(1, 2), ":\\") << exe;
  const DWORD attributes = GetFileAttributesA(exe.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << exe;
  EXPECT_FALSE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(ProcessBackend, SetsTheErrorModeAsAsked) {
  win32::Win32Process process;
  const UINT before = GetErrorMode();
  process.SetErrorMode(0x8001);
  EXPECT_EQ(GetErrorMode(), 0x8001u);
  process.SetErrorMode(0);
  EXPECT_EQ(GetErrorMode(), 0u);
  SetErrorMode(before);
}

// ------------------------------------------------------------------ clock

TEST(ClockBackend, NowIsTheLocalDateAndTimeFieldByField) {
  auto local = [] {
    const std::time_t now = std::time(nullptr);
    const std::tm tm = *std::localtime(&now);
    return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
  };
  auto same_minute = [](const LocalTime& a, const LocalTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute;
  };
  win32::Win32Clock clock;
  const LocalTime before = local();
  const LocalTime now = clock.Now();
  const LocalTime after = local();
  EXPECT_TRUE(same_minute(now, before) || same_minute(now, after))
      << now.year << "-" << now.month << "-" << now.day << " " << now.hour << ":" << now.minute;
  EXPECT_GE(now.second, 0);
  EXPECT_LE(now.second, 59);
}

// ------------------------------------------------------------------ shell

TEST(ShellBackend, StartsAProgramWithItsParametersInTheGivenFolder) {
  ScratchFolder folder;
  win32::Win32Shell shell;
  const intptr_t result = shell.Execute("open", "cmd.exe", "/c echo started>marker.txt", folder.Path(), kSwHide);
  EXPECT_GT(result, 32);
  const auto give_up = std::chrono::steady_clock::now() + kDeadline;
  while (ReadBytes(folder / "marker.txt").rfind("started", 0) != 0 && std::chrono::steady_clock::now() < give_up)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(ReadBytes(folder / "marker.txt").substr(0, 7), "started");
}

TEST(ShellBackend, AProgramThatIsNotThereGivesAFailureCode) {
  win32::Win32Shell shell;
  EXPECT_LE(shell.Execute("open", "C:\\no such folder\\missing.exe", "", "", kSwHide), 32);
}

// ----------------------------------------------------------- message boxes

struct SeenBox {
  std::string caption;
  std::vector<std::string> texts;  // of its static controls
  bool has_yes = false, has_no = false, has_ok = false;
};

BOOL CALLBACK CollectStatic(HWND child, LPARAM param) {
  char class_name[32] = {};
  GetClassNameA(child, class_name, sizeof class_name);
  if (AnsiSameText(class_name, "Static")) {
    char text[1024] = {};
    GetWindowTextA(child, text, sizeof text);
    reinterpret_cast<SeenBox*>(param)->texts.push_back(text);
  }
  return TRUE;
}

struct BoxSearch {
  std::string caption;
  HWND found = nullptr;
};

BOOL CALLBACK FindBox(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  char class_name[32] = {};
  char caption[512] = {};
  GetClassNameA(window, class_name, sizeof class_name);
  GetWindowTextA(window, caption, sizeof caption);
  if (std::string(class_name) == "#32770" && IsWindowVisible(window) &&
      (search->caption.empty() || search->caption == caption)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// Shows the box through the backend and answers it from another thread, as
// the user would; gives what the box showed and what the backend returned.
int ShowAndAnswer(const std::string& text, const std::string& caption, unsigned style, int answer, SeenBox& seen) {
  const DWORD thread = GetCurrentThreadId();
  std::atomic<bool> returned{false};
  std::thread answerer([&] {
    const auto give_up = std::chrono::steady_clock::now() + kDeadline;
    while (!returned) {
      // Past the deadline any box of the thread is closed, so a box with
      // another caption cannot hang the test.
      BoxSearch search{std::chrono::steady_clock::now() < give_up ? caption : std::string()};
      EnumThreadWindows(thread, FindBox, reinterpret_cast<LPARAM>(&search));
      if (search.found) {
        char shown[512] = {};
        GetWindowTextA(search.found, shown, sizeof shown);
        seen.caption = shown;
        EnumChildWindows(search.found, CollectStatic, reinterpret_cast<LPARAM>(&seen));
        seen.has_yes = GetDlgItem(search.found, IDYES) != nullptr;
        seen.has_no = GetDlgItem(search.found, IDNO) != nullptr;
        seen.has_ok = GetDlgItem(search.found, IDOK) != nullptr;
        PostMessageA(search.found, WM_COMMAND, static_cast<WPARAM>(answer), 0);
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  win32::Win32Dialogs dialogs;
  const int result = dialogs.MessageBox(text, caption, style);
  returned = true;
  answerer.join();
  return result;
}

TEST(DialogsBackend, ShowsTheTextUnderTheCaptionAndGivesTheAnswer) {
  const std::string caption = "By Durmont - http://www.quorvane.com.br";
  const std::string question =
      "Todos \xEDtens inv\xE1lidos encontrados, ser\xE3o removidos.\n\nContinua com a remo\xE7\xE3o ?";
  const struct {
    const char* label;
    std::string text;
    unsigned style;
    int answer;
    bool yes_no;
  } cases[] = {
      {"QuestionAnsweredYes", question, kMbYesNo, kIdYes, true},
      {"QuestionAnsweredNo", question, kMbYesNo, kIdNo, true},
      {"Notice", "\xCDtens removidos", kMbOk, kIdOk, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    SeenBox seen;
    EXPECT_EQ(ShowAndAnswer(c.text, caption, c.style, c.answer, seen), c.answer);
    EXPECT_EQ(seen.caption, caption);
    EXPECT_NE(std::find(seen.texts.begin(), seen.texts.end(), c.text), seen.texts.end())
        << "the box showed: " << ::testing::PrintToString(seen.texts);
    EXPECT_EQ(seen.has_yes, c.yes_no);
    EXPECT_EQ(seen.has_no, c.yes_no);
    if (!c.yes_no) {
      EXPECT_TRUE(seen.has_ok);
    }
  }
}

}  // namespace
}  // namespace quorvane::wine_test

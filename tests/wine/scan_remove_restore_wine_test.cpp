// The whole repair cycle on the real registry: the real quorvane.exe scans a
// key of this test's own, removes what it found, and Wine's registry editor
// brings it back from the undo file through the Backups page. Also the
// editor's import of undo lines as the engine writes them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/credits.h"
#include "app/main_form.h"
#include "app/program_state.h"
#include "platform/win32/control_ids.h"
#include "repair/undo_script.h"
#include "scan/value_kind.h"
#include "tests/wine/support/scratch.h"
#include "tests/wine/support/window_driver.h"

// After the Windows headers, which it needs.
#include <tlhelp32.h>

namespace quorvane::wine_test {
namespace {

using namespace quorvane::win32;

constexpr milliseconds kEditorDeadline{120000};

// One registry value as the ANSI interface reads it back.
struct Stored {
  DWORD type = REG_NONE;
  std::string bytes;
  bool operator==(const Stored&) const = default;
};
using Values = std::map<std::string, Stored>;  // by name; "" is the unnamed value

void PrintTo(const Stored& value, std::ostream* out) {
  static const char kDigits[] = "0123456789ABCDEF";
  *out << "type " << value.type << ", " << value.bytes.size() << " bytes:";
  for (char c : value.bytes) {
    const unsigned char byte = static_cast<unsigned char>(c);
    *out << ' ' << kDigits[byte >> 4] << kDigits[byte & 0x0F];
  }
}

Stored Text(DWORD type, const std::string& text) { return {type, text + std::string(1, '\0')}; }
Stored Dword(DWORD number) { return {REG_DWORD, std::string(reinterpret_cast<const char*>(&number), sizeof number)}; }

void Set(HKEY key, const std::string& name, const Stored& value) {
  ASSERT_EQ(RegSetValueExA(key, name.empty() ? nullptr : name.c_str(), 0, value.type,
                           reinterpret_cast<const BYTE*>(value.bytes.data()), static_cast<DWORD>(value.bytes.size())),
            ERROR_SUCCESS)
      << name;
}

void SetAll(HKEY key, const Values& values) {
  for (const auto& [name, value] : values) Set(key, name, value);
}

bool KeyExists(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

Values ReadValues(HKEY root, const std::string& path) {
  Values values;
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
  for (DWORD i = 0;; ++i) {
    std::string name(16384, '\0');
    DWORD name_size = static_cast<DWORD>(name.size());
    std::string data(1 << 16, '\0');
    DWORD data_size = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegEnumValueA(key, i, name.data(), &name_size, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                      &data_size) != ERROR_SUCCESS)
      break;
    name.resize(name_size);
    data.resize(data_size);
    values[name] = {type, data};
  }
  RegCloseKey(key);
  return values;
}

std::vector<std::string> Subkeys(HKEY root, const std::string& path) {
  std::vector<std::string> names;
  HKEY key = root;
  if (!path.empty() && RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
  for (DWORD i = 0;; ++i) {
    char name[1024];
    DWORD size = sizeof name;
    if (RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, size);
  }
  if (key != root) RegCloseKey(key);
  return names;
}

bool SameText(const std::string& a, const std::string& b) { return _stricmp(a.c_str(), b.c_str()) == 0; }

// Skip-list lines for everything below `path` ("" for the root itself)
// that is neither one of `targets` nor on the way to one. Paths begin with
// a backslash, as the walker builds them.
void AddSkipLines(HKEY root, const std::string& path, const std::vector<std::string>& targets, std::string& out) {
  for (const std::string& name : Subkeys(root, path.empty() ? "" : path.substr(1))) {
    const std::string child = path + "\\" + name;
    const bool target =
        std::any_of(targets.begin(), targets.end(), [&](const std::string& t) { return SameText(t, child); });
    if (target) continue;
    const bool on_the_way = std::any_of(targets.begin(), targets.end(), [&](const std::string& t) {
      return t.size() > child.size() && t[child.size()] == '\\' && SameText(t.substr(0, child.size()), child);
    });
    if (on_the_way)
      AddSkipLines(root, child, targets, out);
    else
      out += child + "\r\n";
  }
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return "\"" + out + "\"";
}

std::string ByteList(const char* type, const std::string& text) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out = std::string("hex(") + type + "):";
  for (char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
    out += ',';
  }
  return out + "00";
}

std::string Expanded(const std::string& text) {
  char out[4096];
  const DWORD size = ExpandEnvironmentStringsA(text.c_str(), out, sizeof out);
  return size > 0 && size <= sizeof out ? std::string(out, size - 1) : text;
}

std::string LocalStamp() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char text[32];
  snprintf(text, sizeof text, "%04u%02u%02u-%02u%02u%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
  return text;
}

bool IsUndoFileName(const std::string& name) {
  if (name.size() != 24 || name.compare(0, 5, "undo-") != 0 || name[13] != '-' || name.compare(20, 4, ".reg") != 0)
    return false;
  for (size_t i = 5; i < 20; ++i)
    if (i != 13 && (name[i] < '0' || name[i] > '9')) return false;
  return true;
}

bool EditorRunning() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry))
    found = _stricmp(entry.szExeFile, "regedit.exe") == 0;
  CloseHandle(snapshot);
  return found;
}

using Record = std::vector<std::string>;  // the five lines of a found item

// The seeded key, every value the scan judges in it, and quorvane.exe set to
// walk nothing else.
class ScanRemoveRestore : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(key.Handle(), nullptr);
    WriteBytes(files / "here.exe", "MZ");
    ASSERT_EQ(RegCreateKeyExA(key.Handle(), "Keep", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &keep, nullptr),
              ERROR_SUCCESS);
    SetAll(key.Handle(), seeded);
    SetAll(keep, seeded_keep);

    std::vector<std::string> user_copies;
    for (const std::string& hive : Subkeys(HKEY_USERS, ""))
      if (KeyExists(HKEY_USERS, hive + "\\" + key.Relative()))
        user_copies.push_back("\\" + hive + "\\" + key.Relative());
    // HKEY_USERS shows this user's hive again: every finding is met twice.
    ASSERT_EQ(user_copies.size(), 1u) << "expected one hive under HKEY_USERS holding the test key";
    users_path = user_copies.front();

    // The skip list names no root: a line for HKLM's "\Software" would
    // pass over HKCU's too. Every root keeps the way to both copies open.
    const std::vector<std::string> targets = {base, users_path};
    std::string skip;
    for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_CONFIG})
      AddSkipLines(root, "", targets, skip);
    program.WriteFile("ESPECIAL.DAT", skip);
    ASSERT_TRUE(program.Start());
  }

  void TearDown() override {
    if (keep) RegCloseKey(keep);
  }

  HWND Box(const std::string& expected_text, Where where = Where::current()) {
    HWND box = program.WaitForMessageBox(CreditCaption, kStepDeadline, where);
    if (box) {
      EXPECT_EQ(QuorvaneProgram::MessageBoxText(box), expected_text) << "line " << where.line();
    }
    return box;
  }
  // Answers and waits for the box to go, so that the next box of the same
  // caption is not mistaken for it.
  void AnswerAndWait(HWND box, int button, Where where = Where::current()) {
    QuorvaneProgram::Answer(box, button);
    WaitUntil([&] { return !IsWindow(box); }, kStepDeadline, "the message box to close", where);
  }

  // A real click on the first entry of ListBox3.
  void ClickFirstBackup() {
    HWND list = program.Control(kIdListBox3);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 5));
    PostMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(20, 5));
    WaitUntil([&] { return program.Enabled(kIdBotaoRestaurar) && program.Enabled(kIdBotaoDeletar); }, kStepDeadline,
              "the backup buttons to be enabled by the selection");
  }

  // Each finding, under the key path `at` of one of the two views.
  std::vector<Record> ExpectedRecords(const std::string& root, const std::string& at) const {
    return {
        {root, at, "MissingData", missing + "gone.exe", ""},
        {root, at, "Expand", Expanded(expand_data), ""},
        {root, at, missing + "counted.dll", "dword:0000002A", ""},
        {root, at, missing + "named.txt", "kept text", ""},
        {root, at, "(Default)", Expanded(default_data), ""},
        {root, at, "Injected", injected_data, ""},
        {root, at + "\\Keep", "(Default)", missing + "named-default.exe", ""},
    };
  }
  // The key line and the value line of each finding.
  std::vector<std::pair<std::string, std::string>> ExpectedUndoEntries(const std::string& root,
                                                                       const std::string& at) const {
    const std::string key_line = "[" + root + at + "]";
    return {
        {key_line, "\"MissingData\"=" + Escaped(missing_data)},
        {key_line, "\"Expand\"=" + ByteList("2", Expanded(expand_data))},
        {key_line, Escaped(missing + "counted.dll") + "=dword:0000002A"},
        {key_line, Escaped(missing + "named.txt") + "=\"kept text\""},
        {key_line, "@=" + Escaped(Expanded(default_data))},
        // Raw, the line break would end the line and the rest would be
        // read as a key line of its own.
        {key_line, "\"Injected\"=" + ByteList("1", injected_data)},
        {"[" + root + at + "\\Keep]", "\"(Default)\"=" + Escaped(missing + "named-default.exe")},
    };
  }

  ScratchFolder files;
  ScratchKey key;
  HKEY keep = nullptr;
  QuorvaneProgram program;
  const std::string pid = std::to_string(GetCurrentProcessId());
  const std::string base = "\\" + key.Relative();
  std::string users_path;
  // Never created.
  const std::string missing = "C:\\QuorvaneMissing-" + pid + "\\";
  const std::string missing_data = "\"" + missing + "gone.exe\" /s";
  const std::string expand_data = "%SystemRoot%\\QuorvaneMissing-" + pid + "\\lib.dll";
  const std::string default_data = "%SystemRoot%\\QuorvaneMissing-" + pid + "\\default.exe";
  const std::string injected_data = missing + "gone.exe\r\n[-HKEY_CURRENT_USER\\" + key.Relative() + "\\Keep]";
  const Values seeded = {
      {"MissingData", Text(REG_SZ, missing_data)},        {"Present", Text(REG_SZ, files / "here.exe")},
      {"Expand", Text(REG_EXPAND_SZ, expand_data)},       {missing + "counted.dll", Dword(42)},
      {missing + "named.txt", Text(REG_SZ, "kept text")}, {"", Text(REG_EXPAND_SZ, default_data)},
      {"Binary", {REG_BINARY, missing + "gone.exe"}},     {"Injected", Text(REG_SZ, injected_data)},
  };
  const Values seeded_keep = {
      {"", Text(REG_SZ, files / "here.exe")},
      {"(Default)", Text(REG_SZ, missing + "named-default.exe")},
      {"Marker", Dword(7)},
  };
  // What the undo file recreates: the expanded texts, the unnamed value as
  // a plain string.
  const Values restored = {
      {"MissingData", Text(REG_SZ, missing_data)},
      {"Present", Text(REG_SZ, files / "here.exe")},
      {"Expand", Text(REG_EXPAND_SZ, Expanded(expand_data))},
      {missing + "counted.dll", Dword(42)},
      {missing + "named.txt", Text(REG_SZ, "kept text")},
      {"", Text(REG_SZ, Expanded(default_data))},
      {"Binary", {REG_BINARY, missing + "gone.exe"}},
      {"Injected", Text(REG_SZ, injected_data)},
  };
};

TEST_F(ScanRemoveRestore, FindsRemovesRestoresAndDeletesTheBackup) {
  // --- The scan.
  program.Click(kIdBotaoIniciar);
  ASSERT_TRUE(WaitUntil([&] { return program.Text(kIdPanel2).starts_with("Pesquisa finalizada."); }, kScanDeadline,
                        "the end of the scan"));
  EXPECT_EQ(program.Text(kIdPanel2), "Pesquisa finalizada.");
  EXPECT_EQ(program.Text(kIdBotaoParar), "&Remover \xEDtens");

  const std::vector<std::string> lines = program.Lines(kIdListBox2);
  ASSERT_EQ(lines.size() % 5, 0u);
  std::vector<Record> user, users, elsewhere;
  for (size_t i = 0; i < lines.size(); i += 5) {
    Record record(lines.begin() + i, lines.begin() + i + 5);
    if (record[0] == "HKEY_CURRENT_USER" && record[1].starts_with(base))
      user.push_back(record);
    else if (record[0] == "HKEY_USERS" && record[1].starts_with(users_path))
      users.push_back(record);
    else
      elsewhere.push_back(record);
  }
  EXPECT_TRUE(elsewhere.empty()) << "the skip list let the scan record " << elsewhere.size()
                                 << " other entries, the first under " << elsewhere.front()[0] << elsewhere.front()[1];
  std::vector<Record> expected_user = ExpectedRecords("HKEY_CURRENT_USER", base);
  std::vector<Record> expected_users = ExpectedRecords("HKEY_USERS", users_path);
  std::sort(user.begin(), user.end());
  std::sort(users.begin(), users.end());
  std::sort(expected_user.begin(), expected_user.end());
  std::sort(expected_users.begin(), expected_users.end());
  EXPECT_EQ(user, expected_user);
  EXPECT_EQ(users, expected_users);
  EXPECT_EQ(program.Text(kIdLabel2), std::to_string(lines.size() / 5));
  // The roots are walked in their fixed order.
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "HKEY_CURRENT_USER");
  const std::vector<std::string> script = program.Lines(kIdListBox1);

  // --- The removal.
  const std::string before = LocalStamp();
  program.Click(kIdBotaoParar);
  HWND question = Box("Todos \xEDtens inv\xE1lidos encontrados, ser\xE3o removidos.\n\nContinua com a remo\xE7\xE3o ?");
  ASSERT_NE(question, nullptr);
  AnswerAndWait(question, IDYES);
  // The second record of each value finds it gone: that is no failure.
  HWND notice = Box("\xCDtens removidos");
  ASSERT_NE(notice, nullptr);
  const std::string after = LocalStamp();
  AnswerAndWait(notice, IDOK);

  EXPECT_EQ(ReadValues(HKEY_CURRENT_USER, key.Relative()),
            (Values{{"Present", seeded.at("Present")}, {"Binary", seeded.at("Binary")}}));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, key.Relative() + "\\Keep"));
  // Only the value named "(Default)" went; the valid unnamed value stayed.
  EXPECT_EQ(ReadValues(HKEY_CURRENT_USER, key.Relative() + "\\Keep"),
            (Values{{"", seeded_keep.at("")}, {"Marker", seeded_keep.at("Marker")}}));

  std::vector<std::string> undo_files;
  for (const std::string& name : FolderEntries(program.Folder()))
    if (IsUndoFileName(name)) undo_files.push_back(name);
  ASSERT_EQ(undo_files.size(), 1u) << "undo files in " << program.Folder();
  const std::string undo_name = undo_files.front();
  const std::string stamp = undo_name.substr(5, 15);
  EXPECT_LE(before, stamp);
  EXPECT_GE(after, stamp);

  const std::string bytes = ReadBytes(program.Folder() + undo_name);
  ASSERT_TRUE(bytes.starts_with("REGEDIT4\r\n\r\n")) << bytes.substr(0, 40);
  EXPECT_TRUE(bytes.ends_with("\r\n\r\n\r\n"));
  const std::vector<std::string> file_lines = SplitCrLf(bytes);
  for (const std::string& line : file_lines)
    EXPECT_EQ(line.find_first_of(std::string("\r\n\0", 3)), std::string::npos)
        << "a stray line end or NUL in: " << line;
  std::string joined;
  for (const std::string& line : script) joined += line + "\r\n";
  EXPECT_EQ(bytes, joined) << "the file is not the undo script line by line";
  ASSERT_EQ(file_lines.size(), 3 + 3 * (lines.size() / 5));
  std::vector<std::pair<std::string, std::string>> entries;
  for (size_t i = 2; i + 2 < file_lines.size(); i += 3) {
    entries.emplace_back(file_lines[i], file_lines[i + 1]);
    EXPECT_EQ(file_lines[i + 2], "");
  }
  std::vector<std::pair<std::string, std::string>> expected_entries = ExpectedUndoEntries("HKEY_CURRENT_USER", base);
  for (auto& entry : ExpectedUndoEntries("HKEY_USERS", users_path)) expected_entries.push_back(entry);
  std::sort(entries.begin(), entries.end());
  std::sort(expected_entries.begin(), expected_entries.end());
  EXPECT_EQ(entries, expected_entries);

  // --- The backup page.
  program.Click(kIdBotaoBackups);
  ASSERT_TRUE(WaitUntil([&] { return program.Lines(kIdListBox3).size() == 1; }, kStepDeadline, "one backup listed"));
  EXPECT_EQ(program.Lines(kIdListBox3).front(), "Backup realizado em: " + undo_name.substr(11, 2) + "/" +
                                                    undo_name.substr(9, 2) + "/" + undo_name.substr(5, 4) + " as " +
                                                    undo_name.substr(14, 2) + ":" + undo_name.substr(16, 2) + ":" +
                                                    undo_name.substr(18, 2));
  EXPECT_FALSE(program.Enabled(kIdBotaoRestaurar));
  ClickFirstBackup();

  // --- The restore, by Wine's registry editor on its own.
  program.Click(kIdBotaoRestaurar);
  HWND restore = Box("Deseja restaurar este backup ?");
  ASSERT_NE(restore, nullptr);
  AnswerAndWait(restore, IDYES);
  HWND restored_notice = Box("Arquivo restaurado com sucesso");
  ASSERT_NE(restored_notice, nullptr);
  AnswerAndWait(restored_notice, IDOK);
  WaitUntil(
      [&] {
        return ReadValues(HKEY_CURRENT_USER, key.Relative()).size() == restored.size() &&
               ReadValues(HKEY_CURRENT_USER, key.Relative() + "\\Keep").size() == seeded_keep.size();
      },
      kEditorDeadline, "the registry editor to bring every value back");
  WaitUntil([] { return !EditorRunning(); }, kEditorDeadline, "the registry editor to end");
  EXPECT_EQ(ReadValues(HKEY_CURRENT_USER, key.Relative()), restored);
  // The key survived the line-break value: its data did not become a
  // "[-...]" line.
  EXPECT_EQ(ReadValues(HKEY_CURRENT_USER, key.Relative() + "\\Keep"), seeded_keep);
  EXPECT_EQ(FolderEntries(program.Folder()).size(), 3u) << "quorvane.exe, ESPECIAL.DAT and the undo file";

  // --- The deletion of the backup.
  ClickFirstBackup();
  program.Click(kIdBotaoDeletar);
  HWND remove = Box("Deseja realmente remover este arquivo ?");
  ASSERT_NE(remove, nullptr);
  AnswerAndWait(remove, IDYES);
  EXPECT_TRUE(WaitUntil([&] { return program.Lines(kIdListBox3).empty(); }, kStepDeadline, "an empty backup list"));
  EXPECT_EQ(GetFileAttributesA((program.Folder() + undo_name).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(program.Enabled(kIdBotaoRestaurar));
  EXPECT_FALSE(program.Enabled(kIdBotaoDeletar));
}

// The engine's own undo lines, imported by `regedit /S` into an emptied key.
class RegeditImport : public ::testing::Test {
 protected:
  void TearDown() override {
    Form1 = saved_form;
    State.TraceEnabled = saved_trace;
  }

  // Runs the editor on the file and waits for it to end.
  void Import(const std::string& path) {
    std::string command = "C:\\windows\\regedit.exe /S \"" + path + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        << "error " << GetLastError();
    EXPECT_EQ(WaitForSingleObject(process.hProcess, static_cast<DWORD>(kEditorDeadline.count())), WAIT_OBJECT_0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }

  TForm1* const saved_form = Form1;
  const bool saved_trace = State.TraceEnabled;
  std::unique_ptr<TForm1> form = std::make_unique<TForm1>();
  ScratchFolder folder;
  ScratchKey key;
};

TEST_F(RegeditImport, EveryValueLineFormComesBackAsWritten) {
  State.TraceEnabled = false;
  Form1 = form.get();
  const std::string at = "\\" + key.Relative();
  struct Entry {
    const char* what;
    std::string name;
    int kind;
    std::string path_text;
    std::string companion;
    std::string restored_name;
    Stored restored;
  };
  const std::string cr_lf = "C:\\Old\\a.exe\r\n[-HKEY_CURRENT_USER\\" + key.Relative() + "]";
  const std::vector<Entry> entries = {
      {"quotes and backslashes", "Plain", DataPath, "\"C:\\Program Files\\x.exe\" \"%1\"", "", "Plain",
       Text(REG_SZ, "\"C:\\Program Files\\x.exe\" \"%1\"")},
      {"a backslash in the name", "x\\y", DataPath, "C:\\Z", "", "x\\y", Text(REG_SZ, "C:\\Z")},
      {"code page bytes", "Acentua\xE7\xE3o", DataPath,
       "C:\\A\xE7\xF5"
       "es\\\xE9.exe",
       "", "Acentua\xE7\xE3o",
       Text(REG_SZ,
            "C:\\A\xE7\xF5"
            "es\\\xE9.exe")},
      {"CR LF in the data", "Broken", DataPath, cr_lf, "", "Broken", Text(REG_SZ, cr_lf)},
      {"a lone LF in the data", "Feed", DataPath, "C:\\a\nb", "", "Feed", Text(REG_SZ, "C:\\a\nb")},
      {"the unnamed value", "", ExpandedDataPath, "C:\\windows\\gone.exe", "", "",
       Text(REG_SZ, "C:\\windows\\gone.exe")},
      {"an expandable value", "Lib", ExpandedDataPath, "C:\\X\\\xE9.dll", "", "Lib",
       Text(REG_EXPAND_SZ, "C:\\X\\\xE9.dll")},
      {"a dword named by its path", "C:\\B\\b.dll", NamePathDword, "C:\\B\\b.dll", "0000002A", "C:\\B\\b.dll",
       Dword(42)},
      {"a shared DLL count", "C:\\Old\\x.dll", SharedDllPath, "C:\\Old\\x.dll", "FFFFFFFF", "C:\\Old\\x.dll",
       Dword(0xFFFFFFFFu)},
      {"a string named by its path", "C:\\A", NamePathString, "C:\\A", "a\"b", "C:\\A", Text(REG_SZ, "a\"b")},
      {"a name path with CR LF data", "C:\\N", NamePathString, "C:\\N", "one\r\ntwo", "C:\\N",
       Text(REG_SZ, "one\r\ntwo")},
      {"a help folder", "app.hlp", HelpFilePath, "C:\\Help", "app.hlp", "app.hlp", Text(REG_SZ, "C:\\Help")},
  };
  Values expected;
  for (const Entry& entry : entries) {
    SCOPED_TRACE(entry.what);
    ASSERT_TRUE(UndoEntryFits(RootKey::CurrentUser, at, entry.name, entry.kind, entry.path_text, entry.companion));
    WriteUndoEntry(RootKey::CurrentUser, at, entry.name, entry.kind, entry.path_text, entry.companion);
    expected[entry.restored_name] = entry.restored;
  }
  std::string file;
  for (const std::string& line : form->ListBox1.Items().Lines()) file += line + "\r\n";
  file += "\r\n";
  const std::string path = folder / "undo-20050314-092607.reg";
  WriteBytes(path, file);

  // What the key holds afterwards is what the editor wrote.
  ASSERT_TRUE(ReadValues(HKEY_CURRENT_USER, key.Relative()).empty());
  Import(path);
  const Values read = ReadValues(HKEY_CURRENT_USER, key.Relative());
  for (const auto& [name, value] : expected) {
    const auto found = read.find(name);
    if (found == read.end())
      ADD_FAILURE() << "the editor did not write the value \"" << name << "\"";
    else
      EXPECT_EQ(found->second, value) << "value \"" << name << "\"";
  }
  EXPECT_EQ(read.size(), expected.size()) << "the key holds other values than the file recreates";
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, key.Relative()));
}

}  // namespace
}  // namespace quorvane::wine_test

#include "scan/classifier.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "scan/value_kind.h"
#include "tests/repair/regedit4_reader.h"
#include "tests/support/fake_program.h"
#include "tests/support/throwing_observer.h"

namespace quorvane {
namespace {

using testing::ReadRegedit4;
using testing::RegEvent;
using testing::SetEvent;

const std::string kPrefix = "VerificarExistenciaPath - ";
const std::string kTypeLibKey = "\\TypeLib\\{00000000-0000-0000-0000-000000000001}\\1.0\\0\\win32";

std::vector<std::string> Seq(const std::string& numbers) {
  std::vector<std::string> out;
  std::istringstream in(numbers);
  for (std::string n; in >> n;) out.push_back(n);
  return out;
}

// Every step run, no cut taken, every test failed.
const std::string kAllSteps = "1 3 4 5 7 9 10 11 13 17 21 22 24 28 32 40 44 46 59 64 69";
// The recording of a value of the plain data kind.
const std::string kRecorded = " 74 75 76 77 79 84 85 86 87 90 91";

class ClassifierTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_.EnableTrace();
    State.TracePath = State.ProgramFolder + "debug.txt";
    State.TraceEnabled = true;
  }

  void Classify(const std::string& path_text, int kind = DataPath, const std::string& key = "\\Software\\App",
                const std::string& name = "V", const std::string& companion = "",
                RootKey root = RootKey::LocalMachine) {
    VerificarExistenciaPath(path_text, root, key, name, kind, companion);
  }

  std::vector<std::string> Trace() const { return program_.TraceLines(); }
  std::vector<std::string> Checkpoints() const {
    std::vector<std::string> numbers;
    for (const std::string& line : Trace())
      if (line.rfind(kPrefix, 0) == 0) numbers.push_back(line.substr(kPrefix.size()));
    return numbers;
  }
  // The texts the classifier itself handed to the existence test, each with
  // the checkpoint written just before the call (nested calls excluded).
  std::vector<std::pair<std::string, std::string>> Candidates() const {
    const std::vector<std::string> lines = Trace();
    std::vector<std::pair<std::string, std::string>> out;
    std::string checkpoint;
    bool after_checkpoint = false;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].rfind(kPrefix, 0) == 0) {
        checkpoint = lines[i].substr(kPrefix.size());
        after_checkpoint = true;
        continue;
      }
      if (after_checkpoint && lines[i] == "Inicio PathExiste" && i + 2 < lines.size())
        out.emplace_back(checkpoint, lines[i + 2]);
      after_checkpoint = false;
    }
    return out;
  }
  const std::vector<std::string>& Found() const { return Form1->ListBox2.Items().Lines(); }
  const std::vector<std::string>& Script() const { return Form1->ListBox1.Items().Lines(); }

  testing::FakeProgram program_;
};

// ---------------------------------------------------------------------------
// Missing targets: which cut each step makes, the exact text it tests, and
// what the record keeps.

struct MissingCase {
  const char* what;
  std::string path_text;
  std::string key;
  std::string checkpoints;
  std::vector<std::pair<std::string, std::string>> candidates;
  const char* line4;  // nullptr: not recorded
};

void PrintTo(const MissingCase& c, std::ostream* os) { *os << c.what; }

class MissingTest : public ClassifierTest, public ::testing::WithParamInterface<MissingCase> {};

TEST_P(MissingTest, CutsTestsAndRecords) {
  const MissingCase& c = GetParam();
  Classify(c.path_text, DataPath, c.key);
  EXPECT_EQ(Checkpoints(), Seq(c.checkpoints));
  EXPECT_EQ(Candidates(), c.candidates);
  if (c.line4) {
    ASSERT_EQ(Found().size(), 5u);
    EXPECT_EQ(Found()[3], c.line4);
    EXPECT_EQ(State.FoundCount, 1);
    // The undo line keeps the text as received, never the cut one.
    ASSERT_EQ(Script().size(), 5u);
    EXPECT_EQ(ReadRegedit4(Script()),
              (std::vector<RegEvent>{SetEvent("HKEY_LOCAL_MACHINE" + c.key, "V", 1, c.path_text)}));
  } else {
    EXPECT_TRUE(Found().empty());
    EXPECT_TRUE(Script().empty());
    EXPECT_EQ(State.FoundCount, 0);
    EXPECT_EQ(Form1->Label2.Caption(), "0");
  }
}

const std::string kApp = "\\Software\\App";

INSTANTIATE_TEST_SUITE_P(
    Steps, MissingTest,
    ::testing::Values(
        MissingCase{"no cut applies", "C:\\Old\\gone.exe", kApp, kAllSteps + kRecorded,
                    {{"1", "C:\\Old\\gone.exe"}, {"5", "C:\\Old\\gone.exe"}, {"22", "C:\\Old\\gone.exe"}},
                    "C:\\Old\\gone.exe"},
        MissingCase{"step 2 from the drive letter, step 13 at the comma", "rundll32.exe C:\\Old\\gone.dll,Start",
                    kApp, kAllSteps + " 70 71 72" + kRecorded,
                    {{"1", "rundll32.exe C:\\Old\\gone.dll,Start"},
                     {"5", "C:\\Old\\gone.dll,Start"},
                     {"22", "C:\\Old\\gone.dll,Start"},
                     {"72", "C:\\Old\\gone.dll"}},
                    "C:\\Old\\gone.dll"},
        MissingCase{"step 2 up to an apostrophe, untested until step 5", "C:\\Old\\a.exe'x", kApp,
                    "1 3 4 5 7 8 9 10 11 13 17 21 22 24 28 32 40 44 46 59 64 69" + kRecorded,
                    {{"1", "C:\\Old\\a.exe'x"}, {"5", "C:\\Old\\a.exe'x"}, {"22", "C:\\Old\\a.exe"}},
                    "C:\\Old\\a.exe"},
        MissingCase{"step 3: two drive paths", "C:\\Missing\\a.exe D:\\b.txt", kApp, "1 3 4 5 7 9 10 11 12",
                    {{"1", "C:\\Missing\\a.exe D:\\b.txt"}, {"5", "C:\\Missing\\a.exe D:\\b.txt"}}, nullptr},
        MissingCase{"step 4 at the slash, step 5 strips the quote and blank", "\"C:\\Old\\a.exe\" /s", kApp,
                    "1 3 4 5 7 9 10 11 13 17 18 19 21 22 24 28 32 40 44 46 59 64 69" + kRecorded,
                    {{"1", "\"C:\\Old\\a.exe\" /s"},
                     {"5", "C:\\Old\\a.exe\" /s"},
                     {"19", "C:\\Old\\a.exe\" "},
                     {"22", "C:\\Old\\a.exe"}},
                    "C:\\Old\\a.exe"},
        MissingCase{"step 6 at the percent sign", "C:\\Old\\a.exe %1", kApp,
                    "1 3 4 5 7 9 10 11 13 17 21 22 24 25 26 28 32 40 44 46 59 64 69" + kRecorded,
                    {{"1", "C:\\Old\\a.exe %1"},
                     {"5", "C:\\Old\\a.exe %1"},
                     {"22", "C:\\Old\\a.exe %1"},
                     {"26", "C:\\Old\\a.exe"}},
                    "C:\\Old\\a.exe"},
        MissingCase{"step 7 at an inner quote", "C:\\Old\\a.exe\"x", kApp,
                    "1 3 4 5 7 9 10 11 13 17 21 22 24 28 29 30 32 40 44 46 59 64 69" + kRecorded,
                    {{"1", "C:\\Old\\a.exe\"x"},
                     {"5", "C:\\Old\\a.exe\"x"},
                     {"22", "C:\\Old\\a.exe\"x"},
                     {"30", "C:\\Old\\a.exe"}},
                    "C:\\Old\\a.exe"},
        MissingCase{"step 8 keeps the blank after .exe", "C:\\Old\\svchost.EXE -k netsvcs", kApp,
                    "1 3 4 5 7 9 10 11 13 17 21 22 24 28 32 40 41 42 44 46 59 64 69" + kRecorded,
                    {{"1", "C:\\Old\\svchost.EXE -k netsvcs"},
                     {"5", "C:\\Old\\svchost.EXE -k netsvcs"},
                     {"22", "C:\\Old\\svchost.EXE -k netsvcs"},
                     {"42", "C:\\Old\\svchost.EXE "}},
                    "C:\\Old\\svchost.EXE "},
        MissingCase{"step 9: service host", "C:\\WINDOWS\\System32\\SvcHost -k netsvcs", kApp,
                    "1 3 4 5 7 9 10 11 13 17 21 22 24 28 32 40 44 45",
                    {{"1", "C:\\WINDOWS\\System32\\SvcHost -k netsvcs"},
                     {"5", "C:\\WINDOWS\\System32\\SvcHost -k netsvcs"},
                     {"22", "C:\\WINDOWS\\System32\\SvcHost -k netsvcs"}},
                    nullptr},
        MissingCase{"step 10 outside TypeLib keys", "C:\\Old\\ctl.ocx\\2", kApp, kAllSteps + kRecorded,
                    {{"1", "C:\\Old\\ctl.ocx\\2"}, {"5", "C:\\Old\\ctl.ocx\\2"}, {"22", "C:\\Old\\ctl.ocx\\2"}},
                    "C:\\Old\\ctl.ocx\\2"},
        MissingCase{"step 10.1 .dll\\", "C:\\Old\\a.dll\\1", kTypeLibKey,
                    "1 3 4 5 7 9 10 11 13 17 21 22 24 28 32 40 44 46 47 48 49 51 55 59 64 69" + kRecorded,
                    {{"1", "C:\\Old\\a.dll\\1"},
                     {"5", "C:\\Old\\a.dll\\1"},
                     {"22", "C:\\Old\\a.dll\\1"},
                     {"49", "C:\\Old\\a.dll"}},
                    "C:\\Old\\a.dll"},
        MissingCase{"step 10.2 .dll, before the comma step", "C:\\Old\\a.DLL,3", kTypeLibKey,
                    "1 3 4 5 7 9 10 11 13 17 21 22 24 28 32 40 44 46 47 50.1 50.2 51 55 59 64 69" + kRecorded,
                    {{"1", "C:\\Old\\a.DLL,3"},
                     {"5", "C:\\Old\\a.DLL,3"},
                     {"22", "C:\\Old\\a.DLL,3"},
                     {"50.2", "C:\\Old\\a.DLL"}},
                    "C:\\Old\\a.DLL"},
        MissingCase{"step 10.3 .exe\\", "C:\\Old\\a.Exe\\2", "\\Software\\Classes\\typelib\\x",
                    "1 3 4 5 7 9 10 11 13 17 21 22 24 28 32 40 44 46 47 51 52 53 55 59 64 69" + kRecorded,
                    {{"1", "C:\\Old\\a.Exe\\2"},
                     {"5", "C:\\Old\\a.Exe\\2"},
                     {"22", "C:\\Old\\a.Exe\\2"},
                     {"53", "C:\\Old\\a.Exe"}},
                    "C:\\Old\\a.Exe"},
        MissingCase{"step 10.4 .ocx\\", "C:\\Old\\ctl.ocx\\2", kTypeLibKey,
                    "1 3 4 5 7 9 10 11 13 17 21 22 24 28 32 40 44 46 47 51 55 56 57 59 64 69" + kRecorded,
                    {{"1", "C:\\Old\\ctl.ocx\\2"},
                     {"5", "C:\\Old\\ctl.ocx\\2"},
                     {"22", "C:\\Old\\ctl.ocx\\2"},
                     {"57", "C:\\Old\\ctl.ocx"}},
                    "C:\\Old\\ctl.ocx"},
        // The search runs on an upper-cased copy; the cut keeps the accented
        // letters of the text itself.
        MissingCase{"step 10 past bytes of 128 and above", "C:\\\xCDtens\\\xE9.dll\\2", kTypeLibKey,
                    "1 3 4 5 7 9 10 11 13 17 21 22 24 28 32 40 44 46 47 48 49 51 55 59 64 69" + kRecorded,
                    {{"1", "C:\\\xCDtens\\\xE9.dll\\2"},
                     {"5", "C:\\\xCDtens\\\xE9.dll\\2"},
                     {"22", "C:\\\xCDtens\\\xE9.dll\\2"},
                     {"49", "C:\\\xCDtens\\\xE9.dll"}},
                    "C:\\\xCDtens\\\xE9.dll"},
        MissingCase{"step 11 at a blank and caret", "C:\\Old\\a.exe ^x", kApp,
                    "1 3 4 5 7 9 10 11 13 17 21 22 24 28 32 40 44 46 59 60 61 62 64 69" + kRecorded,
                    {{"1", "C:\\Old\\a.exe ^x"},
                     {"5", "C:\\Old\\a.exe ^x"},
                     {"22", "C:\\Old\\a.exe ^x"},
                     {"62", "C:\\Old\\a.exe"}},
                    "C:\\Old\\a.exe"},
        MissingCase{"step 12 at a semicolon", "C:\\Old\\a.dll;x", kApp,
                    "1 3 4 5 7 9 10 11 13 17 21 22 24 28 32 40 44 46 59 64 65 66 67 69" + kRecorded,
                    {{"1", "C:\\Old\\a.dll;x"},
                     {"5", "C:\\Old\\a.dll;x"},
                     {"22", "C:\\Old\\a.dll;x"},
                     {"67", "C:\\Old\\a.dll"}},
                    "C:\\Old\\a.dll"},
        MissingCase{"each cut works on what the one before left", "C:\\Old\\a.exe,\"x\";y ^z", kApp,
                    "1 3 4 5 7 9 10 11 13 17 21 22 24 28 29 30 32 40 44 46 59 64 69 70 71 72" + kRecorded,
                    {{"1", "C:\\Old\\a.exe,\"x\";y ^z"},
                     {"5", "C:\\Old\\a.exe,\"x\";y ^z"},
                     {"22", "C:\\Old\\a.exe,\"x\";y ^z"},
                     {"30", "C:\\Old\\a.exe,"},
                     {"72", "C:\\Old\\a.exe"}},
                    "C:\\Old\\a.exe"}),
    [](const ::testing::TestParamInfo<MissingCase>& info) { return std::to_string(info.index); });

// The clean-up of steps 6, 11, 12 and 13 runs between the cut's two
// checkpoints and the test's; that of step 5 between 21 and 22.
TEST_F(ClassifierTest, CleanUpRunsWhereEachStepPlacesIt) {
  Classify("C:\\Old\\a.exe,b;c ^d%1");
  const std::vector<std::string> trace = Trace();
  auto after = [&](const std::string& number) {
    for (size_t i = 0; i + 1 < trace.size(); ++i)
      if (trace[i] == kPrefix + number) return trace[i + 1];
    return std::string("checkpoint ") + number + " missing";
  };
  for (const char* number : {"21", "25", "61", "66", "71"}) EXPECT_EQ(after(number), "Inicio do RemoveAspas") << number;
  for (const char* number : {"22", "26", "62", "67", "72"}) EXPECT_EQ(after(number), "Inicio PathExiste") << number;
}

// ---------------------------------------------------------------------------
// Existing targets: the first test that answers true ends the work.

struct ExistingCase {
  const char* what;
  std::string path_text;
  std::string key;
  std::string checkpoints;
  int appear_at = 0;  // 0: the files are there from the start
};

void PrintTo(const ExistingCase& c, std::ostream* os) { *os << c.what; }

class ExistingTest : public ClassifierTest, public ::testing::WithParamInterface<ExistingCase> {
 protected:
  // The last checkpoint the classifier has written so far.
  int LastCheckpoint() const {
    const std::vector<std::string> lines = program_.TraceLines();
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
      if (it->rfind(kPrefix, 0) == 0) return std::stoi(it->substr(kPrefix.size()));
    return 0;
  }
};

TEST_P(ExistingTest, StopsAtTheFirstTestThatAnswersTrue) {
  const ExistingCase& c = GetParam();
  program_.files.AddFile("C:\\App\\app.exe");
  program_.files.AddFile("C:\\App\\lib.dll");
  program_.files.AddFile("C:\\App\\c.ocx");
  // Some tests only decide when the target is gone for every earlier one:
  // the file comes into being once the classifier reaches that checkpoint.
  if (c.appear_at) {
    program_.files.before_attribute_query = [this, at = c.appear_at](const std::string&) {
      if (LastCheckpoint() == at && !program_.files.Exists("C:\\Late\\app.exe"))
        program_.files.AddFile("C:\\Late\\app.exe");
    };
  }
  Classify(c.path_text, DataPath, c.key);
  EXPECT_EQ(Checkpoints(), Seq(c.checkpoints));
  EXPECT_TRUE(Found().empty());
  EXPECT_TRUE(Script().empty());
  EXPECT_TRUE(State.FoundValues.empty());
  EXPECT_EQ(State.FoundCount, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ExistingTest,
    ::testing::Values(
        ExistingCase{"step 1: program and %1", "C:\\App\\app.exe %1", kApp, "1 2"},
        ExistingCase{"step 2: program before the drive letter", "rundll32.exe C:\\App\\lib.dll", kApp,
                     "1 3 4 5 6"},
        ExistingCase{"step 4: before the slash", "C:\\Late\\app.exe /s", kApp,
                     "1 3 4 5 7 9 10 11 13 17 18 19 20", 19},
        ExistingCase{"step 5: closing quote", "\"C:\\App\\app.exe\"", kApp, "1 3 4 5 7 9 10 11 13 17 21 22 23"},
        ExistingCase{"step 6: glued %1", "C:\\App\\app.exe%1", kApp, "1 3 4 5 7 9 10 11 13 17 21 22 24 25 26 27"},
        ExistingCase{"step 7: inner quote", "C:\\App\\app.exe\"x", kApp,
                     "1 3 4 5 7 9 10 11 13 17 21 22 24 28 29 30 31"},
        ExistingCase{"step 8: dash switch", "C:\\Late\\app.exe -k", kApp,
                     "1 3 4 5 7 9 10 11 13 17 21 22 24 28 32 40 41 42 43", 42},
        ExistingCase{"step 10.1", "C:\\App\\lib.dll\\1", kTypeLibKey,
                     "1 3 4 5 7 9 10 11 13 17 21 22 24 28 32 40 44 46 47 48 49 50"},
        ExistingCase{"step 10.2", "C:\\App\\lib.dll,1", kTypeLibKey,
                     "1 3 4 5 7 9 10 11 13 17 21 22 24 28 32 40 44 46 47 50.1 50.2 50.3"},
        ExistingCase{"step 10.3", "C:\\App\\app.exe\\2", kTypeLibKey,
                     "1 3 4 5 7 9 10 11 13 17 21 22 24 28 32 40 44 46 47 51 52 53 54"},
        ExistingCase{"step 10.4", "C:\\App\\c.ocx\\2", kTypeLibKey,
                     "1 3 4 5 7 9 10 11 13 17 21 22 24 28 32 40 44 46 47 51 55 56 57 58"},
        ExistingCase{"step 11", "C:\\Late\\app.exe ^x", kApp,
                     "1 3 4 5 7 9 10 11 13 17 21 22 24 28 32 40 44 46 59 60 61 62 63", 62},
        ExistingCase{"step 12", "C:\\App\\lib.dll;x", kApp,
                     "1 3 4 5 7 9 10 11 13 17 21 22 24 28 32 40 44 46 59 64 65 66 67 68"},
        ExistingCase{"step 13", "C:\\App\\lib.dll,x", kApp,
                     "1 3 4 5 7 9 10 11 13 17 21 22 24 28 32 40 44 46 59 64 69 70 71 72 73"}),
    [](const ::testing::TestParamInfo<ExistingCase>& info) { return std::to_string(info.index); });

TEST_F(ClassifierTest, StepTwoDropsWhatStandsBeforeTheDriveLetter) {
  program_.files.AddFile("C:\\App\\lib.dll");
  Classify("rundll32.exe C:\\App\\lib.dll");
  EXPECT_EQ(Trace().front(), "Inicio do VerificarExistenciaPath");
  EXPECT_EQ(Trace().back(), kPrefix + "6");
  EXPECT_EQ(Candidates(), (std::vector<std::pair<std::string, std::string>>{
                              {"1", "rundll32.exe C:\\App\\lib.dll"}, {"5", "C:\\App\\lib.dll"}}));
}

// ---------------------------------------------------------------------------
// Help files: the folder and the name make the tested path.

TEST_F(ClassifierTest, HelpFolderAndNameMakeOnePathWithOneSeparator) {
  Classify("C:\\Help", HelpFilePath, "\\SOFTWARE\\Microsoft\\Windows\\Help", "app.hlp", "app.hlp");
  Classify("C:\\Help\\", HelpFilePath, "\\SOFTWARE\\Microsoft\\Windows\\Help", "app.hlp", "app.hlp");
  std::vector<std::string> first_tests;
  for (const auto& [checkpoint, text] : Candidates())
    if (checkpoint == "1") first_tests.push_back(text);
  EXPECT_EQ(first_tests, (std::vector<std::string>{"C:\\Help\\app.hlp", "C:\\Help\\app.hlp"}));
  ASSERT_EQ(Found().size(), 10u);
  const std::vector<std::string> record = {"HKEY_LOCAL_MACHINE", "\\SOFTWARE\\Microsoft\\Windows\\Help",
                                           "app.hlp", "C:\\Help\\app.hlp", ""};
  EXPECT_EQ(std::vector<std::string>(Found().begin(), Found().begin() + 5), record);
  EXPECT_EQ(std::vector<std::string>(Found().begin() + 5, Found().end()), record);
  // The undo lines give back the folder as each value held it.
  EXPECT_EQ(Script()[3], "\"app.hlp\"=\"C:\\\\Help\"");
  EXPECT_EQ(Script()[6], "\"app.hlp\"=\"C:\\\\Help\\\\\"");
  const std::vector<std::string> numbers = Checkpoints();
  EXPECT_EQ(std::vector<std::string>(numbers.end() - 11, numbers.end()), Seq("74 75 76 77 79 81 85 86 87 90 91"));
}

TEST_F(ClassifierTest, ExistingHelpFileIsValid) {
  program_.files.AddFile("C:\\Help\\app.hlp");
  Classify("C:\\Help", HelpFilePath, "\\SOFTWARE\\Microsoft\\Windows\\HTML Help", "app.hlp", "app.hlp");
  EXPECT_EQ(Checkpoints(), Seq("1 2"));
  EXPECT_TRUE(Found().empty());
}

// ---------------------------------------------------------------------------
// The record.

TEST_F(ClassifierTest, SharedDllRecord) {
  const std::string key = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
  Classify("C:\\Old\\x.dll", SharedDllPath, key, "C:\\Old\\x.dll", "00000001");
  EXPECT_EQ(Found(), (std::vector<std::string>{"HKEY_LOCAL_MACHINE", key, "C:\\Old\\x.dll", "dword:00000001", ""}));
  EXPECT_EQ(Checkpoints(), Seq(kAllSteps + " 74 75 76 77 79 80 85 86 87 88 91"));
  EXPECT_EQ(Script()[3], "\"C:\\\\Old\\\\x.dll\"=dword:00000001");
}

struct RecordCase {
  const char* what;
  RootKey root;
  std::string name;
  int kind;
  std::string path_text, companion;
  std::vector<std::string> record;
  std::string record_checkpoints;  // after the undo lines' 85
};

void PrintTo(const RecordCase& c, std::ostream* os) { *os << c.what; }

class RecordTest : public ClassifierTest, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(RecordTest, FiveLines) {
  const RecordCase& c = GetParam();
  Classify(c.path_text, c.kind, "\\K", c.name, c.companion, c.root);
  EXPECT_EQ(Found(), c.record);
  const std::vector<std::string> numbers = Checkpoints();
  const std::vector<std::string> expected = Seq(c.record_checkpoints);
  ASSERT_GE(numbers.size(), expected.size());
  EXPECT_EQ(std::vector<std::string>(numbers.end() - static_cast<long>(expected.size()), numbers.end()), expected);
  ASSERT_EQ(State.FoundValues.size(), 1u);
  EXPECT_EQ(State.FoundValues[0].root, c.root);
  EXPECT_EQ(State.FoundValues[0].key_path, "\\K");
  EXPECT_EQ(State.FoundValues[0].value_name, c.name);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RecordTest,
    ::testing::Values(
        RecordCase{"unnamed value", RootKey::ClassesRoot, "", DataPath, "C:\\Old\\a.exe %1", "",
                   {"HKEY_CLASSES_ROOT", "\\K", "(Default)", "C:\\Old\\a.exe", ""}, "85 86 87 90 91"},
        RecordCase{"value named (Default)", RootKey::CurrentUser, "(Default)", DataPath, "C:\\Old\\a.exe", "",
                   {"HKEY_CURRENT_USER", "\\K", "(Default)", "C:\\Old\\a.exe", ""}, "85 86 87 90 91"},
        RecordCase{"name is the path, string data", RootKey::Users, "C:\\Apps\\tool.exe", NamePathString,
                   "C:\\Apps\\tool.exe", "yes", {"HKEY_USERS", "\\K", "C:\\Apps\\tool.exe", "yes", ""},
                   "82 85 86 87 89 91"},
        RecordCase{"name is the path, dword", RootKey::CurrentConfig, "C:\\B", NamePathDword, "C:\\B", "0000002A",
                   {"HKEY_CURRENT_CONFIG", "\\K", "C:\\B", "dword:0000002A", ""}, "80 85 86 87 88 91"},
        RecordCase{"expanded data: the cut text", RootKey::LocalMachine, "Lib", ExpandedDataPath,
                   "C:\\WINDOWS\\gone.dll,1", "", {"HKEY_LOCAL_MACHINE", "\\K", "Lib", "C:\\WINDOWS\\gone.dll", ""},
                   "83 85 86 87 90 91"}),
    [](const ::testing::TestParamInfo<RecordCase>& info) { return std::to_string(info.index); });

TEST_F(ClassifierTest, RecordsFollowEachOtherAndTheCountShows) {
  Classify("C:\\Old\\a.exe", DataPath, "\\K1", "A");
  program_.files.AddFile("C:\\App\\ok.exe");
  Classify("C:\\App\\ok.exe", DataPath, "\\K2", "B");  // valid: nothing changes
  EXPECT_EQ(Form1->Label2.Caption(), "1");
  Classify("C:\\Old\\c.exe", DataPath, "\\K3", "C", "", RootKey::CurrentUser);
  Classify("C:\\Old\\d.exe", DataPath, "\\K4", "");
  EXPECT_EQ(State.FoundCount, 3);
  EXPECT_EQ(Form1->Label2.Caption(), "3");
  ASSERT_EQ(Found().size(), 15u);
  EXPECT_EQ(Found()[0], "HKEY_LOCAL_MACHINE");
  EXPECT_EQ(Found()[1], "\\K1");
  EXPECT_EQ(Found()[5], "HKEY_CURRENT_USER");
  EXPECT_EQ(Found()[6], "\\K3");
  EXPECT_EQ(Found()[10], "HKEY_LOCAL_MACHINE");
  EXPECT_EQ(Found()[12], "(Default)");
  ASSERT_EQ(State.FoundValues.size(), 3u);
  EXPECT_EQ(State.FoundValues[1].value_name, "C");
  EXPECT_EQ(State.FoundValues[2].value_name, "");
  EXPECT_EQ(Script().size(), 2u + 3u * 3u);
}

// ---------------------------------------------------------------------------
// The two returns without a verdict leave everything as it was.

TEST_F(ClassifierTest, NoVerdictWhateverExists) {
  program_.files.AddFile("C:\\WINDOWS\\System32\\svchost.exe");
  program_.files.AddFile("D:\\b.txt");
  for (const char* text : {"C:\\Missing\\a.exe D:\\b.txt", "c:\\windows\\system32\\svchost -k netsvcs",
                           "C:\\Missing\\a.exe C:\\Missing\\b.exe"})
    Classify(text);
  EXPECT_TRUE(Found().empty());
  EXPECT_TRUE(Script().empty());
  EXPECT_EQ(State.FoundCount, 0);
  EXPECT_EQ(Form1->Label2.Caption(), "0");
}

TEST_F(ClassifierTest, ServiceHostWithExeIsCutAndRecordedWhenMissing) {
  Classify("C:\\WINDOWS\\System32\\svchost.exe -k netsvcs");
  ASSERT_EQ(Found().size(), 5u);
  EXPECT_EQ(Found()[3], "C:\\WINDOWS\\System32\\svchost.exe ");
}

// ---------------------------------------------------------------------------
// Failures inside the recording.

// Throws once, on the chosen change (counting from 1).
class ThrowingView : public ControlView {
 public:
  explicit ThrowingView(int throw_at) : throw_at_(throw_at) {}
  void Changed(TControl&, Property) override {
    if (++changes_ == throw_at_) throw std::runtime_error("label cannot be drawn");
  }

 private:
  int throw_at_;
  int changes_ = 0;
};

using testing::ThrowingObserver;

TEST_F(ClassifierTest, HandlerCatchesAFailingCaptionAndTheNextValueGoesOn) {
  ThrowingView view(1);
  Form1->Label2.AttachView(&view);
  Classify("C:\\Old\\a.exe", DataPath, "\\K", "A");
  const std::vector<std::string> trace = Trace();
  ASSERT_GE(trace.size(), 2u);
  EXPECT_EQ(trace[trace.size() - 2], "Tratador de excessoes do VerificarExistenciaPath");
  EXPECT_EQ(trace.back(), kPrefix + "91");
  EXPECT_TRUE(Found().empty());
  EXPECT_TRUE(State.FoundValues.empty());

  Classify("C:\\Old\\b.exe", DataPath, "\\K", "B");
  Form1->Label2.AttachView(nullptr);
  ASSERT_EQ(Found().size(), 5u);
  EXPECT_EQ(Found()[2], "B");
  ASSERT_EQ(State.FoundValues.size(), 1u);
  EXPECT_EQ(State.FoundValues[0].value_name, "B");
  EXPECT_EQ(Trace().back(), kPrefix + "91");
}

TEST_F(ClassifierTest, FailingRecordAppendLeavesWholeRecordsInStepWithTheValues) {
  Classify("C:\\Old\\a.exe", DataPath, "\\K", "A");
  // The third line of the next record is refused.
  ThrowingObserver observer(3);
  Form1->ListBox2.SetItemsObserver(&observer);
  Classify("C:\\Old\\b.exe", DataPath, "\\K", "B");
  Form1->ListBox2.SetItemsObserver(nullptr);
  EXPECT_EQ(Found(), (std::vector<std::string>{"HKEY_LOCAL_MACHINE", "\\K", "A", "C:\\Old\\a.exe", ""}));
  ASSERT_EQ(State.FoundValues.size(), 1u);
  EXPECT_EQ(State.FoundValues[0].value_name, "A");
  EXPECT_EQ(Trace()[Trace().size() - 2], "Tratador de excessoes do VerificarExistenciaPath");

  Classify("C:\\Old\\c.exe", DataPath, "\\K", "C");
  ASSERT_EQ(Found().size(), 10u);
  EXPECT_EQ(Found()[7], "C");
  ASSERT_EQ(State.FoundValues.size(), 2u);
  EXPECT_EQ(State.FoundValues[1].value_name, "C");
}

TEST_F(ClassifierTest, FailingUndoAppendRecordsNothing) {
  ThrowingObserver observer(2);
  Form1->ListBox1.SetItemsObserver(&observer);
  Classify("C:\\Old\\a.exe");
  Form1->ListBox1.SetItemsObserver(nullptr);
  EXPECT_TRUE(Script().empty());
  EXPECT_TRUE(Found().empty());
  EXPECT_EQ(State.FoundCount, 0);
  EXPECT_EQ(Form1->Label2.Caption(), "0");
  EXPECT_EQ(Trace().back(), kPrefix + "91");
}

// ---------------------------------------------------------------------------
// Texts the undo script cannot carry.

TEST_F(ClassifierTest, ValueWhoseKeyOrNameHoldsALineBreakIsNeverRecorded) {
  struct Case {
    std::string key, name;
    int kind;
    std::string path_text, companion;
  };
  const Case cases[] = {
      {"\\K", "Evil\r\n[-HKEY_LOCAL_MACHINE\\SOFTWARE]", DataPath, "C:\\Old\\a.exe", ""},
      {"\\K", "a\rb", HelpFilePath, "C:\\Help", "a\rb"},
      {"\\K", "L\n", ExpandedDataPath, "C:\\Old\\a.dll", ""},
      {"\\K", "C:\\Old\\a.exe\n", NamePathString, "C:\\Old\\a.exe\n", "x"},
      {"\\K", "C:\\Old\\x.dll\r", SharedDllPath, "C:\\Old\\x.dll\r", "00000001"},
      {"\\K", std::string("C:\\Old\\x.dll\0y", 14), NamePathDword, std::string("C:\\Old\\x.dll\0y", 14),
       "00000001"},
      {"\\K\n[-HKEY_USERS\\S-1-5-18]", "V", DataPath, "C:\\Old\\a.exe", ""},
      {"\\K\r", "", DataPath, "C:\\Old\\a.exe", ""},
  };
  for (const Case& c : cases) Classify(c.path_text, c.kind, c.key, c.name, c.companion);
  EXPECT_TRUE(Script().empty());
  EXPECT_TRUE(Found().empty());
  EXPECT_TRUE(State.FoundValues.empty());
  EXPECT_EQ(State.FoundCount, 0);
  EXPECT_EQ(Form1->Label2.Caption(), "0");
  for (const std::string& line : Trace()) EXPECT_NE(line, "Tratador de excessoes do VerificarExistenciaPath");
}

TEST_F(ClassifierTest, DataWithALineBreakIsRecordedAsBytes) {
  const std::string data = "C:\\Old\\a.exe\r\n[-HKEY_LOCAL_MACHINE\\SOFTWARE]";
  Classify(data, DataPath, "\\K", "V");
  ASSERT_EQ(Found().size(), 5u);
  ASSERT_EQ(Script().size(), 5u);
  EXPECT_EQ(Script()[3].rfind("\"V\"=hex(1):43,3A,5C,", 0), 0u);
  EXPECT_EQ(ReadRegedit4(Script()), (std::vector<RegEvent>{SetEvent("HKEY_LOCAL_MACHINE\\K", "V", 1, data)}));
}

// ---------------------------------------------------------------------------
// Bad input.

TEST_F(ClassifierTest, EmptyTextsCountAsExisting) {
  Classify("");
  Classify("", HelpFilePath, "", "", "");  // tests "\": no drive, so missing
  Classify("", NamePathString, "", "", "");
  EXPECT_EQ(Checkpoints()[0], "1");
  EXPECT_EQ(Checkpoints()[1], "2");
  // The help value's "\" is missing; its empty key and name are written as such.
  ASSERT_EQ(Found().size(), 5u);
  EXPECT_EQ(Found(), (std::vector<std::string>{"HKEY_LOCAL_MACHINE", "", "(Default)", "\\", ""}));
  EXPECT_EQ(ReadRegedit4(Script()), (std::vector<RegEvent>{SetEvent("HKEY_LOCAL_MACHINE", "", 1, "")}));
}

TEST_F(ClassifierTest, VeryLongTextIsRecordedWhole) {
  const std::string text = "C:\\" + std::string(100000, 'a') + "\\x.exe";
  Classify(text, DataPath, "\\K", "V");
  ASSERT_EQ(Found().size(), 5u);
  EXPECT_EQ(Found()[3], text);
  EXPECT_EQ(ReadRegedit4(Script()), (std::vector<RegEvent>{SetEvent("HKEY_LOCAL_MACHINE\\K", "V", 1, text)}));
}

// Whatever the texts hold, the lists stay whole records in step with the
// found values, and the undo script recreates exactly the recorded values.
TEST_F(ClassifierTest, NastyTextsKeepTheStoresConsistent) {
  struct Case {
    std::string key, name;
    int kind;
    std::string path_text, companion;
    bool recorded;
    RegEvent undo;
  };
  std::string high;
  for (int b = 0x80; b <= 0xFF; ++b) high += static_cast<char>(b);
  // Quotes and backslashes in every arrangement the escaping has to get right.
  const std::string q = "\"\\\\\"\\";
  // No cut may leave an existing folder such as C:\ behind.
  const std::string dir = "C:\\Old\\";
  const std::string key = "\\K\"[x]\"";
  const std::vector<Case> cases = {
      {key, q + "n" + q, DataPath, dir + q + "x" + q, "", true,
       SetEvent("HKEY_LOCAL_MACHINE" + key, q + "n" + q, 1, dir + q + "x" + q)},
      {"\\K", high, DataPath, dir + high, "", true, SetEvent("HKEY_LOCAL_MACHINE\\K", high, 1, dir + high)},
      {"\\K", "", ExpandedDataPath, dir + high + "\n", "", true,
       SetEvent("HKEY_LOCAL_MACHINE\\K", "", 1, dir + high + "\n")},
      {"\\K", "E" + q, ExpandedDataPath, dir + q + high, "", true,
       SetEvent("HKEY_LOCAL_MACHINE\\K", "E" + q, 2, dir + q + high)},
      {"\\K", dir + q, NamePathString, dir + q, q + "\r\n" + q, true,
       SetEvent("HKEY_LOCAL_MACHINE\\K", dir + q, 1, q + "\r\n" + q)},
      {"\\K", dir + high, NamePathDword, dir + high, "DEADBEEF", true,
       SetEvent("HKEY_LOCAL_MACHINE\\K", dir + high, 4, "\xEF\xBE\xAD\xDE")},
      {"\\K", q + ".hlp", HelpFilePath, dir + q, q + ".hlp", true,
       SetEvent("HKEY_LOCAL_MACHINE\\K", q + ".hlp", 1, dir + q)},
      {"\\K", "n\n", DataPath, "C:\\x", "", false, {}},
      {"\\K", "C:\\d", SharedDllPath, "C:\\d", "", false, {}},  // no dword text to write back
  };
  std::vector<RegEvent> expected;
  for (const Case& c : cases) {
    Classify(c.path_text, c.kind, c.key, c.name, c.companion);
    if (c.recorded) expected.push_back(c.undo);
  }
  ASSERT_EQ(State.FoundValues.size(), expected.size());
  ASSERT_EQ(Found().size(), 5u * expected.size());
  EXPECT_EQ(State.FoundCount, static_cast<int>(expected.size()));
  for (size_t i = 0; i < State.FoundValues.size(); ++i) {
    EXPECT_EQ(Found()[5 * i + 1], State.FoundValues[i].key_path);
    EXPECT_EQ(Found()[5 * i + 2],
              State.FoundValues[i].value_name.empty() ? "(Default)" : State.FoundValues[i].value_name);
    EXPECT_EQ(Found()[5 * i + 4], "");
  }
  EXPECT_EQ(Script().size(), 2u + 3u * expected.size());
  EXPECT_EQ(ReadRegedit4(Script()), expected);
}

}  // namespace
}  // namespace quorvane

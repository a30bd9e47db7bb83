#include "repair/undo_script.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <ostream>
#include <string>
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

class UndoScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_.EnableTrace();
    State.TracePath = State.ProgramFolder + "debug.txt";
    State.TraceEnabled = true;
  }

  const std::vector<std::string>& Script() const { return Form1->ListBox1.Items().Lines(); }
  std::vector<std::string> Trace() const { return program_.TraceLines(); }
  // The numbers of the checkpoint lines, in order.
  std::vector<std::string> Checkpoints() const {
    std::vector<std::string> numbers;
    for (const std::string& line : Trace())
      if (line.rfind(kPrefix, 0) == 0) numbers.push_back(line.substr(kPrefix.size()));
    return numbers;
  }

  testing::FakeProgram program_;
};

using testing::ThrowingObserver;

TEST_F(UndoScriptTest, TwoEntriesGiveTheDesignedLinesAndTheirOwnKeyLines) {
  WriteUndoEntry(RootKey::LocalMachine, "\\SOFTWARE\\Foo", "Path", DataPath, "C:\\Foo\\foo.exe", "");
  WriteUndoEntry(RootKey::LocalMachine, "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
                 "C:\\Old\\x.dll", SharedDllPath, "C:\\Old\\x.dll", "00000001");
  const std::vector<std::string> expected = {
      "REGEDIT4",
      "",
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Foo]",
      "\"Path\"=\"C:\\\\Foo\\\\foo.exe\"",
      "",
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs]",
      "\"C:\\\\Old\\\\x.dll\"=dword:00000001",
      "",
  };
  EXPECT_EQ(Script(), expected);
}

TEST_F(UndoScriptTest, SameKeyTwiceWritesTheKeyLineTwice) {
  WriteUndoEntry(RootKey::CurrentUser, "\\Software\\App", "A", DataPath, "C:\\a", "");
  WriteUndoEntry(RootKey::CurrentUser, "\\Software\\App", "B", DataPath, "C:\\b", "");
  ASSERT_EQ(Script().size(), 8u);
  EXPECT_EQ(Script()[2], "[HKEY_CURRENT_USER\\Software\\App]");
  EXPECT_EQ(Script()[5], Script()[2]);
  EXPECT_EQ(Script()[3], "\"A\"=\"C:\\\\a\"");
  EXPECT_EQ(Script()[6], "\"B\"=\"C:\\\\b\"");
}

struct ValueLineCase {
  const char* what;
  RootKey root;
  const char* value_name;
  int kind;
  const char* path_text;
  const char* companion;
  const char* key_line;
  const char* value_line;
  std::vector<std::string> checkpoints;
};

void PrintTo(const ValueLineCase& c, std::ostream* os) { *os << c.what; }

class ValueLineTest : public UndoScriptTest, public ::testing::WithParamInterface<ValueLineCase> {};

TEST_P(ValueLineTest, WritesTheLineAndItsCheckpoints) {
  const ValueLineCase& c = GetParam();
  WriteUndoEntry(c.root, "\\K", c.value_name, c.kind, c.path_text, c.companion);
  ASSERT_EQ(Script().size(), 5u);
  EXPECT_EQ(Script()[0], "REGEDIT4");
  EXPECT_EQ(Script()[1], "");
  EXPECT_EQ(Script()[2], c.key_line);
  EXPECT_EQ(Script()[3], c.value_line);
  EXPECT_EQ(Script()[4], "");
  EXPECT_EQ(Checkpoints(), c.checkpoints);
}

const std::vector<std::string> kUnnamed = {"74", "75", "76", "77", "78", "85"};

INSTANTIATE_TEST_SUITE_P(
    Kinds, ValueLineTest,
    ::testing::Values(
        ValueLineCase{"unnamed", RootKey::ClassesRoot, "", DataPath, "C:\\Foo\\foo.exe", "",
                      "[HKEY_CLASSES_ROOT\\K]", "@=\"C:\\\\Foo\\\\foo.exe\"", kUnnamed},
        ValueLineCase{"unnamed expandable stays a plain string", RootKey::CurrentUser, "", ExpandedDataPath,
                      "C:\\X", "", "[HKEY_CURRENT_USER\\K]", "@=\"C:\\\\X\"", kUnnamed},
        ValueLineCase{"unnamed help folder", RootKey::Users, "", HelpFilePath, "C:\\Help", "",
                      "[HKEY_USERS\\K]", "@=\"C:\\\\Help\"", kUnnamed},
        ValueLineCase{"expandable", RootKey::LocalMachine, "Lib", ExpandedDataPath, "C:\\X", "",
                      "[HKEY_LOCAL_MACHINE\\K]", "\"Lib\"=hex(2):43,3A,5C,58,00",
                      {"74", "75", "76", "77", "79", "83", "85"}},
        ValueLineCase{"name is the path, string data", RootKey::CurrentConfig, "C:\\A", NamePathString, "C:\\A",
                      "a\"b", "[HKEY_CURRENT_CONFIG\\K]", "\"C:\\\\A\"=\"a\\\"b\"",
                      {"74", "75", "76", "77", "79", "82", "85"}},
        ValueLineCase{"backslash in the name", RootKey::LocalMachine, "x\\y", DataPath, "C:\\Z", "",
                      "[HKEY_LOCAL_MACHINE\\K]", "\"x\\\\y\"=\"C:\\\\Z\"",
                      {"74", "75", "76", "77", "79", "84", "85"}},
        ValueLineCase{"help file: the folder as held", RootKey::LocalMachine, "app.hlp", HelpFilePath,
                      "C:\\Help", "app.hlp", "[HKEY_LOCAL_MACHINE\\K]", "\"app.hlp\"=\"C:\\\\Help\"",
                      {"74", "75", "76", "77", "79", "81", "85"}},
        ValueLineCase{"name is the path, dword", RootKey::LocalMachine, "C:\\B", NamePathDword, "C:\\B",
                      "0000002A", "[HKEY_LOCAL_MACHINE\\K]", "\"C:\\\\B\"=dword:0000002A",
                      {"74", "75", "76", "77", "79", "80", "85"}},
        ValueLineCase{"shared DLL", RootKey::LocalMachine, "C:\\Old\\x.dll", SharedDllPath, "C:\\Old\\x.dll",
                      "00000001", "[HKEY_LOCAL_MACHINE\\K]", "\"C:\\\\Old\\\\x.dll\"=dword:00000001",
                      {"74", "75", "76", "77", "79", "80", "85"}},
        ValueLineCase{"unknown kind is written as data", RootKey::LocalMachine, "N", 3, "C:\\Q", "",
                      "[HKEY_LOCAL_MACHINE\\K]", "\"N\"=\"C:\\\\Q\"", {"74", "75", "76", "77", "79", "84", "85"}},
        // A text no quoted string can carry goes as a byte list of the same
        // string type; expandable data already is one.
        ValueLineCase{"line break in string data", RootKey::LocalMachine, "Path", DataPath, "C:\\a\r\nb", "",
                      "[HKEY_LOCAL_MACHINE\\K]", "\"Path\"=hex(1):43,3A,5C,61,0D,0A,62,00",
                      {"74", "75", "76", "77", "79", "84", "85"}},
        ValueLineCase{"line feed in unnamed data", RootKey::LocalMachine, "", DataPath, "C:\\x\n", "",
                      "[HKEY_LOCAL_MACHINE\\K]", "@=hex(1):43,3A,5C,78,0A,00", kUnnamed},
        ValueLineCase{"carriage return in name-path string data", RootKey::LocalMachine, "C:\\A", NamePathString,
                      "C:\\A", "l1\rl2", "[HKEY_LOCAL_MACHINE\\K]", "\"C:\\\\A\"=hex(1):6C,31,0D,6C,32,00",
                      {"74", "75", "76", "77", "79", "82", "85"}},
        ValueLineCase{"line break in a help folder", RootKey::LocalMachine, "a.hlp", HelpFilePath, "C:\\H\n\xE9",
                      "a.hlp", "[HKEY_LOCAL_MACHINE\\K]", "\"a.hlp\"=hex(1):43,3A,5C,48,0A,E9,00",
                      {"74", "75", "76", "77", "79", "81", "85"}},
        ValueLineCase{"line break in expandable data", RootKey::LocalMachine, "Lib", ExpandedDataPath, "C:\\\n",
                      "", "[HKEY_LOCAL_MACHINE\\K]", "\"Lib\"=hex(2):43,3A,5C,0A,00",
                      {"74", "75", "76", "77", "79", "83", "85"}}),
    [](const ::testing::TestParamInfo<ValueLineCase>& info) { return std::to_string(info.index); });

TEST_F(UndoScriptTest, NulInDataIsWrittenAsBytes) {
  const std::string data("C:\\a\0b", 6);
  WriteUndoEntry(RootKey::LocalMachine, "\\K", "V", DataPath, data, "");
  EXPECT_EQ(Script()[3], "\"V\"=hex(1):43,3A,5C,61,00,62,00");
}

TEST_F(UndoScriptTest, EncodersTraceTheirStartAndEnd) {
  WriteUndoEntry(RootKey::LocalMachine, "\\K", "Lib", ExpandedDataPath, "C:\\X", "");
  const std::vector<std::string> expected = {
      kPrefix + "74", kPrefix + "75", kPrefix + "76", kPrefix + "77", kPrefix + "79", kPrefix + "83",
      // The name, then the data.
      "Inicio caracteres especiais", "Fim caracteres especiais", "Inicio caracteres expandidos",
      "Fim caracteres expandidos", kPrefix + "85"};
  EXPECT_EQ(Trace(), expected);
}

TEST(CaracteresEspeciais, EscapesBackslashesAndQuotesOnly) {
  struct Case {
    std::string text, escaped;
  };
  const Case cases[] = {
      {"", ""},
      {"C:\\Foo\\foo.exe", "C:\\\\Foo\\\\foo.exe"},
      {"a\"b", "a\\\"b"},
      // The backslash written for a quote is not doubled again.
      {"\\\"", "\\\\\\\""},
      {"\"\"\\\\", "\\\"\\\"\\\\\\\\"},
      {"\\", "\\\\"},
      {" \t\x01\x7F\x80\xE9\xFF;=[]@", " \t\x01\x7F\x80\xE9\xFF;=[]@"},
  };
  for (const Case& c : cases) EXPECT_EQ(CaracteresEspeciais(c.text), c.escaped) << testing::Visible(c.text);
}

TEST(CaracteresExpandidos, TwoUpperCaseDigitsForEveryByte) {
  EXPECT_EQ(CaracteresExpandidos(""), "hex(2):00");
  EXPECT_EQ(CaracteresExpandidos("C:\\\xE9"), "hex(2):43,3A,5C,E9,00");
  EXPECT_EQ(CaracteresExpandidos(std::string("\0\x01\x7F\x80\xAB\xFF", 6)), "hex(2):00,01,7F,80,AB,FF,00");
  std::string every_byte;
  for (int b = 0; b < 256; ++b) every_byte += static_cast<char>(b);
  const std::string list = CaracteresExpandidos(every_byte);
  ASSERT_EQ(list.size(), 7u + 3u * 256u + 2u);
  static const char kDigits[] = "0123456789ABCDEF";
  for (int b = 0; b < 256; ++b) {
    const std::string expected = {kDigits[b >> 4], kDigits[b & 15], ','};
    ASSERT_EQ(list.substr(7 + 3 * b, 3), expected) << b;
  }
  EXPECT_EQ(list.substr(list.size() - 2), "00");
}

TEST(StringValueData, ByteListOnlyForTextsAQuotedStringCannotCarry) {
  EXPECT_EQ(StringValueData(""), "\"\"");
  EXPECT_EQ(StringValueData("a\tb\"\\"), "\"a\tb\\\"\\\\\"");
  EXPECT_EQ(StringValueData("\r"), "hex(1):0D,00");
  EXPECT_EQ(StringValueData("\n"), "hex(1):0A,00");
  EXPECT_EQ(StringValueData(std::string(1, '\0')), "hex(1):00,00");
}

TEST_F(UndoScriptTest, LongTextsStayOnOneLine) {
  const std::string data = "C:\\" + std::string(100000, '\\');
  WriteUndoEntry(RootKey::LocalMachine, "\\K", "V", DataPath, data, "");
  ASSERT_EQ(Script().size(), 5u);
  EXPECT_EQ(Script()[3], "\"V\"=\"C:" + std::string(2 * 100001, '\\') + "\"");

  std::string bytes(100000, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + 3);
  WriteUndoEntry(RootKey::LocalMachine, "\\K", "E", ExpandedDataPath, bytes, "");
  ASSERT_EQ(Script().size(), 8u);
  EXPECT_EQ(Script()[6].size(), 4u + 7u + 3u * 100000u + 2u);
  const std::vector<RegEvent> events = ReadRegedit4(Script());
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0], SetEvent("HKEY_LOCAL_MACHINE\\K", "V", 1, data));
  EXPECT_EQ(events[1], SetEvent("HKEY_LOCAL_MACHINE\\K", "E", 2, bytes));
}

// Every entry, however its texts look, reads back as exactly its own value:
// no other key or value is touched and nothing is lost.
TEST_F(UndoScriptTest, EveryAcceptedEntryReadsBackAsItsValue) {
  struct Entry {
    RootKey root;
    std::string key, name;
    int kind;
    std::string path_text, companion;
    RegEvent expected;
  };
  const std::string nasty = "\"]\\\"[-HKEY_LOCAL_MACHINE\\SOFTWARE]\\\xE9\xFF\x80\t;\"";
  const std::string crafted = "C:\\x\"\r\n[-HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n\"Evil\"=\"y";
  const std::vector<Entry> entries = {
      {RootKey::LocalMachine, "\\S\\a b]c", "Path", DataPath, "C:\\Foo\\foo.exe", "",
       SetEvent("HKEY_LOCAL_MACHINE\\S\\a b]c", "Path", 1, "C:\\Foo\\foo.exe")},
      {RootKey::CurrentUser, "\\S", nasty, DataPath, "C:\\" + nasty, "",
       SetEvent("HKEY_CURRENT_USER\\S", nasty, 1, "C:\\" + nasty)},
      {RootKey::CurrentUser, "\\S", "Crafted", DataPath, crafted, "",
       SetEvent("HKEY_CURRENT_USER\\S", "Crafted", 1, crafted)},
      {RootKey::CurrentUser, "\\S", "", DataPath, crafted, "", SetEvent("HKEY_CURRENT_USER\\S", "", 1, crafted)},
      {RootKey::Users, "\\S", "C:\\" + nasty, NamePathString, "C:\\" + nasty, crafted,
       SetEvent("HKEY_USERS\\S", "C:\\" + nasty, 1, crafted)},
      {RootKey::Users, "\\S", "C:\\" + nasty, NamePathDword, "C:\\" + nasty, "FFFFFFFF",
       SetEvent("HKEY_USERS\\S", "C:\\" + nasty, 4, "\xFF\xFF\xFF\xFF")},
      {RootKey::ClassesRoot, "\\S", "h\\\"lp", HelpFilePath, crafted, "h\\\"lp",
       SetEvent("HKEY_CLASSES_ROOT\\S", "h\\\"lp", 1, crafted)},
      {RootKey::CurrentConfig, "\\S", nasty, ExpandedDataPath, crafted, "",
       SetEvent("HKEY_CURRENT_CONFIG\\S", nasty, 2, crafted)},
      {RootKey::LocalMachine, "\\S", "E", DataPath, "", "", SetEvent("HKEY_LOCAL_MACHINE\\S", "E", 1, "")},
  };
  std::vector<RegEvent> expected;
  for (const Entry& e : entries) {
    ASSERT_TRUE(UndoEntryFits(e.root, e.key, e.name, e.kind, e.path_text, e.companion));
    WriteUndoEntry(e.root, e.key, e.name, e.kind, e.path_text, e.companion);
    expected.push_back(e.expected);
  }
  EXPECT_EQ(Script().size(), 2u + 3u * entries.size());
  EXPECT_EQ(ReadRegedit4(Script()), expected);
}

struct RefusedCase {
  const char* what;
  RootKey root;
  std::string key, name;
  int kind;
  std::string path_text, companion;
};

void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.what; }

class RefusedEntryTest : public UndoScriptTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedEntryTest, WritesNothingAndThrows) {
  const RefusedCase& c = GetParam();
  EXPECT_FALSE(UndoEntryFits(c.root, c.key, c.name, c.kind, c.path_text, c.companion));
  EXPECT_THROW(WriteUndoEntry(c.root, c.key, c.name, c.kind, c.path_text, c.companion), std::invalid_argument);
  EXPECT_TRUE(Script().empty());
  EXPECT_TRUE(Checkpoints().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Mends, RefusedEntryTest,
    ::testing::Values(
        RefusedCase{"CR in the name", RootKey::LocalMachine, "\\K", "a\rb", DataPath, "C:\\x", ""},
        RefusedCase{"LF in the name", RootKey::LocalMachine, "\\K", "a\n[-HKEY_LOCAL_MACHINE\\SOFTWARE]",
                    DataPath, "C:\\x", ""},
        RefusedCase{"NUL in the name", RootKey::LocalMachine, "\\K", std::string("a\0b", 3), DataPath, "C:\\x",
                    ""},
        RefusedCase{"LF in a help file name", RootKey::LocalMachine, "\\K", "a\n.hlp", HelpFilePath, "C:\\H",
                    "a\n.hlp"},
        RefusedCase{"LF in an expandable's name", RootKey::LocalMachine, "\\K", "L\n", ExpandedDataPath, "C:\\x",
                    ""},
        RefusedCase{"LF in a name that is a path", RootKey::LocalMachine, "\\K", "C:\\a\nb", NamePathString,
                    "C:\\a\nb", "data"},
        RefusedCase{"CR in a dword name", RootKey::LocalMachine, "\\K", "C:\\a\r", NamePathDword, "C:\\a\r",
                    "00000001"},
        RefusedCase{"CR in a shared DLL name", RootKey::LocalMachine, "\\K", "C:\\a\r", SharedDllPath, "C:\\a\r",
                    "00000001"},
        RefusedCase{"path text names another value than the name", RootKey::LocalMachine, "\\K", "C:\\a",
                    NamePathString, "C:\\a\nb", "d"},
        RefusedCase{"LF in the key path", RootKey::LocalMachine, "\\K\n[-HKEY_LOCAL_MACHINE\\SOFTWARE]", "V",
                    DataPath, "C:\\x", ""},
        RefusedCase{"CR in the key path of an unnamed value", RootKey::LocalMachine, "\\K\r", "", DataPath,
                    "C:\\x", ""},
        RefusedCase{"NUL in the key path", RootKey::LocalMachine, std::string("\\K\0", 3), "V", DataPath,
                    "C:\\x", ""},
        RefusedCase{"root without a long name", static_cast<RootKey>(0x80000004u), "\\K", "V", DataPath, "C:\\x",
                    ""},
        RefusedCase{"empty dword text", RootKey::LocalMachine, "\\K", "C:\\a", SharedDllPath, "C:\\a", ""},
        RefusedCase{"line break after a dword", RootKey::LocalMachine, "\\K", "C:\\a", NamePathDword, "C:\\a",
                    "1\r\n[-HKEY_USERS]"},
        RefusedCase{"dword text too long", RootKey::LocalMachine, "\\K", "C:\\a", NamePathDword, "C:\\a",
                    "000000001"}),
    [](const ::testing::TestParamInfo<RefusedCase>& info) { return std::to_string(info.index); });

TEST_F(UndoScriptTest, RefusedEntryLeavesAnExistingScriptAsItWas) {
  WriteUndoEntry(RootKey::LocalMachine, "\\K", "A", DataPath, "C:\\a", "");
  const std::vector<std::string> before = Script();
  EXPECT_THROW(WriteUndoEntry(RootKey::LocalMachine, "\\K", "B\n", DataPath, "C:\\b", ""), std::invalid_argument);
  EXPECT_EQ(Script(), before);
}

TEST_F(UndoScriptTest, FailedAppendLeavesNoPartOfTheEntry) {
  WriteUndoEntry(RootKey::LocalMachine, "\\K", "A", DataPath, "C:\\a", "");
  const std::vector<std::string> before = Script();
  // The second line of the next entry (its value line) is refused.
  ThrowingObserver observer(2);
  Form1->ListBox1.SetItemsObserver(&observer);
  EXPECT_THROW(WriteUndoEntry(RootKey::LocalMachine, "\\K", "B", DataPath, "C:\\b", ""), std::runtime_error);
  Form1->ListBox1.SetItemsObserver(nullptr);
  EXPECT_EQ(Script(), before);

  WriteUndoEntry(RootKey::LocalMachine, "\\K", "C", DataPath, "C:\\c", "");
  EXPECT_EQ(Script().size(), 8u);
  EXPECT_EQ(Script()[6], "\"C\"=\"C:\\\\c\"");
}

TEST(AppendWhole, AllOrNothing) {
  TStrings list;
  list.Add("one");
  list.Add("two");
  ThrowingObserver observer(3);
  list.SetObserver(&observer);
  EXPECT_THROW(AppendWhole(list, {"a", "b", "c", "d"}), std::runtime_error);
  EXPECT_EQ(list.Lines(), (std::vector<std::string>{"one", "two"}));
  AppendWhole(list, {"a", "b"});
  EXPECT_EQ(list.Lines(), (std::vector<std::string>{"one", "two", "a", "b"}));
}

}  // namespace
}  // namespace quorvane

// What the walker takes from each value: PathText, CompanionText and the
// ValueKind by key mode and data type, and the drive test that decides
// whether the classifier sees the value at all.
#include <gtest/gtest.h>

#include <optional>

#include "platform/text.h"
#include "scan/value_kind.h"
#include "tests/scan/walker_fixture.h"

namespace quorvane::testing {
namespace {

using fake::kRegBinary;
using fake::kRegDword;
using fake::kRegExpandSz;
using fake::kRegMultiSz;
using fake::kRegSz;

std::string Dword(uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

struct Expected {
  std::string path_text;
  int kind;
  std::string companion;
};

struct ValueCase {
  const char* label;
  std::string name;
  uint32_t type;
  std::string data;
  std::optional<Expected> handed;  // nullopt: passed over
};

const std::string kKey = "\\Soft\\App";

// Names differ from row to row, so all rows can also live in one key.
const std::vector<ValueCase> kValueCases = {
    {"ExpandableData", "lib", kRegExpandSz, "%SystemRoot%\\system32\\x.dll",
     Expected{"C:\\WINDOWS\\system32\\x.dll", ExpandedDataPath, ""}},
    {"ExpandableWithPathNameJudgedByData", "C:\\named", kRegExpandSz, "%SystemRoot%\\y.dll",
     Expected{"C:\\WINDOWS\\y.dll", ExpandedDataPath, ""}},
    {"ExpandableWithoutDrive", "rel", kRegExpandSz, "%AppDir%\\x.dll", std::nullopt},
    {"TextNamedByPath", "C:\\Apps\\tool.exe", kRegSz, "yes", Expected{"C:\\Apps\\tool.exe", NamePathString, "yes"}},
    {"TextWithPathInNameAndNoDriveBeforeIt", "1:\\tool", kRegSz, "C:\\real", std::nullopt},
    {"IntegerNamedByPath", "C:\\Apps\\x.dll", kRegDword, Dword(0x1F),
     Expected{"C:\\Apps\\x.dll", NamePathDword, "0000001F"}},
    {"NegativeIntegerNamedByPath", "C:\\neg", kRegDword, Dword(0xFFFFFFFEu),
     Expected{"C:\\neg", NamePathDword, "FFFFFFFE"}},
    {"RawBytesNamedByPath", "D:\\data", kRegBinary, "C:\\x", std::nullopt},
    {"OtherTypeNamedByPath", "C:\\multi", kRegMultiSz, std::string("C:\\a\0\0", 6), std::nullopt},
    {"TextData", "plain", kRegSz, "c:\\x", Expected{"c:\\x", DataPath, ""}},
    {"TextDataCutAtNul", "nul", kRegSz, std::string("C:\\a\0junk", 9), Expected{"C:\\a", DataPath, ""}},
    {"DefaultValue", "", kRegSz, "C:\\def", Expected{"C:\\def", DataPath, ""}},
    {"IntegerWithPlainName", "count", kRegDword, Dword(7), std::nullopt},
    {"RawBytesWithPlainName", "blob", kRegBinary, "C:\\x", std::nullopt},
    {"ShortIntegerIsOtherType", "C:\\short", kRegDword, std::string("\1\0\0", 3), std::nullopt},
};

class ValueKindTable : public WalkerTest, public ::testing::WithParamInterface<ValueCase> {
 protected:
  void SetUp() override {
    program.environment.Set("SystemRoot", "C:\\WINDOWS");
    program.environment.Set("AppDir", "Programs");
  }
};

TEST_P(ValueKindTable, TakesTextsAndKindByTypeAndName) {
  const ValueCase& c = GetParam();
  registry.SetValue(HKLM, kKey, c.name, c.type, c.data);
  Walk();
  if (!c.handed) {
    EXPECT_TRUE(spy.calls.empty()) << spy.calls[0];
    return;
  }
  ASSERT_EQ(spy.calls.size(), 1u);
  EXPECT_EQ(spy.calls[0], (ClassifierCall{c.handed->path_text, HKLM, kKey, c.name, c.handed->kind,
                                          c.handed->companion}));
}

INSTANTIATE_TEST_SUITE_P(Walker, ValueKindTable, ::testing::ValuesIn(kValueCases),
                         [](const auto& info) { return std::string(info.param.label); });

// Passed-over values do not end the key: every later value is still examined,
// in listing order.
TEST_F(WalkerTest, AllValueKindsInOneKeyAreTakenInListingOrder) {
  program.environment.Set("SystemRoot", "C:\\WINDOWS");
  program.environment.Set("AppDir", "Programs");
  std::vector<ClassifierCall> expected;
  for (const ValueCase& c : kValueCases) {
    registry.SetValue(HKLM, kKey, c.name, c.type, c.data);
    if (c.handed)
      expected.push_back({c.handed->path_text, HKLM, kKey, c.name, c.handed->kind, c.handed->companion});
  }
  Walk();
  EXPECT_EQ(spy.calls, expected);
  // Two keys and every value listed, handed over or not.
  EXPECT_EQ(State.VerifiedCount, 2 + static_cast<int>(kValueCases.size()));
}

struct DriveCase {
  const char* label;
  std::string data;
  bool handed;
};

class DriveTest : public WalkerTest, public ::testing::WithParamInterface<DriveCase> {};

TEST_P(DriveTest, OnlyALetterBeforeTheFirstColonBackslash) {
  registry.SetString(HKLM, "\\K", "v", GetParam().data);
  Walk();
  EXPECT_EQ(spy.calls.size(), GetParam().handed ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Walker, DriveTest,
                         ::testing::Values(DriveCase{"UpperLetter", "C:\\x", true},
                                           DriveCase{"LowerLetter", "c:\\x", true},
                                           DriveCase{"LastLetter", "z:\\x", true},
                                           DriveCase{"LetterInsideText", "run xC:\\y", true},
                                           DriveCase{"NothingBefore", ":\\x", false},
                                           DriveCase{"AtStartDespiteLaterDrive", ":\\C:\\x", false},
                                           DriveCase{"Digit", "1:\\x", false},
                                           DriveCase{"FirstOccurrenceOnly", "1:\\x C:\\y", false},
                                           DriveCase{"JustBeforeA", "@:\\x", false},
                                           DriveCase{"JustAfterZ", "[:\\x", false},
                                           DriveCase{"AccentedLetter", "\xE9:\\x", false},
                                           DriveCase{"ForwardSlash", "C:/x", false},
                                           DriveCase{"NoBackslash", "C:", false}, DriveCase{"Empty", "", false}),
                         [](const auto& info) { return std::string(info.param.label); });

struct ModeCase {
  const char* label;
  RootKey root;
  std::string key;
  bool shared_dll;  // else a help key
};

class KeyModeTable : public WalkerTest, public ::testing::WithParamInterface<ModeCase> {};

// The mode comes from the key path alone, whatever the root and the case.
TEST_P(KeyModeTable, FixedKeysTakeTheirValuesInTheirMode) {
  const ModeCase& c = GetParam();
  if (c.shared_dll) {
    registry.SetDword(c.root, c.key, "C:\\Windows\\System32\\x.dll", 3);
  } else {
    registry.SetString(c.root, c.key, "x.hlp", "C:\\Windows\\Help");
  }
  Walk(c.root);
  ASSERT_EQ(spy.calls.size(), 1u);
  const ClassifierCall expected =
      c.shared_dll ? ClassifierCall{"C:\\Windows\\System32\\x.dll", c.root, c.key, "C:\\Windows\\System32\\x.dll",
                                    SharedDllPath, "00000003"}
                   : ClassifierCall{"C:\\Windows\\Help", c.root, c.key, "x.hlp", HelpFilePath, "x.hlp"};
  EXPECT_EQ(spy.calls[0], expected);
}

INSTANTIATE_TEST_SUITE_P(
    Walker, KeyModeTable,
    ::testing::Values(
        ModeCase{"SharedDllsHklm", HKLM, "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", true},
        ModeCase{"SharedDllsHkcu", RootKey::CurrentUser, "\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
                 true},
        ModeCase{"SharedDllsHkcrLowerCase", RootKey::ClassesRoot,
                 "\\software\\microsoft\\windows\\currentversion\\shareddlls", true},
        ModeCase{"HelpHku", RootKey::Users, "\\SOFTWARE\\Microsoft\\Windows\\Help", false},
        ModeCase{"HtmlHelpHkcc", RootKey::CurrentConfig, "\\Software\\Microsoft\\Windows\\HTML Help", false},
        ModeCase{"HtmlHelpHklmMixedCase", HKLM, "\\SoftWare\\MICROSOFT\\windows\\html help", false}),
    [](const auto& info) { return std::string(info.param.label); });

// Only the whole path selects a mode: below, beside or under another parent
// the values are judged one by one.
TEST_F(WalkerTest, PathsThatOnlyResembleTheFixedKeysAreJudgedPerValue) {
  const std::vector<std::string> keys = {
      "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs\\Sub",
      "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLsX",
      "\\S-1-5-18\\Software\\Microsoft\\Windows\\Help",
      "\\SOFTWARE\\Microsoft\\Windows\\HTMLHelp",
  };
  for (const std::string& key : keys) registry.SetString(HKLM, key, "C:\\" + key.substr(1, 4), "data");
  Walk();
  ASSERT_EQ(spy.calls.size(), keys.size());
  for (const ClassifierCall& call : spy.calls) {
    EXPECT_EQ(call.value_kind, NamePathString) << call;
    EXPECT_EQ(call.companion_text, "data");
  }
}

// In the help keys the data is the folder: a value without a drive is passed
// over, and the value's type is never asked for a kind.
TEST_F(WalkerTest, HelpKeyValueWithoutDriveIsPassedOver) {
  const std::string help = "\\SOFTWARE\\Microsoft\\Windows\\Help";
  registry.SetString(HKLM, help, "a.hlp", "Help");
  registry.SetString(HKLM, help, "C:\\b.hlp", "relative");
  registry.SetExpandString(HKLM, help, "c.hlp", "C:\\%x%");
  Walk();
  ASSERT_EQ(spy.calls.size(), 1u);
  EXPECT_EQ(spy.calls[0], (ClassifierCall{"C:\\%x%", HKLM, help, "c.hlp", HelpFilePath, "c.hlp"}));
}

// The design's areas are 4096 bytes; this walker keeps whole texts instead,
// so nothing is cut and nothing is lost.
TEST_F(WalkerTest, LongKeyPathAndLongExpansionAreHandedOverWhole) {
  std::string deep;
  for (char c = 'a'; c < 'a' + 17; ++c) deep += "\\" + std::string(250, c);
  ASSERT_GT(deep.size(), 4095u);
  const std::string long_path = "C:\\" + std::string(5000, 'x');
  program.environment.Set("LONG", long_path);
  registry.SetString(HKLM, deep, "v", "C:\\deep");
  registry.SetExpandString(HKLM, deep, "w", "%LONG%\\end");
  StartTrace();
  Walk();
  ASSERT_EQ(spy.calls.size(), 2u);
  EXPECT_EQ(spy.calls[0].key_path, deep);
  EXPECT_EQ(spy.calls[1].path_text, long_path + "\\end");
  EXPECT_TRUE(Traced(AsciiUpperCase(deep)));
}

}  // namespace
}  // namespace quorvane::testing

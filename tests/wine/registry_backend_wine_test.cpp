// The registry port on Wine's real registry, in a key of the test's own,
// and the in-memory registry against it wherever the two should agree.
#include "platform/win32/windows_api.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <source_location>
#include <string>
#include <vector>

#include "platform/exceptions.h"
#include "platform/fake/fake_registry.h"
#include "platform/text.h"
#include "platform/win32/registry_backend.h"
#include "tests/wine/support/scratch.h"

namespace quorvane::wine_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAreArray;
using Where = std::source_location;

std::string Dword(uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

// The names as the wide calls list them, by index: the registry's own order,
// found without the ANSI calls the backend uses.
std::vector<std::string> ListedSubkeys(HKEY key) {
  std::vector<std::string> names;
  wchar_t name[512];
  for (DWORD i = 0;; ++i) {
    DWORD length = 512;
    if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.push_back(ToAnsi(std::wstring(name, length)));
  }
  return names;
}

std::vector<std::string> ListedValues(HKEY key) {
  std::vector<std::string> names;
  std::wstring name(32768, L'\0');
  for (DWORD i = 0;; ++i) {
    DWORD length = static_cast<DWORD>(name.size());
    if (RegEnumValueW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.push_back(ToAnsi(name.substr(0, length)));
  }
  return names;
}

class RegistryBackend : public ::testing::Test {
 protected:
  // The path of a key below the scratch key, as the program writes it.
  std::string PathOf(const std::string& sub = "") const {
    return "\\" + scratch.Relative() + (sub.empty() ? "" : "\\" + sub);
  }

  // Creates the key in the registry and in the fake alike, one level at a
  // time (Wine's ANSI calls take no path longer than MAX_PATH).
  HKEY Create(const std::string& sub, Where where) {
    HKEY key = scratch.Handle();
    for (size_t start = 0; start <= sub.size() && key;) {
      const size_t cut = std::min(sub.find('\\', start), sub.size());
      HKEY below = nullptr;
      const LSTATUS status = RegCreateKeyExA(key, sub.substr(start, cut - start).c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &below, nullptr);
      EXPECT_EQ(status, ERROR_SUCCESS) << "creating " << sub << " (line " << where.line() << ")";
      if (key != scratch.Handle()) RegCloseKey(key);
      key = below;
      start = cut + 1;
    }
    fake.CreateKey(RootKey::CurrentUser, PathOf(sub));
    return key;
  }
  void MakeKey(const std::string& sub, Where where = Where::current()) {
    if (HKEY key = Create(sub, where)) RegCloseKey(key);
  }

  // Stores the exact bytes as a value of the given type, in both.
  void Put(const std::string& sub, const std::string& name, DWORD type, const std::string& bytes,
           Where where = Where::current()) {
    const HKEY key = Create(sub, where);
    ASSERT_TRUE(key) << "line " << where.line();
    const LSTATUS status = RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                          static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
    ASSERT_EQ(status, ERROR_SUCCESS) << "setting " << name << " (line " << where.line() << ")";
    fake.SetValue(RootKey::CurrentUser, PathOf(sub), name, type, bytes);
  }

  // Opens through the backend; a failure is reported at the caller's line.
  std::unique_ptr<RegistryKey> Open(const std::string& sub, Where where = Where::current()) {
    OpenFailure failure = OpenFailure::None;
    auto key = registry.OpenKey(RootKey::CurrentUser, PathOf(sub), failure);
    if (!key) ADD_FAILURE_AT(where.file_name(), where.line()) << "cannot open " << PathOf(sub);
    return key;
  }
  std::unique_ptr<RegistryKey> OpenFake(const std::string& sub) {
    return fake.OpenKey(RootKey::CurrentUser, PathOf(sub));
  }

  HKEY RawOpen(const std::string& sub) {
    HKEY key = nullptr;
    RegOpenKeyExA(scratch.Handle(), sub.c_str(), 0, KEY_READ, &key);
    return key;
  }

  ScratchKey scratch;
  win32::Win32Registry registry;
  fake::FakeRegistry fake;
};

// ---------------------------------------------------------------- opening

struct OpenCase {
  const char* label;
  std::string path;  // below HKEY_CURRENT_USER; "<scratch>" stands for the scratch key
  bool opens;
  OpenFailure failure;
};

TEST_F(RegistryBackend, OpensExistingKeysByEveryPathFormAndTellsWhyOthersFail) {
  MakeKey("Present");
  Put("Present", "v", REG_SZ, std::string("x\0", 2));
  const std::string base = scratch.Relative();
  const OpenCase cases[] = {
      {"LeadingBackslash", "\\" + base + "\\Present", true, OpenFailure::None},
      {"NoLeadingBackslash", base + "\\Present", true, OpenFailure::None},
      {"OtherLetterCase", "\\" + AnsiUpperCase(base) + "\\present", true, OpenFailure::None},
      {"MissingKey", "\\" + base + "\\Absent", false, OpenFailure::NotFound},
      {"MissingKeyAboveIt", "\\" + base + "\\Absent\\Below", false, OpenFailure::NotFound},
  };
  for (const OpenCase& c : cases) {
    SCOPED_TRACE(c.label);
    OpenFailure failure = OpenFailure::Other;
    auto key = registry.OpenKey(RootKey::CurrentUser, c.path, failure);
    EXPECT_EQ(key != nullptr, c.opens);
    EXPECT_EQ(failure, c.failure);
    if (key) {
      EXPECT_THAT(key->ValueNames(), ElementsAre("v"));
    }

    OpenFailure fake_failure = OpenFailure::Other;
    auto fake_key = fake.OpenKey(RootKey::CurrentUser, c.path, fake_failure);
    EXPECT_EQ(fake_key != nullptr, c.opens) << "fake";
    EXPECT_EQ(fake_failure, c.failure) << "fake";
  }
}

TEST_F(RegistryBackend, OnlyOneLeadingBackslashIsTakenFromTheRoot) {
  MakeKey("Present");
  EXPECT_EQ(registry.OpenKey(RootKey::CurrentUser, "\\\\" + scratch.Relative() + "\\Present"), nullptr);
  EXPECT_EQ(fake.OpenKey(RootKey::CurrentUser, "\\\\" + scratch.Relative() + "\\Present"), nullptr);
}

TEST_F(RegistryBackend, TheKeyOpensWithFullAccess) {
  Put("K", "gone", REG_SZ, std::string("x\0", 2));
  auto key = Open("K");
  ASSERT_TRUE(key);
  EXPECT_EQ(key->DeleteValue("gone"), DeleteOutcome::Deleted);
}

// Every root opens with the empty path as the root itself: its listing is
// the root's own. This also checks each root's handle, which 64-bit Windows
// sign-extends.
TEST_F(RegistryBackend, TheEmptyPathOpensEachRootItself) {
  const std::pair<RootKey, HKEY> roots[] = {
      {RootKey::ClassesRoot, HKEY_CLASSES_ROOT}, {RootKey::CurrentUser, HKEY_CURRENT_USER},
      {RootKey::LocalMachine, HKEY_LOCAL_MACHINE}, {RootKey::Users, HKEY_USERS},
      {RootKey::CurrentConfig, HKEY_CURRENT_CONFIG},
  };
  for (const auto& [root, handle] : roots) {
    SCOPED_TRACE(IntToHex(static_cast<uint32_t>(root), 8));
    for (const char* path : {"", "\\"}) {
      OpenFailure failure = OpenFailure::Other;
      auto key = registry.OpenKey(root, path, failure);
      ASSERT_TRUE(key) << "path \"" << path << "\"";
      EXPECT_EQ(failure, OpenFailure::None);
      EXPECT_EQ(key->SubkeyNames(), ListedSubkeys(handle)) << "path \"" << path << "\"";
    }
  }
  auto user = registry.OpenKey(RootKey::CurrentUser, "");
  ASSERT_TRUE(user);
  const std::vector<std::string> names = user->SubkeyNames();
  EXPECT_TRUE(std::any_of(names.begin(), names.end(), [](const std::string& n) { return AnsiSameText(n, "Software"); }));
}

// Releasing the key of a root must not close the root's predefined handle,
// which the whole process shares.
TEST_F(RegistryBackend, ReleasingARootKeyLeavesTheRootUsable) {
  MakeKey("Still");
  registry.OpenKey(RootKey::CurrentUser, "").reset();
  registry.OpenKey(RootKey::CurrentUser, "\\").reset();
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (scratch.Relative() + "\\Still").c_str(), 0, KEY_READ, &key),
            ERROR_SUCCESS);
  if (key) RegCloseKey(key);
  EXPECT_TRUE(Open("Still"));
}

// A walk opens a key per subkey: each must be closed when released. The
// system hands a freed handle out again, so a raw key opened right after a
// released one gets the same few handles over and over, unless the
// released ones were kept.
TEST_F(RegistryBackend, ReleasedKeysGiveTheirHandlesBack) {
  MakeKey("Many");
  std::set<HKEY> handles_after_release;
  for (int i = 0; i < 100; ++i) {
    {
      auto key = Open("Many");
      ASSERT_TRUE(key);
      key->SubkeyNames();
    }
    const HKEY raw = RawOpen("Many");
    ASSERT_TRUE(raw);
    handles_after_release.insert(raw);
    RegCloseKey(raw);
  }
  EXPECT_LT(handles_after_release.size(), 10u);
}

TEST_F(RegistryBackend, OpensAKeyFarBelowItsRootByALongPath) {
  std::string sub;
  for (int level = 0; level < 12; ++level) {
    if (!sub.empty()) sub += "\\";
    sub += "Level" + std::to_string(level) + std::string(190, 'k');
  }
  ASSERT_GT(PathOf(sub).size(), 2000u);
  Put(sub, "deep", REG_SZ, std::string("C:\\deep\0", 8));
  auto key = Open(sub);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->ReadString("deep"), "C:\\deep");
  EXPECT_THAT(key->ValueNames(), ElementsAre("deep"));
  auto fake_key = OpenFake(sub);
  ASSERT_TRUE(fake_key);
  EXPECT_EQ(fake_key->ReadString("deep"), "C:\\deep");
  // Its parent lists it.
  auto parent = Open(sub.substr(0, sub.find_last_of('\\')));
  ASSERT_TRUE(parent);
  EXPECT_THAT(parent->SubkeyNames(), ElementsAre(sub.substr(sub.find_last_of('\\') + 1)));
}

// Values named by long paths, as under SharedDLLs.
TEST_F(RegistryBackend, AValueWithALongNameIsReadAndDeleted) {
  const std::string name = "C:\\Arquivos de programas\\" + std::string(400, 'n') + "\\x.dll";
  Put("LongNames", name, REG_DWORD, Dword(3));
  Put("LongNames", "short", REG_SZ, std::string(600, 's') + '\0');
  auto key = Open("LongNames");
  ASSERT_TRUE(key);
  EXPECT_THAT(key->ValueNames(), UnorderedElementsAreArray({name, std::string("short")}));
  EXPECT_EQ(key->GetDataType(name), DataType::Integer);
  EXPECT_EQ(key->ReadInteger(name), 3);
  EXPECT_EQ(key->ReadString("short"), std::string(600, 's'));
  EXPECT_EQ(key->DeleteValue(name), DeleteOutcome::Deleted);
  EXPECT_THAT(key->ValueNames(), ElementsAre("short"));
}

// ---------------------------------------------------------------- listings

TEST_F(RegistryBackend, ListsSubkeysInTheRegistrysOrder) {
  const std::vector<std::string> created = {"zeta", "Alpha", "beta", "Gamma", "\xC9mile", "\xE7" "a",
                                            "delta 2", "delta10", "Delta1", "0num", "9num", "Z"};
  for (const std::string& name : created) MakeKey("List\\" + name);
  MakeKey("List\\beta\\below");  // a grandchild is no subkey of List
  auto key = Open("List");
  ASSERT_TRUE(key);
  const HKEY raw = RawOpen("List");
  const std::vector<std::string> listed = ListedSubkeys(raw);
  RegCloseKey(raw);
  EXPECT_EQ(key->SubkeyNames(), listed);
  EXPECT_THAT(listed, UnorderedElementsAreArray(created));
  // The fake sorts as the registry does for such names.
  EXPECT_EQ(OpenFake("List")->SubkeyNames(), listed);
}

// Names where Wine's order is its own (it compares lower-cased names, so
// "_" comes before the letters) or where code page 1252 and Unicode order
// differ ("Š" is 0x8A but U+0160): the backend still lists what the registry
// lists, in its order.
TEST_F(RegistryBackend, ListsUnusualSubkeyNamesAsTheRegistryDoes) {
  const std::vector<std::string> created = {"_under", "[bracket", "apple", "\x8Akoda", "\xFFy", "`tick",
                                            std::string(255, 'L'), "a b"};
  for (const std::string& name : created) MakeKey("Odd\\" + name);
  auto key = Open("Odd");
  ASSERT_TRUE(key);
  const HKEY raw = RawOpen("Odd");
  EXPECT_EQ(key->SubkeyNames(), ListedSubkeys(raw));
  RegCloseKey(raw);
  EXPECT_THAT(key->SubkeyNames(), UnorderedElementsAreArray(created));
}

TEST_F(RegistryBackend, ListsValuesInTheRegistrysOrderWithTheDefaultValueUnnamed) {
  const std::string long_name = "C:\\" + std::string(1500, 'n') + ".dll";
  const std::vector<std::string> created = {"zeta", "", "Alpha", "mid", "\xCDtem", long_name};
  for (const std::string& name : created) Put("Values", name, REG_SZ, std::string("x\0", 2));
  auto key = Open("Values");
  ASSERT_TRUE(key);
  const HKEY raw = RawOpen("Values");
  EXPECT_EQ(key->ValueNames(), ListedValues(raw));
  RegCloseKey(raw);
  EXPECT_THAT(key->ValueNames(), UnorderedElementsAreArray(created));
  // Wine lists values by name, Windows (and the fake) in the order they were
  // set: the same names either way.
  EXPECT_THAT(OpenFake("Values")->ValueNames(), UnorderedElementsAreArray(key->ValueNames()));
}

TEST_F(RegistryBackend, AKeyWithoutValuesOrSubkeysListsNothing) {
  MakeKey("Empty");
  auto key = Open("Empty");
  ASSERT_TRUE(key);
  EXPECT_THAT(key->SubkeyNames(), IsEmpty());
  EXPECT_THAT(key->ValueNames(), IsEmpty());  // no default value unless one is set
  EXPECT_THAT(OpenFake("Empty")->ValueNames(), IsEmpty());
}

// ------------------------------------------------------------- value reads

struct ValueCase {
  const char* label;
  std::string name;
  std::optional<DWORD> type;  // nullopt: no such value
  std::string bytes;
  DataType data_type;
  std::optional<std::string> text;  // nullopt: ReadString throws
  std::optional<int32_t> integer;   // nullopt: ReadInteger throws
};

const std::vector<ValueCase>& ValueCases() {
  static const std::vector<ValueCase> cases = {
      {"Text", "t", REG_SZ, std::string("C:\\x.exe\0", 9), DataType::String, "C:\\x.exe", std::nullopt},
      {"TextCutAtItsFirstNul", "nul", REG_SZ, std::string("C:\\a\0junk\0", 10), DataType::String, "C:\\a",
       std::nullopt},
      {"TextStoredWithoutNul", "bare", REG_SZ, "abc", DataType::String, "abc", std::nullopt},
      {"TextWithoutData", "nodata", REG_SZ, "", DataType::String, "", std::nullopt},
      {"AccentedText", "\xCDtem", REG_SZ, std::string("C:\\Arquivos\\\xCDtens \xE7\xE3o\0", 22), DataType::String,
       "C:\\Arquivos\\\xCDtens \xE7\xE3o", std::nullopt},
      {"LongText", "long", REG_SZ, std::string(10000, 'x') + '\0', DataType::String, std::string(10000, 'x'),
       std::nullopt},
      {"ExpandableTextStaysUnexpanded", "exp", REG_EXPAND_SZ, std::string("%SystemRoot%\\x.dll\0", 19),
       DataType::ExpandString, "%SystemRoot%\\x.dll", std::nullopt},
      {"DefaultValue", "", REG_SZ, std::string("C:\\def\0", 7), DataType::String, "C:\\def", std::nullopt},
      {"Integer", "i", REG_DWORD, Dword(0x1F), DataType::Integer, std::nullopt, 31},
      {"NegativeInteger", "neg", REG_DWORD, Dword(0xFFFFFFFEu), DataType::Integer, std::nullopt, -2},
      {"ShortInteger", "short", REG_DWORD, std::string("\1\0\0", 3), DataType::Other, std::nullopt, std::nullopt},
      {"Bytes", "bin", REG_BINARY, "C:\\x", DataType::Binary, std::nullopt, std::nullopt},
      {"BigEndianInteger", "be", REG_DWORD_BIG_ENDIAN, Dword(5), DataType::Other, std::nullopt, std::nullopt},
      {"LongInteger", "q", REG_QWORD, Dword(5) + Dword(0), DataType::Other, std::nullopt, std::nullopt},
      {"TextList", "multi", REG_MULTI_SZ, std::string("C:\\a\0C:\\b\0\0", 11), DataType::Other, std::nullopt,
       std::nullopt},
      {"NoType", "none", REG_NONE, "", DataType::Other, std::nullopt, std::nullopt},
      {"Absent", "absent", std::nullopt, "", DataType::Other, "", std::nullopt},
  };
  return cases;
}

// What a read gave: the text or integer, or that it threw.
template <typename Read>
auto Outcome(Read read) -> std::optional<decltype(read())> {
  try {
    return read();
  } catch (const ERegistryException&) {
    return std::nullopt;
  }
}

TEST_F(RegistryBackend, ReadsEachValueByItsTypeAsTheFakeDoes) {
  MakeKey("Typed");
  for (const ValueCase& c : ValueCases())
    if (c.type) Put("Typed", c.name, *c.type, c.bytes);
  auto key = Open("Typed");
  auto fake_key = OpenFake("Typed");
  ASSERT_TRUE(key && fake_key);
  for (const ValueCase& c : ValueCases()) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(key->GetDataType(c.name), c.data_type);
    EXPECT_EQ(Outcome([&] { return key->ReadString(c.name); }), c.text);
    EXPECT_EQ(Outcome([&] { return key->ReadInteger(c.name); }), c.integer);

    EXPECT_EQ(fake_key->GetDataType(c.name), c.data_type) << "fake";
    EXPECT_EQ(Outcome([&] { return fake_key->ReadString(c.name); }), c.text) << "fake";
    EXPECT_EQ(Outcome([&] { return fake_key->ReadInteger(c.name); }), c.integer) << "fake";
  }
}

TEST_F(RegistryBackend, AValueNameMatchesWithoutRegardToCase) {
  Put("Case", "MixedCase", REG_SZ, std::string("C:\\m\0", 5));
  auto key = Open("Case");
  ASSERT_TRUE(key);
  EXPECT_EQ(key->GetDataType("mixedCASE"), DataType::String);
  EXPECT_EQ(key->ReadString("MIXEDCASE"), "C:\\m");
  EXPECT_EQ(OpenFake("Case")->ReadString("MIXEDCASE"), "C:\\m");
}

// Text stored in the registry's wide form that code page 1252 holds only
// by a guess ("?" or a look-alike letter) reads as the empty text, so the
// scan never judges, deletes and restores a value as other text.
TEST_F(RegistryBackend, TextTheCodePageCannotHoldExactlyReadsAsEmpty) {
  const HKEY key_handle = Create("Wide", Where::current());
  ASSERT_TRUE(key_handle);
  const struct {
    const wchar_t* name;
    const wchar_t* data;
    std::string expected;
  } cases[] = {
      {L"Latin1", L"C:\\Caf\x00e9\\a.exe", "C:\\Caf\xE9\\a.exe"},
      {L"Euro", L"C:\\\x20ac\\a.exe", "C:\\\x80\\a.exe"},
      {L"BestFit", L"C:\\Progr\x0101m\\gone.exe", ""},  // a-macron would become a plain "a"
      {L"NoFit", L"C:\\\x8def\x5f84\\gone.exe", ""},    // would become "?"
  };
  for (const auto& c : cases) {
    const DWORD bytes = static_cast<DWORD>((wcslen(c.data) + 1) * sizeof(wchar_t));
    ASSERT_EQ(RegSetValueExW(key_handle, c.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(c.data), bytes),
              ERROR_SUCCESS);
  }
  RegCloseKey(key_handle);
  auto key = Open("Wide");
  ASSERT_TRUE(key);
  for (const auto& c : cases) {
    const std::string name = ToAnsi(c.name);
    SCOPED_TRACE(name);
    EXPECT_EQ(key->GetDataType(name), DataType::String);
    EXPECT_EQ(key->ReadString(name), c.expected);
  }
}

// A value listed, then deleted by someone else before it is read.
TEST_F(RegistryBackend, AValueThatVanishedAfterTheListingReadsAsMissing) {
  Put("Vanish", "text", REG_SZ, std::string("C:\\x\0", 5));
  Put("Vanish", "number", REG_DWORD, Dword(7));
  auto key = Open("Vanish");
  ASSERT_TRUE(key);
  ASSERT_THAT(key->ValueNames(), UnorderedElementsAreArray({"text", "number"}));
  HKEY writable = nullptr;
  ASSERT_EQ(RegOpenKeyExA(scratch.Handle(), "Vanish", 0, KEY_SET_VALUE, &writable), ERROR_SUCCESS);
  RegDeleteValueA(writable, "text");
  RegDeleteValueA(writable, "number");
  RegCloseKey(writable);

  EXPECT_EQ(key->GetDataType("text"), DataType::Other);
  EXPECT_EQ(key->ReadString("text"), "");
  EXPECT_THROW(key->ReadInteger("number"), ERegistryException);
  EXPECT_EQ(key->DeleteValue("text"), DeleteOutcome::NotFound);
}

// The key itself deleted while it is open: nothing more to list or read.
TEST_F(RegistryBackend, AKeyThatVanishedWhileOpenListsAndReadsNothing) {
  Put("Gone", "text", REG_SZ, std::string("C:\\x\0", 5));
  Put("Gone", "number", REG_DWORD, Dword(7));
  MakeKey("Gone\\Child");
  auto key = Open("Gone");
  ASSERT_TRUE(key);
  ASSERT_EQ(RegDeleteTreeA(scratch.Handle(), "Gone"), ERROR_SUCCESS);

  EXPECT_THAT(key->SubkeyNames(), IsEmpty());
  EXPECT_THAT(key->ValueNames(), IsEmpty());
  EXPECT_EQ(key->GetDataType("text"), DataType::Other);
  EXPECT_EQ(key->ReadString("text"), "");
  EXPECT_THROW(key->ReadInteger("number"), ERegistryException);
  EXPECT_EQ(key->DeleteValue("text"), DeleteOutcome::NotFound);
  EXPECT_EQ(registry.OpenKey(RootKey::CurrentUser, PathOf("Gone")), nullptr);

  auto fake_key = OpenFake("Gone");
  ASSERT_TRUE(fake_key);
  fake.DeleteKey(RootKey::CurrentUser, PathOf("Gone"));
  EXPECT_THAT(fake_key->SubkeyNames(), IsEmpty());
  EXPECT_THAT(fake_key->ValueNames(), IsEmpty());
  EXPECT_EQ(fake_key->ReadString("text"), "");
  EXPECT_EQ(fake_key->DeleteValue("text"), DeleteOutcome::NotFound);
}

// ---------------------------------------------------------------- deletion

TEST_F(RegistryBackend, DeletesOneValueAndTellsWhenThereWasNone) {
  Put("Del", "", REG_SZ, std::string("C:\\def\0", 7));
  Put("Del", "named", REG_SZ, std::string("C:\\n\0", 5));
  Put("Del", "kept", REG_DWORD, Dword(1));
  auto key = Open("Del");
  auto fake_key = OpenFake("Del");
  ASSERT_TRUE(key && fake_key);
  const struct {
    const char* name;
    DeleteOutcome outcome;
  } steps[] = {
      {"NAMED", DeleteOutcome::Deleted},  // names match without regard to case
      {"named", DeleteOutcome::NotFound},
      {"", DeleteOutcome::Deleted},  // the unnamed value
      {"", DeleteOutcome::NotFound},
      {"never", DeleteOutcome::NotFound},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(std::string("deleting \"") + step.name + "\"");
    EXPECT_EQ(key->DeleteValue(step.name), step.outcome);
    EXPECT_EQ(fake_key->DeleteValue(step.name), step.outcome) << "fake";
  }
  const HKEY raw = RawOpen("Del");
  EXPECT_THAT(ListedValues(raw), ElementsAre("kept"));
  RegCloseKey(raw);
  EXPECT_THAT(key->ValueNames(), ElementsAre("kept"));
  // The key itself stays.
  EXPECT_TRUE(Open("Del"));
}

}  // namespace
}  // namespace quorvane::wine_test

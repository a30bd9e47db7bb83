// The in-memory registry behaves as the walker and the removal rely on.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include "platform/exceptions.h"
#include "platform/fake/fake_registry.h"

namespace quorvane::fake {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr RootKey HKLM = RootKey::LocalMachine;

TEST(FakeRegistry, ListsSubkeysByUpperCasedNameAndValuesInSettingOrder) {
  FakeRegistry registry;
  for (const char* name : {"beta", "_u", "Alpha", "gamma", "\xE9t\xE9"})
    registry.CreateKey(HKLM, std::string("\\") + name);
  registry.SetString(HKLM, "\\Alpha", "z", "1");
  registry.SetString(HKLM, "\\Alpha", "", "default");
  registry.SetString(HKLM, "\\Alpha", "a", "2");
  registry.SetDword(HKLM, "\\Alpha", "Z", 5);  // same name, other case: replaced in place
  auto root = registry.OpenKey(HKLM, "");
  ASSERT_NE(root, nullptr);
  EXPECT_THAT(root->SubkeyNames(), ElementsAre("Alpha", "beta", "gamma", "_u", "\xE9t\xE9"));
  auto alpha = registry.OpenKey(HKLM, "\\ALPHA");
  ASSERT_NE(alpha, nullptr);
  EXPECT_THAT(alpha->ValueNames(), ElementsAre("z", "", "a"));
  EXPECT_EQ(alpha->GetDataType("z"), DataType::Integer);
  EXPECT_EQ(registry.subkey_listings, 1);
  EXPECT_EQ(registry.value_listings, 1);
  EXPECT_EQ(registry.open_count, 2);
}

TEST(FakeRegistry, OpensExistingKeysOnlyAndTellsWhy) {
  FakeRegistry registry;
  registry.CreateKey(HKLM, "\\A\\B");
  registry.DenyFullAccess(HKLM, "\\A\\Locked");
  OpenFailure failure = OpenFailure::Other;
  EXPECT_NE(registry.OpenKey(HKLM, "\\a\\b", failure), nullptr);
  EXPECT_EQ(failure, OpenFailure::None);
  EXPECT_NE(registry.OpenKey(HKLM, "A\\B", failure), nullptr);  // the leading "\" is optional
  EXPECT_EQ(registry.OpenKey(HKLM, "\\A\\C", failure), nullptr);
  EXPECT_EQ(failure, OpenFailure::NotFound);
  EXPECT_FALSE(registry.KeyExists(HKLM, "\\A\\C"));  // opening never creates
  EXPECT_EQ(registry.OpenKey(HKLM, "\\A\\\\B", failure), nullptr);
  EXPECT_EQ(registry.OpenKey(HKLM, "\\A\\Locked", failure), nullptr);
  EXPECT_EQ(failure, OpenFailure::AccessDenied);
  EXPECT_EQ(registry.OpenKey(RootKey::CurrentUser, "\\A\\B", failure), nullptr);  // roots are separate
}

TEST(FakeRegistry, ReadsAsTRegistryDoes) {
  FakeRegistry registry;
  registry.SetString(HKLM, "\\K", "text", std::string("C:\\a\0rest", 9));
  registry.SetExpandString(HKLM, "\\K", "expand", "%X%\\y");
  registry.SetDword(HKLM, "\\K", "dword", 0xFFFFFFFEu);
  registry.SetValue(HKLM, "\\K", "bin", kRegBinary, "ab");
  registry.SetValue(HKLM, "\\K", "multi", kRegMultiSz, std::string("a\0\0", 3));
  registry.SetValue(HKLM, "\\K", "short", kRegDword, "ab");
  auto key = registry.OpenKey(HKLM, "\\K");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->GetDataType("TEXT"), DataType::String);
  EXPECT_EQ(key->GetDataType("expand"), DataType::ExpandString);
  EXPECT_EQ(key->GetDataType("dword"), DataType::Integer);
  EXPECT_EQ(key->GetDataType("bin"), DataType::Binary);
  EXPECT_EQ(key->GetDataType("multi"), DataType::Other);
  EXPECT_EQ(key->GetDataType("short"), DataType::Other);
  EXPECT_EQ(key->GetDataType("missing"), DataType::Other);
  EXPECT_EQ(key->ReadString("text"), "C:\\a");
  EXPECT_EQ(key->ReadString("expand"), "%X%\\y");  // never expanded
  EXPECT_EQ(key->ReadString("missing"), "");
  EXPECT_THROW(key->ReadString("dword"), ERegistryException);
  EXPECT_THROW(key->ReadString("bin"), ERegistryException);
  EXPECT_EQ(key->ReadInteger("dword"), -2);
  EXPECT_THROW(key->ReadInteger("text"), ERegistryException);
  EXPECT_THROW(key->ReadInteger("short"), ERegistryException);
  EXPECT_THROW(key->ReadInteger("missing"), ERegistryException);
}

// The hook sees every type or data read, with the key's own path, and can
// make the value vanish before it is read.
TEST(FakeRegistry, BeforeValueReadCanRemoveTheValue) {
  FakeRegistry registry;
  registry.SetDword(HKLM, "\\Sub\\Key", "v", 1);
  std::vector<std::string> reads;
  registry.before_value_read = [&](RootKey root, const std::string& path, const std::string& name) {
    reads.push_back(path + "|" + name);
    if (reads.size() == 2) registry.RemoveValue(root, path, name);
  };
  auto key = registry.OpenKey(HKLM, "\\sub\\key");
  ASSERT_NE(key, nullptr);
  EXPECT_THAT(key->ValueNames(), ElementsAre("v"));
  EXPECT_EQ(key->GetDataType("v"), DataType::Integer);
  EXPECT_THROW(key->ReadInteger("v"), ERegistryException);
  EXPECT_THAT(reads, ElementsAre("\\Sub\\Key|v", "\\Sub\\Key|v"));
}

TEST(FakeRegistry, KeyDeletedWhileOpenListsNothing) {
  FakeRegistry registry;
  registry.SetString(HKLM, "\\K\\Sub", "v", "x");
  auto key = registry.OpenKey(HKLM, "\\K\\Sub");
  ASSERT_NE(key, nullptr);
  registry.DeleteKey(HKLM, "\\K\\Sub");
  EXPECT_THAT(key->ValueNames(), IsEmpty());
  EXPECT_EQ(key->GetDataType("v"), DataType::Other);
  EXPECT_EQ(key->DeleteValue("v"), DeleteOutcome::NotFound);
  EXPECT_FALSE(registry.KeyExists(HKLM, "\\K\\Sub"));
  EXPECT_TRUE(registry.KeyExists(HKLM, "\\K"));
}

}  // namespace
}  // namespace quorvane::fake

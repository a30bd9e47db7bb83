// The shape of a walk: depth first, a key's values before its subkeys, one
// listing per key, the count, and the trace of the key paths.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <climits>

#include "platform/text.h"
#include "tests/scan/walker_fixture.h"

namespace quorvane::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(WalkerTest, DepthFirstWithEachKeysValuesBeforeItsSubkeys) {
  AddPathValue(HKLM, "", "root");  // the values of a root are never read
  AddPathValue(HKLM, "\\b", "b1");
  AddPathValue(HKLM, "\\A", "a1");
  AddPathValue(HKLM, "\\A", "a2");
  AddPathValue(HKLM, "\\A\\Y", "y1");
  AddPathValue(HKLM, "\\A\\X\\Deep", "d1");
  AddPathValue(HKLM, "\\A\\X", "x1");
  Walk();
  EXPECT_THAT(spy.Values(), ElementsAre("\\A\\a1", "\\A\\a2", "\\A\\X\\x1", "\\A\\X\\Deep\\d1", "\\A\\Y\\y1",
                                        "\\b\\b1"));
  for (const ClassifierCall& call : spy.calls) EXPECT_EQ(call.root, HKLM);
}

// Each key's subkeys are listed once and each opened subkey's values once,
// however many values it has: nothing is listed again per value.
TEST_F(WalkerTest, ListsEachKeyOnceAndCountsEverySubkeyAndValue) {
  const std::vector<std::string> keys = {"\\P", "\\P\\Q", "\\P\\Q\\R", "\\P\\S", "\\T", "\\T\\U"};
  for (const std::string& key : keys)
    for (const char* name : {"v1", "v2", "v3"}) AddPathValue(HKLM, key, name);
  Walk();
  EXPECT_EQ(spy.calls.size(), 18u);
  EXPECT_EQ(registry.value_listings, 6);
  EXPECT_EQ(registry.subkey_listings, 7);  // the root and each key
  EXPECT_EQ(registry.open_count, 1 + 2 * 6);
  EXPECT_EQ(State.VerifiedCount, 6 + 18);
  EXPECT_EQ(Form1->Label1.Caption(), "24");
}

TEST_F(WalkerTest, CountGoesOnFromWhereItStandsAndWrapsAt32Bits) {
  AddPathValue(HKLM, "\\K", "v");
  State.VerifiedCount = INT32_MAX;
  Walk();
  EXPECT_EQ(State.VerifiedCount, INT32_MIN + 1);
  EXPECT_EQ(Form1->Label1.Caption(), "-2147483647");
}

// After checkpoint 13 comes the key path with only a to z upper-cased:
// accented letters keep their bytes.
TEST_F(WalkerTest, TraceHoldsTheUpperCasedPathAfterCheckpoint13) {
  AddPathValue(HKLM, "\\Pasta\\A\xE7\xE3o", "v");  // "Ação"
  StartTrace();
  Walk();
  const std::vector<std::string> trace = Trace();
  ASSERT_FALSE(trace.empty());
  EXPECT_EQ(trace.front(), "EnumRegistryKeys - 1");
  std::vector<std::string> paths;
  for (size_t i = 0; i + 1 < trace.size(); ++i)
    if (trace[i] == "EnumRegistryKeys - 13") paths.push_back(trace[i + 1]);
  EXPECT_THAT(paths, ElementsAre("\\PASTA", "\\PASTA\\A\xE7\xE3O"));
  // The path keeps the registry's case when it is handed over.
  ASSERT_EQ(spy.calls.size(), 1u);
  EXPECT_EQ(spy.calls[0].key_path, "\\Pasta\\A\xE7\xE3o");
}

TEST_F(WalkerTest, PathEndingInBackslashIsNotWalked) {
  AddPathValue(HKLM, "\\A\\B", "v");
  EnumRegistryKeys(HKLM, "\\A\\");
  EXPECT_THAT(spy.calls, IsEmpty());
  EXPECT_EQ(registry.open_count, 0);
  EXPECT_EQ(program.pump.process_count, 0);
}

TEST_F(WalkerTest, EachRootIsWalkedUnderItsOwnHandle) {
  for (RootKey root : kScanRoots) AddPathValue(root, "\\K", "v");
  Walk(RootKey::Users);
  ASSERT_EQ(spy.calls.size(), 1u);
  EXPECT_EQ(spy.calls[0].root, RootKey::Users);
}

}  // namespace
}  // namespace quorvane::testing

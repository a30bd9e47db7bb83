// The first error handler (one key's values), values that vanish while the
// walker looks at them, and keys that refuse full access.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <algorithm>
#include <stdexcept>

#include "tests/scan/walker_fixture.h"

namespace quorvane::testing {
namespace {

using ::testing::ElementsAre;

const std::string kHandler1 = "Tratador de erros do EnumRegistryKeys 1";
const std::string kSharedDlls = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const std::string kHelp = "\\SOFTWARE\\Microsoft\\Windows\\Help";

int Count(const std::vector<std::string>& lines, const std::string& line) {
  return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

struct WrongTypeCase {
  const char* label;
  std::string key;
  bool text_in_place_of_integer;  // else an integer in place of text
};

class WrongTypeInFixedKey : public WalkerTest, public ::testing::WithParamInterface<WrongTypeCase> {};

// A value of the wrong type ends that key's values in handler 1; the key's
// subkeys and the keys after it are still walked.
TEST_P(WrongTypeInFixedKey, EndsTheKeysValuesButNotTheWalk) {
  const std::string& key = GetParam().key;
  auto good = [&](const std::string& name) {
    if (key == kSharedDlls)
      registry.SetDword(HKLM, key, name, 1);
    else
      registry.SetString(HKLM, key, name, "C:\\Help");
  };
  good("C:\\first");
  if (GetParam().text_in_place_of_integer)
    registry.SetString(HKLM, key, "C:\\wrong", "C:\\x");
  else
    registry.SetDword(HKLM, key, "C:\\wrong", 1);
  good("C:\\after");
  AddPathValue(HKLM, key + "\\Sub", "below");
  AddPathValue(HKLM, "\\Z", "later");
  StartTrace();
  Walk();
  EXPECT_THAT(spy.Values(), ElementsAre(key + "\\C:\\first", key + "\\Sub\\below", "\\Z\\later"));
  EXPECT_EQ(Count(Trace(), kHandler1), 1);
  // "C:\wrong" was counted before it failed; "C:\after" never was.
  const int keys = static_cast<int>(std::count(key.begin(), key.end(), '\\')) + 2;  // the path, Sub, Z
  EXPECT_EQ(State.VerifiedCount, keys + 2 + 1 + 1);
}

INSTANTIATE_TEST_SUITE_P(Walker, WrongTypeInFixedKey,
                         ::testing::Values(WrongTypeCase{"TextInSharedDlls", kSharedDlls, true},
                                           WrongTypeCase{"IntegerInHelpKey", kHelp, false}),
                         [](const auto& info) { return std::string(info.param.label); });

// A value removed between the listing and its reading: where the reading has
// to fail (an integer), handler 1 ends the key; where the registry answers
// with "other type" or empty text, the value is passed over quietly.
struct VanishCase {
  const char* label;
  std::string key;
  bool integer;      // an integer named by its path, else a text value
  int reads_before;  // reads of the value that still find it
  bool handler;
};

class VanishingValue : public WalkerTest, public ::testing::WithParamInterface<VanishCase> {};

TEST_P(VanishingValue, IsHandledAsTheRegistryAnswers) {
  const VanishCase& c = GetParam();
  // A text value gets a plain name: named by its path, it would be handed
  // over with the empty text as its companion.
  const std::string name = c.integer ? "C:\\gone" : "gone";
  if (c.integer)
    registry.SetDword(HKLM, c.key, name, 1);
  else
    registry.SetString(HKLM, c.key, name, "C:\\data");
  AddPathValue(HKLM, c.key, "next");
  int reads = 0;
  registry.before_value_read = [&](RootKey root, const std::string& key, const std::string& value) {
    if (value == name && reads++ == c.reads_before) registry.RemoveValue(root, key, value);
  };
  StartTrace();
  Walk();
  EXPECT_EQ(Count(Trace(), kHandler1), c.handler ? 1 : 0);
  if (c.handler) {
    EXPECT_TRUE(spy.calls.empty()) << spy.calls[0];
  } else {
    EXPECT_THAT(spy.Values(), ElementsAre(c.key + "\\next"));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Walker, VanishingValue,
    ::testing::Values(VanishCase{"SharedDllBeforeRead", kSharedDlls, true, 0, true},
                      VanishCase{"IntegerAfterItsTypeWasAsked", "\\Plain", true, 1, true},
                      VanishCase{"IntegerBeforeItsTypeWasAsked", "\\Plain", true, 0, false},
                      VanishCase{"TextAfterItsTypeWasAsked", "\\Plain", false, 1, false},
                      VanishCase{"HelpTextBeforeRead", kHelp, false, 0, false}),
    [](const auto& info) { return std::string(info.param.label); });

// A key that refuses full access is counted, but neither its values nor its
// subkeys are read, and nothing is traced as a failure.
TEST_F(WalkerTest, KeyRefusingFullAccessIsPassedOverSilently) {
  AddPathValue(HKLM, "\\Locked", "v");
  AddPathValue(HKLM, "\\Locked\\Child", "w");
  AddPathValue(HKLM, "\\Open", "x");
  registry.DenyFullAccess(HKLM, "\\Locked");
  StartTrace();
  Walk();
  EXPECT_THAT(spy.Values(), ElementsAre("\\Open\\x"));
  EXPECT_EQ(State.VerifiedCount, 3);     // Locked, Open, x
  EXPECT_EQ(registry.value_listings, 1);  // Open only
  EXPECT_EQ(registry.subkey_listings, 2);  // the root and Open
  // The walker still descends into Locked, whose own open then fails: the
  // root, Locked and Open each look for the skip list.
  EXPECT_EQ(Count(program.files.attribute_log, SkipFile()), 3);
  for (const std::string& line : Trace()) EXPECT_EQ(line.find("Tratador"), std::string::npos) << line;
}

// The classifier failing is a failure of the value phase as well.
TEST_F(WalkerTest, FailureInsideTheClassifierEndsOnlyThatKeysValues) {
  AddPathValue(HKLM, "\\A", "a1");
  AddPathValue(HKLM, "\\A", "a2");
  AddPathValue(HKLM, "\\A\\B", "b");
  spy.on_call = [](const ClassifierCall& call) {
    if (call.value_name == "a1") throw std::runtime_error("classifier failed");
  };
  StartTrace();
  Walk();
  EXPECT_THAT(spy.Values(), ElementsAre("\\A\\a1", "\\A\\B\\b"));
  EXPECT_TRUE(Traced(kHandler1));
}

}  // namespace
}  // namespace quorvane::testing

// The skip list "ESPECIAL.DAT": bare names and full key paths, read anew for
// every key entered, and the second error handler when it cannot be read.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <algorithm>

#include "tests/scan/walker_fixture.h"

namespace quorvane::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

int Count(const std::vector<std::string>& lines, const std::string& line) {
  return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

TEST_F(WalkerTest, WithoutSkipFileNothingIsSkipped) {
  AddPathValue(HKLM, "\\Software", "a");
  AddPathValue(HKLM, "\\Software\\Classes", "b");
  Walk();
  EXPECT_THAT(spy.Values(), ElementsAre("\\Software\\a", "\\Software\\Classes\\b"));
}

// A bare name passes over every key of that name, in any case, at any depth,
// under every root; the key still counts once and its path is not traced.
TEST_F(WalkerTest, BareNameSkipsTheKeyEverywhereWithAllBelowIt) {
  SetSkipList("software\r\n");
  for (RootKey root : kScanRoots) {
    AddPathValue(root, "\\Software", "a");
    AddPathValue(root, "\\Software\\Deep", "b");
    AddPathValue(root, "\\Other", "c");
    AddPathValue(root, "\\Other\\SOFTWARE", "d");
    AddPathValue(root, "\\Other\\SoftwareX", "e");
  }
  StartTrace();
  for (RootKey root : kScanRoots) Walk(root);
  for (const ClassifierCall& call : spy.calls)
    EXPECT_TRUE(call.key_path == "\\Other" || call.key_path == "\\Other\\SoftwareX") << call;
  EXPECT_EQ(spy.calls.size(), 10u);
  // Per root: Software, Other, c, SOFTWARE, SoftwareX, e.
  EXPECT_EQ(State.VerifiedCount, 5 * 6);
  const std::vector<std::string> trace = Trace();
  EXPECT_EQ(Count(trace, "\\SOFTWARE"), 0);
  EXPECT_EQ(Count(trace, "\\OTHER\\SOFTWARE"), 0);
  EXPECT_EQ(Count(trace, "\\OTHER\\SOFTWAREX"), 5);
}

// A full path matches that path under every root, never a deeper key that
// merely ends the same way.
TEST_F(WalkerTest, FullPathSkipsThatPathUnderEveryRootOnly) {
  SetSkipList("\\SOFTWARE\\CLASSES");
  AddPathValue(HKLM, "\\SOFTWARE\\Classes", "a");
  AddPathValue(HKLM, "\\SOFTWARE\\Classes\\Sub", "b");
  AddPathValue(RootKey::CurrentUser, "\\Software\\Classes", "c");
  AddPathValue(RootKey::Users, "\\S-1-5-18\\Software\\Classes", "d");
  StartTrace();
  for (RootKey root : kScanRoots) Walk(root);
  EXPECT_THAT(spy.Values(), ElementsAre("\\S-1-5-18\\Software\\Classes\\d"));
  const std::vector<std::string> trace = Trace();
  const auto at = std::find(trace.begin(), trace.end(), "\\SOFTWARE\\CLASSES");
  ASSERT_NE(at, trace.end());
  ASSERT_NE(at + 1, trace.end());
  EXPECT_EQ(*(at - 1), "EnumRegistryKeys - 13");
  EXPECT_EQ(*(at + 1), "EnumRegistryKeys - 13.5");
  EXPECT_EQ(Count(trace, "EnumRegistryKeys - 13.5"), 2);  // HKLM and HKCU
}

// Lines are taken as they stand: blanks around a name make it match nothing,
// and CR, LF and CR LF all end a line.
TEST_F(WalkerTest, SkipLinesAreNotTrimmedAndEndAtAnyLineBreak) {
  SetSkipList("alpha \r\n beta\r\n\r\n\\GAMMA \rdelta\nepsilon\r\n\\ZETA");
  for (const char* key : {"\\Alpha", "\\Beta", "\\Gamma", "\\Delta", "\\Epsilon", "\\Zeta", "\\Eta"})
    AddPathValue(HKLM, key, "v");
  Walk();
  EXPECT_THAT(spy.Values(), ElementsAre("\\Alpha\\v", "\\Beta\\v", "\\Eta\\v", "\\Gamma\\v"));
}

// Letter case is ignored by the code page's rules, accented letters included.
TEST_F(WalkerTest, SkipListIgnoresCaseOfAccentedLetters) {
  SetSkipList("\xC7\xC3O\r\n\\MA\xC7\xC3");  // "ÇÃO", "\MAÇÃ"
  AddPathValue(HKLM, "\\\xE7\xE3o", "a");    // "ção"
  AddPathValue(HKLM, "\\ma\xE7\xE3", "b");   // "maçã"
  AddPathValue(HKLM, "\\maca", "c");
  StartTrace();
  Walk();
  EXPECT_THAT(spy.Values(), ElementsAre("\\maca\\c"));
  EXPECT_TRUE(Traced("EnumRegistryKeys - 13.5"));
}

// Every key entered reads the file again; a key already being walked keeps
// the list it read when it was entered.
TEST_F(WalkerTest, SkipListIsReadAnewForEveryKeyEntered) {
  AddPathValue(HKLM, "\\A", "a");
  AddPathValue(HKLM, "\\B", "b");
  AddPathValue(HKLM, "\\B\\Skipme", "s");
  AddPathValue(HKLM, "\\Skipme", "r");
  spy.on_call = [this](const ClassifierCall& call) {
    if (call.key_path == "\\A") SetSkipList("Skipme");
  };
  Walk();
  EXPECT_THAT(spy.Values(), ElementsAre("\\A\\a", "\\B\\b", "\\Skipme\\r"));
  // One existence test per key entered: the root, \A, \B, \Skipme.
  EXPECT_EQ(Count(program.files.attribute_log, SkipFile()), 4);
}

struct UnreadableCase {
  const char* label;
  bool folder;  // else a locked file
};

class UnreadableSkipFile : public WalkerTest, public ::testing::WithParamInterface<UnreadableCase> {
 protected:
  void MakeUnreadable() {
    program.files.Remove(SkipFile());
    if (GetParam().folder) {
      program.files.AddFolder(SkipFile());
    } else {
      program.files.AddFile(SkipFile(), "nothing");
      program.files.locked.insert(fake::FakeFileSystem::Key(SkipFile()));
    }
  }
};

// Present but unreadable: every call ends in the second handler before it
// lists anything, so the scan walks no root at all.
TEST_P(UnreadableSkipFile, EveryCallEndsInHandlerTwo) {
  MakeUnreadable();
  for (RootKey root : kScanRoots) AddPathValue(root, "\\Key", "v");
  program.EnableTrace();
  Form1->BotaoIniciar.Click();
  EXPECT_THAT(spy.calls, IsEmpty());
  EXPECT_EQ(State.VerifiedCount, 0);
  EXPECT_EQ(registry.open_count, 0);
  EXPECT_EQ(Count(Trace(), "Tratador de erros do EnumRegistryKeys 2"), 5);
  EXPECT_EQ(Form1->Panel2.Caption(), "Pesquisa finalizada.  Nenhum \xEDtem inv\xE1lido encontrado.");
}

// Unreadable from the middle of a walk on: the failing call's subkeys are not
// walked, but its caller goes on with its own next subkey.
TEST_P(UnreadableSkipFile, FailingCallEndsButItsCallerGoesOn) {
  AddPathValue(HKLM, "\\A", "a");
  AddPathValue(HKLM, "\\A\\Sub", "s");
  AddPathValue(HKLM, "\\B", "b");
  AddPathValue(HKLM, "\\B\\Sub", "t");
  spy.on_call = [this](const ClassifierCall& call) {
    if (call.key_path == "\\A") MakeUnreadable();
  };
  StartTrace();
  Walk();
  EXPECT_THAT(spy.Values(), ElementsAre("\\A\\a", "\\B\\b"));
  EXPECT_EQ(State.VerifiedCount, 4);  // A, a, B, b
  EXPECT_EQ(Count(Trace(), "Tratador de erros do EnumRegistryKeys 2"), 2);
}

INSTANTIATE_TEST_SUITE_P(Walker, UnreadableSkipFile,
                         ::testing::Values(UnreadableCase{"Folder", true}, UnreadableCase{"LockedFile", false}),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace quorvane::testing

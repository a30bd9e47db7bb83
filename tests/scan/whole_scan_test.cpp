// Whole scans on the fake program: the walker hands values to the
// classifier, which fills the found list and the undo script.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/repair/regedit4_reader.h"
#include "tests/support/fake_program.h"

namespace quorvane {
namespace {

using testing::ReadRegedit4;
using testing::RegEvent;
using testing::SetEvent;

const std::string kSharedDlls = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

class WholeScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_.files.AddFile("C:\\App\\app.exe");
    program_.registry.SetString(RootKey::LocalMachine, "\\SOFTWARE\\Foo", "Exe", "\"C:\\App\\app.exe\" %1");
    program_.registry.SetString(RootKey::LocalMachine, "\\SOFTWARE\\Foo", "Path", "C:\\Foo\\foo.exe");
    program_.registry.SetDword(RootKey::LocalMachine, kSharedDlls, "C:\\App\\app.exe", 2);
    program_.registry.SetDword(RootKey::LocalMachine, kSharedDlls, "C:\\Old\\x.dll", 1);
    program_.registry.SetString(RootKey::CurrentUser, "\\Software\\App", "Plain", "no path here");
  }

  const std::vector<std::string>& Found() const { return Form1->ListBox2.Items().Lines(); }
  const std::vector<std::string>& Script() const { return Form1->ListBox1.Items().Lines(); }

  testing::FakeProgram program_;
};

TEST_F(WholeScanTest, FindingsReachTheListAndTheUndoScript) {
  Form1->BotaoIniciarClick();
  const std::vector<std::string> script = {
      "REGEDIT4",
      "",
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Foo]",
      "\"Path\"=\"C:\\\\Foo\\\\foo.exe\"",
      "",
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs]",
      "\"C:\\\\Old\\\\x.dll\"=dword:00000001",
      "",
      "",
  };
  EXPECT_EQ(Script(), script);
  const std::vector<std::string> found = {
      "HKEY_LOCAL_MACHINE", "\\SOFTWARE\\Foo", "Path", "C:\\Foo\\foo.exe", "",
      "HKEY_LOCAL_MACHINE", kSharedDlls, "C:\\Old\\x.dll", "dword:00000001", "",
  };
  EXPECT_EQ(Found(), found);
  ASSERT_EQ(State.FoundValues.size(), 2u);
  EXPECT_EQ(State.FoundValues[0].root, RootKey::LocalMachine);
  EXPECT_EQ(State.FoundValues[0].key_path, "\\SOFTWARE\\Foo");
  EXPECT_EQ(State.FoundValues[0].value_name, "Path");
  EXPECT_EQ(State.FoundValues[1].key_path, kSharedDlls);
  EXPECT_EQ(State.FoundValues[1].value_name, "C:\\Old\\x.dll");
  EXPECT_EQ(State.FoundCount, 2);
  EXPECT_EQ(Form1->Label2.Caption(), "2");
  EXPECT_EQ(Form1->BotaoParar.Caption(), "&Remover ítens");
}

TEST_F(WholeScanTest, NextScanStartsItsListsAndCountAfresh) {
  Form1->BotaoIniciarClick();
  program_.files.AddFile("C:\\Foo\\foo.exe");
  Form1->BotaoIniciarClick();
  EXPECT_EQ(Form1->Label2.Caption(), "1");
  EXPECT_EQ(Found(), (std::vector<std::string>{"HKEY_LOCAL_MACHINE", kSharedDlls, "C:\\Old\\x.dll",
                                                "dword:00000001", ""}));
  EXPECT_EQ(Script().size(), 6u);
  EXPECT_EQ(State.FoundValues.size(), 1u);
}

TEST_F(WholeScanTest, ScanWithoutFindingsWritesNoScriptAtAll) {
  program_.files.AddFile("C:\\Foo\\foo.exe");
  program_.files.AddFile("C:\\Old\\x.dll");
  Form1->BotaoIniciarClick();
  EXPECT_TRUE(Script().empty());
  EXPECT_TRUE(Found().empty());
  EXPECT_TRUE(State.FoundValues.empty());
  EXPECT_EQ(Form1->Label2.Caption(), "0");
  EXPECT_EQ(Form1->Panel2.Caption(), "Pesquisa finalizada.  Nenhum ítem inválido encontrado.");
}

TEST_F(WholeScanTest, CraftedValuesCannotReachOtherKeysThroughTheUndoScript) {
  program_.files.AddFile("C:\\Foo\\foo.exe");
  program_.files.AddFile("C:\\Old\\x.dll");
  const std::string data = "C:\\Gone\\b.exe\r\n[-HKEY_LOCAL_MACHINE\\SOFTWARE]";
  program_.registry.SetString(RootKey::CurrentUser, "\\Software\\Evil", "x\r\n[-HKEY_LOCAL_MACHINE\\SOFTWARE]",
                              "C:\\Gone\\a.exe");
  program_.registry.SetString(RootKey::CurrentUser, "\\Software\\Evil", "Data", data);
  program_.registry.SetString(RootKey::CurrentUser, "\\Software\\Bad\n[-HKEY_USERS]", "P", "C:\\Gone\\c.exe");
  Form1->BotaoIniciarClick();
  EXPECT_EQ(ReadRegedit4(Script()),
            (std::vector<RegEvent>{SetEvent("HKEY_CURRENT_USER\\Software\\Evil", "Data", 1, data)}));
  ASSERT_EQ(Found().size(), 5u);
  EXPECT_EQ(Found()[2], "Data");
  ASSERT_EQ(State.FoundValues.size(), 1u);
  EXPECT_EQ(State.FoundValues[0].value_name, "Data");
  EXPECT_EQ(Form1->Label2.Caption(), "1");
}

}  // namespace
}  // namespace quorvane

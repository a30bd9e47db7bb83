// The removal role of BotaoParar: the question, the undo file saved before
// anything is deleted, the walk of the found list in steps of five, what is
// told to the user, and the trace.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "app/credits.h"
#include "platform/text.h"
#include "repair/removal.h"
#include "tests/support/fake_program.h"

namespace quorvane::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

constexpr RootKey HKCR = RootKey::ClassesRoot;
constexpr RootKey HKLM = RootKey::LocalMachine;
constexpr RootKey HKCU = RootKey::CurrentUser;

const std::string kQuestion =
    "Todos \xEDtens inv\xE1lidos encontrados, ser\xE3o removidos.\n\nContinua com a remo\xE7\xE3o ?";
const std::string kRemoved = "\xCDtens removidos";
const std::string kWaitText = "Por favor, aguarde a remo\xE7\xE3o dos \xEDtens inv\xE1lidos...";
const std::string kRemoveCaption = "&Remover \xEDtens";
const std::string kUndoName = "undo-20050314-092607.reg";  // FakeClock's time

// A registry seen through the program's port that lets a test look at the
// world each time a key is opened or a value deleted, and that can show
// HKEY_CLASSES_ROOT as the view of HKEY_LOCAL_MACHINE\SOFTWARE\Classes that
// it is on Windows.
class ObservedRegistry : public Registry {
 public:
  explicit ObservedRegistry(fake::FakeRegistry& inner) : inner_(inner) {}

  std::function<void(const std::string& what)> before_access;
  bool classes_root_is_a_view = false;

  using Registry::OpenKey;
  std::unique_ptr<RegistryKey> OpenKey(RootKey root, const std::string& path, OpenFailure& failure) override {
    if (before_access) before_access("open " + path);
    if (classes_root_is_a_view && root == HKCR) return Wrap(inner_.OpenKey(HKLM, "\\SOFTWARE\\Classes" + path, failure));
    return Wrap(inner_.OpenKey(root, path, failure));
  }

 private:
  class Key : public RegistryKey {
   public:
    Key(std::unique_ptr<RegistryKey> inner, ObservedRegistry& owner) : inner_(std::move(inner)), owner_(owner) {}
    std::vector<std::string> SubkeyNames() override { return inner_->SubkeyNames(); }
    std::vector<std::string> ValueNames() override { return inner_->ValueNames(); }
    DataType GetDataType(const std::string& name) override { return inner_->GetDataType(name); }
    std::string ReadString(const std::string& name) override { return inner_->ReadString(name); }
    int32_t ReadInteger(const std::string& name) override { return inner_->ReadInteger(name); }
    DeleteOutcome DeleteValue(const std::string& name) override {
      if (owner_.before_access) owner_.before_access("delete " + name);
      return inner_->DeleteValue(name);
    }

   private:
    std::unique_ptr<RegistryKey> inner_;
    ObservedRegistry& owner_;
  };

  std::unique_ptr<RegistryKey> Wrap(std::unique_ptr<RegistryKey> key) {
    if (!key) return nullptr;
    return std::make_unique<Key>(std::move(key), *this);
  }

  fake::FakeRegistry& inner_;
};

// The window as a complete scan with findings leaves it, tracing, with an
// undo script of six lines and found records added by each test.
struct Scene {
  explicit Scene(const std::string& exe = "C:\\Quorvane\\quorvane.exe") : program(exe), observed(program.registry) {
    Platform.registry = &observed;
    TForm1& form = *program.form;
    form.SetBounds({form.Left(), form.Top(), 616, 432});
    form.PageControl2.Hide();
    form.Panel1.Show();
    form.Panel2.Show();
    form.Panel2.SetCaption("Pesquisa finalizada.");
    form.BotaoParar.SetCaption(kRemoveCaption);
    form.BotaoParar.Show();
    form.BotaoChecaVersao.Hide();
    form.Label1.SetCaption("120");
    form.Label2.SetCaption("3");
    program.EnableTrace();
    State.TracePath = State.ProgramFolder + "debug.txt";
    State.TraceEnabled = true;
    for (const char* line : {"REGEDIT4", "", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Foo]",
                             "\"Path\"=\"C:\\\\\xC1rvore\\\\foo.exe\"", "", ""})
      form.ListBox1.Items().Add(line);
  }

  // A record as the classifier appends it, with the value kept beside it.
  void Record(RootKey root, const std::string& key_path, const std::string& value_name) {
    static const std::map<RootKey, std::string> names = {
        {HKCR, "HKEY_CLASSES_ROOT"}, {HKCU, "HKEY_CURRENT_USER"}, {HKLM, "HKEY_LOCAL_MACHINE"},
        {RootKey::Users, "HKEY_USERS"}, {RootKey::CurrentConfig, "HKEY_CURRENT_CONFIG"}};
    Lines({names.at(root), key_path, value_name.empty() ? "(Default)" : value_name, "C:\\gone\\x.exe", ""});
    State.FoundValues.push_back(FoundValue{root, key_path, value_name});
  }
  // Lines of the found list only, nothing kept beside them.
  void Lines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) program.form->ListBox2.Items().Add(line);
  }

  // A click on the removal button, with the message boxes answered so.
  void RemoveAnswering(std::initializer_list<int> answers) {
    program.dialogs.answers = answers;
    program.application->Dispatch([&] { program.form->BotaoParar.Click(); });
  }
  void Remove() { RemoveAnswering({kIdYes, kIdOk}); }

  // The notice that closed the removal.
  std::string Notice() const {
    const auto& calls = program.dialogs.calls;
    return calls.size() == 2 ? calls[1].text : "<" + std::to_string(calls.size()) + " boxes>";
  }
  std::vector<std::string> Trace() const { return program.TraceLines(); }
  long TraceCount(const std::string& line) const {
    const std::vector<std::string> trace = Trace();
    return std::count(trace.begin(), trace.end(), line);
  }
  // Trace lines of the deletions: after the start line, before the closing line.
  std::vector<std::string> RecordTrace() const {
    std::vector<std::string> trace = Trace();
    auto start = std::find(trace.begin(), trace.end(), "Iniciando a remocao de itens invalidos");
    auto end = std::find(trace.begin(), trace.end(), "Terminou de remover itens invalidos");
    if (start == trace.end() || end == trace.end()) return {"<no deletions traced>"};
    return std::vector<std::string>(start + 1, end);
  }
  std::string UndoPath() const { return State.ProgramFolder + kUndoName; }

  FakeProgram program;
  ObservedRegistry observed;
};

class RemovalTest : public ::testing::Test, public Scene {};

TEST_F(RemovalTest, AnsweringNoSavesDeletesAndTracesNothing) {
  program.registry.SetString(HKLM, "\\SOFTWARE\\Foo", "Path", "C:\\gone\\x.exe");
  Record(HKLM, "\\SOFTWARE\\Foo", "Path");
  RemoveAnswering({kIdNo});

  ASSERT_EQ(program.dialogs.calls.size(), 1u);
  EXPECT_EQ(program.dialogs.calls[0].text, kQuestion);
  EXPECT_EQ(program.dialogs.calls[0].caption, CreditCaption);
  EXPECT_EQ(program.dialogs.calls[0].style, kMbYesNo);
  EXPECT_THAT(program.files.FindFiles(State.ProgramFolder + "*.reg"), IsEmpty());
  EXPECT_TRUE(program.registry.GetValue(HKLM, "\\SOFTWARE\\Foo", "Path"));
  EXPECT_EQ(program.registry.open_count, 0);
  EXPECT_THAT(Trace(), IsEmpty());
  // The window is as it was: the button can be clicked again.
  EXPECT_TRUE(program.form->BotaoParar.Enabled());
  EXPECT_EQ(program.form->Panel2.Caption(), "Pesquisa finalizada.");
}

struct StampCase {
  LocalTime now;
  const char* name;
};

TEST(Removal, UndoFileIsNamedByTheLocalTimeAndHoldsTheScriptInCp1252WithCrLf) {
  const StampCase cases[] = {
      {{2005, 3, 14, 9, 26, 7}, "undo-20050314-092607.reg"},
      {{2005, 3, 3, 21, 5, 9}, "undo-20050303-210509.reg"},
      {{1999, 12, 31, 0, 0, 0}, "undo-19991231-000000.reg"},
      {{2010, 10, 10, 23, 59, 59}, "undo-20101010-235959.reg"},
  };
  const std::string bytes =
      "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Foo]\r\n\"Path\"=\"C:\\\\\xC1rvore\\\\foo.exe\"\r\n\r\n\r\n";
  for (const StampCase& c : cases) {
    SCOPED_TRACE(c.name);
    Scene s;
    s.program.clock.now = c.now;
    s.Remove();
    const std::string path = State.ProgramFolder + c.name;
    ASSERT_TRUE(s.program.files.Exists(path));
    EXPECT_EQ(s.program.files.Content(path), bytes);  // no byte-order mark, 0xC1 for the accented letter
    EXPECT_THAT(s.program.files.FindFiles(State.ProgramFolder + "*.reg"), ElementsAre(c.name));
    EXPECT_EQ(s.Notice(), kRemoved);
  }
}

TEST_F(RemovalTest, UndoFileReplacesOneOfTheSameName) {
  program.files.AddFile(UndoPath(), "old content that is longer than the new script ...............");
  Remove();
  EXPECT_EQ(program.FileLines(UndoPath()), program.form->ListBox1.Items().Lines());
}

// Every registry access happens with the whole undo file already on disk,
// and while the window shows that it is busy.
TEST_F(RemovalTest, UndoFileIsCompleteBeforeTheFirstRegistryAccess) {
  program.registry.SetString(HKLM, "\\SOFTWARE\\Foo", "Path", "x");
  program.registry.SetString(HKCU, "\\Software\\Bar", "", "y");
  Record(HKLM, "\\SOFTWARE\\Foo", "Path");
  Record(HKCU, "\\Software\\Bar", "");
  std::vector<std::string> accesses;
  observed.before_access = [&](const std::string& what) {
    accesses.push_back(what);
    EXPECT_EQ(program.FileLines(UndoPath()), program.form->ListBox1.Items().Lines()) << what;
    EXPECT_EQ(Screen->Cursor(), TCursor::HourGlass);
    EXPECT_EQ(program.form->Panel2.Caption(), kWaitText);
    EXPECT_FALSE(program.form->BotaoParar.Enabled());
  };
  Remove();
  EXPECT_THAT(accesses, ElementsAre("open \\SOFTWARE\\Foo", "delete Path", "open \\Software\\Bar", "delete "));
  EXPECT_THAT(program.registry.deleted, ElementsAre("80000002\\SOFTWARE\\Foo\\Path", "80000001\\Software\\Bar\\"));
}

// A record is five lines: only the 1st, 6th and 11th line of fifteen begin
// one, and the data line of a record is never taken for a value name.
TEST_F(RemovalTest, ReadsTheFoundListInStepsOfFive) {
  for (const char* name : {"a", "b", "c", "HKEY_LOCAL_MACHINE", "\\K", "C:\\gone\\x.exe", ""})
    program.registry.SetString(HKLM, "\\K", name, "x");
  Record(HKLM, "\\K", "a");
  Record(HKLM, "\\K", "b");
  Record(HKLM, "\\K", "c");
  ASSERT_EQ(program.form->ListBox2.Items().Count(), 15);
  Remove();
  EXPECT_THAT(program.registry.deleted, ElementsAre("80000002\\K\\a", "80000002\\K\\b", "80000002\\K\\c"));
  EXPECT_EQ(program.registry.Values(HKLM, "\\K").size(), 4u);
  EXPECT_EQ(TraceCount("Vai remover a chave:"), 3);
}

struct CutShortCase {
  int lines_of_last_record;
  std::vector<std::string> last_record_trace;
  bool last_value_deleted;
};

TEST(Removal, ARecordCutShortAtTheEndIsPassedOverThroughTheRecordHandler) {
  const CutShortCase cases[] = {
      {1, {"Vai remover a chave:", "HKEY_LOCAL_MACHINE", "Tratador de erros do RemoverItensInvalidos 1"}, false},
      {2,
       {"Vai remover a chave:", "HKEY_LOCAL_MACHINE", "\\K", "Tratador de erros do RemoverItensInvalidos 1"},
       false},
      // The first three lines are all that removal reads.
      {3, {"Vai remover a chave:", "HKEY_LOCAL_MACHINE", "\\K", "Vai remover o valor:", "last"}, true},
  };
  for (const CutShortCase& c : cases) {
    SCOPED_TRACE(c.lines_of_last_record);
    Scene s;
    s.program.registry.SetString(HKLM, "\\K", "first", "x");
    s.program.registry.SetString(HKLM, "\\K", "last", "x");
    s.Record(HKLM, "\\K", "first");
    const std::vector<std::string> last = {"HKEY_LOCAL_MACHINE", "\\K", "last"};
    s.Lines(std::vector<std::string>(last.begin(), last.begin() + c.lines_of_last_record));
    s.Remove();

    std::vector<std::string> expected = {"Vai remover a chave:", "HKEY_LOCAL_MACHINE", "\\K", "Vai remover o valor:",
                                         "first"};
    expected.insert(expected.end(), c.last_record_trace.begin(), c.last_record_trace.end());
    EXPECT_EQ(s.RecordTrace(), expected);
    EXPECT_FALSE(s.program.registry.GetValue(HKLM, "\\K", "first"));
    EXPECT_EQ(!s.program.registry.GetValue(HKLM, "\\K", "last"), c.last_value_deleted);
    EXPECT_EQ(s.Notice(), kRemoved);
    EXPECT_EQ(s.program.form->Panel2.Caption(), "");
    EXPECT_EQ(Screen->Cursor(), TCursor::Default);
  }
}

// The third line "(Default)" is also what a value named "(Default)" shows;
// the value kept beside the record tells which of the two was found, while
// the record's lines still name it.
struct DefaultCase {
  const char* what;
  std::vector<FoundValue> kept;
  const char* deleted;  // the name that is gone afterwards
};

TEST(Removal, DefaultLineDeletesExactlyTheValueThatWasFound) {
  const DefaultCase cases[] = {
      {"the unnamed value was found", {{HKLM, "\\K", ""}}, ""},
      {"the value named (Default) was found", {{HKLM, "\\K", "(Default)"}}, "(Default)"},
      {"nothing kept beside the record", {}, ""},
      {"kept value of another key", {{HKLM, "\\Other", "(Default)"}}, ""},
      {"kept value under another root", {{HKCU, "\\K", "(Default)"}}, ""},
  };
  for (const DefaultCase& c : cases) {
    SCOPED_TRACE(c.what);
    Scene s;
    s.program.registry.SetString(HKLM, "\\K", "", "unnamed");
    s.program.registry.SetString(HKLM, "\\K", "(Default)", "named");
    s.Lines({"HKEY_LOCAL_MACHINE", "\\K", "(Default)", "C:\\gone\\x.exe", ""});
    State.FoundValues = c.kept;
    s.Remove();
    const std::string other = std::string(c.deleted).empty() ? "(Default)" : "";
    EXPECT_FALSE(s.program.registry.GetValue(HKLM, "\\K", c.deleted));
    EXPECT_TRUE(s.program.registry.GetValue(HKLM, "\\K", other));
    // Either way the trace names it "(Default)".
    EXPECT_THAT(s.RecordTrace(), ElementsAre("Vai remover a chave:", "HKEY_LOCAL_MACHINE", "\\K",
                                             "Vai remover o valor:", "(Default)"));
    EXPECT_EQ(s.Notice(), kRemoved);
  }
}

// The kept value is used only while the record's lines name it; a record
// whose lines name another value deletes what its lines say.
TEST_F(RemovalTest, RecordLinesWinOverAKeptValueTheyDoNotName) {
  program.registry.SetString(HKLM, "\\K", "Foo", "x");
  program.registry.SetString(HKLM, "\\K", "Bar", "x");
  Lines({"HKEY_LOCAL_MACHINE", "\\K", "Foo", "C:\\gone\\x.exe", ""});
  State.FoundValues = {{HKLM, "\\K", "Bar"}};
  Remove();
  EXPECT_THAT(program.registry.deleted, ElementsAre("80000002\\K\\Foo"));
}

struct RootNameCase {
  const char* name;
  std::optional<RootKey> root;
};

TEST(RootKeyFromName, MatchesTheFiveLongNamesInAnyLetterCase) {
  const RootNameCase cases[] = {
      {"HKEY_CLASSES_ROOT", HKCR},
      {"HKEY_CURRENT_USER", HKCU},
      {"HKEY_LOCAL_MACHINE", HKLM},
      {"HKEY_USERS", RootKey::Users},
      {"HKEY_CURRENT_CONFIG", RootKey::CurrentConfig},
      {"hkey_local_machine", HKLM},
      {"Hkey_Current_Config", RootKey::CurrentConfig},
      {"HKLM", std::nullopt},
      {"", std::nullopt},
      {"HKEY_USERS ", std::nullopt},
      {" HKEY_USERS", std::nullopt},
      {"HKEY_USERSX", std::nullopt},
      {"HKEY_DYN_DATA", std::nullopt},
      {"HKEY_LOCAL_MACHINE\\SOFTWARE", std::nullopt},
  };
  for (const RootNameCase& c : cases) EXPECT_EQ(RootKeyFromName(c.name), c.root) << "\"" << c.name << "\"";
}

TEST_F(RemovalTest, LowerCaseRootNameStillSelectsItsRoot) {
  program.registry.SetString(HKLM, "\\K", "v", "x");
  program.registry.SetString(HKCU, "\\K", "v", "x");
  Lines({"hkey_local_machine", "\\K", "v", "C:\\gone\\x.exe", ""});
  Remove();
  EXPECT_THAT(program.registry.deleted, ElementsAre("80000002\\K\\v"));
  EXPECT_THAT(RecordTrace(), ElementsAre("Vai remover a chave:", "hkey_local_machine", "\\K", "Vai remover o valor:", "v"));
}

// What is passed over without a word: a root name that names no root, a key
// or value that is gone. A value that is gone counts as removed.
TEST_F(RemovalTest, RecordsThatFindNothingToDeleteArePassedOverSilently) {
  program.registry.SetString(HKLM, "\\Kept", "v", "x");
  program.registry.SetString(HKLM, "\\Here", "other", "x");
  program.registry.SetString(RootKey::Users, "\\K", "v", "x");
  Lines({"HKEY_NOWHERE", "\\K", "v", "C:\\gone\\x.exe", ""});
  Record(HKLM, "\\Gone", "v");
  Record(HKLM, "\\Here", "gone");
  Record(HKLM, "\\Kept", "v");
  Remove();

  EXPECT_THAT(program.registry.deleted, ElementsAre("80000002\\Kept\\v"));
  EXPECT_TRUE(program.registry.GetValue(RootKey::Users, "\\K", "v"));
  EXPECT_FALSE(program.registry.KeyExists(HKLM, "\\Gone"));  // nothing is ever created
  EXPECT_EQ(program.registry.open_count, 3);                // no root, no key opened
  EXPECT_THAT(RecordTrace(), ElementsAre("Vai remover a chave:", "HKEY_NOWHERE", "\\K",                        //
                                         "Vai remover a chave:", "HKEY_LOCAL_MACHINE", "\\Gone",              //
                                         "Vai remover a chave:", "HKEY_LOCAL_MACHINE", "\\Here",              //
                                         "Vai remover o valor:", "gone",                                      //
                                         "Vai remover a chave:", "HKEY_LOCAL_MACHINE", "\\Kept",              //
                                         "Vai remover o valor:", "v"));
  EXPECT_EQ(Notice(), kRemoved);
}

// HKEY_CLASSES_ROOT shows the stored data of HKEY_LOCAL_MACHINE\SOFTWARE\Classes:
// the first record deletes the value, the second finds it gone, and that is
// no failure.
TEST_F(RemovalTest, SameValueListedUnderTwoRootsIsDeletedOnceAndReportedRemoved) {
  observed.classes_root_is_a_view = true;
  program.registry.SetString(HKLM, "\\SOFTWARE\\Classes\\.foo", "Content", "x");
  Record(HKCR, "\\.foo", "Content");
  Record(HKLM, "\\SOFTWARE\\Classes\\.foo", "Content");
  Remove();
  EXPECT_THAT(program.registry.deleted, ElementsAre("80000002\\SOFTWARE\\Classes\\.foo\\Content"));
  EXPECT_EQ(TraceCount("Vai remover o valor:"), 2);
  EXPECT_EQ(Notice(), kRemoved);
}

TEST_F(RemovalTest, KeyStaysWhenItsLastValueIsRemoved) {
  program.registry.SetString(HKLM, "\\SOFTWARE\\Only", "v", "x");
  program.registry.SetString(HKLM, "\\SOFTWARE\\Only", "", "y");
  Record(HKLM, "\\SOFTWARE\\Only", "v");
  Record(HKLM, "\\SOFTWARE\\Only", "");
  Remove();
  EXPECT_TRUE(program.registry.KeyExists(HKLM, "\\SOFTWARE\\Only"));
  EXPECT_THAT(program.registry.Values(HKLM, "\\SOFTWARE\\Only"), IsEmpty());
}

TEST_F(RemovalTest, AfterRemovalTheListsStayAndTheButtonIsDisabled) {
  program.registry.SetString(HKLM, "\\K", "v", "x");
  Record(HKLM, "\\K", "v");
  const std::vector<std::string> found = program.form->ListBox2.Items().Lines();
  const std::vector<std::string> script = program.form->ListBox1.Items().Lines();
  Remove();

  TForm1& form = *program.form;
  EXPECT_EQ(form.ListBox2.Items().Lines(), found);
  EXPECT_EQ(form.ListBox1.Items().Lines(), script);
  EXPECT_EQ(State.FoundValues.size(), 1u);
  EXPECT_EQ(form.BotaoParar.Caption(), kRemoveCaption);
  EXPECT_TRUE(form.BotaoParar.Visible());
  EXPECT_FALSE(form.BotaoParar.Enabled());
  EXPECT_EQ(form.Label1.Caption(), "120");
  EXPECT_EQ(form.Label2.Caption(), "3");
  EXPECT_EQ(form.Panel2.Caption(), "");
  EXPECT_EQ(Screen->Cursor(), TCursor::Default);
  EXPECT_THAT(program.host.cursor.shown, ElementsAre(TCursor::HourGlass, TCursor::Default));
  ASSERT_EQ(program.dialogs.calls.size(), 2u);
  EXPECT_EQ(program.dialogs.calls[1].caption, CreditCaption);
  EXPECT_EQ(program.dialogs.calls[1].style, kMbOk);
  // A disabled button takes no click: no second question.
  program.form->BotaoParar.Click();
  EXPECT_EQ(program.dialogs.calls.size(), 2u);
}

TEST_F(RemovalTest, TracesEveryStepOfTheBranch) {
  program.registry.SetString(HKLM, "\\K", "v", "x");
  Record(HKLM, "\\K", "v");
  Remove();
  EXPECT_THAT(Trace(), ElementsAre("Botao REMOVER ITENS clicado", "Identificando nome do arquivo de UNDO",
                                   "Vai gerar arquivo:", "C:\\Quorvane\\" + kUndoName, "Salvando arquivo...",
                                   "Terminou de salvar arquivo...", "Vai remover itens invalidos",
                                   "Iniciando a remocao de itens invalidos", "Vai remover a chave:",
                                   "HKEY_LOCAL_MACHINE", "\\K", "Vai remover o valor:", "v",
                                   "Terminou de remover itens invalidos"));
}

TEST_F(RemovalTest, WritesNoTraceWhileTracingIsOff) {
  State.TraceEnabled = false;
  program.registry.SetString(HKLM, "\\K", "v", "x");
  Record(HKLM, "\\K", "v");
  Remove();
  EXPECT_THAT(Trace(), IsEmpty());
  EXPECT_FALSE(program.registry.GetValue(HKLM, "\\K", "v"));
}

// Values the system would not let go are counted and told in the closing
// notice; gone ones are not.
struct RefusalCase {
  const char* what;
  std::function<void(fake::FakeRegistry&)> setup;
  std::string notice;
  std::vector<std::string> trace_of_first;  // the trace of the record for \A
};

TEST(Removal, ClosingNoticeTellsHowManyValuesTheSystemRefused) {
  const std::vector<std::string> opened = {"Vai remover a chave:", "HKEY_LOCAL_MACHINE", "\\A",
                                           "Vai remover o valor:", "v"};
  const std::vector<std::string> not_opened = {"Vai remover a chave:", "HKEY_LOCAL_MACHINE", "\\A"};
  const std::string one_refused = "\xCDtens removidos, exceto 1 \xEDtem que o sistema n\xE3o permitiu remover.";
  const RefusalCase cases[] = {
      {"all removed", [](fake::FakeRegistry&) {}, kRemoved, opened},
      {"one key refuses full access", [](fake::FakeRegistry& r) { r.DenyFullAccess(HKLM, "\\A"); }, one_refused,
       not_opened},
      {"one deletion refused", [](fake::FakeRegistry& r) { r.DenyValueDeletion(HKLM, "\\A"); }, one_refused, opened},
      {"two refused",
       [](fake::FakeRegistry& r) {
         r.DenyFullAccess(HKLM, "\\A");
         r.DenyValueDeletion(HKLM, "\\B");
       },
       "\xCDtens removidos, exceto 2 \xEDtens que o sistema n\xE3o permitiu remover.", not_opened},
      {"one refused, the others already gone",
       [](fake::FakeRegistry& r) {
         r.DenyValueDeletion(HKLM, "\\A");
         r.RemoveValue(HKLM, "\\B", "v");
         r.DeleteKey(HKLM, "\\C");
       },
       one_refused, opened},
      {"every one refused",
       [](fake::FakeRegistry& r) {
         for (const char* key : {"\\A", "\\B", "\\C"}) r.DenyValueDeletion(HKLM, key);
       },
       "Nenhum \xEDtem foi removido: o sistema n\xE3o permitiu a remo\xE7\xE3o.", opened},
  };
  for (const RefusalCase& c : cases) {
    SCOPED_TRACE(c.what);
    Scene s;
    for (const char* key : {"\\A", "\\B", "\\C"}) {
      s.program.registry.SetString(HKLM, key, "v", "x");
      s.Record(HKLM, key, "v");
    }
    c.setup(s.program.registry);
    s.Remove();
    EXPECT_EQ(s.Notice(), c.notice);
    // The refused record's trace, then the next record's.
    std::vector<std::string> expected = c.trace_of_first;
    expected.push_back("Vai remover a chave:");
    const std::vector<std::string> trace = s.RecordTrace();
    EXPECT_EQ(std::vector<std::string>(trace.begin(), trace.begin() + std::min(trace.size(), expected.size())),
              expected);
  }
}

TEST(RemovalNotice, ChoosesSingularPluralAndNone) {
  EXPECT_EQ(RemovalNotice({0, 0}), "\xCDtens removidos");
  EXPECT_EQ(RemovalNotice({5, 0}), "\xCDtens removidos");
  EXPECT_EQ(RemovalNotice({4, 1}), "\xCDtens removidos, exceto 1 \xEDtem que o sistema n\xE3o permitiu remover.");
  EXPECT_EQ(RemovalNotice({1, 12}), "\xCDtens removidos, exceto 12 \xEDtens que o sistema n\xE3o permitiu remover.");
  EXPECT_EQ(RemovalNotice({0, 1}), "Nenhum \xEDtem foi removido: o sistema n\xE3o permitiu a remo\xE7\xE3o.");
}

// A save that fails deletes nothing: the message loop shows the failure
// with the path, and the removal can be tried again.
struct SaveFailureCase {
  const char* what;
  std::function<void(fake::FakeFileSystem&)> fail;
};

TEST(Removal, FailedSaveDeletesNothingAndShowsTheFailure) {
  const std::string undo_path = "C:\\Quorvane\\" + kUndoName;
  const SaveFailureCase cases[] = {
      {"folder not writable",
       [](fake::FakeFileSystem& f) { f.locked.insert(fake::FakeFileSystem::Key("C:\\Quorvane")); }},
      {"disk full after a few bytes", [](fake::FakeFileSystem& f) { f.save_byte_limit = 10; }},
      {"a read-only file of that name",
       [&](fake::FakeFileSystem& f) { f.AddFile(undo_path, "older backup", kFileAttributeReadOnly); }},
  };
  for (const SaveFailureCase& c : cases) {
    SCOPED_TRACE(c.what);
    Scene s;
    fake::FakeFileSystem& files = s.program.files;
    s.program.registry.SetString(HKLM, "\\K", "v", "x");
    s.Record(HKLM, "\\K", "v");
    c.fail(files);
    const std::string before = files.Content(undo_path);
    s.Remove();

    const auto& calls = s.program.dialogs.calls;
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].text, "Cannot create file " + undo_path + ".");
    EXPECT_EQ(calls[1].caption, "Quorvane 3.81");
    EXPECT_EQ(calls[1].style, kMbOk | kMbIconError);
    EXPECT_TRUE(s.program.registry.GetValue(HKLM, "\\K", "v"));
    EXPECT_EQ(s.program.registry.open_count, 0);
    EXPECT_EQ(files.Content(undo_path), before);  // nothing, or the older file untouched
    EXPECT_EQ(s.Trace().back(), "Salvando arquivo...");
    EXPECT_TRUE(s.program.form->BotaoParar.Enabled());
    EXPECT_EQ(s.program.form->Panel2.Caption(), "Pesquisa finalizada.");
    EXPECT_EQ(Screen->Cursor(), TCursor::Default);

    // The program goes on: once the folder takes the file, removal works.
    files.locked.clear();
    files.save_byte_limit = -1;
    files.Remove(undo_path);
    s.program.dialogs.calls.clear();
    s.Remove();
    EXPECT_EQ(s.Notice(), kRemoved);
    EXPECT_FALSE(s.program.registry.GetValue(HKLM, "\\K", "v"));
    EXPECT_EQ(s.program.FileLines(undo_path), s.program.form->ListBox1.Items().Lines());
  }
}

TEST(Removal, WritesTheUndoFileInAFolderWithBlanksAndAccents) {
  Scene s("C:\\Meus Programas\\Registro \xD3timo\\quorvane.exe");
  s.Remove();
  const std::string path = "C:\\Meus Programas\\Registro \xD3timo\\" + kUndoName;
  EXPECT_EQ(State.ProgramFolder, "C:\\Meus Programas\\Registro \xD3timo\\");
  EXPECT_EQ(s.program.FileLines(path), s.program.form->ListBox1.Items().Lines());
  EXPECT_EQ(s.Trace().at(3), path);
  EXPECT_EQ(s.Notice(), kRemoved);
}

}  // namespace
}  // namespace quorvane::testing

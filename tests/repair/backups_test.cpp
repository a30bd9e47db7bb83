// The backup page: the listing of the undo files, its display texts, the
// buttons' states, deleting a file and the start of the registry editor.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/credits.h"
#include "repair/backups.h"
#include "tests/support/fake_program.h"

namespace quorvane::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kRestored = "Arquivo restaurado com sucesso";
const std::string kNotStarted = "N\xE3o foi poss\xEDvel iniciar a restaura\xE7\xE3o do backup.";
const std::string kGone = "O arquivo de backup n\xE3o foi encontrado.";

// The file system as the program sees it, with the directory search in the
// order and with the extra names a platform may give.
class ListingFileSystem : public FileSystem {
 public:
  explicit ListingFileSystem(fake::FakeFileSystem& inner) : inner_(inner) {}

  bool reverse = false;                        // FAT lists in the order of creation, not by name
  std::vector<std::string> also_found;         // names the search adds to what matches
  std::function<void()> before_find;
  std::vector<std::string> patterns;           // every search, as asked

  uint32_t GetFileAttributes(const std::string& name) override { return inner_.GetFileAttributes(name); }
  unsigned GetDriveType(const std::string& root) override { return inner_.GetDriveType(root); }
  std::vector<std::string> FindFiles(const std::string& pattern) override {
    patterns.push_back(pattern);
    if (before_find) before_find();
    std::vector<std::string> found = inner_.FindFiles(pattern);
    if (reverse) std::reverse(found.begin(), found.end());
    found.insert(found.end(), also_found.begin(), also_found.end());
    return found;
  }
  bool SetFileAttributes(const std::string& path, uint32_t attributes) override {
    return inner_.SetFileAttributes(path, attributes);
  }
  bool DeleteFile(const std::string& path) override { return inner_.DeleteFile(path); }
  std::string GetShortPathName(const std::string& path) override { return inner_.GetShortPathName(path); }
  void SaveLines(const std::string& path, const std::vector<std::string>& lines) override {
    inner_.SaveLines(path, lines);
  }
  std::vector<std::string> LoadLines(const std::string& path) override { return inner_.LoadLines(path); }
  void AppendLine(const std::string& path, const std::string& text) override { inner_.AppendLine(path, text); }

 private:
  fake::FakeFileSystem& inner_;
};

// Counts the keyboard focus given to a control.
class FocusSpy : public ControlView {
 public:
  int focus = 0;
  void Changed(TControl&, Property property) override {
    if (property == Property::Focus) ++focus;
  }
};

struct Page {
  explicit Page(const std::string& exe = "C:\\Quorvane\\quorvane.exe") : program(exe), listing(program.files) {
    Platform.files = &listing;
    program.form->ListBox3.AttachView(&focus);
  }

  void AddUndo(const std::string& name, uint32_t attributes = kFileAttributeArchive) {
    program.files.AddFile(State.ProgramFolder + name, "REGEDIT4\r\n\r\n", attributes);
  }
  void Click(TButton& button) { program.application->Dispatch([&] { button.Click(); }); }
  void Open() { Click(program.form->BotaoBackups); }
  void Select(int index) { program.form->ListBox3.UserSelect(index); }
  // Deletes or restores the selected entry, answering the boxes so.
  void Delete(std::initializer_list<int> answers) {
    program.dialogs.answers = answers;
    Click(program.form->BotaoDeletar);
  }
  void Restore(std::initializer_list<int> answers) {
    program.dialogs.answers = answers;
    Click(program.form->BotaoRestaurar);
  }
  std::vector<std::string> Entries() const { return program.form->ListBox3.Items().Lines(); }
  std::vector<std::string> Names() const { return program.form->ListBox4.Items().Lines(); }
  bool ButtonsEnabled() const {
    EXPECT_EQ(program.form->BotaoRestaurar.Enabled(), program.form->BotaoDeletar.Enabled());
    return program.form->BotaoRestaurar.Enabled();
  }

  FakeProgram program;
  ListingFileSystem listing;
  FocusSpy focus;
};

class BackupsTest : public ::testing::Test, public Page {};

TEST(Backups, ListsNewestFirstWhateverTheLetterCaseAndTheSearchOrder) {
  for (bool reverse : {false, true}) {
    SCOPED_TRACE(reverse ? "search in reverse order" : "search in name order");
    Page page;
    page.listing.reverse = reverse;
    page.AddUndo("undo-20050314-092607.reg");
    page.AddUndo("UNDO-20050315-100000.REG");
    page.AddUndo("undo-20041231-235959.reg");
    page.AddUndo("Undo-20050314-092608.Reg");
    page.Open();
    EXPECT_THAT(page.listing.patterns, ElementsAre("C:\\Quorvane\\UNDO-????????" "-??????.REG"));
    EXPECT_THAT(page.Entries(), ElementsAre("Backup realizado em: 15/03/2005 as 10:00:00",
                                            "Backup realizado em: 14/03/2005 as 09:26:08",
                                            "Backup realizado em: 14/03/2005 as 09:26:07",
                                            "Backup realizado em: 31/12/2004 as 23:59:59"));
    // The names as the search gave them, at the positions of their entries.
    EXPECT_THAT(page.Names(), ElementsAre("UNDO-20050315-100000.REG", "Undo-20050314-092608.Reg",
                                          "undo-20050314-092607.reg", "undo-20041231-235959.reg"));
    EXPECT_FALSE(page.program.form->ListBox4.Items().Sorted());
    EXPECT_FALSE(page.program.form->ListBox4.Visible());
  }
}

TEST_F(BackupsTest, ListsOnlyUndoFilesOfTheProgramsOwnFolder) {
  AddUndo("undo-20050314-092607.reg");
  for (const char* name : {"undo-2005.reg", "undo-20050314-092607.reg.bak", "undo-20050314-092607.txt",
                           "xundo-20050314-092607.reg", "undo-20050314_092607.reg", "debug.txt"})
    AddUndo(name);
  program.files.AddFile("C:\\Quorvane\\old\\undo-20060101-000000.reg");
  program.files.AddFile("C:\\undo-20060101-000001.reg");
  // The Windows search lets a "?" before the dot match nothing.
  listing.also_found = {"undo-20050314-0926.reg", "undo-2005031-092607.reg"};
  Open();
  EXPECT_THAT(Names(), ElementsAre("undo-20050314-092607.reg"));
  EXPECT_THAT(Entries(), ElementsAre("Backup realizado em: 14/03/2005 as 09:26:07"));
}

struct DisplayCase {
  const char* name;
  const char* text;
};

TEST(BackupDisplayText, CopiesTheCharactersAtTheirFixedPositions) {
  const DisplayCase cases[] = {
      {"undo-20050314-092607.reg", "Backup realizado em: 14/03/2005 as 09:26:07"},
      {"UNDO-19991231-000000.REG", "Backup realizado em: 31/12/1999 as 00:00:00"},
      // No date arithmetic: what stands in the name is shown.
      {"undo-20051399-256199.reg", "Backup realizado em: 99/13/2005 as 25:61:99"},
      {"UNDO-ABCDEFGH-IJKLMN.REG", "Backup realizado em: GH/EF/ABCD as IJ:KL:MN"},
  };
  for (const DisplayCase& c : cases) EXPECT_EQ(BackupDisplayText(c.name), c.text) << c.name;
}

TEST(IsUndoFileName, TakesExactlyThePatternsShape) {
  EXPECT_TRUE(IsUndoFileName("undo-20050314-092607.reg"));
  EXPECT_TRUE(IsUndoFileName("UnDo-20050314-092607.rEg"));
  EXPECT_TRUE(IsUndoFileName("undo-ABCDEFGH-IJKLMN.reg"));
  EXPECT_FALSE(IsUndoFileName("undo-20050314-0926.reg"));
  EXPECT_FALSE(IsUndoFileName("undo-20050314-0926077.reg"));
  EXPECT_FALSE(IsUndoFileName("undo-20050314 092607.reg"));
  EXPECT_FALSE(IsUndoFileName("undo_20050314-092607.reg"));
  EXPECT_FALSE(IsUndoFileName("undo-20050314-092607.rex"));
  EXPECT_FALSE(IsUndoFileName(""));
}

TEST_F(BackupsTest, OpeningThePageShowsItWithZeroedCountersAndNoSelection) {
  AddUndo("undo-20050314-092607.reg");
  TForm1& form = *program.form;
  form.Label1.SetCaption("4711");
  form.Label2.SetCaption("12");
  form.BotaoRestaurar.SetEnabled(true);
  form.BotaoDeletar.SetEnabled(true);
  form.PageControl2.Hide();
  int searches = 0;
  listing.before_find = [&] {
    ++searches;
    EXPECT_EQ(Screen->Cursor(), TCursor::HourGlass);
    EXPECT_EQ(form.Panel2.Caption(), "Por favor, aguarde a pesquisa dos arquivos...");
    EXPECT_FALSE(form.BotaoRestaurar.Enabled());
  };
  Open();

  EXPECT_EQ(searches, 1);
  EXPECT_EQ(form.Label1.Caption(), "0");
  EXPECT_EQ(form.Label2.Caption(), "0");
  EXPECT_EQ(form.Height(), 432);
  EXPECT_EQ(form.Width(), 616);
  EXPECT_FALSE(form.PageControl1.Visible());
  EXPECT_TRUE(form.PageControl2.Visible());
  EXPECT_TRUE(form.Panel1.Visible());
  EXPECT_TRUE(form.BotaoBackups.Visible());
  EXPECT_TRUE(form.BotaoSair.Visible());
  EXPECT_EQ(form.Panel2.Caption(), "");
  EXPECT_EQ(Screen->Cursor(), TCursor::Default);
  EXPECT_THAT(program.host.cursor.shown, ElementsAre(TCursor::HourGlass, TCursor::Default));
  EXPECT_EQ(form.ListBox3.ItemIndex(), -1);
  EXPECT_FALSE(ButtonsEnabled());
  EXPECT_EQ(focus.focus, 1);
  EXPECT_THAT(program.dialogs.calls, IsEmpty());
}

TEST_F(BackupsTest, ButtonsAreEnabledOnlyBySelectionAndDisabledByEveryListing) {
  AddUndo("undo-20050314-092607.reg");
  AddUndo("undo-20050315-092607.reg");
  Open();
  EXPECT_FALSE(ButtonsEnabled());
  Select(1);
  EXPECT_TRUE(ButtonsEnabled());
  // A fresh listing forgets the selection.
  Open();
  EXPECT_FALSE(ButtonsEnabled());
  EXPECT_EQ(program.form->ListBox3.ItemIndex(), -1);
  // A click that selects nothing enables nothing.
  Select(-1);
  EXPECT_FALSE(ButtonsEnabled());
  // The disabled buttons take no click: no question is asked.
  Click(program.form->BotaoDeletar);
  Click(program.form->BotaoRestaurar);
  EXPECT_THAT(program.dialogs.calls, IsEmpty());
}

TEST_F(BackupsTest, EmptyFolderGivesAnEmptyListAndNoFocus) {
  Open();
  EXPECT_THAT(Entries(), IsEmpty());
  EXPECT_THAT(Names(), IsEmpty());
  EXPECT_FALSE(ButtonsEnabled());
  EXPECT_EQ(focus.focus, 0);
  EXPECT_THAT(program.dialogs.calls, IsEmpty());
}

TEST_F(BackupsTest, DeletesTheSelectedFileEvenWhenReadOnlyAndListsAgain) {
  AddUndo("undo-20050313-000000.reg");
  AddUndo("undo-20050314-000000.reg", kFileAttributeReadOnly | kFileAttributeArchive);
  AddUndo("undo-20050315-000000.reg");
  Open();
  Select(1);  // the middle one, newest first
  const size_t cursor_changes = program.host.cursor.shown.size();
  Delete({kIdYes});

  ASSERT_EQ(program.dialogs.calls.size(), 1u);
  EXPECT_EQ(program.dialogs.calls[0].text, "Deseja realmente remover este arquivo ?");
  EXPECT_EQ(program.dialogs.calls[0].caption, CreditCaption);
  EXPECT_EQ(program.dialogs.calls[0].style, kMbYesNo);
  EXPECT_FALSE(program.files.Exists("C:\\Quorvane\\undo-20050314-000000.reg"));
  EXPECT_THAT(Names(), ElementsAre("undo-20050315-000000.reg", "undo-20050313-000000.reg"));
  EXPECT_EQ(program.form->ListBox3.ItemIndex(), -1);
  EXPECT_FALSE(ButtonsEnabled());
  EXPECT_EQ(program.host.cursor.shown.size(), cursor_changes);  // the cursor is left alone
}

TEST_F(BackupsTest, AnsweringNoToTheDeletionChangesNothing) {
  AddUndo("undo-20050314-000000.reg", kFileAttributeReadOnly);
  Open();
  Select(0);
  Delete({kIdNo});
  EXPECT_EQ(program.files.Attributes("C:\\Quorvane\\undo-20050314-000000.reg"), kFileAttributeReadOnly);
  EXPECT_THAT(Names(), ElementsAre("undo-20050314-000000.reg"));
  EXPECT_EQ(program.form->ListBox3.ItemIndex(), 0);
  EXPECT_TRUE(ButtonsEnabled());
  EXPECT_EQ(listing.patterns.size(), 1u);
}

// Whatever became of the file since the listing, the list shows afterwards
// what is there, and nothing is said.
struct ChangedFileCase {
  const char* what;
  std::function<void(fake::FakeFileSystem&, const std::string& path)> change;
  bool listed_after;
};

TEST(Backups, DeletingAFileThatChangedSinceTheListingListsWhatIsLeft) {
  const ChangedFileCase cases[] = {
      {"vanished", [](fake::FakeFileSystem& f, const std::string& p) { f.Remove(p); }, false},
      {"in use", [](fake::FakeFileSystem& f, const std::string& p) { f.locked.insert(fake::FakeFileSystem::Key(p)); },
       true},
      {"refused", [](fake::FakeFileSystem& f, const std::string& p) { f.undeletable.insert(fake::FakeFileSystem::Key(p)); },
       true},
  };
  for (const ChangedFileCase& c : cases) {
    SCOPED_TRACE(c.what);
    Page page;
    page.AddUndo("undo-20050314-000000.reg");
    page.AddUndo("undo-20050315-000000.reg");
    page.Open();
    page.Select(1);
    c.change(page.program.files, "C:\\Quorvane\\undo-20050314-000000.reg");
    page.Delete({kIdYes});
    EXPECT_EQ(page.program.dialogs.calls.size(), 1u);
    EXPECT_EQ(page.Names().size(), c.listed_after ? 2u : 1u);
    EXPECT_EQ(page.Names().at(0), "undo-20050315-000000.reg");
    EXPECT_FALSE(page.ButtonsEnabled());
  }
}

TEST_F(BackupsTest, RestoreStartsTheRegistryEditorHiddenOnTheShortPath) {
  AddUndo("undo-20050313-000000.reg");
  AddUndo("undo-20050314-092607.reg");
  program.files.short_names[fake::FakeFileSystem::Key("C:\\Quorvane\\undo-20050313-000000.reg")] =
      "C:\\QUORVA~1\\UNDO-2~1.REG";
  Open();
  Select(1);
  program.shell.on_execute = [&](const fake::ShellCall&) { EXPECT_EQ(Screen->Cursor(), TCursor::HourGlass); };
  Restore({kIdYes, kIdOk});

  ASSERT_EQ(program.shell.calls.size(), 1u);
  const fake::ShellCall& call = program.shell.calls[0];
  EXPECT_EQ(call.operation, "open");
  EXPECT_EQ(call.file, "regedit.exe");
  EXPECT_EQ(call.parameters, "/S C:\\QUORVA~1\\UNDO-2~1.REG");
  EXPECT_EQ(call.directory, "");
  EXPECT_EQ(call.show, kSwHide);
  ASSERT_EQ(program.dialogs.calls.size(), 2u);
  EXPECT_EQ(program.dialogs.calls[0].text, "Deseja restaurar este backup ?");
  EXPECT_EQ(program.dialogs.calls[0].style, kMbYesNo);
  EXPECT_EQ(program.dialogs.calls[1].text, kRestored);
  EXPECT_EQ(program.dialogs.calls[1].caption, CreditCaption);
  EXPECT_EQ(program.dialogs.calls[1].style, kMbOk);
  EXPECT_EQ(Screen->Cursor(), TCursor::Default);
  // A restore leaves the page as it was.
  EXPECT_EQ(program.form->ListBox3.ItemIndex(), 1);
  EXPECT_TRUE(ButtonsEnabled());
  EXPECT_EQ(listing.patterns.size(), 1u);
}

TEST_F(BackupsTest, AnsweringNoToTheRestoreStartsNothing) {
  AddUndo("undo-20050314-092607.reg");
  Open();
  Select(0);
  Restore({kIdNo});
  EXPECT_THAT(program.shell.calls, IsEmpty());
  EXPECT_EQ(program.dialogs.calls.size(), 1u);
  EXPECT_THAT(program.host.cursor.shown, ElementsAre(TCursor::HourGlass, TCursor::Default));  // the listing's
}

// What the user is told and what the editor is handed, by what the platform
// gives: a short form or none, a start or a failed one, a file or none.
struct RestoreCase {
  const char* what;
  const char* exe;
  const char* short_form;  // nullptr: the platform's own answer
  bool vanish;
  intptr_t result;
  const char* parameters;  // nullptr: the editor is not started
  std::string notice;
};

TEST(Backups, RestoreTellsWhetherTheEditorCouldBeStartedAndNamesTheFileWhole) {
  const RestoreCase cases[] = {
      {"started", "C:\\Quorvane\\q.exe", "C:\\QUORVANE\\UNDO-2~1.REG", false, 33, "/S C:\\QUORVANE\\UNDO-2~1.REG",
       kRestored},
      {"start refused: no such program", "C:\\Quorvane\\q.exe", "C:\\QUORVANE\\UNDO-2~1.REG", false, 2,
       "/S C:\\QUORVANE\\UNDO-2~1.REG", kNotStarted},
      {"start refused: result 32", "C:\\Quorvane\\q.exe", "C:\\QUORVANE\\UNDO-2~1.REG", false, 32,
       "/S C:\\QUORVANE\\UNDO-2~1.REG", kNotStarted},
      {"no short form: the long path", "C:\\Quorvane\\q.exe", "", false, 42,
       "/S C:\\Quorvane\\undo-20050314-092607.reg", kRestored},
      {"no short form, blanks in the folder: quoted", "C:\\Meus Programas\\Registro \xD3timo\\q.exe", "", false, 42,
       "/S \"C:\\Meus Programas\\Registro \xD3timo\\undo-20050314-092607.reg\"", kRestored},
      {"short form given back long, with blanks: quoted", "C:\\Meus Programas\\q.exe", nullptr, false, 42,
       "/S \"C:\\Meus Programas\\undo-20050314-092607.reg\"", kRestored},
      {"short form of a folder with blanks", "C:\\Meus Programas\\Registro \xD3timo\\q.exe", "C:\\MEUSPR~1\\REGIST~1\\UNDO-2~1.REG",
       false, 42, "/S C:\\MEUSPR~1\\REGIST~1\\UNDO-2~1.REG", kRestored},
      {"file gone since the listing", "C:\\Quorvane\\q.exe", nullptr, true, 42, nullptr, kGone},
  };
  for (const RestoreCase& c : cases) {
    SCOPED_TRACE(c.what);
    Page page(c.exe);
    page.AddUndo("undo-20050314-092607.reg");
    const std::string path = State.ProgramFolder + "undo-20050314-092607.reg";
    if (c.short_form) page.program.files.short_names[fake::FakeFileSystem::Key(path)] = c.short_form;
    page.program.shell.result = c.result;
    page.Open();
    page.Select(0);
    if (c.vanish) page.program.files.Remove(path);
    page.Restore({kIdYes, kIdOk});

    if (c.parameters) {
      ASSERT_EQ(page.program.shell.calls.size(), 1u);
      EXPECT_EQ(page.program.shell.calls[0].parameters, c.parameters);
    } else {
      EXPECT_THAT(page.program.shell.calls, IsEmpty());
    }
    ASSERT_EQ(page.program.dialogs.calls.size(), 2u);
    EXPECT_EQ(page.program.dialogs.calls[1].text, c.notice);
    EXPECT_EQ(page.program.dialogs.calls[1].style, kMbOk);
    EXPECT_EQ(Screen->Cursor(), TCursor::Default);
    EXPECT_EQ(page.Names().size(), 1u);  // the list is not touched
  }
}

TEST(Backups, WorksInAFolderWithBlanksAndAccents) {
  Page page("C:\\Meus Programas\\Registro \xD3timo\\quorvane.exe");
  page.AddUndo("undo-20050314-092607.reg");
  page.AddUndo("UNDO-20050315-100000.REG");
  page.Open();
  EXPECT_THAT(page.listing.patterns, ElementsAre("C:\\Meus Programas\\Registro \xD3timo\\UNDO-????????" "-??????.REG"));
  EXPECT_THAT(page.Entries(), ElementsAre("Backup realizado em: 15/03/2005 as 10:00:00",
                                          "Backup realizado em: 14/03/2005 as 09:26:07"));
  page.Select(0);
  page.Delete({kIdYes});
  EXPECT_FALSE(page.program.files.Exists("C:\\Meus Programas\\Registro \xD3timo\\UNDO-20050315-100000.REG"));
  EXPECT_THAT(page.Names(), ElementsAre("undo-20050314-092607.reg"));
}

}  // namespace
}  // namespace quorvane::testing

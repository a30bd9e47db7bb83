// The backup page's handlers and its listing.
#include "repair/backups.h"

#include "app/credits.h"
#include "app/main_form.h"
#include "app/program_state.h"
#include "platform/text.h"

namespace quorvane {

namespace {

// Piece of a name by its 1-based position, as the display text counts.
std::string Chars(const std::string& name, size_t from, size_t count) {
  return from - 1 < name.size() ? name.substr(from - 1, count) : std::string();
}

// The full path of the file behind the selected entry; empty when nothing
// is selected.
std::string SelectedBackupPath() {
  const int index = Form1->ListBox3.ItemIndex();
  const TStrings& names = Form1->ListBox4.Items();
  if (index < 0 || index >= names.Count()) return std::string();
  return State.ProgramFolder + names[index];
}

// The argument that names the file to the registry editor. Its short form
// where the platform has one; otherwise the long path, as long as the file
// is there at all. A path with a blank is quoted, since the editor would
// otherwise read only up to the blank. Empty when the file is gone.
std::string EditorFileArgument(const std::string& path) {
  std::string argument = Platform.files->GetShortPathName(path);
  if (argument.empty()) {
    const uint32_t attributes = Platform.files->GetFileAttributes(path);
    if (attributes == kInvalidFileAttributes || (attributes & kFileAttributeDirectory)) return std::string();
    argument = path;
  }
  if (argument.find(' ') != std::string::npos) argument = "\"" + argument + "\"";
  return argument;
}

}  // namespace

bool IsUndoFileName(const std::string& name) {
  // The platform's search also lets a "?" before the dot match nothing, so
  // shorter names come back from it; only the full shape is an undo file.
  const std::string pattern = kUndoFilePattern;
  if (name.size() != pattern.size()) return false;
  for (size_t i = 0; i < name.size(); ++i)
    if (pattern[i] != '?' && AnsiUpper(static_cast<unsigned char>(name[i])) !=
                                 static_cast<unsigned char>(pattern[i]))
      return false;
  return true;
}

std::string BackupDisplayText(const std::string& file_name) {
  return "Backup realizado em: " + Chars(file_name, 12, 2) + "/" + Chars(file_name, 10, 2) + "/" +
         Chars(file_name, 6, 4) + " as " + Chars(file_name, 15, 2) + ":" + Chars(file_name, 17, 2) + ":" +
         Chars(file_name, 19, 2);
}

void ListarBackups() {
  TStrings& entries = Form1->ListBox3.Items();
  TStrings& names = Form1->ListBox4.Items();
  entries.Clear();
  names.Clear();
  Form1->BotaoRestaurar.SetEnabled(false);
  Form1->BotaoDeletar.SetEnabled(false);

  const std::vector<std::string> found = Platform.files->FindFiles(State.ProgramFolder + kUndoFilePattern);
  if (!found.empty()) {
    // Sorted ignoring case, the names stand in the order of their stamps.
    names.SetSorted(true);
    for (const std::string& name : found)
      if (IsUndoFileName(name)) names.Add(name);
    names.SetSorted(false);
    for (int i = names.Count() - 1; i >= 0; --i) entries.Add(names[i]);
    names.Clear();
    for (const std::string& name : entries.Lines()) names.Add(name);
    for (int i = 0; i < entries.Count(); ++i) entries.Put(i, BackupDisplayText(entries[i]));
  }
  if (entries.Count() > 0) Form1->ListBox3.SetFocus();
}

void TForm1::BotaoBackupsClick() {
  const TCursor saved_cursor = Screen->Cursor();
  Screen->SetCursor(TCursor::HourGlass);
  Panel2.SetCaption("Por favor, aguarde a pesquisa dos arquivos...");
  SetBounds({Left(), Top(), 616, 432});
  BotaoRestaurar.SetEnabled(false);
  BotaoDeletar.SetEnabled(false);
  PageControl1.Hide();
  PageControl2.Show();
  Panel1.Show();
  Label1.SetCaption("0");
  Label2.SetCaption("0");
  ListarBackups();
  Panel2.SetCaption("");
  Screen->SetCursor(saved_cursor);
  BotaoBackups.Show();
  BotaoSair.Show();
}

void TForm1::ListBox3Click() {
  // A click that leaves no entry selected gives the buttons nothing to act on.
  const bool selected = ListBox3.ItemIndex() >= 0;
  BotaoRestaurar.SetEnabled(selected);
  BotaoDeletar.SetEnabled(selected);
}

void TForm1::BotaoDeletarClick() {
  const std::string path = SelectedBackupPath();
  if (path.empty()) return;
  if (Platform.dialogs->MessageBox("Deseja realmente remover este arquivo ?", CreditCaption, kMbYesNo) != kIdYes)
    return;
  // Cleared first, so that a read-only undo file goes too. Whatever the
  // outcome, the new listing shows what is left.
  Platform.files->SetFileAttributes(path, kFileAttributeNormal);
  Platform.files->DeleteFile(path);
  ListarBackups();
}

void TForm1::BotaoRestaurarClick() {
  const std::string path = SelectedBackupPath();
  if (path.empty()) return;
  if (Platform.dialogs->MessageBox("Deseja restaurar este backup ?", CreditCaption, kMbYesNo) != kIdYes) return;
  const TCursor saved_cursor = Screen->Cursor();
  Screen->SetCursor(TCursor::HourGlass);
  const std::string argument = EditorFileArgument(path);
  // The editor runs on its own; all we learn is whether it could be started.
  bool started = false;
  if (!argument.empty())
    started = Platform.shell->Execute("open", "regedit.exe", "/S " + argument, "", kSwHide) > 32;
  Screen->SetCursor(saved_cursor);
  const char* notice = argument.empty() ? "O arquivo de backup não foi encontrado."
                       : started        ? "Arquivo restaurado com sucesso"
                                        : "Não foi possível iniciar a restauração do backup.";
  Platform.dialogs->MessageBox(notice, CreditCaption, kMbOk);
}

}  // namespace quorvane

// The course of a scan, from the click on "&Iniciar pesquisa" to the final
// status text, and the stop role of BotaoParar.
#include "app/main_form.h"
#include "app/program_state.h"
#include "app/trace_log.h"
#include "repair/removal.h"
#include "scan/file_tests.h"
#include "scan/registry_walker.h"

namespace quorvane {

namespace {
const char* RootLabel(RootKey root) {
  switch (root) {
    case RootKey::ClassesRoot: return "HKCR";
    case RootKey::CurrentUser: return "HKCU";
    case RootKey::LocalMachine: return "HKLM";
    case RootKey::Users: return "HKU";
    case RootKey::CurrentConfig: return "HKCC";
  }
  return "";
}
}  // namespace

void TForm1::BotaoIniciarClick() {
  const TCursor saved_cursor = Screen->Cursor();
  Screen->SetCursor(TCursor::HourGlass);
  Panel2.SetCaption("Por favor, aguarde a pesquisa...");
  Panel2.Show();
  SetBounds({Left(), Top(), 616, 432});
  PageControl2.Hide();
  PageControl1.Show();
  PageControl1.SetBounds({PageControl1.Left(), PageControl1.Top(), 593, 321});
  Panel1.Show();
  BotaoIniciar.SetEnabled(false);
  BotaoParar.SetCaption(kStopCaption);
  BotaoParar.SetEnabled(true);
  BotaoParar.Show();
  BotaoChecaVersao.Hide();
  BotaoBackups.Hide();
  BotaoSair.Hide();
  Label1.SetCaption("0");
  Label2.SetCaption("0");
  ListBox1.Items().Clear();
  ListBox2.Items().Clear();
  State.FoundValues.clear();
  State.VerifiedCount = 0;
  State.FoundCount = 0;
  State.StopRequested = false;
  State.TracePath = State.ProgramFolder + "debug.txt";
  State.TraceEnabled = ArquivoOuPastaExiste(State.TracePath);
  TraceLine("Iniciando...");

  // All five walks are made after a stop too: each returns at its entry
  // check, and every root label still reaches the trace.
  for (RootKey root : kScanRoots) {
    TraceLine(RootLabel(root));
    EnumRegistryKeys(root, "");
  }

  TStrings& undo_script = ListBox1.Items();
  if (undo_script.Count() > 0) undo_script.Add("");
  BotaoIniciar.SetEnabled(true);
  Screen->SetCursor(saved_cursor);
  if (!State.StopRequested) {
    if (undo_script.Count() > 0) {
      BotaoParar.SetCaption("&Remover ítens");
      Panel2.SetCaption("Pesquisa finalizada.");
    } else {
      Panel2.SetCaption("Pesquisa finalizada.  Nenhum ítem inválido encontrado.");
    }
  }
  BotaoBackups.Show();
  BotaoSair.Show();
  TraceLine("Finalizando...");
}

void TForm1::BotaoPararClick() {
  if (BotaoParar.Caption() != kStopCaption) {
    RemovalClick();
    return;
  }
  TraceLine("Botao PARAR clicado");
  State.StopRequested = true;
  BotaoParar.Hide();
  BotaoChecaVersao.Show();
  BotaoBackups.Show();
  Panel2.SetCaption("");
}

}  // namespace quorvane

// The removal role of BotaoParar: after the user's Yes, the undo script is
// saved as a time-stamped file next to the executable, and only then is the
// value of every found record deleted.
#include "repair/removal.h"

#include <cstdio>
#include <memory>

#include "app/credits.h"
#include "app/main_form.h"
#include "app/program_state.h"
#include "app/trace_log.h"
#include "platform/text.h"

namespace quorvane {

namespace {

constexpr const char* kDefaultValueLine = "(Default)";

struct RootName {
  const char* long_name;
  RootKey root;
};

constexpr RootName kRootNames[] = {
    {"HKEY_CLASSES_ROOT", RootKey::ClassesRoot},   {"HKEY_CURRENT_USER", RootKey::CurrentUser},
    {"HKEY_LOCAL_MACHINE", RootKey::LocalMachine}, {"HKEY_USERS", RootKey::Users},
    {"HKEY_CURRENT_CONFIG", RootKey::CurrentConfig},
};

// "yyyymmdd-hhnnss" of the local time.
std::string TimeStamp(const LocalTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return text;
}

// The name of the value a record stands for. The third line cannot tell a
// value named "(Default)" from the key's unnamed value; the value kept beside
// the record can, as long as the record's lines still name that value.
std::string ValueToDelete(size_t record, RootKey root, const std::string& key_path, const std::string& line) {
  if (record < State.FoundValues.size()) {
    const FoundValue& kept = State.FoundValues[record];
    const bool same_value =
        kept.value_name == line || (line == kDefaultValueLine && kept.value_name.empty());
    if (kept.root == root && kept.key_path == key_path && same_value) return kept.value_name;
  }
  return line == kDefaultValueLine ? std::string() : line;
}

}  // namespace

std::optional<RootKey> RootKeyFromName(const std::string& long_name) {
  for (const RootName& row : kRootNames)
    if (AnsiSameText(long_name, row.long_name)) return row.root;
  return std::nullopt;
}

std::string RemovalNotice(const RemovalTally& tally) {
  if (tally.refused == 0) return "Ítens removidos";
  if (tally.removed == 0) return "Nenhum ítem foi removido: o sistema não permitiu a remoção.";
  if (tally.refused == 1) return "Ítens removidos, exceto 1 ítem que o sistema não permitiu remover.";
  return "Ítens removidos, exceto " + IntToStr(tally.refused) + " ítens que o sistema não permitiu remover.";
}

void RemovalClick() {
  const std::string question =
      "Todos ítens inválidos encontrados, serão removidos.\n\nContinua com a remoção ?";
  if (Platform.dialogs->MessageBox(question, CreditCaption, kMbYesNo) != kIdYes) return;

  TraceLine("Botao REMOVER ITENS clicado");
  TraceLine("Identificando nome do arquivo de UNDO");
  const std::string undo_path = State.ProgramFolder + "undo-" + TimeStamp(Platform.clock->Now()) + ".reg";
  TraceLine("Vai gerar arquivo:");
  TraceLine(undo_path);
  TraceLine("Salvando arquivo...");
  // The save is complete and flushed, or it throws and nothing is deleted:
  // the message loop shows the failure and the found list stays removable.
  Platform.files->SaveLines(undo_path, Form1->ListBox1.Items().Lines());
  TraceLine("Terminou de salvar arquivo...");
  TraceLine("Vai remover itens invalidos");
  const RemovalTally tally = RemoverItensInvalidos();
  TraceLine("Terminou de remover itens invalidos");
  Platform.dialogs->MessageBox(RemovalNotice(tally), CreditCaption, kMbOk);
}

RemovalTally RemoverItensInvalidos() {
  RemovalTally tally;
  const TCursor saved_cursor = Screen->Cursor();
  Screen->SetCursor(TCursor::HourGlass);
  Form1->Panel2.SetCaption("Por favor, aguarde a remoção dos ítens inválidos...");
  Form1->BotaoParar.SetEnabled(false);

  const TStrings& found = Form1->ListBox2.Items();
  try {
    TraceLine("Iniciando a remocao de itens invalidos");
    for (int i = 0; i < found.Count(); i += 5) {
      std::unique_ptr<TRegistry> access;
      try {
        const std::string root_name = found[i];
        TraceLine("Vai remover a chave:");
        TraceLine(root_name);
        const std::optional<RootKey> root = RootKeyFromName(root_name);
        if (root) access = std::make_unique<TRegistry>(*Platform.registry, *root);
        const std::string key_path = found[i + 1];
        TraceLine(key_path);
        if (access && access->OpenKey(key_path, false)) {
          const std::string line = found[i + 2];
          TraceLine("Vai remover o valor:");
          TraceLine(line);
          const std::string name = ValueToDelete(static_cast<size_t>(i / 5), *root, key_path, line);
          // A value already gone is removed all the same: HKEY_CLASSES_ROOT
          // shows values stored under HKEY_LOCAL_MACHINE, so one value can
          // be listed twice and is gone after its first record.
          switch (access->Key().DeleteValue(name)) {
            case DeleteOutcome::Deleted:
            case DeleteOutcome::NotFound: ++tally.removed; break;
            case DeleteOutcome::Denied: ++tally.refused; break;
          }
        } else if (access) {
          // Only a refusal is the system keeping the value; a key that
          // failed for another reason says nothing about it.
          switch (access->LastFailure()) {
            case OpenFailure::NotFound: ++tally.removed; break;
            case OpenFailure::AccessDenied: ++tally.refused; break;
            case OpenFailure::None:
            case OpenFailure::Other: break;
          }
        }
        access.reset();
      } catch (...) {
        TraceLine("Tratador de erros do RemoverItensInvalidos 1");
        access.reset();
      }
    }
  } catch (...) {
    TraceLine("Tratador de erros do RemoverItensInvalidos 2");
  }

  Form1->Panel2.SetCaption("");
  Screen->SetCursor(saved_cursor);
  return tally;
}

}  // namespace quorvane

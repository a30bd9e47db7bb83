#include "repair/undo_script.h"

#include <stdexcept>

#include "app/main_form.h"
#include "app/program_state.h"
#include "app/trace_log.h"
#include "scan/root_key_names.h"
#include "scan/value_kind.h"

namespace quorvane {

namespace {

// The undo lines continue the classifier's numbering of its checkpoints.
void Checkpoint(const char* number) { TraceLine("VerificarExistenciaPath - ", number); }

// A raw CR or LF ends the line for the registry editor, and a raw NUL makes
// its reader lose what follows in its buffer.
bool FitsOnLine(const std::string& text) { return text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos; }

// What the editor accepts after "dword:", and what the walker gives.
bool IsDwordText(const std::string& text) {
  if (text.empty() || text.size() > 8) return false;
  for (char c : text)
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'))) return false;
  return true;
}

bool IsDwordKind(int value_kind) { return value_kind == SharedDllPath || value_kind == NamePathDword; }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// "XX," for every byte (codes 128 and above as two digits too), then the
// terminating "00".
void AppendByteList(std::string& out, const std::string& text) {
  static const char kDigits[] = "0123456789ABCDEF";
  out.reserve(out.size() + 3 * text.size() + 2);
  for (char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
    out += ',';
  }
  out += "00";
}

}  // namespace

bool UndoEntryFits(RootKey root, const std::string& key_path, const std::string& value_name, int value_kind,
                   const std::string& path_text, const std::string& companion_text) {
  if (RootKeyLongName(root).empty() || !FitsOnLine(key_path)) return false;
  // The unnamed value's line carries data only.
  if (value_name.empty()) return true;
  if (!FitsOnLine(value_name)) return false;
  // For these kinds the line takes the name from the path text.
  if (IsDwordKind(value_kind)) return FitsOnLine(path_text) && IsDwordText(companion_text);
  if (value_kind == NamePathString) return FitsOnLine(path_text);
  return true;
}

void WriteUndoEntry(RootKey root, const std::string& key_path, const std::string& value_name, int value_kind,
                    const std::string& path_text, const std::string& companion_text) {
  // A line that the editor would split could make a restore do anything:
  // refuse before a single line is written.
  if (!UndoEntryFits(root, key_path, value_name, value_kind, path_text, companion_text))
    throw std::invalid_argument("value cannot be written to the undo script");

  TStrings& script = Form1->ListBox1.Items();
  // Built first and appended together, so that the script never holds part
  // of an entry.
  std::vector<std::string> lines;
  Checkpoint("74");
  if (script.Count() == 0) {
    lines.push_back("REGEDIT4");
    lines.push_back("");
  }
  Checkpoint("75");
  const std::string long_name = RootKeyLongName(root);
  Checkpoint("76");
  lines.push_back("[" + long_name + key_path + "]");

  Checkpoint("77");
  // The name is escaped before the data, so the encoders' trace lines keep
  // the order of the line's parts.
  std::string value_line;
  if (value_name.empty()) {
    Checkpoint("78");
    value_line = "@=";
    value_line += StringValueData(path_text);
  } else {
    Checkpoint("79");
    if (IsDwordKind(value_kind)) {
      Checkpoint("80");
      value_line = Quoted(CaracteresEspeciais(path_text));
      value_line += "=dword:" + companion_text;
    } else if (value_kind == HelpFilePath) {
      // The folder as the value holds it, not the file path that was tested.
      Checkpoint("81");
      value_line = Quoted(CaracteresEspeciais(value_name));
      value_line += "=" + StringValueData(path_text);
    } else if (value_kind == NamePathString) {
      Checkpoint("82");
      value_line = Quoted(CaracteresEspeciais(path_text));
      value_line += "=" + StringValueData(companion_text);
    } else if (value_kind == ExpandedDataPath) {
      Checkpoint("83");
      value_line = Quoted(CaracteresEspeciais(value_name));
      value_line += "=" + CaracteresExpandidos(path_text);
    } else {
      Checkpoint("84");
      value_line = Quoted(CaracteresEspeciais(value_name));
      value_line += "=" + StringValueData(path_text);
    }
  }
  lines.push_back(std::move(value_line));
  Checkpoint("85");
  lines.push_back("");
  AppendWhole(script, lines);
}

std::string CaracteresEspeciais(const std::string& text) {
  TraceLine("Inicio caracteres especiais");
  std::string result;
  try {
    result.reserve(text.size());
    for (char c : text) {
      if (c == '\\')
        result += "\\\\";
      else if (c == '"')
        result += "\\\"";
      else
        result += c;
    }
  } catch (...) {
    // Lack of memory: what was built so far is the answer.
    TraceLine("Tratador de erros do CaracteresEspeciais");
  }
  TraceLine("Fim caracteres especiais");
  return result;
}

std::string CaracteresExpandidos(const std::string& text) {
  TraceLine("Inicio caracteres expandidos");
  std::string result;
  try {
    result = "hex(2):";
    AppendByteList(result, text);
  } catch (...) {
    TraceLine("Tratador de erros do CaracteresExpandidos");
  }
  TraceLine("Fim caracteres expandidos");
  return result;
}

std::string StringValueData(const std::string& text) {
  if (FitsOnLine(text)) return Quoted(CaracteresEspeciais(text));
  std::string list = "hex(1):";
  AppendByteList(list, text);
  return list;
}

void AppendWhole(TStrings& list, const std::vector<std::string>& lines) {
  // Meant for lists kept in the order of their appends (the program's
  // stores are never sorted): the lines before `before` are the old ones.
  const int before = list.Count();
  try {
    for (const std::string& line : lines) list.Add(line);
  } catch (...) {
    if (list.Count() > before) {
      std::vector<std::string> kept(list.Lines().begin(), list.Lines().begin() + before);
      list.Clear();
      for (std::string& line : kept) list.Add(std::move(line));
    }
    throw;
  }
}

}  // namespace quorvane

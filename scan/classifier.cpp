#include "scan/classifier.h"

#include <utility>
#include <vector>

#include "app/main_form.h"
#include "app/program_state.h"
#include "app/trace_log.h"
#include "platform/text.h"
#include "repair/undo_script.h"
#include "scan/path_cleanup.h"
#include "scan/path_exists.h"
#include "scan/root_key_names.h"
#include "scan/value_kind.h"

namespace quorvane {

namespace {

void Checkpoint(const char* number) { TraceLine("VerificarExistenciaPath - ", number); }

bool IsDwordKind(int value_kind) { return value_kind == SharedDllPath || value_kind == NamePathDword; }

// Keeps the part of `t` before the first `pattern`, when there is one.
bool CutBefore(std::string& t, const char* pattern) {
  const size_t at = t.find(pattern);
  if (at == std::string::npos) return false;
  t.erase(at);
  return true;
}

// Searches the upper-cased copy for `pattern` (plain ASCII) and keeps the
// first `at + keep` characters of `t` itself: the case of the text stays.
bool CutAfterUpper(std::string& t, const char* pattern, size_t keep) {
  const size_t at = AnsiUpperCase(t).find(pattern);
  if (at == std::string::npos) return false;
  t = FirstN(t, static_cast<long long>(at + keep));
  return true;
}

// The entry is recorded in three places, in this order: the undo lines, the
// count, the found-list record. The record and the value behind it go in
// together and whole, so that the removal, which reads the list five lines
// at a time, always finds whole records in step with State.FoundValues.
void Record(const std::string& t, const std::string& path_text, RootKey root, const std::string& key_path,
            const std::string& value_name, int value_kind, const std::string& companion_text) {
  WriteUndoEntry(root, key_path, value_name, value_kind, path_text, companion_text);

  Increment(State.FoundCount);
  Form1->Label2.SetCaption(IntToStr(State.FoundCount));

  std::vector<std::string> record;
  record.reserve(5);
  record.push_back(RootKeyLongName(root));
  record.push_back(key_path);
  Checkpoint("86");
  record.push_back(value_name.empty() ? std::string("(Default)") : value_name);
  Checkpoint("87");
  if (IsDwordKind(value_kind)) {
    Checkpoint("88");
    record.push_back("dword:" + companion_text);
  } else if (value_kind == NamePathString) {
    Checkpoint("89");
    record.push_back(companion_text);
  } else {
    Checkpoint("90");
    record.push_back(t);
  }
  record.push_back(std::string());

  FoundValue found{root, key_path, value_name};
  std::vector<FoundValue>& values = State.FoundValues;
  // Room first: once the lines are in, adding the value cannot fail.
  if (values.size() == values.capacity()) values.reserve(values.empty() ? 16 : 2 * values.size());
  AppendWhole(Form1->ListBox2.Items(), record);
  values.push_back(std::move(found));
}

}  // namespace

void VerificarExistenciaPath(const std::string& path_text, RootKey root, const std::string& key_path,
                             const std::string& value_name, int value_kind,
                             const std::string& companion_text) {
  TraceLine("Inicio do VerificarExistenciaPath");
  try {
    // T: the working text, cut down step by step. path_text stays as
    // received for the undo lines.
    std::string t = path_text;

    // 0. A help value holds the folder; its name is the file.
    if (value_kind == HelpFilePath) {
      if (!EndsWith(t, "\\")) t += '\\';
      t += companion_text;
    }

    // 1. The text as it stands.
    Checkpoint("1");
    if (PathExiste(t)) {
      Checkpoint("2");
      return;
    }

    // 2. From the drive letter on (a program before it, such as rundll32,
    // is dropped), then up to an apostrophe.
    Checkpoint("3");
    size_t colon = t.find(":\\");
    if (colon != std::string::npos) {
      Checkpoint("4");
      if (colon > 0) t.erase(0, colon - 1);
      Checkpoint("5");
      if (PathExiste(t)) {
        Checkpoint("6");
        return;
      }
    }
    Checkpoint("7");
    if (CutBefore(t, "'")) Checkpoint("8");
    Checkpoint("9");

    // 3. Two drive paths in one text: no verdict.
    Checkpoint("10");
    colon = t.find(":\\");
    if (colon != std::string::npos) {
      Checkpoint("11");
      if (t.find(":\\", colon + 1) != std::string::npos) {
        Checkpoint("12");
        return;
      }
    }

    // 4. Up to a switch.
    Checkpoint("13");
    Checkpoint("17");
    if (CutBefore(t, "/")) {
      Checkpoint("18");
      Checkpoint("19");
      if (PathExiste(t)) {
        Checkpoint("20");
        return;
      }
    }

    // 5. Without its wrapping.
    Checkpoint("21");
    t = RemoveAspas(t);
    Checkpoint("22");
    if (PathExiste(t)) {
      Checkpoint("23");
      return;
    }

    // 6. Up to an argument such as %1.
    Checkpoint("24");
    if (CutBefore(t, "%")) {
      Checkpoint("25");
      t = RemoveAspas(t);
      Checkpoint("26");
      if (PathExiste(t)) {
        Checkpoint("27");
        return;
      }
    }

    // 7. Up to a quote left inside.
    Checkpoint("28");
    if (CutBefore(t, "\"")) {
      Checkpoint("29");
      Checkpoint("30");
      if (PathExiste(t)) {
        Checkpoint("31");
        return;
      }
    }

    // 8. A program followed by a dash switch: up to the blank after ".EXE".
    Checkpoint("32");
    Checkpoint("40");
    if (CutAfterUpper(t, ".EXE -", 5)) {
      Checkpoint("41");
      Checkpoint("42");
      if (PathExiste(t)) {
        Checkpoint("43");
        return;
      }
    }

    // 9. A service-host command line: no verdict.
    Checkpoint("44");
    if (AnsiUpperCase(t).find("SVCHOST -") != std::string::npos) {
      Checkpoint("45");
      return;
    }

    // 10. Type-library paths carry a resource number or a suffix after the
    // module's extension.
    Checkpoint("46");
    if (AnsiUpperCase(key_path).find("\\TYPELIB") != std::string::npos) {
      Checkpoint("47");
      if (CutAfterUpper(t, ".DLL\\", 4)) {
        Checkpoint("48");
        Checkpoint("49");
        if (PathExiste(t)) {
          Checkpoint("50");
          return;
        }
      }
      if (CutAfterUpper(t, ".DLL,", 4)) {
        Checkpoint("50.1");
        Checkpoint("50.2");
        if (PathExiste(t)) {
          Checkpoint("50.3");
          return;
        }
      }
      Checkpoint("51");
      if (CutAfterUpper(t, ".EXE\\", 4)) {
        Checkpoint("52");
        Checkpoint("53");
        if (PathExiste(t)) {
          Checkpoint("54");
          return;
        }
      }
      Checkpoint("55");
      if (CutAfterUpper(t, ".OCX\\", 4)) {
        Checkpoint("56");
        Checkpoint("57");
        if (PathExiste(t)) {
          Checkpoint("58");
          return;
        }
      }
    }

    // 11. to 13. Up to a caret argument, a list separator, a comma.
    Checkpoint("59");
    if (CutBefore(t, " ^")) {
      Checkpoint("60");
      Checkpoint("61");
      t = RemoveAspas(t);
      Checkpoint("62");
      if (PathExiste(t)) {
        Checkpoint("63");
        return;
      }
    }
    Checkpoint("64");
    if (CutBefore(t, ";")) {
      Checkpoint("65");
      Checkpoint("66");
      t = RemoveAspas(t);
      Checkpoint("67");
      if (PathExiste(t)) {
        Checkpoint("68");
        return;
      }
    }
    Checkpoint("69");
    if (CutBefore(t, ",")) {
      Checkpoint("70");
      Checkpoint("71");
      t = RemoveAspas(t);
      Checkpoint("72");
      if (PathExiste(t)) {
        Checkpoint("73");
        return;
      }
    }

    // 14. Missing. A value whose key or name the undo script cannot carry is
    // left unrecorded: it would be deleted without a way back, or its undo
    // line could make a restore change other keys.
    if (!UndoEntryFits(root, key_path, value_name, value_kind, path_text, companion_text)) return;
    Record(t, path_text, root, key_path, value_name, value_kind, companion_text);
    Checkpoint("91");
  } catch (...) {
    TraceLine("Tratador de excessoes do VerificarExistenciaPath");
    Checkpoint("91");
  }
}

}  // namespace quorvane

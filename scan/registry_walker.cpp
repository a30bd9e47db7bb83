#include "scan/registry_walker.h"

#include <vector>

#include "app/main_form.h"
#include "app/program_state.h"
#include "app/trace_log.h"
#include "platform/text.h"
#include "scan/classifier.h"
#include "scan/file_tests.h"

namespace quorvane {

namespace {

enum class KeyMode { PerValue, SharedDll, HelpFile };

ValueClassifier& ClassifierOverride() {
  static ValueClassifier classifier;
  return classifier;
}

void Checkpoint(const char* number) { TraceLine("EnumRegistryKeys - ", number); }

KeyMode ModeOf(const std::string& upper_key_path) {
  if (upper_key_path == "\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\SHAREDDLLS") return KeyMode::SharedDll;
  if (upper_key_path == "\\SOFTWARE\\MICROSOFT\\WINDOWS\\HELP" ||
      upper_key_path == "\\SOFTWARE\\MICROSOFT\\WINDOWS\\HTML HELP")
    return KeyMode::HelpFile;
  return KeyMode::PerValue;
}

// ":\" with a letter A to Z, in either case, just before its first occurrence.
bool HasDrivePath(const std::string& text) {
  const size_t at = text.find(":\\");
  if (at == std::string::npos || at == 0) return false;
  const unsigned char letter = AnsiUpper(static_cast<unsigned char>(text[at - 1]));
  return letter >= 'A' && letter <= 'Z';
}

void ShowCount() {
  Increment(State.VerifiedCount);
  Form1->Label1.SetCaption(IntToStr(State.VerifiedCount));
  Application->ProcessMessages();
}

void Classify(const std::string& path_text, RootKey root, const std::string& key_path, const std::string& name,
              int kind, const std::string& companion) {
  if (ClassifierOverride())
    ClassifierOverride()(path_text, root, key_path, name, kind, companion);
  else
    VerificarExistenciaPath(path_text, root, key_path, name, kind, companion);
}

// The value phase of one opened subkey. False when a stop request ends the
// whole subkey loop (no descent, no further subkeys).
bool ExamineValues(RegistryKey& key, RootKey root, const std::string& key_path, KeyMode mode) {
  Checkpoint("20");
  Form1->Panel2.SetCaption("Aguarde... verificando valores");
  Application->ProcessMessages();
  if (State.StopRequested) {
    Checkpoint("21");
    return false;
  }
  Checkpoint("22");
  const std::vector<std::string> names = key.ValueNames();
  Checkpoint("23");
  for (const std::string& name : names) {
    Checkpoint("24");
    ShowCount();
    if (State.StopRequested) {
      Checkpoint("25");
      break;
    }
    Checkpoint("26");
    std::string path_text, companion;
    int kind = DataPath;
    if (mode == KeyMode::SharedDll) {
      Checkpoint("27");
      path_text = name;
      companion = IntToHex(static_cast<uint32_t>(key.ReadInteger(name)), 8);
      kind = SharedDllPath;
    } else if (mode == KeyMode::HelpFile) {
      Checkpoint("28");
      path_text = key.ReadString(name);
      companion = name;
      kind = HelpFilePath;
    } else {
      Checkpoint("29");
      const DataType type = key.GetDataType(name);
      const bool name_is_path = name.find(":\\") != std::string::npos;
      if (type == DataType::ExpandString) {
        Checkpoint("30");
        path_text = Platform.environment->Expand(key.ReadString(name));
        kind = ExpandedDataPath;
      } else if (type == DataType::String && name_is_path) {
        Checkpoint("31");
        path_text = name;
        companion = key.ReadString(name);
        kind = NamePathString;
      } else if (type == DataType::Integer && name_is_path) {
        Checkpoint("32");
        path_text = name;
        companion = IntToHex(static_cast<uint32_t>(key.ReadInteger(name)), 8);
        kind = NamePathDword;
      } else if (type == DataType::String) {
        Checkpoint("33");
        path_text = key.ReadString(name);
        kind = DataPath;
      } else {
        Checkpoint("34");
        continue;  // integers with a plain name, raw bytes and other types
      }
    }
    Checkpoint("35");
    if (!HasDrivePath(path_text)) {
      Checkpoint("36");
      continue;
    }
    Checkpoint("37");
    Classify(path_text, root, key_path, name, kind, companion);
    Checkpoint("38");
  }
  Checkpoint("39");
  return true;
}

}  // namespace

void SetValueClassifierForTesting(ValueClassifier classifier) { ClassifierOverride() = std::move(classifier); }

void EnumRegistryKeys(RootKey root, const std::string& path) {
  Checkpoint("1");
  if (State.StopRequested) return;
  Checkpoint("2");
  if (EndsWith(path, "\\")) return;
  Checkpoint("3");
  try {
    TStrings skip_list;
    const std::string skip_file = State.ProgramFolder + "ESPECIAL.DAT";
    if (ArquivoOuPastaExiste(skip_file)) {
      Checkpoint("4");
      for (std::string& line : Platform.files->LoadLines(skip_file)) skip_list.Add(std::move(line));
      Checkpoint("5");
    }
    Checkpoint("6");
    TRegistry parent(*Platform.registry, root);
    Form1->Panel2.SetCaption("Aguarde... verificando chaves");
    Application->ProcessMessages();
    Checkpoint("7");
    std::vector<std::string> subkeys;
    if (parent.OpenKey(path, false)) {
      Checkpoint("8");
      subkeys = parent.Key().SubkeyNames();
    }
    Checkpoint("9");
    for (const std::string& name : subkeys) {
      Checkpoint("10");
      ShowCount();
      if (State.StopRequested) {
        Checkpoint("11");
        break;
      }
      if (skip_list.IndexOf(AnsiUpperCase(name)) >= 0) {
        Checkpoint("12");
        continue;
      }
      const std::string key_path = path + "\\" + name;
      const std::string upper_key_path = AsciiUpperCase(key_path);
      Checkpoint("13");
      TraceLine(upper_key_path);
      if (skip_list.IndexOf(upper_key_path) >= 0) {
        Checkpoint("13.5");
        continue;
      }
      const KeyMode mode = ModeOf(upper_key_path);
      Checkpoint("14");
      bool go_on = true;
      {
        TRegistry subkey(*Platform.registry, root);
        Checkpoint("15");
        if (subkey.OpenKey(key_path, false)) {
          Checkpoint("16");
          try {
            go_on = ExamineValues(subkey.Key(), root, key_path, mode);
          } catch (...) {
            TraceLine("Tratador de erros do EnumRegistryKeys 1");
          }
        }
        Checkpoint("40");
      }
      if (!go_on) {
        Checkpoint("41");
        break;
      }
      Checkpoint("42");
      EnumRegistryKeys(root, key_path);
      Checkpoint("43");
    }
    Checkpoint("50");
  } catch (...) {
    TraceLine("Tratador de erros do EnumRegistryKeys 2");
    return;
  }
  Checkpoint("57");
}

}  // namespace quorvane

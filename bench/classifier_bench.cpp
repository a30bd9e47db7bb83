// The classifier on a mix of value texts as a registry holds them, over the
// in-memory file system, beside two baselines measured on the same texts:
// the bare attribute query and the clean-up alone.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "app/program_state.h"
#include "scan/classifier.h"
#include "scan/path_cleanup.h"
#include "scan/value_kind.h"
#include "tests/support/fake_program.h"

namespace quorvane {
namespace {

struct Sample {
  std::string path_text;
  int kind;
  std::string key;
  std::string name;
  std::string companion;
};

const std::string kRun = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kTypeLib = "\\TypeLib\\{00020430-0000-0000-C000-000000000046}\\2.0\\0\\win32";
const std::string kShared = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const std::string kHelp = "\\SOFTWARE\\Microsoft\\Windows\\Help";

// About half of the values name something that exists, as on a machine that
// has been cleaned before.
const std::vector<Sample>& Mix() {
  static const std::vector<Sample> mix = {
      {"\"C:\\Program Files\\App\\app.exe\" \"%1\"", DataPath, "\\App.Document\\shell\\open\\command", "", ""},
      {"C:\\Program Files\\App\\app.exe %1", DataPath, "\\App.Document\\shell\\edit\\command", "", ""},
      {"C:\\Program Files\\App\\app.exe,0", DataPath, "\\App.Document\\DefaultIcon", "", ""},
      {"rundll32.exe C:\\WINDOWS\\system32\\shell32.dll,Control_RunDLL", DataPath, kRun, "Panel", ""},
      {"rundll32.exe C:\\Old\\gone.dll,Start", DataPath, kRun, "Gone", ""},
      {"C:\\WINDOWS\\System32\\svchost.exe -k netsvcs", ExpandedDataPath, "\\SYSTEM\\Services\\x", "ImagePath",
       ""},
      {"C:\\WINDOWS\\system32\\svchost -k LocalService", ExpandedDataPath, "\\SYSTEM\\Services\\y", "ImagePath",
       ""},
      {"C:\\WINDOWS\\system32\\stdole2.tlb", DataPath, kTypeLib, "", ""},
      {"C:\\Old\\ctl.ocx\\2", DataPath, kTypeLib, "", ""},
      {"C:\\WINDOWS\\Help", HelpFilePath, kHelp, "notepad.hlp", "notepad.hlp"},
      {"C:\\WINDOWS\\Help\\", HelpFilePath, kHelp, "gone.chm", "gone.chm"},
      {"\"C:\\Program Files\\Gone\\setup.exe\" /uninstall /quiet", DataPath, "\\Software\\Gone", "Uninstall", ""},
      {"\"C:\\Old App\\x.exe\" -a -b", DataPath, kRun, "Old", ""},
      {"C:\\WINDOWS\\system32\\mscoree.dll", DataPath, "\\CLSID\\{x}\\InprocServer32", "", ""},
      {"C:\\Program Files\\Common Files\\Gone\\x.dll", SharedDllPath, kShared,
       "C:\\Program Files\\Common Files\\Gone\\x.dll", "00000001"},
      {"C:\\Program Files\\App\\", NamePathString, "\\Software\\Folders", "C:\\Program Files\\App\\", ""},
  };
  return mix;
}

struct Machine {
  Machine() {
    for (const char* file : {"C:\\Program Files\\App\\app.exe", "C:\\WINDOWS\\system32\\shell32.dll",
                             "C:\\WINDOWS\\System32\\svchost.exe", "C:\\WINDOWS\\system32\\stdole2.tlb",
                             "C:\\WINDOWS\\Help\\notepad.hlp", "C:\\WINDOWS\\system32\\mscoree.dll",
                             "C:\\WINDOWS\\system32\\rundll32.exe"})
      program.files.AddFile(file);
    for (int i = 0; i < 200; ++i) program.files.AddFile("C:\\WINDOWS\\system32\\f" + std::to_string(i) + ".dll");
  }
  void ClearFindings() {
    Form1->ListBox1.Items().Clear();
    Form1->ListBox2.Items().Clear();
    State.FoundValues.clear();
    State.FoundCount = 0;
  }
  testing::FakeProgram program;
};

void BM_VerificarExistenciaPath(benchmark::State& state) {
  Machine machine;
  for (auto _ : state) {
    for (const Sample& s : Mix())
      VerificarExistenciaPath(s.path_text, RootKey::LocalMachine, s.key, s.name, s.kind, s.companion);
    // The findings pile up otherwise; clearing is not what is measured.
    state.PauseTiming();
    machine.ClearFindings();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(Mix().size()));
  // What the ratio to the bare query is made of.
  state.counters["queries_per_value"] =
      static_cast<double>(machine.program.files.attribute_queries) /
      static_cast<double>(state.iterations() * static_cast<int64_t>(Mix().size()));
}
BENCHMARK(BM_VerificarExistenciaPath);

// Baseline: one attribute query per value text.
void BM_BareAttributeQuery(benchmark::State& state) {
  Machine machine;
  for (auto _ : state) {
    for (const Sample& s : Mix()) benchmark::DoNotOptimize(Platform.files->GetFileAttributes(s.path_text));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(Mix().size()));
}
BENCHMARK(BM_BareAttributeQuery);

// Baseline: the clean-up of each value text, nothing else.
void BM_RemoveAspasAlone(benchmark::State& state) {
  Machine machine;
  for (auto _ : state) {
    for (const Sample& s : Mix()) benchmark::DoNotOptimize(RemoveAspas(s.path_text));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(Mix().size()));
}
BENCHMARK(BM_RemoveAspasAlone);

// A long value (100,000 characters, missing) as a worst case for the cuts.
void BM_VerificarExistenciaPathLongText(benchmark::State& state) {
  Machine machine;
  const std::string text = "C:\\" + std::string(100000, 'a') + "\\x.exe,1";
  for (auto _ : state) {
    VerificarExistenciaPath(text, RootKey::LocalMachine, kRun, "Long", DataPath, "");
    state.PauseTiming();
    machine.ClearFindings();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_VerificarExistenciaPathLongText);

}  // namespace
}  // namespace quorvane

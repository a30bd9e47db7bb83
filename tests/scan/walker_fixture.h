// A program on fakes with the classifier replaced by a spy, for walking one
// root at a time.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program_state.h"
#include "scan/registry_walker.h"
#include "tests/support/classifier_spy.h"
#include "tests/support/fake_program.h"

namespace quorvane::testing {

inline constexpr RootKey HKLM = RootKey::LocalMachine;

class WalkerTest : public ::testing::Test {
 protected:
  void Walk(RootKey root = HKLM) { EnumRegistryKeys(root, ""); }

  // Tracing as a scan start with "debug.txt" present would leave it.
  void StartTrace() {
    program.EnableTrace();
    State.TracePath = State.ProgramFolder + "debug.txt";
    State.TraceEnabled = true;
  }
  std::vector<std::string> Trace() const { return program.TraceLines(); }
  bool Traced(const std::string& line) const {
    for (const std::string& l : Trace())
      if (l == line) return true;
    return false;
  }

  std::string SkipFile() const { return State.ProgramFolder + "ESPECIAL.DAT"; }
  void SetSkipList(const std::string& content) { program.files.AddFile(SkipFile(), content); }

  // The user clicks "&Parar" during the n-th ProcessMessages call.
  void ClickStopAt(int pump_call) {
    Form1->BotaoParar.Show();
    program.pump.At(pump_call, [] { Form1->BotaoParar.Click(); });
  }

  // A text value whose data is a drive path, so that it is always handed over.
  void AddPathValue(RootKey root, const std::string& key, const std::string& name) {
    program.registry.SetString(root, key, name, "C:\\" + name);
  }

  FakeProgram program;
  ClassifierSpy spy;
  fake::FakeRegistry& registry = program.registry;
};

}  // namespace quorvane::testing

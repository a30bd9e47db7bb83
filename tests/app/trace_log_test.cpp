// TraceLine: on only when "debug.txt" existed at the latest scan start, one
// appended line per call, bytes as given, silent on every failure.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <algorithm>

#include "app/trace_log.h"
#include "tests/support/fake_program.h"

namespace quorvane::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class TraceTest : public ::testing::Test {
 protected:
  std::string TracePath() const { return State.ProgramFolder + "debug.txt"; }
  std::string Content() const { return program.files.Content(TracePath()); }
  void Scan() { Form1->BotaoIniciar.Click(); }
  // As a scan start that found the file leaves it.
  void TurnOn() {
    State.TracePath = TracePath();
    State.TraceEnabled = true;
  }
  FakeProgram program;
};

TEST_F(TraceTest, NothingIsTracedBeforeTheFirstScan) {
  program.EnableTrace();
  TraceLine("x");
  EXPECT_EQ(Content(), "");
  EXPECT_EQ(State.TracePath, "");
}

TEST_F(TraceTest, WithoutTheFileAScanCreatesNothing) {
  Scan();
  EXPECT_FALSE(State.TraceEnabled);
  EXPECT_FALSE(program.files.Exists(TracePath()));
  TraceLine("after the scan");
  EXPECT_FALSE(program.files.Exists(TracePath()));
}

TEST_F(TraceTest, EmptyFileBeginsWithTheScanStart) {
  program.registry.SetString(RootKey::ClassesRoot, "\\K", "v", "x");
  program.EnableTrace();
  Scan();
  const std::vector<std::string> lines = program.TraceLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_THAT(std::vector<std::string>(lines.begin(), lines.begin() + 3),
              ElementsAre("Iniciando...", "HKCR", "EnumRegistryKeys - 1"));
  EXPECT_EQ(lines.back(), "Finalizando...");
  // Every line, the last included, ends in CR LF.
  EXPECT_EQ(Content().substr(Content().size() - 2), "\r\n");
}

struct BytesCase {
  const char* label;
  std::string text;
  std::string written;
};

class TraceBytes : public TraceTest, public ::testing::WithParamInterface<BytesCase> {};

// Appended after what the file holds, followed by CR LF, with the bytes
// unchanged up to the first NUL.
TEST_P(TraceBytes, AppendsTheTextAndCrLf) {
  program.files.AddFile(TracePath(), "old\r\n");
  TurnOn();
  TraceLine(GetParam().text);
  EXPECT_EQ(Content(), "old\r\n" + GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Trace, TraceBytes,
    ::testing::Values(BytesCase{"Empty", "", "\r\n"},
                      BytesCase{"Accented", "\\PASTA\\A\xE7\xE3O \xCDtens", "\\PASTA\\A\xE7\xE3O \xCDtens\r\n"},
                      BytesCase{"EndsAtNul", std::string("ab\0cd", 5), "ab\r\n"},
                      BytesCase{"ControlBytesKept", "a\tb\x7F", "a\tb\x7F\r\n"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(TraceTest, ScansAppendToWhatIsThere) {
  program.files.AddFile(TracePath(), "earlier run\r\n");
  Scan();
  Scan();
  const std::vector<std::string> lines = program.TraceLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "earlier run");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Iniciando..."), 2);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Finalizando..."), 2);
  EXPECT_EQ(lines.back(), "Finalizando...");
}

// Created during a scan: that scan stays silent, the next one traces.
TEST_F(TraceTest, FileCreatedDuringAScanCountsFromTheNextScan) {
  program.pump.At(1, [this] { program.EnableTrace(); });
  Scan();
  EXPECT_EQ(Content(), "");
  Scan();
  EXPECT_THAT(program.TraceLines(), ::testing::Contains("Iniciando..."));
}

// Deleted during a traced scan: the next line creates it anew. Deleted
// between scans: the next scan does not trace and creates nothing.
TEST_F(TraceTest, FileDeletedDuringAScanIsCreatedAnewThenTracingStops) {
  program.EnableTrace();
  program.pump.At(1, [this] { program.files.Remove(TracePath()); });
  Scan();
  ASSERT_TRUE(program.files.Exists(TracePath()));
  const std::vector<std::string> lines = program.TraceLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Iniciando..."), 0);
  EXPECT_EQ(lines.back(), "Finalizando...");
  program.files.Remove(TracePath());
  Scan();
  EXPECT_FALSE(State.TraceEnabled);
  EXPECT_FALSE(program.files.Exists(TracePath()));
}

struct UnwritableCase {
  const char* label;
  enum { Folder, Locked, ReadOnly } kind;
};

class UnwritableTrace : public TraceTest, public ::testing::WithParamInterface<UnwritableCase> {};

// Tracing is on, but every line is lost without a word; the scan runs as
// without a trace.
TEST_P(UnwritableTrace, LinesAreLostSilently) {
  switch (GetParam().kind) {
    case UnwritableCase::Folder: program.files.AddFolder(TracePath()); break;
    case UnwritableCase::Locked:
      program.files.AddFile(TracePath());
      program.files.locked.insert(fake::FakeFileSystem::Key(TracePath()));
      break;
    case UnwritableCase::ReadOnly: program.files.AddFile(TracePath(), "", kFileAttributeReadOnly); break;
  }
  program.registry.SetString(RootKey::LocalMachine, "\\K", "v", "x");
  Scan();
  EXPECT_TRUE(State.TraceEnabled);
  EXPECT_EQ(Content(), "");
  EXPECT_EQ(Form1->Panel2.Caption(), "Pesquisa finalizada.  Nenhum \xEDtem inv\xE1lido encontrado.");
  EXPECT_THAT(program.dialogs.calls, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Trace, UnwritableTrace,
                         ::testing::Values(UnwritableCase{"Folder", UnwritableCase::Folder},
                                           UnwritableCase{"Locked", UnwritableCase::Locked},
                                           UnwritableCase{"ReadOnly", UnwritableCase::ReadOnly}),
                         [](const auto& info) { return std::string(info.param.label); });

// The file is opened for every line: a lock lifted between two lines loses
// only the lines written while it held.
TEST_F(TraceTest, LockLiftedBetweenLinesLosesOnlyTheLockedLines) {
  program.files.AddFile(TracePath());
  TurnOn();
  TraceLine("one");
  program.files.locked.insert(fake::FakeFileSystem::Key(TracePath()));
  TraceLine("two");
  program.files.locked.clear();
  TraceLine("three");
  EXPECT_EQ(Content(), "one\r\nthree\r\n");
}

}  // namespace
}  // namespace quorvane::testing

// The course of a scan from the click on "&Iniciar pesquisa" to the final
// status text, the window's states and transitions, and the stop role.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <algorithm>
#include <optional>

#include "platform/text.h"
#include "tests/support/classifier_spy.h"
#include "tests/support/fake_program.h"

namespace quorvane::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kRemoveCaption = "&Remover \xEDtens";
const std::string kFinished = "Pesquisa finalizada.";
const std::string kFinishedEmpty = "Pesquisa finalizada.  Nenhum \xEDtem inv\xE1lido encontrado.";

struct WindowState {
  int width, height;
  std::vector<std::string> shown;  // the window's direct controls, sorted
  bool iniciar_enabled;
  std::string parar_caption;
  bool parar_enabled;
  std::string status;
  bool operator==(const WindowState&) const = default;
};

std::ostream& operator<<(std::ostream& out, const WindowState& s) {
  out << s.width << "x" << s.height << " shown{";
  for (const std::string& name : s.shown) out << name << " ";
  return out << "} iniciar " << s.iniciar_enabled << " parar \"" << s.parar_caption << "\" " << s.parar_enabled
             << " status \"" << s.status << "\"";
}

WindowState Snapshot() {
  WindowState s{Form1->Width(), Form1->Height(), {}, Form1->BotaoIniciar.Enabled(), Form1->BotaoParar.Caption(),
                Form1->BotaoParar.Enabled(), Form1->Panel2.Caption()};
  for (const TControl* control : Form1->Children())
    if (control->Visible()) s.shown.push_back(control->Name());
  std::sort(s.shown.begin(), s.shown.end());
  return s;
}

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

int Count(const std::vector<std::string>& lines, const std::string& line) {
  return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

class ScanTest : public ::testing::Test {
 protected:
  // Makes the stand-in classifier record every value it sees as missing, as
  // the real one does: undo lines, a five-line record, the count.
  void ReportFindings() {
    spy.on_call = [](const ClassifierCall& call) {
      Form1->ListBox1.Items().Add("[KEY" + call.key_path + "]");
      Form1->ListBox1.Items().Add("\"" + call.value_name + "\"=\"x\"");
      for (const std::string& line : {std::string("HKEY"), call.key_path, call.value_name, call.path_text,
                                      std::string()})
        Form1->ListBox2.Items().Add(line);
      Increment(State.FoundCount);
      Form1->Label2.SetCaption(IntToStr(State.FoundCount));
    };
  }
  void AddPathValue(RootKey root, const std::string& key, const std::string& name) {
    program.registry.SetString(root, key, name, "C:\\" + name);
  }
  void Scan() { Form1->BotaoIniciar.Click(); }
  void ClickStopAt(int pump_call) {
    program.pump.At(pump_call, [] { Form1->BotaoParar.Click(); });
  }
  std::string TracePath() const { return State.ProgramFolder + "debug.txt"; }

  FakeProgram program;
  ClassifierSpy spy;
};

const std::vector<std::string> kCompactShown = Sorted(
    {"BotaoIniciar", "BotaoChecaVersao", "BotaoBackups", "BotaoSair", "PageControl1", "PageControl2"});
const std::vector<std::string> kScanningShown =
    Sorted({"BotaoIniciar", "BotaoParar", "Panel1", "PageControl1", "Panel2"});
const std::vector<std::string> kFinishedShown =
    Sorted({"BotaoIniciar", "BotaoParar", "BotaoBackups", "BotaoSair", "Panel1", "PageControl1", "Panel2"});
const std::vector<std::string> kStoppedShown =
    Sorted({"BotaoIniciar", "BotaoChecaVersao", "BotaoBackups", "BotaoSair", "Panel1", "PageControl1", "Panel2"});

enum class Course { None, Scanning, Complete };

struct StateCase {
  const char* label;
  Course course;
  bool findings;
  int stop_at;  // 0: no stop
  WindowState expected;
};

class StateTable : public ScanTest, public ::testing::WithParamInterface<StateCase> {};

// HKCR \K {v1, v2}: the pump calls are the root's keys text (1), K's count
// (2), K's values text (3), v1's count (4) and v2's count (5).
TEST_P(StateTable, WindowMatchesTheState) {
  const StateCase& c = GetParam();
  AddPathValue(RootKey::ClassesRoot, "\\K", "v1");
  AddPathValue(RootKey::ClassesRoot, "\\K", "v2");
  if (c.findings) ReportFindings();
  if (c.stop_at) ClickStopAt(c.stop_at);
  std::optional<WindowState> seen;
  if (c.course == Course::Scanning) program.pump.At(1, [&] { seen = Snapshot(); });
  if (c.course != Course::None) Scan();
  if (c.course != Course::Scanning) seen = Snapshot();
  ASSERT_TRUE(seen.has_value());
  EXPECT_EQ(*seen, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Scan, StateTable,
    ::testing::Values(
        StateCase{"Compact", Course::None, false, 0, {616, 71, kCompactShown, true, "&Parar", true, ""}},
        StateCase{"Scanning",
                  Course::Scanning,
                  false,
                  0,
                  {616, 432, kScanningShown, false, "&Parar", true, "Aguarde... verificando chaves"}},
        StateCase{"FinishedWithFindings",
                  Course::Complete,
                  true,
                  0,
                  {616, 432, kFinishedShown, true, kRemoveCaption, true, kFinished}},
        StateCase{"FinishedWithoutFindings",
                  Course::Complete,
                  false,
                  0,
                  {616, 432, kFinishedShown, true, "&Parar", true, kFinishedEmpty}},
        StateCase{"StoppedWithFindings",
                  Course::Complete,
                  true,
                  5,
                  {616, 432, kStoppedShown, true, "&Parar", true, ""}},
        StateCase{"StoppedWithout", Course::Complete, false, 1, {616, 432, kStoppedShown, true, "&Parar", true, ""}}),
    [](const auto& info) { return std::string(info.param.label); });

// Steps 1 to 11 are done when the trace file is looked for (step 12); the
// scan starts clean after a scan with findings and a removal.
TEST_F(ScanTest, StartResetsEverythingBeforeTheTraceDecision) {
  AddPathValue(RootKey::LocalMachine, "\\K", "v");
  ReportFindings();
  Scan();
  ASSERT_EQ(State.FoundCount, 1);
  const int one_scan = State.VerifiedCount;
  // As a removal leaves it, with the Backups page's size set.
  Form1->BotaoParar.SetEnabled(false);
  Form1->PageControl1.SetBounds({8, 56, 10, 10});
  Form1->PageControl1.Hide();
  State.FoundValues.push_back({RootKey::LocalMachine, "\\K", "v"});
  State.StopRequested = true;

  int looks = 0;
  program.files.before_attribute_query = [&](const std::string& name) {
    if (name != TracePath()) return;
    ++looks;
    EXPECT_EQ(Screen->Cursor(), TCursor::HourGlass);
    EXPECT_EQ(Form1->Panel2.Caption(), "Por favor, aguarde a pesquisa...");
    EXPECT_TRUE(Form1->Panel2.Visible());
    EXPECT_EQ(Form1->GetBounds(), (Bounds{210, 145, 616, 432}));
    EXPECT_FALSE(Form1->PageControl2.Visible());
    EXPECT_TRUE(Form1->PageControl1.Visible());
    EXPECT_EQ(Form1->PageControl1.GetBounds(), (Bounds{8, 56, 593, 321}));
    EXPECT_TRUE(Form1->Panel1.Visible());
    EXPECT_FALSE(Form1->BotaoIniciar.Enabled());
    EXPECT_EQ(Form1->BotaoParar.Caption(), "&Parar");
    EXPECT_TRUE(Form1->BotaoParar.Enabled());
    EXPECT_TRUE(Form1->BotaoParar.Visible());
    EXPECT_FALSE(Form1->BotaoChecaVersao.Visible());
    EXPECT_FALSE(Form1->BotaoBackups.Visible());
    EXPECT_FALSE(Form1->BotaoSair.Visible());
    EXPECT_EQ(Form1->Label1.Caption(), "0");
    EXPECT_EQ(Form1->Label2.Caption(), "0");
    EXPECT_EQ(Form1->ListBox1.Items().Count(), 0);
    EXPECT_EQ(Form1->ListBox2.Items().Count(), 0);
    EXPECT_THAT(State.FoundValues, IsEmpty());
    EXPECT_EQ(State.VerifiedCount, 0);
    EXPECT_EQ(State.FoundCount, 0);
    EXPECT_FALSE(State.StopRequested);
  };
  Scan();
  EXPECT_EQ(looks, 1);
  EXPECT_EQ(State.VerifiedCount, one_scan);
  EXPECT_EQ(State.FoundCount, 1);
  EXPECT_EQ(Form1->Label2.Caption(), "1");
  EXPECT_EQ(Form1->ListBox2.Items().Count(), 5);
  EXPECT_EQ(Form1->ListBox1.Items().Lines(), (std::vector<std::string>{"[KEY\\K]", "\"v\"=\"x\"", ""}));
  EXPECT_EQ(State.TracePath, "C:\\Quorvane\\debug.txt");
}

TEST_F(ScanTest, CourseTracesStartEveryRootInOrderAndEnd) {
  for (RootKey root : kScanRoots) AddPathValue(root, "\\K", "v");
  program.EnableTrace();
  Scan();
  std::vector<std::string> course;
  for (const std::string& line : program.TraceLines())
    if (!StartsWith(line, "EnumRegistryKeys") && line != "\\K") course.push_back(line);
  EXPECT_THAT(course, ElementsAre("Iniciando...", "HKCR", "HKCU", "HKLM", "HKU", "HKCC", "Finalizando..."));
  std::vector<RootKey> roots;
  for (const ClassifierCall& call : spy.calls) roots.push_back(call.root);
  EXPECT_THAT(roots, ElementsAre(RootKey::ClassesRoot, RootKey::CurrentUser, RootKey::LocalMachine, RootKey::Users,
                                 RootKey::CurrentConfig));
}

// A stop during the first root: every later walk is still called, traces its
// label and returns at its first check.
TEST_F(ScanTest, StopDuringTheFirstRootStillTracesEveryLabel) {
  for (RootKey root : kScanRoots) AddPathValue(root, "\\K", "v");
  program.EnableTrace();
  ClickStopAt(2);
  Scan();
  EXPECT_THAT(spy.calls, IsEmpty());
  EXPECT_EQ(program.registry.subkey_listings, 1);  // HKCR's root only
  const std::vector<std::string> trace = program.TraceLines();
  const auto stop = std::find(trace.begin(), trace.end(), "Botao PARAR clicado");
  ASSERT_NE(stop, trace.end());
  const auto hkcu = std::find(stop, trace.end(), "HKCU");
  ASSERT_NE(hkcu, trace.end());
  EXPECT_EQ(std::vector<std::string>(hkcu, trace.end()),
            (std::vector<std::string>{"HKCU", "EnumRegistryKeys - 1", "HKLM", "EnumRegistryKeys - 1", "HKU",
                                      "EnumRegistryKeys - 1", "HKCC", "EnumRegistryKeys - 1", "Finalizando..."}));
  EXPECT_EQ(Count(trace, kFinished), 0);
}

// The stop role shows the version and backups buttons at once, while the walk
// still unwinds; "&Sair" returns only when the scan ends.
TEST_F(ScanTest, StopRoleDuringTheWalk) {
  AddPathValue(RootKey::ClassesRoot, "\\K", "v1");
  AddPathValue(RootKey::ClassesRoot, "\\K", "v2");
  ReportFindings();
  program.EnableTrace();
  ClickStopAt(5);
  program.pump.At(5, [] {
    EXPECT_TRUE(State.StopRequested);
    EXPECT_FALSE(Form1->BotaoParar.Visible());
    EXPECT_TRUE(Form1->BotaoChecaVersao.Visible());
    EXPECT_TRUE(Form1->BotaoBackups.Visible());
    EXPECT_FALSE(Form1->BotaoSair.Visible());
    EXPECT_TRUE(Form1->Panel2.Visible());
    EXPECT_EQ(Form1->Panel2.Caption(), "");
  });
  Scan();
  // The entry found before the stop stays listed, the undo script gets its
  // closing line, and no removal is offered.
  EXPECT_EQ(Form1->ListBox2.Items().Count(), 5);
  EXPECT_EQ(Form1->ListBox1.Items().Lines().back(), "");
  EXPECT_EQ(Form1->ListBox1.Items().Count(), 3);
  EXPECT_FALSE(Form1->BotaoParar.Visible());
  EXPECT_EQ(Form1->BotaoParar.Caption(), "&Parar");
  EXPECT_TRUE(Form1->BotaoSair.Visible());
  EXPECT_EQ(Count(program.TraceLines(), "Botao PARAR clicado"), 1);
}

// The Backups page opened while the stopped walk unwinds stays in front: the
// scan's closing steps touch neither page control.
TEST_F(ScanTest, BackupsPageOpenedWhileTheWalkUnwindsStaysInFront) {
  AddPathValue(RootKey::ClassesRoot, "\\K", "v1");
  AddPathValue(RootKey::ClassesRoot, "\\K", "v2");
  AddPathValue(RootKey::ClassesRoot, "\\L", "w");
  ClickStopAt(4);  // v1's count
  bool clicked = false;
  program.pump.At(5, [&] {  // L's count, on the way out
    ASSERT_TRUE(Form1->BotaoBackups.Visible());
    Form1->BotaoBackups.Click();
    clicked = true;
  });
  Scan();
  ASSERT_TRUE(clicked);
  EXPECT_TRUE(Form1->PageControl2.Visible());
  EXPECT_FALSE(Form1->PageControl1.Visible());
}

// Finished without findings, "&Parar" still runs the stop role; the next scan
// clears the flag again.
TEST_F(ScanTest, StopRoleAfterAScanWithoutFindingsAndTheNextScan) {
  Scan();
  ASSERT_EQ(Form1->Panel2.Caption(), kFinishedEmpty);
  Form1->BotaoParar.Click();
  EXPECT_TRUE(State.StopRequested);
  EXPECT_EQ(Snapshot(), (WindowState{616, 432, kStoppedShown, true, "&Parar", true, ""}));
  Scan();
  EXPECT_FALSE(State.StopRequested);
  EXPECT_EQ(Snapshot(), (WindowState{616, 432, kFinishedShown, true, "&Parar", true, kFinishedEmpty}));
}

// With findings the button's caption selects the removal, never the stop.
TEST_F(ScanTest, AfterFindingsTheButtonIsNoStopButton) {
  AddPathValue(RootKey::LocalMachine, "\\K", "v");
  ReportFindings();
  program.EnableTrace();
  Scan();
  ASSERT_EQ(Form1->BotaoParar.Caption(), kRemoveCaption);
  program.dialogs.answers.push_back(kIdNo);  // should the removal ask
  Form1->BotaoParar.Click();
  EXPECT_FALSE(State.StopRequested);
  EXPECT_TRUE(Form1->BotaoParar.Visible());
  EXPECT_EQ(Count(program.TraceLines(), "Botao PARAR clicado"), 0);
}

// During a scan only "&Parar" answers: a click on the disabled start button
// or on the hidden ones does nothing.
TEST_F(ScanTest, NoOtherButtonWorksDuringTheScan) {
  AddPathValue(RootKey::LocalMachine, "\\K", "v");
  int looks = 0;
  program.files.before_attribute_query = [&](const std::string& name) { looks += name == TracePath(); };
  program.pump.At(1, [] {
    Form1->BotaoIniciar.Click();
    Form1->BotaoSair.Click();
    Form1->BotaoBackups.Click();
    Form1->BotaoChecaVersao.Click();
  });
  Scan();
  EXPECT_EQ(looks, 1);
  EXPECT_FALSE(Application->Terminated());
  EXPECT_EQ(spy.calls.size(), 1u);
}

TEST_F(ScanTest, CursorIsRememberedAndRestored) {
  const TCursor cross = static_cast<TCursor>(-3);
  Screen->SetCursor(cross);
  program.host.cursor.shown.clear();
  std::optional<TCursor> during;
  program.pump.At(1, [&] { during = Screen->Cursor(); });
  Scan();
  EXPECT_EQ(during, TCursor::HourGlass);
  EXPECT_EQ(Screen->Cursor(), cross);
  EXPECT_THAT(program.host.cursor.shown, ElementsAre(TCursor::HourGlass, cross));
}

}  // namespace
}  // namespace quorvane::testing

// The real quorvane.exe under Wine: its window after start, a whole scan of
// Wine's registry, a stop during a scan, and the ways out of the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/credits.h"
#include "platform/win32/control_ids.h"
#include "tests/wine/support/window_driver.h"

namespace quorvane::wine_test {
namespace {

using namespace quorvane::win32;

constexpr const char* kFinishedWithFindings = "Pesquisa finalizada.";
constexpr const char* kFinishedWithout = "Pesquisa finalizada.  Nenhum \xEDtem inv\xE1lido encontrado.";

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(program.Start()); }

  bool Scanning() {
    return !program.Enabled(kIdBotaoIniciar) && program.Shown(kIdBotaoParar) &&
           program.Text(kIdBotaoParar) == "&Parar";
  }
  // The scan has unwound: its last steps enable BotaoIniciar again.
  bool Idle() { return program.Enabled(kIdBotaoIniciar); }

  QuorvaneProgram program;
};

TEST_F(MainWindow, OpensCompactWithTheDesignedCaption) {
  EXPECT_EQ(WindowText(program.Window()), "Quorvane 3.81 - Verificador do registro - " + CreditCaption);
  const WindowRect outer = OuterRect(program.Window());
  EXPECT_EQ(outer.width, 616);
  EXPECT_EQ(outer.height, 71);
  EXPECT_EQ(outer.left, 210);
  EXPECT_EQ(outer.top, 145);

  // A fixed frame: a close box, nothing to size, minimise or maximise with.
  const LONG style = GetWindowLongA(program.Window(), GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
}

struct DesignedControl {
  int id;
  const char* name;
  const char* text;
  bool shown;
  bool enabled;
  WindowRect place;  // relative to the parent's client area
};

TEST_F(MainWindow, EveryControlShowsItsDesignedTextStateAndPlace) {
  const DesignedControl designed[] = {
      {kIdBotaoIniciar, "BotaoIniciar", "&Iniciar pesquisa", true, true, {8, 8, 105, 25}},
      {kIdBotaoParar, "BotaoParar", "&Parar", false, true, {120, 8, 105, 25}},
      {kIdBotaoChecaVersao, "BotaoChecaVersao", "&Checar nova vers\xE3o", true, true, {120, 8, 105, 25}},
      {kIdBotaoBackups, "BotaoBackups", "&Backups", true, true, {232, 8, 105, 25}},
      {kIdBotaoSair, "BotaoSair", "&Sair", true, true, {344, 8, 105, 25}},
      {kIdPanel1, "Panel1", "", false, true, {456, 8, 145, 41}},
      {kIdLabel3, "Label3", "\xCDtens verificados:", true, true, {8, 6, 80, 13}},
      {kIdLabel1, "Label1", "0", true, true, {72, 6, 66, 13}},
      {kIdLabel4, "Label4", "\xCDtens inv\xE1lidos:", true, true, {8, 22, 70, 13}},
      {kIdLabel2, "Label2", "0", true, true, {72, 22, 66, 13}},
      {kIdPageControl1, "PageControl1", "", true, true, {8, 56, 593, 321}},
      {kIdTabSheet1, "TabSheet1", "\xCDtens inv\xE1lidos:", true, true, {4, 24, 585, 293}},
      {kIdListBox1, "ListBox1", "", false, true, {8, 8, 569, 273}},
      {kIdListBox2, "ListBox2", "", true, true, {8, 8, 577, 281}},
      {kIdPageControl2, "PageControl2", "", true, true, {8, 56, 593, 321}},
      {kIdTabSheet2, "TabSheet2", "&Backups", true, true, {4, 24, 585, 293}},
      {kIdListBox3, "ListBox3", "", true, true, {8, 8, 457, 281}},
      {kIdBotaoRestaurar, "BotaoRestaurar", "&Restaurar", true, false, {472, 8, 105, 25}},
      {kIdBotaoDeletar, "BotaoDeletar", "&Eliminar", true, false, {472, 40, 105, 25}},
      {kIdListBox4, "ListBox4", "", false, true, {16, 12, 241, 157}},
      {kIdPanel2, "Panel2", "", false, true, {8, 384, 593, 17}},
  };
  for (const DesignedControl& c : designed) {
    SCOPED_TRACE(c.name);
    HWND window = program.Control(c.id);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowText(window), c.text);
    EXPECT_EQ(IsShown(window), c.shown);
    EXPECT_EQ(IsEnabled(window), c.enabled);
    const WindowRect place = RectInParent(window);
    EXPECT_EQ(place.left, c.place.left);
    EXPECT_EQ(place.top, c.place.top);
    EXPECT_EQ(place.width, c.place.width);
    EXPECT_EQ(place.height, c.place.height);
  }
  for (int list : {kIdListBox1, kIdListBox2, kIdListBox3, kIdListBox4})
    EXPECT_TRUE(program.Lines(list).empty()) << "list " << list;
}

TEST_F(MainWindow, PagesNestInsideTheirPageControls) {
  EXPECT_EQ(GetParent(program.Control(kIdTabSheet1)), program.Control(kIdPageControl1));
  EXPECT_EQ(GetParent(program.Control(kIdTabSheet2)), program.Control(kIdPageControl2));
  EXPECT_EQ(GetParent(program.Control(kIdListBox2)), program.Control(kIdTabSheet1));
  EXPECT_EQ(GetParent(program.Control(kIdBotaoDeletar)), program.Control(kIdTabSheet2));
  EXPECT_EQ(GetParent(program.Control(kIdLabel1)), program.Control(kIdPanel1));
  // One tab per page control.
  EXPECT_EQ(SendMessageA(program.Control(kIdPageControl1), TCM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_EQ(SendMessageA(program.Control(kIdPageControl2), TCM_GETITEMCOUNT, 0, 0), 1);
}

// Keyboard navigation and stacking both follow the Z-order of the window's
// direct children: the designed tab order, PageControl2 in front of
// PageControl1.
TEST_F(MainWindow, DirectControlsAreStackedInTabOrder) {
  const std::vector<int> tab_order = {kIdBotaoIniciar, kIdBotaoChecaVersao, kIdBotaoBackups,
                                      kIdBotaoSair,    kIdBotaoParar,       kIdPageControl2,
                                      kIdPanel1,       kIdPanel2,           kIdPageControl1};
  std::vector<int> stacked;
  for (HWND child = GetWindow(program.Window(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    stacked.push_back(GetDlgCtrlID(child));
  EXPECT_EQ(stacked, tab_order);
}

TEST_F(MainWindow, TabMovesAlongTheButtonRow) {
  ASSERT_TRUE(program.Activate());
  ASSERT_TRUE(WaitUntil([&] { return program.Focus() == program.Control(kIdBotaoIniciar); }, kStepDeadline,
                        "the focus on BotaoIniciar"));
  for (int next : {kIdBotaoChecaVersao, kIdBotaoBackups, kIdBotaoSair}) {
    program.PressKey(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return program.Focus() == program.Control(next); }, kStepDeadline,
                          "the focus on control " + std::to_string(next)));
  }
}

TEST_F(MainWindow, AltAndTheMnemonicClicksTheButton) {
  program.PressAltLetter('s');
  const auto code = program.WaitForExit(kStepDeadline);
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0u);
}

TEST_F(MainWindow, SairEndsTheProgramWithExitCodeZero) {
  program.Click(kIdBotaoSair);
  const auto code = program.WaitForExit(kStepDeadline);
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0u);
  EXPECT_FALSE(IsWindow(program.Window()));
}

// A whole scan of Wine's registry: all five roots, but without the COM
// interface keys (about half of all keys, under HKCR and HKLM alike, and no
// paths in them), which the skip list passes over.
TEST_F(MainWindow, AScanOfTheRegistryEndsInAFinalText) {
  program.WriteFile("ESPECIAL.DAT", "Interface\r\n");
  program.Click(kIdBotaoIniciar);
  ASSERT_TRUE(WaitUntil([&] { return Scanning(); }, kStepDeadline, "the scanning state"));
  const WindowRect scanning = OuterRect(program.Window());
  EXPECT_EQ(scanning.width, 616);
  EXPECT_EQ(scanning.height, 432);
  EXPECT_TRUE(program.Shown(kIdPanel1));
  EXPECT_TRUE(program.Shown(kIdPageControl1));
  EXPECT_FALSE(program.Shown(kIdPageControl2));
  EXPECT_TRUE(program.Shown(kIdPanel2));
  EXPECT_FALSE(program.Shown(kIdBotaoChecaVersao));
  EXPECT_FALSE(program.Shown(kIdBotaoBackups));
  EXPECT_FALSE(program.Shown(kIdBotaoSair));

  ASSERT_TRUE(WaitUntil([&] { return program.Text(kIdPanel2).starts_with(kFinishedWithFindings); },
                        kScanDeadline, "the end of the scan"));
  const std::string final_text = program.Text(kIdPanel2);
  const std::vector<std::string> found = program.Lines(kIdListBox2);
  const std::vector<std::string> undo = program.Lines(kIdListBox1);
  if (final_text == kFinishedWithFindings) {
    EXPECT_EQ(program.Text(kIdBotaoParar), "&Remover \xEDtens");
    EXPECT_FALSE(found.empty());
    EXPECT_EQ(found.size() % 5, 0u);
    EXPECT_EQ(program.Text(kIdLabel2), std::to_string(found.size() / 5));
    ASSERT_FALSE(undo.empty());
    EXPECT_EQ(undo.back(), "");
  } else {
    EXPECT_EQ(final_text, kFinishedWithout);
    EXPECT_EQ(program.Text(kIdBotaoParar), "&Parar");
    EXPECT_TRUE(found.empty());
    EXPECT_TRUE(undo.empty());
    EXPECT_EQ(program.Text(kIdLabel2), "0");
  }
  const std::string verified = program.Text(kIdLabel1);
  ASSERT_FALSE(verified.empty());
  EXPECT_TRUE(std::all_of(verified.begin(), verified.end(), [](char c) { return c >= '0' && c <= '9'; }))
      << verified;
  EXPECT_GT(std::stoll(verified), 0);

  EXPECT_TRUE(program.Enabled(kIdBotaoIniciar));
  EXPECT_TRUE(program.Shown(kIdBotaoParar));
  EXPECT_TRUE(program.Shown(kIdBotaoBackups));
  EXPECT_TRUE(program.Shown(kIdBotaoSair));
  EXPECT_FALSE(program.Shown(kIdBotaoChecaVersao));
  const WindowRect finished = OuterRect(program.Window());
  EXPECT_EQ(finished.width, 616);
  EXPECT_EQ(finished.height, 432);
}

// With "debug.txt" the scan traces every key: slow enough that the stop
// surely lands inside the walk, and the trace tells where it landed.
TEST_F(MainWindow, AStopDuringTheScanLeavesTheStoppedState) {
  // The program is already running: the trace is decided at scan start.
  program.WriteFile("debug.txt", "");
  program.Click(kIdBotaoIniciar);
  ASSERT_TRUE(WaitUntil([&] { return Scanning(); }, kStepDeadline, "the scanning state"));
  ASSERT_TRUE(WaitUntil([&] { return program.Text(kIdLabel1) != "0"; }, kStepDeadline, "a counted item"));
  program.Click(kIdBotaoParar);
  ASSERT_TRUE(WaitUntil([&] { return Idle(); }, kScanDeadline, "the end of the stopped scan"));

  EXPECT_FALSE(program.Shown(kIdBotaoParar));
  EXPECT_TRUE(program.Shown(kIdBotaoChecaVersao));
  EXPECT_TRUE(program.Shown(kIdBotaoBackups));
  EXPECT_TRUE(program.Shown(kIdBotaoSair));
  EXPECT_TRUE(program.Shown(kIdPanel1));
  EXPECT_TRUE(program.Shown(kIdPageControl1));
  EXPECT_TRUE(program.Shown(kIdPanel2));
  EXPECT_EQ(program.Text(kIdPanel2), "");
  // The stop button had the focus when it was hidden: the keyboard still
  // has a control to work on.
  ASSERT_TRUE(program.Activate());
  HWND focus = program.Focus();
  EXPECT_TRUE(focus && IsChild(program.Window(), focus) && IsShown(focus) && IsEnabled(focus));
  const WindowRect stopped = OuterRect(program.Window());
  EXPECT_EQ(stopped.width, 616);
  EXPECT_EQ(stopped.height, 432);

  const std::vector<std::string> trace = program.FileLines("debug.txt");
  const auto stop = std::find(trace.begin(), trace.end(), "Botao PARAR clicado");
  const auto end = std::find(trace.begin(), trace.end(), "Finalizando...");
  ASSERT_NE(stop, trace.end());
  ASSERT_NE(end, trace.end());
  EXPECT_LT(stop, end) << "the stop came after the scan had finished";
  EXPECT_EQ(std::find(trace.begin(), trace.end(), "Pesquisa finalizada."), trace.end());
  // The walks after the stop return at once, but every root's label is
  // still written, the last one after the stop.
  EXPECT_NE(std::find(stop, end, "HKCC"), end);
}

TEST_F(MainWindow, TheCloseBoxEndsTheProgramDuringAScan) {
  program.WriteFile("debug.txt", "");
  program.Click(kIdBotaoIniciar);
  ASSERT_TRUE(WaitUntil([&] { return Scanning(); }, kStepDeadline, "the scanning state"));
  PostMessageA(program.Window(), WM_CLOSE, 0, 0);
  const auto code = program.WaitForExit(kScanDeadline);
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0u);
  // The walk saw the stop request and unwound before the program ended.
  const std::vector<std::string> trace = program.FileLines("debug.txt");
  ASSERT_FALSE(trace.empty());
  EXPECT_EQ(trace.back(), "Finalizando...");
}

TEST_F(MainWindow, TheCloseBoxEndsTheIdleProgram) {
  PostMessageA(program.Window(), WM_CLOSE, 0, 0);
  const auto code = program.WaitForExit(kStepDeadline);
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0u);
}

}  // namespace
}  // namespace quorvane::wine_test

// The window as FormCreate leaves it: error mode, program folder, compact
// layout, captions byte for byte, designed controls and their states.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include "app/program.h"
#include "platform/exceptions.h"
#include "tests/support/fake_program.h"

namespace quorvane {
namespace {

using ::testing::ElementsAre;

TControl* Find(TControl& control, const std::string& name) {
  if (control.Name() == name) return &control;
  for (TControl* child : control.Children())
    if (TControl* found = Find(*child, name)) return found;
  return nullptr;
}

TEST(FormCreate, SetsTheErrorModeOnce) {
  testing::FakeProgram program;
  EXPECT_THAT(program.process.error_modes, ElementsAre(0x8001u));
}

TEST(FormCreate, ProgramFolderEndsInOneBackslash) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\quorvane.exe", "C:\\"},
      {"C:\\Tools\\quorvane.exe", "C:\\Tools\\"},
      {"D:\\Meus Programas\\Quorvane 3\\quorvane.exe", "D:\\Meus Programas\\Quorvane 3\\"},
  };
  for (const auto& [exe, folder] : cases) {
    testing::FakeProgram program(exe);
    EXPECT_EQ(State.ProgramFolder, folder) << exe;
  }
}

TEST(FormCreate, CompactLayoutShowsOnlyTheButtonRow) {
  testing::FakeProgram program;
  TForm1& form = *program.form;
  EXPECT_EQ(form.GetBounds(), (Bounds{210, 145, 616, 71}));
  // The page controls are set visible but lie below the window's lower edge.
  const int client_height = form.Height() - TForm::kFrameHeight;
  EXPECT_TRUE(form.PageControl1.Visible());
  EXPECT_TRUE(form.PageControl2.Visible());
  EXPECT_GE(form.PageControl1.Top(), client_height);
  EXPECT_GE(form.PageControl2.Top(), client_height);
  EXPECT_LE(form.BotaoIniciar.Top() + form.BotaoIniciar.Height(), client_height);
}

TEST(FormCreate, CaptionsByteForByte) {
  testing::FakeProgram program;
  TForm1& form = *program.form;
  const std::pair<const TControl*, const char*> captions[] = {
      {&form.BotaoParar, "&Parar"},
      {&form.BotaoIniciar, "&Iniciar pesquisa"},
      {&form.BotaoChecaVersao, "&Checar nova vers\xE3o"},
      {&form.BotaoBackups, "&Backups"},
      {&form.BotaoSair, "&Sair"},
      {&form.BotaoRestaurar, "&Restaurar"},
      {&form.BotaoDeletar, "&Eliminar"},
      {&form.Label3, "\xCDtens verificados:"},
      {&form.Label4, "\xCDtens inv\xE1lidos:"},
      {&form.TabSheet1, "\xCDtens inv\xE1lidos:"},
      {&form.TabSheet2, "&Backups"},
      {&form.Label1, "0"},
      {&form.Label2, "0"},
      {&form.Panel2, ""},
  };
  for (const auto& [control, caption] : captions) EXPECT_EQ(control->Caption(), caption) << control->Name();
  EXPECT_EQ(form.Caption(),
            "Quorvane 3.81 - Verificador do registro - By Durmont - http://" QUORVANE_WEB_HOST);
}

struct Designed {
  const char* name;
  const char* parent;
  Bounds bounds;
  bool visible;
  bool enabled;
};

TEST(FormCreate, ControlsAsDesigned) {
  testing::FakeProgram program;
  const Designed controls[] = {
      {"BotaoIniciar", "Form1", {8, 8, 105, 25}, true, true},
      {"BotaoParar", "Form1", {120, 8, 105, 25}, false, true},
      {"BotaoChecaVersao", "Form1", {120, 8, 105, 25}, true, true},
      {"BotaoBackups", "Form1", {232, 8, 105, 25}, true, true},
      {"BotaoSair", "Form1", {344, 8, 105, 25}, true, true},
      {"Panel1", "Form1", {456, 8, 145, 41}, false, true},
      {"Label3", "Panel1", {8, 6, 80, 13}, true, true},
      {"Label1", "Panel1", {72, 6, 66, 13}, true, true},
      {"Label4", "Panel1", {8, 22, 70, 13}, true, true},
      {"Label2", "Panel1", {72, 22, 66, 13}, true, true},
      {"PageControl1", "Form1", {8, 56, 593, 321}, true, true},
      {"ListBox1", "TabSheet1", {8, 8, 569, 273}, false, true},
      {"ListBox2", "TabSheet1", {8, 8, 577, 281}, true, true},
      {"PageControl2", "Form1", {8, 56, 593, 321}, true, true},
      {"ListBox3", "TabSheet2", {8, 8, 457, 281}, true, true},
      {"BotaoRestaurar", "TabSheet2", {472, 8, 105, 25}, true, false},
      {"BotaoDeletar", "TabSheet2", {472, 40, 105, 25}, true, false},
      {"ListBox4", "TabSheet2", {16, 12, 241, 157}, false, true},
      {"Panel2", "Form1", {8, 384, 593, 17}, false, true},
  };
  for (const Designed& d : controls) {
    SCOPED_TRACE(d.name);
    TControl* control = Find(*program.form, d.name);
    ASSERT_NE(control, nullptr);
    ASSERT_NE(control->Parent(), nullptr);
    EXPECT_EQ(control->Parent()->Name(), d.parent);
    EXPECT_EQ(control->GetBounds(), d.bounds);
    EXPECT_EQ(control->Visible(), d.visible);
    EXPECT_EQ(control->Enabled(), d.enabled);
  }
  EXPECT_EQ(Find(*program.form, "TabSheet1")->Parent(), &program.form->PageControl1);
  EXPECT_EQ(Find(*program.form, "TabSheet2")->Parent(), &program.form->PageControl2);
}

TEST(FormCreate, FontsAlignmentSortingAndTabOrder) {
  testing::FakeProgram program;
  TForm1& form = *program.form;
  for (const TControl* control : {static_cast<const TControl*>(&form), static_cast<const TControl*>(&form.Label3),
                                  static_cast<const TControl*>(&form.ListBox2)}) {
    EXPECT_EQ(control->Font().face, "MS Sans Serif") << control->Name();
    EXPECT_EQ(control->Font().height, -11) << control->Name();
  }
  EXPECT_EQ(form.Panel2.Font().face, "Courier New");
  EXPECT_EQ(form.Panel2.Font().height, -11);
  EXPECT_EQ(form.Label1.TextAlignment(), Alignment::Right);
  EXPECT_EQ(form.Label2.TextAlignment(), Alignment::Right);
  EXPECT_EQ(form.Panel2.TextAlignment(), Alignment::Left);
  EXPECT_TRUE(form.ListBox4.Items().Sorted());
  EXPECT_FALSE(form.ListBox2.Items().Sorted());
  std::vector<std::string> order;
  for (const TControl* control : form.TabOrder()) order.push_back(control->Name());
  EXPECT_THAT(order, ElementsAre("BotaoIniciar", "BotaoChecaVersao", "BotaoBackups", "BotaoSair", "BotaoParar",
                                 "PageControl2", "Panel1", "Panel2", "PageControl1"));
}

// Program start: the title, the window, the loop until "&Sair".
TEST(ProgramStart, RunsTheLoopUntilSairWithTitleAndWindow) {
  testing::FakeProgram program;
  const Services services = Platform;
  bool checked = false;
  program.pump.Post([&] {
    ASSERT_NE(Form1, nullptr);
    EXPECT_EQ(Application->Title(), "Quorvane 3.81");
    EXPECT_EQ(Form1->Height(), 71);
    checked = true;
    Form1->BotaoSair.Click();
  });
  program.pump.At(2, [] { ADD_FAILURE() << "the loop went on after Sair"; });
  EXPECT_EQ(RunProgram(services), 0);
  EXPECT_TRUE(checked);
  EXPECT_EQ(program.host.realized, 1);
}

// A failure of the platform's family that escapes the start is shown in the
// standard box; the program then ends with exit code 0.
TEST(ProgramStart, FailureEscapingTheLoopIsShownAndEndsTheProgram) {
  testing::FakeProgram program;
  const Services services = Platform;
  program.dialogs.answers.push_back(kIdOk);
  program.pump.Post([] { throw EFOpenError("Cannot open file \"x\""); });
  EXPECT_EQ(RunProgram(services), 0);
  ASSERT_EQ(program.dialogs.calls.size(), 1u);
  EXPECT_EQ(program.dialogs.calls[0].text, "Cannot open file \"x\".");
  EXPECT_EQ(program.dialogs.calls[0].caption, "Quorvane 3.81");
  EXPECT_EQ(program.dialogs.calls[0].style, kMbOk | kMbIconError);
}

}  // namespace
}  // namespace quorvane

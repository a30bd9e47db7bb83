#include "app/main_form.h"

#include "app/credits.h"
#include "app/program_state.h"

namespace quorvane {

namespace {
// The designed client area is 608 x 405 at 210, 145.
constexpr Bounds kDesignedWindow{210, 145, 608 + TForm::kFrameWidth, 405 + TForm::kFrameHeight};
// A tab page fills its page control below the tab row.
constexpr Bounds kSheet{4, 24, 585, 293};
const FontSpec kWindowFont{"MS Sans Serif", -11};
const FontSpec kStatusFont{"Courier New", -11};

void SetFontOfTree(TControl& control, const FontSpec& font) {
  control.SetFont(font);
  for (TControl* child : control.Children()) SetFontOfTree(*child, font);
}
}  // namespace

TForm1::TForm1()
    : TForm("Form1", kDesignedWindow),
      BotaoIniciar("BotaoIniciar", this, {8, 8, 105, 25}),
      BotaoParar("BotaoParar", this, {120, 8, 105, 25}),
      Panel1("Panel1", this, {456, 8, 145, 41}),
      Label1("Label1", &Panel1, {72, 6, 66, 13}),
      Label2("Label2", &Panel1, {72, 22, 66, 13}),
      Label3("Label3", &Panel1, {8, 6, 80, 13}),
      Label4("Label4", &Panel1, {8, 22, 70, 13}),
      Panel2("Panel2", this, {8, 384, 593, 17}),
      BotaoChecaVersao("BotaoChecaVersao", this, {120, 8, 105, 25}),
      BotaoSair("BotaoSair", this, {344, 8, 105, 25}),
      PageControl1("PageControl1", this, {8, 56, 593, 321}),
      TabSheet1("TabSheet1", &PageControl1, kSheet),
      ListBox1("ListBox1", &TabSheet1, {8, 8, 569, 273}),
      BotaoBackups("BotaoBackups", this, {232, 8, 105, 25}),
      PageControl2("PageControl2", this, {8, 56, 593, 321}),
      TabSheet2("TabSheet2", &PageControl2, kSheet),
      ListBox3("ListBox3", &TabSheet2, {8, 8, 457, 281}),
      BotaoRestaurar("BotaoRestaurar", &TabSheet2, {472, 8, 105, 25}),
      ListBox2("ListBox2", &TabSheet1, {8, 8, 577, 281}),
      BotaoDeletar("BotaoDeletar", &TabSheet2, {472, 40, 105, 25}),
      ListBox4("ListBox4", &TabSheet2, {16, 12, 241, 157}) {
  SetCaption(kWindowCaption);
  SetFont(kWindowFont);
  SetFontOfTree(*this, kWindowFont);

  BotaoParar.SetCaption(kStopCaption);
  BotaoParar.Hide();
  Panel1.Hide();
  Label1.SetCaption("0");
  Label2.SetCaption("0");
  Label1.SetTextAlignment(Alignment::Right);
  Label2.SetTextAlignment(Alignment::Right);
  Panel2.Hide();
  Panel2.SetFont(kStatusFont);
  ListBox1.Hide();
  ListBox4.Hide();
  ListBox4.Items().SetSorted(true);
  BotaoRestaurar.SetEnabled(false);
  BotaoDeletar.SetEnabled(false);

  tab_order_ = {&BotaoIniciar, &BotaoChecaVersao, &BotaoBackups, &BotaoSair, &BotaoParar,
                &PageControl2, &Panel1,           &Panel2,       &PageControl1};

  BotaoIniciar.OnClick = [this] { BotaoIniciarClick(); };
  BotaoParar.OnClick = [this] { BotaoPararClick(); };
  BotaoChecaVersao.OnClick = [this] { BotaoChecaVersaoClick(); };
  BotaoSair.OnClick = [this] { BotaoSairClck(); };
  BotaoBackups.OnClick = [this] { BotaoBackupsClick(); };
  BotaoDeletar.OnClick = [this] { BotaoDeletarClick(); };
  BotaoRestaurar.OnClick = [this] { BotaoRestaurarClick(); };
  ListBox3.OnClick = [this] { ListBox3Click(); };
  ListBox4.OnClick = [this] { ListBox3Click(); };
}

void TForm1::FormCreate() {
  Platform.process->SetErrorMode(0x8001);

  std::string folder = Platform.process->ExeName();
  const size_t cut = folder.find_last_of("\\:");
  folder = cut == std::string::npos ? std::string() : folder.substr(0, cut + 1);
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  State.ProgramFolder = folder;

  // The compact layout: only the row of buttons shows.
  SetHeight((BotaoIniciar.Top() + BotaoIniciar.Height()) * 2 + 5);

  BotaoParar.SetCaption(kStopCaption);
  BotaoIniciar.SetCaption("&Iniciar pesquisa");
  BotaoChecaVersao.SetCaption("&Checar nova versão");
  BotaoBackups.SetCaption("&Backups");
  BotaoSair.SetCaption("&Sair");
  BotaoRestaurar.SetCaption("&Restaurar");
  BotaoDeletar.SetCaption("&Eliminar");
  Label3.SetCaption("Ítens verificados:");
  Label4.SetCaption("Ítens inválidos:");
  TabSheet1.SetCaption("Ítens inválidos:");
  TabSheet2.SetCaption("&Backups");
}

void TForm1::BotaoSairClck() { Application->Terminate(); }

}  // namespace quorvane

// TForm1, the program's one window. Its controls are at once the user
// interface and the program's stores: ListBox2 holds the found items,
// the hidden ListBox1 the undo script, ListBox3 and the hidden ListBox4 the
// backup page's entries and file names.
#pragma once

#include <vector>

#include "platform/ui/controls.h"

namespace quorvane {

class TForm1 : public TForm {
 public:
  TForm1();

  // Members in their declared order.
  TButton BotaoIniciar;
  TButton BotaoParar;
  TPanel Panel1;
  TLabel Label1;
  TLabel Label2;
  TLabel Label3;
  TLabel Label4;
  TPanel Panel2;
  TButton BotaoChecaVersao;
  TButton BotaoSair;
  TPageControl PageControl1;
  TTabSheet TabSheet1;
  TListBox ListBox1;
  TButton BotaoBackups;
  TPageControl PageControl2;
  TTabSheet TabSheet2;
  TListBox ListBox3;
  TButton BotaoRestaurar;
  TListBox ListBox2;
  TButton BotaoDeletar;
  TListBox ListBox4;

  // Handlers. Each subsystem defines its own: the scan in app/, the
  // removal and the backup page in repair/, the version check in update/.
  void BotaoIniciarClick();
  void BotaoPararClick();
  void FormCreate();
  void BotaoChecaVersaoClick();
  void BotaoSairClck();
  void BotaoBackupsClick();
  void ListBox3Click();
  void BotaoDeletarClick();
  void BotaoRestaurarClick();

  // The window's direct controls in tab order.
  const std::vector<TControl*>& TabOrder() const { return tab_order_; }

  // The caption of BotaoParar that selects its stop role.
  static constexpr const char* kStopCaption = "&Parar";

 private:
  std::vector<TControl*> tab_order_;
};

}  // namespace quorvane

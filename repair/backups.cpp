#include "app/main_form.h"

namespace quorvane {

// Placeholders until the backup page lands.
void TForm1::BotaoBackupsClick() {}
void TForm1::ListBox3Click() {}
void TForm1::BotaoDeletarClick() {}
void TForm1::BotaoRestaurarClick() {}

}  // namespace quorvane

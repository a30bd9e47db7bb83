#include "app/main_form.h"

namespace quorvane {

// Placeholder until the version check lands.
void TForm1::BotaoChecaVersaoClick() {}

}  // namespace quorvane

#include "app/program.h"

#include <memory>

#include "app/credits.h"
#include "app/main_form.h"
#include "app/program_state.h"

namespace quorvane {

int RunProgram(const Services& services) {
  Platform = services;
  State = ProgramState{};
  TApplication application(*services.pump, *services.dialogs);
  TScreen screen;
  screen.AttachView(services.host->Cursor());
  Application = &application;
  Screen = &screen;
  try {
    application.Initialize();
    application.SetTitle(kApplicationTitle);
    auto form = std::make_unique<TForm1>();
    Form1 = form.get();
    form->FormCreate();
    services.host->Realize(*form);
    application.Run();
    Form1 = nullptr;
  } catch (const std::exception& error) {
    Form1 = nullptr;
    application.ShowException(error);
  }
  Application = nullptr;
  Screen = nullptr;
  return 0;
}

}  // namespace quorvane

#include "app/program_state.h"

namespace quorvane {

ProgramState State;
Services Platform;
TApplication* Application = nullptr;
TScreen* Screen = nullptr;
TForm1* Form1 = nullptr;

}  // namespace quorvane

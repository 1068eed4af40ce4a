#include "startup_window/button_press_handler.h"

#include "lifecycle/end_program.h"

void ButtonPressHandler() { EndProgram(0); }

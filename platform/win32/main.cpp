#include <windows.h>

#include "lifecycle/program_start.h"
#include "platform/win32/win32_platform.h"
#include "startup_window/startup_template.h"

// The process entry. The program is linked without the C run-time's start-up
// code: it reads no command line, has no static constructors (its state is
// constant-initialised) and always ends through ExitProcess.
extern "C" void WinMainCRTStartup() {
  Win32Platform platform(GetModuleHandleA(nullptr));
  ProcessEntry(platform, &ProgramTemplates());
}

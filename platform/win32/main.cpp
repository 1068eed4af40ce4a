#include <windows.h>

#include "lifecycle/program_start.h"
#include "platform/win32/win32_platform.h"
#include "startup_window/startup_template.h"

// The process entry. The program is linked without the C run-time's start-up
// code: it reads no command line, has no static constructors (its state is
// constant-initialised) and always ends through ExitProcess. Windows enters a
// 32-bit program with the stack aligned to 4 bytes only, so it is realigned.
extern "C" __attribute__((force_align_arg_pointer)) void WinMainCRTStartup() {
  Win32Platform platform(GetModuleHandleA(nullptr));
  ProcessEntry(platform, &ProgramTemplates());
}

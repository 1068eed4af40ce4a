// The entry of the test programs that fail at start-up on purpose: the
// program's own entry, with a witness of the error box's icon in front.
#include <windows.h>

#include "lifecycle/program_start.h"
#include "platform/win32/win32_platform.h"
#include "startup_window/startup_template.h"
#include "tests/win32/error_box_witness.h"

extern "C" __attribute__((force_align_arg_pointer)) void WinMainCRTStartup() {
  WatchErrorBoxIcon();
  Win32Platform platform(GetModuleHandleA(nullptr));
  ProcessEntry(platform, &ProgramTemplates());
}

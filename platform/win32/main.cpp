#include <windows.h>

#include "lifecycle/program_start.h"
#include "platform/win32/win32_platform.h"
#include "startup_window/startup_template.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  Win32Platform platform(instance);
  ProcessEntry(platform, &ProgramTemplates());
}

// Runs the real program inside this process and, once start-up is done and
// the queue first runs empty, checks what can only be read from inside the
// program's own process: the fonts and icons of the window and its button.
// The exit status has one bit set for each check that failed.

#include <windows.h>

#include <cstdio>

#include "lifecycle/end_program.h"
#include "lifecycle/program_start.h"
#include "platform/win32/win32_platform.h"
#include "startup_window/startup_template.h"

namespace {

int IconWidth(HICON icon) {
  ICONINFO info = {};
  if (!GetIconInfo(icon, &info)) return 0;
  BITMAP bitmap = {};
  GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

std::int32_t failures = 0;

void Check(int bit, bool passed, const char* what) {
  std::printf("%s: %s\n", passed ? "ok" : "FAILED", what);
  if (!passed) failures |= 1 << bit;
}

void CheckAtFirstIdle(EventArgs) {
  HWND window = FindWindowA("StartwinWindow", nullptr);
  HWND button = GetDlgItem(window, static_cast<int>(kStartupButtonId));
  HINSTANCE instance = GetModuleHandleA(nullptr);
  auto guiFont = reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT));
  auto large = reinterpret_cast<LRESULT>(LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON, 32, 32, LR_SHARED));
  auto small = reinterpret_cast<LRESULT>(LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON, 16, 16, LR_SHARED));
  LRESULT bigIcon = SendMessageA(window, WM_GETICON, ICON_BIG, 0);
  LRESULT smallIcon = SendMessageA(window, WM_GETICON, ICON_SMALL, 0);

  Check(0, window != nullptr && button != nullptr, "the window and its button exist");
  Check(1, SendMessageA(window, WM_GETFONT, 0, 0) == guiFont, "the window keeps the default GUI font");
  Check(2, SendMessageA(button, WM_GETFONT, 0, 0) == guiFont, "the button uses the default GUI font");
  Check(3, bigIcon != 0 && bigIcon == large, "the large icon is the shared 32x32 DEFAULT_ICON");
  Check(4, smallIcon != 0 && smallIcon == small, "the small icon is the shared 16x16 DEFAULT_ICON");
  Check(5, IconWidth(reinterpret_cast<HICON>(bigIcon)) == 32 &&
               IconWidth(reinterpret_cast<HICON>(smallIcon)) == 16,
        "the icons are 32 and 16 pixels wide");
  Check(6, GetClassLongPtrA(window, GCLP_HBRBACKGROUND) == 0, "the window class paints no background");
  Check(7, GetFocus() == button && GetActiveWindow() == window,
        "the window is active and the button has the focus");
  std::fflush(stdout);
  EndProgram(failures);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // The start-up window as the program holds it, with the first idle time
  // of the window bound to the checks.
  static const EventBinding idle[] = {{kWindowIdleEvent, CheckAtFirstIdle}};
  static Element elements[2] = {StartupTemplate().elements[0], StartupTemplate().elements[1]};
  elements[0].common.bindings = idle;
  elements[0].common.bindingCount = 1;
  static const WindowTemplate checked = {kStartupTemplateId, elements, 2};
  static const WindowTemplate* const list[] = {&checked};
  static const TemplateLibrary library = {list, 1};

  Win32Platform platform(instance);
  ProcessEntry(platform, &library);
}

// Icon handles mean nothing outside the process that loaded them, so the
// box's icon is named here, inside the program, when the box activates:
// the system's standard icons are loaded shared, and loading one again
// gives the very handle the box holds.
#include "tests/win32/error_box_witness.h"

#include <windows.h>

namespace {

HHOOK hook = nullptr;

BoxIcon Classify(HICON shown) {
  const struct {
    LPCSTR id;
    BoxIcon icon;
  } standard[] = {{IDI_HAND, BoxIcon::Error},
                  {IDI_EXCLAMATION, BoxIcon::Warning},
                  {IDI_ASTERISK, BoxIcon::Information},
                  {IDI_QUESTION, BoxIcon::Question}};
  for (const auto& s : standard) {
    if (shown == LoadIconA(nullptr, s.id)) return s.icon;
  }
  return BoxIcon::Other;
}

BOOL CALLBACK LabelIfIcon(HWND child, LPARAM box) {
  if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
  auto shown = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
  SetPropA(reinterpret_cast<HWND>(box), kErrorBoxIconProperty,
           reinterpret_cast<HANDLE>(static_cast<INT_PTR>(Classify(shown))));
  return FALSE;
}

LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND window = reinterpret_cast<HWND>(wParam);
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") == 0) {
      EnumChildWindows(window, LabelIfIcon, reinterpret_cast<LPARAM>(window));
    }
  }
  return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

void WatchErrorBoxIcon() { hook = SetWindowsHookExA(WH_CBT, OnCbt, nullptr, GetCurrentThreadId()); }

#include "platform/win32/window_procedures.h"

#include "platform/win32/handles.h"
#include "startup_window/window_events.h"

namespace {

// The window's own font lives in its extra bytes: the default procedure
// ignores WM_SETFONT.
constexpr int kFontSlot = 0;

// WM_PAINT: the class paints no background, so every paint fills the area
// with the window's colour.
void Paint(HWND window) {
  PaintScope paint(window);
  Background background = WindowBackground(Handle(window));
  if (background.systemButtonFace) {
    FillRect(paint.dc(), &paint.area(), GetSysColorBrush(COLOR_BTNFACE));
    return;
  }
  HBRUSH brush = CreateSolidBrush(background.rgb);
  FillRect(paint.dc(), &paint.area(), brush);
  DeleteObject(brush);
}

// WM_SETFONT: kept for WM_GETFONT.
void KeepFont(HWND window, WPARAM font, LPARAM redraw) {
  SetWindowLongPtrA(window, kFontSlot, static_cast<LONG_PTR>(font));
  if (LOWORD(redraw)) InvalidateRect(window, nullptr, TRUE);
}

// WM_ACTIVATE: before the default procedure moves the focus.
void Activate(HWND window, WPARAM state) {
  if (LOWORD(state) == WA_INACTIVE) {
    OnWindowDeactivated(Handle(window), Handle(GetFocus()));
  } else {
    OnWindowActivated(Handle(window));
  }
}

// WM_COMMAND from a control: handed back to the control that sent it, found
// by its window handle (a 16-bit identifier could name another control).
void Command(HWND window, WPARAM wParam, LPARAM lParam) {
  if (lParam == 0) return;
  ControlNotification code =
      HIWORD(wParam) == BN_CLICKED ? ControlNotification::Clicked : ControlNotification::Other;
  OnControlNotification(Handle(window), static_cast<UINT_PTR>(lParam), code);
}

// Every message of a watched control: the control handles it first, so its
// focus has changed by the time the change is reported.
LRESULT CALLBACK FocusWatchProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control, GWLP_USERDATA));
  LRESULT result = CallWindowProcA(original, control, message, wParam, lParam);
  switch (message) {
    case WM_SETFOCUS: OnControlFocusChanged(Handle(control), true); break;
    case WM_KILLFOCUS: OnControlFocusChanged(Handle(control), false); break;
  }
  return result;
}

}  // namespace

LRESULT CALLBACK ProgramWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: Paint(window); return 0;
    case WM_SETFONT: KeepFont(window, wParam, lParam); return 0;
    case WM_GETFONT: return GetWindowLongPtrA(window, kFontSlot);
    case WM_ACTIVATE: Activate(window, wParam); break;
    case WM_SETFOCUS: OnWindowFocused(Handle(window)); return 0;
    case WM_COMMAND: Command(window, wParam, lParam); return 0;
    case WM_CLOSE: OnCloseRequested(Handle(window)); return 0;
    case WM_NCDESTROY: OnWindowDestroyed(Handle(window)); break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void WatchControlFocus(HWND control) {
  LONG_PTR original = GetWindowLongPtrA(control, GWLP_WNDPROC);
  SetWindowLongPtrA(control, GWLP_USERDATA, original);
  SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FocusWatchProc));
}

#include "platform/win32/win32_platform.h"

#include "platform/win32/message_translation.h"
#include "platform/win32/window_procedures.h"

namespace {

constexpr char kWindowClassName[] = "StartwinWindow";
constexpr char kIconName[] = "DEFAULT_ICON";
constexpr DWORD kFrameBits = WS_CAPTION | WS_BORDER | WS_DLGFRAME | WS_SYSMENU | WS_MINIMIZEBOX |
                             WS_MAXIMIZEBOX;

DWORD FrameBits(const FrameStyle& frame) {
  DWORD bits = 0;
  if (frame.border) bits |= WS_BORDER;
  if (frame.titleBar) bits |= WS_CAPTION;
  if (frame.systemMenu) bits |= WS_SYSMENU;
  if (frame.minimizeBox) bits |= WS_MINIMIZEBOX;
  if (frame.maximizeBox) bits |= WS_MAXIMIZEBOX;
  return bits;
}

DWORD AlignmentBits(HorizontalAlign horizontal, VerticalAlign vertical) {
  DWORD bits = 0;
  switch (horizontal) {
    case HorizontalAlign::Left: bits |= BS_LEFT; break;
    case HorizontalAlign::Centre: bits |= BS_CENTER; break;
    case HorizontalAlign::Right: bits |= BS_RIGHT; break;
  }
  switch (vertical) {
    case VerticalAlign::Top: bits |= BS_TOP; break;
    case VerticalAlign::Centre: bits |= BS_VCENTER; break;
    case VerticalAlign::Bottom: bits |= BS_BOTTOM; break;
  }
  return bits;
}

int ShowCommand(ShowState state) {
  switch (state) {
    case ShowState::Minimized: return SW_SHOWMINIMIZED;
    case ShowState::Maximized: return SW_SHOWMAXIMIZED;
    case ShowState::Normal: break;
  }
  return SW_SHOW;
}

}  // namespace

int Win32Platform::ProgramFilePath(char* buffer, int capacity) {
  return static_cast<int>(GetModuleFileNameA(nullptr, buffer, static_cast<DWORD>(capacity)));
}

bool Win32Platform::ChangeDirectory(const char* path) {
  return SetCurrentDirectoryA(path) != FALSE;
}

void Win32Platform::ExitProcess(std::uint32_t status) { ::ExitProcess(status); }

void Win32Platform::StartServices() {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = ProgramWindowProc;
  windowClass.cbWndExtra = sizeof(LONG_PTR);  // the window's font
  windowClass.hInstance = instance_;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kWindowClassName;
  windowClass_ = RegisteredClass(RegisterClassExA(&windowClass), instance_);
}

void Win32Platform::StopServices() { windowClass_.Release(); }

Size Win32Platform::PrimaryScreenSize() {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

WindowHandle Win32Platform::CreateTopLevelWindow(const TopLevelRequest& request) {
#ifdef STARTWIN_FAULT_WINDOW
  return kNoWindow;  // a test build whose window cannot be created
#endif
  DWORD style = WS_POPUP | FrameBits(request.frame);
  if (request.clipChildren) style |= WS_CLIPCHILDREN;
  if (request.disabled) style |= WS_DISABLED;
  HWND window = CreateWindowExA(0, windowClass_.Name(), request.text, style, request.outer.left,
                                request.outer.top, request.outer.right - request.outer.left,
                                request.outer.bottom - request.outer.top, nullptr, nullptr, instance_,
                                nullptr);
  return Handle(window);
}

void Win32Platform::ApplyFrameStyle(WindowHandle window, const FrameStyle& frame) {
  HWND hwnd = Hwnd(window);
  DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
  style = (style & ~kFrameBits) | FrameBits(frame);
  SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(style));
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Rect Win32Platform::OuterRect(WindowHandle window) {
  RECT rect = {};
  GetWindowRect(Hwnd(window), &rect);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

void Win32Platform::MoveWindow(WindowHandle window, const Rect& outer) {
  ::MoveWindow(Hwnd(window), outer.left, outer.top, outer.right - outer.left,
               outer.bottom - outer.top, FALSE);
}

void Win32Platform::SetDefaultIcons(WindowHandle window) {
  if (icons_.large == nullptr) {
    icons_.large = static_cast<HICON>(LoadImageA(instance_, kIconName, IMAGE_ICON, 32, 32, LR_SHARED));
    icons_.small = static_cast<HICON>(LoadImageA(instance_, kIconName, IMAGE_ICON, 16, 16, LR_SHARED));
  }
  SendMessageA(Hwnd(window), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons_.large));
  SendMessageA(Hwnd(window), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons_.small));
}

void Win32Platform::ReleaseSharedIcons() { icons_ = SharedIcons{}; }

void Win32Platform::UseDefaultGuiFont(WindowHandle windowOrControl) {
  SendMessageA(Hwnd(windowOrControl), WM_SETFONT,
               reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

WindowHandle Win32Platform::CreatePushButton(WindowHandle parent, const PushButtonRequest& request) {
#ifdef STARTWIN_FAULT_BUTTON
  return kNoWindow;  // a test build whose button cannot be created
#endif
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | BS_MULTILINE |
                (request.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                AlignmentBits(request.horizontal, request.vertical);
  if (request.tabStop) style |= WS_TABSTOP;
  if (request.disabled) style |= WS_DISABLED;
  HWND button = CreateWindowExA(
      0, "BUTTON", request.text, style, request.bounds.left, request.bounds.top,
      request.bounds.right - request.bounds.left, request.bounds.bottom - request.bounds.top, Hwnd(parent),
      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(request.controlId)), instance_, nullptr);
  if (button != nullptr) WatchControlFocus(button);
  return Handle(button);
}

void Win32Platform::ShowWithoutActivating(WindowHandle control) {
  ShowWindow(Hwnd(control), SW_SHOWNA);
}

void Win32Platform::ShowAndActivate(WindowHandle window, ShowState state) {
  ShowWindow(Hwnd(window), ShowCommand(state));
}

ControlState Win32Platform::QueryControl(WindowHandle window, WindowHandle control) {
  HWND hwnd = Hwnd(control);
  bool exists = IsWindow(hwnd) && IsChild(Hwnd(window), hwnd);
  return {exists, exists && IsWindowVisible(hwnd), exists && IsWindowEnabled(hwnd)};
}

void Win32Platform::SetFocus(WindowHandle windowOrControl) { ::SetFocus(Hwnd(windowOrControl)); }

void Win32Platform::RequestClose(WindowHandle window) {
  SendMessageA(Hwnd(window), WM_CLOSE, 0, 0);
}

void Win32Platform::DestroyWindow(WindowHandle window) { ::DestroyWindow(Hwnd(window)); }

void Win32Platform::PostQuit(std::int32_t code) { PostQuitMessage(code); }

bool Win32Platform::QueueEmpty() {
  MSG peeked;
  return PeekMessageA(&peeked, nullptr, 0, 0, PM_NOREMOVE) == FALSE;
}

Message Win32Platform::NextMessage() {
  BOOL result = GetMessageA(&current_, nullptr, 0, 0);
  if (result == 0) return {MessageKind::Quit, kNoWindow, static_cast<std::int32_t>(current_.wParam), {}, {}};
  // The queue itself failed: end the loop, reporting the failure.
  if (result == -1) return {MessageKind::Quit, kNoWindow, -1, {}, {}};
  return DescribeMessage(current_);
}

void Win32Platform::TranslateAndDispatch() {
  TranslateMessage(&current_);
  DispatchMessageA(&current_);
}

void Win32Platform::ShowErrorBox(const char* caption, const char* text) {
  MessageBoxA(nullptr, text, caption, MB_OK | MB_ICONERROR);
}

// The plain baseline the benchmark compares startwin with: the same window
// and button written the textbook way, started by the C run-time's own
// WinMainCRTStartup, with no layers in between.
#include <windows.h>

namespace {

constexpr int kWidth = 392;
constexpr int kHeight = 384;
constexpr int kButtonId = 1;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kButtonId && HIWORD(wParam) == BN_CLICKED) ExitProcess(0);
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "ReferenceWindow";
  if (!RegisterClassA(&windowClass)) return 1;

  int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  HWND window = CreateWindowExA(0, windowClass.lpszClassName, "reference", WS_POPUP, x, y,
                                kWidth, kHeight, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  HWND button = CreateWindowExA(0, "BUTTON", "r", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                64, 24, 288, 32, window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonId)),
                                instance, nullptr);
  if (!button) return 1;
  ShowWindow(window, SW_SHOW);
  SetFocus(button);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    // The key goes to the focused button, whose own procedure ignores Esc:
    // the loop is the one place that sees it first.
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
      DestroyWindow(window);
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

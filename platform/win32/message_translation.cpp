#include "platform/win32/message_translation.h"

#include "platform/win32/key_translation.h"

namespace {

// The portable copies of the key codes are the API's own.
static_assert(kVirtualKeyTab == VK_TAB && kVirtualKeyReturn == VK_RETURN &&
              kVirtualKeyEscape == VK_ESCAPE && kVirtualKeyLeft == VK_LEFT &&
              kVirtualKeyUp == VK_UP && kVirtualKeyRight == VK_RIGHT &&
              kVirtualKeyDown == VK_DOWN && kVirtualKeyF1 == VK_F1);

// The modifiers' states belong to the message just taken from the queue,
// not to the keyboard as it is now, so GetKeyState and not GetAsyncKeyState.
KeyStroke DescribeKey(WPARAM virtualKey) {
  return TranslateKey(virtualKey,
                      {GetKeyState(VK_SHIFT), GetKeyState(VK_CONTROL), GetKeyState(VK_MENU)});
}

Message Input(const MSG& message, InputKind input) {
  Message described = {MessageKind::Input, reinterpret_cast<UINT_PTR>(message.hwnd), 0, input, {}};
  if (input == InputKind::KeyDown) described.key = DescribeKey(message.wParam);
  return described;
}

}  // namespace

Message DescribeMessage(const MSG& message) {
  switch (message.message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      return Input(message, InputKind::PointerDown);
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      return Input(message, InputKind::PointerUp);
    case WM_MOUSEMOVE: return Input(message, InputKind::PointerMove);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return Input(message, InputKind::KeyDown);
    case WM_KEYUP:
    case WM_SYSKEYUP:
      return Input(message, InputKind::KeyUp);
    case WM_CHAR:
    case WM_SYSCHAR:
      return Input(message, InputKind::Character);
  }
  return {MessageKind::Other, reinterpret_cast<UINT_PTR>(message.hwnd), 0, InputKind::PointerMove, {}};
}

#include "platform/win32/message_translation.h"

namespace {

bool Held(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }

KeyStroke DescribeKey(WPARAM virtualKey) {
  KeyStroke key = {Key::Other, 0, Held(VK_SHIFT), Held(VK_CONTROL), Held(VK_MENU)};
  switch (virtualKey) {
    case VK_ESCAPE: key.key = Key::Escape; break;
    case VK_RETURN: key.key = Key::Enter; break;
    case VK_TAB: key.key = Key::Tab; break;
    case VK_LEFT: key.key = Key::Left; break;
    case VK_RIGHT: key.key = Key::Right; break;
    case VK_UP: key.key = Key::Up; break;
    case VK_DOWN: key.key = Key::Down; break;
    case VK_F1: key.key = Key::F1; break;
    default:
      if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z')) {
        key.key = Key::Alphanumeric;
        key.character = static_cast<char>(virtualKey);
      }
  }
  return key;
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

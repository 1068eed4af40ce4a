#include "platform/win32/key_translation.h"

namespace {

Key NamedKey(std::uintptr_t virtualKey) {
  switch (virtualKey) {
    case kVirtualKeyEscape: return Key::Escape;
    case kVirtualKeyReturn: return Key::Enter;
    case kVirtualKeyTab: return Key::Tab;
    case kVirtualKeyLeft: return Key::Left;
    case kVirtualKeyRight: return Key::Right;
    case kVirtualKeyUp: return Key::Up;
    case kVirtualKeyDown: return Key::Down;
    case kVirtualKeyF1: return Key::F1;
  }
  return Key::Other;
}

// Lower-case ASCII codes are no letters here: they name numeric-pad keys.
bool IsAlphanumeric(std::uintptr_t virtualKey) {
  return (virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z');
}

// The high bit of the 16-bit state, which makes it negative.
bool IsHeld(std::int16_t keyState) { return keyState < 0; }

}  // namespace

KeyStroke TranslateKey(std::uintptr_t virtualKey, ModifierKeyStates modifiers) {
  KeyStroke stroke = {NamedKey(virtualKey), 0, IsHeld(modifiers.shift), IsHeld(modifiers.ctrl),
                      IsHeld(modifiers.alt)};
  if (IsAlphanumeric(virtualKey)) {
    stroke.key = Key::Alphanumeric;
    stroke.character = static_cast<char>(virtualKey);
  }
  return stroke;
}

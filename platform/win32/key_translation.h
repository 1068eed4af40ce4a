#pragma once
// How a Win32 key press becomes the core's KeyStroke. Kept free of
// <windows.h> so that the host's unit tests reach it; the Win32 layer only
// reads the key states and hands them over.

#include <cstdint>

#include "platform/platform.h"

// The virtual-key codes the keyboard handling looks at, as the Win32 API
// numbers them. Letters and digits are their upper-case ASCII codes.
constexpr std::uintptr_t kVirtualKeyTab = 0x09;
constexpr std::uintptr_t kVirtualKeyReturn = 0x0D;
constexpr std::uintptr_t kVirtualKeyEscape = 0x1B;
constexpr std::uintptr_t kVirtualKeyLeft = 0x25;
constexpr std::uintptr_t kVirtualKeyUp = 0x26;
constexpr std::uintptr_t kVirtualKeyRight = 0x27;
constexpr std::uintptr_t kVirtualKeyDown = 0x28;
constexpr std::uintptr_t kVirtualKeyF1 = 0x70;

// Shift, Ctrl and Alt as GetKeyState returns them: the high bit says the key
// is held down, the low bit only that it is toggled (it flips at each press),
// which says nothing about the key now.
struct ModifierKeyStates {
  std::int16_t shift;
  std::int16_t ctrl;
  std::int16_t alt;
};

// The key press of `virtualKey` (a WM_KEYDOWN or WM_SYSKEYDOWN wParam) with
// the modifiers as they stood when it was taken from the queue.
KeyStroke TranslateKey(std::uintptr_t virtualKey, ModifierKeyStates modifiers);

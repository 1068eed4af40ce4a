#pragma once
// The keys a window handles itself before they reach the focused control.

#include "platform/platform.h"
#include "startup_window/program_windows.h"

// Offers a key press addressed to `window` or one of its controls (`target`)
// to the window's keyboard handling. Returns true when the key is consumed
// and must go no further.
bool HandleWindowKey(const ProgramWindow& window, WindowHandle target, const KeyStroke& key);

// The visible, enabled control whose caption marks `character` as its
// mnemonic ("&x", case-insensitive); null when none does.
const LoadedControl* FindMnemonic(const ProgramWindow& window, char character);

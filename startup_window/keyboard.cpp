#include "startup_window/keyboard.h"

#include "lifecycle/lifecycle_state.h"
#include "startup_window/focus.h"
#include "startup_window/raise_event.h"

namespace {

bool Usable(const ProgramWindow& window, const LoadedControl& control) {
  ControlState state = ThePlatform().QueryControl(window.window.get(), control.handle);
  return state.existsInWindow && state.visible && state.enabled;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool MarksMnemonic(const char* caption, char character) {
  for (const char* p = caption; *p != '\0'; ++p) {
    if (*p != '&') continue;
    ++p;
    if (*p == '\0') return false;
    if (*p != '&' && Upper(*p) == character) return true;  // "&&" is a plain '&'
  }
  return false;
}

void Press(const ProgramWindow& window, const LoadedControl& control) {
  RaiseEvent(window.source->id, control.element->id, kButtonPressEvent);
}

const LoadedControl* DefaultButton(const ProgramWindow& window) {
  for (int i = 0; i < window.controlCount; ++i) {
    const LoadedControl& control = window.controls[i];
    if (control.element->button != nullptr &&
        control.element->button->buttonKind == ButtonKind::Default && Usable(window, control)) {
      return &control;
    }
  }
  return nullptr;
}

void MoveFocus(const ProgramWindow& window, WindowHandle from, bool forward) {
  WindowHandle next = NextTabStop(window, from, forward);
  if (next != kNoWindow) ThePlatform().SetFocus(next);
}

bool HandleEnter(const ProgramWindow& window, WindowHandle target) {
  if (window.Properties().enterMovesFocus) {
    MoveFocus(window, target, true);
    return true;
  }
  if (const LoadedControl* button = DefaultButton(window)) {
    Press(window, *button);
    return true;
  }
  return false;
}

}  // namespace

const LoadedControl* FindMnemonic(const ProgramWindow& window, char character) {
  for (int i = 0; i < window.controlCount; ++i) {
    const LoadedControl& control = window.controls[i];
    const ButtonProperties* button = control.element->button;
    if (button != nullptr && MarksMnemonic(button->caption, Upper(character)) &&
        Usable(window, control)) {
      return &control;
    }
  }
  return nullptr;
}

bool HandleWindowKey(const ProgramWindow& window, WindowHandle target, const KeyStroke& key) {
  bool noModifier = !key.shift && !key.ctrl && !key.alt;
  switch (key.key) {
    case Key::Escape:
      if (!noModifier || !window.Properties().escCloses) return false;
      ThePlatform().RequestClose(window.window.get());
      return true;
    case Key::Enter:
      return noModifier && HandleEnter(window, target);
    case Key::Tab:
      if (key.ctrl || key.alt) return false;
      MoveFocus(window, target, !key.shift);
      return true;
    case Key::Alphanumeric: {
      if (!key.alt || key.shift || key.ctrl) return false;
      const LoadedControl* control = FindMnemonic(window, key.character);
      if (control == nullptr) return false;
      Press(window, *control);
      return true;
    }
    default:
      // Arrows move the focus only away from controls whose kind asks for
      // it, and F1 opens no help here: the key goes on to the control.
      return false;
  }
}

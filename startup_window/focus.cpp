#include "startup_window/focus.h"

#include "lifecycle/lifecycle_state.h"

namespace {

bool IsTabStop(const ProgramWindow& window, const LoadedControl& control) {
  if (!control.element->common.tabStop) return false;
  ControlState state = ThePlatform().QueryControl(window.window.get(), control.handle);
  return state.existsInWindow && state.visible && state.enabled;
}

// Position in the tab order: lower comes first.
bool ComesBefore(const ProgramWindow& window, int a, int b) {
  int rankA = window.controls[a].element->common.tabOrder;
  int rankB = window.controls[b].element->common.tabOrder;
  if (rankA != rankB) return rankA < rankB;
  return a > b;
}

// The tab stop nearest to `from` in the given direction, or the first (last)
// one when `from` is -1.
int Step(const ProgramWindow& window, int from, bool forward) {
  int best = -1;
  for (int i = 0; i < window.controlCount; ++i) {
    if (i == from || !IsTabStop(window, window.controls[i])) continue;
    if (from >= 0 && (forward ? !ComesBefore(window, from, i) : !ComesBefore(window, i, from))) {
      continue;
    }
    if (best < 0 || (forward ? ComesBefore(window, i, best) : ComesBefore(window, best, i))) {
      best = i;
    }
  }
  return best;
}

int IndexOf(const ProgramWindow& window, WindowHandle control) {
  for (int i = 0; i < window.controlCount; ++i) {
    if (window.controls[i].handle == control) return i;
  }
  return -1;
}

}  // namespace

void RememberFocus(ProgramWindow& window, WindowHandle focused) {
  if (focused != kNoWindow && IndexOf(window, focused) >= 0) window.focusAtDeactivation = focused;
}

WindowHandle ControlToFocus(ProgramWindow& window) {
  WindowHandle remembered = window.focusAtDeactivation;
  window.focusAtDeactivation = kNoWindow;
  if (remembered != kNoWindow &&
      ThePlatform().QueryControl(window.window.get(), remembered).existsInWindow) {
    return remembered;
  }
  return FirstTabStop(window);
}

WindowHandle FirstTabStop(const ProgramWindow& window) {
  int first = Step(window, -1, true);
  return first < 0 ? kNoWindow : window.controls[first].handle;
}

WindowHandle NextTabStop(const ProgramWindow& window, WindowHandle from, bool forward) {
  int current = IndexOf(window, from);
  if (current >= 0 && !IsTabStop(window, window.controls[current])) current = -1;
  int next = Step(window, current, forward);
  if (next < 0) next = Step(window, -1, forward);  // wrap around
  if (next < 0) return current >= 0 ? from : kNoWindow;
  return window.controls[next].handle;
}

#include "startup_window/click_routing.h"

#include "startup_window/program_windows.h"
#include "startup_window/raise_event.h"

void ReflectNotification(WindowHandle window, WindowHandle control, ControlNotification code) {
  const LoadedControl* sender = nullptr;
  const ProgramWindow* owner = FindControlOwner(control, &sender);
  if (owner == nullptr || owner->window.get() != window) return;
  if (sender->element->kind == ElementKind::Button && code == ControlNotification::Clicked) {
    RaiseEvent(owner->source->id, sender->element->id, kButtonPressEvent);
  }
}

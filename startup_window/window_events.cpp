#include "startup_window/window_events.h"

#include "lifecycle/event_loop.h"
#include "lifecycle/lifecycle_state.h"
#include "startup_window/click_routing.h"
#include "startup_window/focus.h"
#include "startup_window/keyboard.h"
#include "startup_window/program_windows.h"
#include "startup_window/raise_event.h"

namespace {

void RaiseWindowEvent(const ProgramWindow& window, std::int32_t event) {
  RaiseEvent(window.source->id, window.OwnElement().id, event);
}

std::int32_t EventFor(InputKind input) {
  switch (input) {
    case InputKind::PointerDown: return kPointerDownEvent;
    case InputKind::PointerUp: return kPointerUpEvent;
    case InputKind::PointerMove: return kPointerMoveEvent;
    case InputKind::KeyDown: return kKeyDownEvent;
    case InputKind::KeyUp: return kKeyUpEvent;
    case InputKind::Character: return kCharacterEvent;
  }
  return kPointerMoveEvent;
}

// The program window a message target belongs to, and the element that is
// the target (the window's own element or one of its controls).
const ProgramWindow* ResolveTarget(WindowHandle target, const Element** element) {
  if (const ProgramWindow* window = FindProgramWindow(target)) {
    *element = &window->OwnElement();
    return window;
  }
  const LoadedControl* control = nullptr;
  const ProgramWindow* owner = FindControlOwner(target, &control);
  if (owner != nullptr) *element = control->element;
  return owner;
}

}  // namespace

void OnCloseRequested(WindowHandle window) {
  if (FindProgramWindow(window) != nullptr) ThePlatform().DestroyWindow(window);
}

void OnWindowDestroyed(WindowHandle window) {
  // Windows that the shutdown destroys are no longer recorded here.
  ProgramWindow* record = FindProgramWindow(window);
  if (record == nullptr) return;
  FreeProgramWindow(*record);
  NotifyWindowDestroyed();
}

void OnWindowActivated(WindowHandle window) {
  if (const ProgramWindow* record = FindProgramWindow(window)) {
    RaiseWindowEvent(*record, kWindowActivatedEvent);
  }
}

void OnWindowDeactivated(WindowHandle window, WindowHandle focused) {
  ProgramWindow* record = FindProgramWindow(window);
  if (record == nullptr) return;
  RememberFocus(*record, focused);
  RaiseWindowEvent(*record, kWindowDeactivatedEvent);
}

void OnWindowFocused(WindowHandle window) {
  ProgramWindow* record = FindProgramWindow(window);
  if (record == nullptr) return;
  WindowHandle target = ControlToFocus(*record);
  if (target != kNoWindow) ThePlatform().SetFocus(target);
}

void OnControlFocusChanged(WindowHandle control, bool gained) {
  const LoadedControl* loaded = nullptr;
  const ProgramWindow* owner = FindControlOwner(control, &loaded);
  if (owner == nullptr) return;
  RaiseEvent(owner->source->id, loaded->element->id, gained ? kFocusGainedEvent : kFocusLostEvent);
}

void OnControlNotification(WindowHandle window, WindowHandle control, ControlNotification code) {
  ReflectNotification(window, control, code);
}

bool OnInputMessage(const Message& message) {
  const Element* element = nullptr;
  const ProgramWindow* window = ResolveTarget(message.target, &element);
  if (window == nullptr) return false;
  ControlId templateId = window->source->id;
  WindowHandle windowHandle = window->window.get();
  RaiseEvent(templateId, element->id, EventFor(message.input));
  if (message.input != InputKind::KeyDown) return false;
  // A handler may have closed the window meanwhile.
  window = FindProgramWindow(windowHandle);
  return window != nullptr && HandleWindowKey(*window, message.target, message.key);
}

void OnIdle() {
  for (const ProgramWindow& record : Lifecycle().windows.records) {
    if (record.source != nullptr && record.window.get() != kNoWindow) {
      RaiseWindowEvent(record, kWindowIdleEvent);
    }
  }
}

Background WindowBackground(WindowHandle window) {
  const ProgramWindow* record = FindProgramWindow(window);
  if (record == nullptr) return {true, 0};
  std::uint32_t color = record->Properties().backColor;
  return {color == kDefaultBackColor, color & 0x00FFFFFF};
}

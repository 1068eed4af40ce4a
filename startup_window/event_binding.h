#pragma once

#include <cstdint>

// The argument values an event carries, in order.
struct EventArgs {
  const std::int32_t* values = nullptr;
  int count = 0;
};

using EventHandler = void (*)(EventArgs args);

// One entry of an element's ordered binding list. A null handler behaves
// exactly like a missing entry.
struct EventBinding {
  std::int32_t eventNumber;
  EventHandler handler;
};

// Events that every kind of element reports.
enum CommonEvent : std::int32_t {
  kPointerDownEvent = -1,
  kPointerUpEvent = -2,
  kPointerMoveEvent = -3,
  kKeyDownEvent = -4,
  kKeyUpEvent = -5,
  kCharacterEvent = -6,
  kFocusGainedEvent = -7,
  kFocusLostEvent = -8,
};

// Events of a window's own element.
enum WindowEvent : std::int32_t {
  kWindowBuiltEvent = 0,
  kWindowActivatedEvent = 1,
  kWindowDeactivatedEvent = 2,
  kWindowIdleEvent = 3,
};

// Events of a push button.
enum ButtonEvent : std::int32_t {
  kButtonPressEvent = 0,
};
